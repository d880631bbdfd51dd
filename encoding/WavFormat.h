#pragma once
// What an input file declares about its audio. The encoder is always fed 16-bit stereo PCM at
// 44100 Hz and the job passes the file's bytes on as they are, so a file that declares anything
// else would come out as noise: such a file is refused. A file without a RIFF/WAVE header is
// taken as raw CD audio.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

// Reads up to `size` bytes at `offset`; returns the count read, or -1 on an error.
using ReadAt = std::function<std::int64_t(std::uint64_t offset, void* buffer, std::size_t size)>;

struct WavFormatVerdict {
    bool readFailed = false;
    std::optional<QString> refusal; // the message to show when the file cannot be encoded
};

WavFormatVerdict CheckWavFormat(const ReadAt& readAt);

#pragma once
// Inputs for the encoding tests and an independent look at what came out: CD-format WAV files
// of generated tones, and MP3 files decoded with libmpg123.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace fixtures {

// Interleaved 16-bit stereo: a tone of `leftHz` on the left and `rightHz` on the right.
std::vector<std::int16_t> StereoTone(double seconds, double leftHz, double rightHz);
// A 44-byte RIFF/WAVE header declaring the given format, for `dataBytes` of audio.
QByteArray WavHeader(std::uint32_t dataBytes, std::uint16_t channels = 2,
                     std::uint32_t rate = 44100, std::uint16_t bits = 16, std::uint16_t tag = 1);
// Header (CD format) plus the samples.
bool WriteCdWav(const QString& path, const std::vector<std::int16_t>& samples);
bool WriteBytes(const QString& path, const QByteArray& bytes);

struct DecodedMp3 {
    bool ok = false;
    long rate = 0;
    int channels = 0;
    std::uint64_t framesPerChannel = 0;
    std::vector<std::int16_t> samples; // interleaved as decoded
    int bitrateKbps = 0;
    int frameCount = 0;
    bool everyFrameProtected = false;
    bool everyFrameCopyright = false;
    bool everyFrameOriginal = false;
    bool everyFramePrivate = false;
    int channelMode = -1; // of every frame: 0 stereo, 1 joint, 2 dual, 3 mono; -2 when mixed
};
DecodedMp3 DecodeMp3(const QString& path);

} // namespace fixtures

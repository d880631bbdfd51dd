// The encoder library: the five BladeEnc entry points on libmp3lame. Input is 16-bit interleaved
// 2-channel PCM; every stream writes plain CBR MPEG-1 Layer III frames, nothing else, because the
// interface has no call that could rewrite a tag or an Info frame once the stream is done.

#include "bladeenc.h"

#include <lame/lame.h>

#include <cstdarg>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace {

static_assert(sizeof(short) == sizeof(int16_t), "LAME takes 16-bit samples as short");

constexpr uint32_t kChannels = 2;
constexpr uint32_t kSamplesPerFrame = 1152; // per channel, MPEG-1 Layer III
// 24 frames per chunk: large enough that the caller's per-chunk work (a read, a write, one turn
// of its event loop) stays small against the encoding itself.
constexpr uint32_t kFramesPerChunk = 24;
constexpr uint32_t kChunkValues = kSamplesPerFrame * kChannels * kFramesPerChunk;
// LAME's worst case for n samples per channel is 1.25 n + 7200 bytes; its flush needs at most
// 7200, so one buffer of this size serves both calls.
constexpr uint32_t kOutputBytes = kChunkValues / kChannels * 5 / 4 + 7200;
// A caller that forgets to close its streams runs out of handles instead of memory.
constexpr std::size_t kMaxStreams = 64;

constexpr uint16_t kBitrates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

bool IsBitrate(uint16_t kbps) {
    for (const uint16_t b : kBitrates)
        if (b == kbps)
            return true;
    return false;
}

bool IsSampleRate(uint32_t rate) {
    return rate == 32000 || rate == 44100 || rate == 48000;
}

MPEG_mode LameMode(uint8_t byMode) {
    switch (byMode) {
    case BE_MP3_MODE_JSTEREO:
        return JOINT_STEREO;
    case BE_MP3_MODE_DUALCHANNEL:
        return DUAL_CHANNEL;
    case BE_MP3_MODE_MONO:
        return MONO; // with two input channels LAME encodes their average
    default:
        return STEREO;
    }
}

// A library has no console of its own: LAME's messages are dropped.
void Quiet(const char*, va_list) {}

struct LameCloser {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using Lame = std::unique_ptr<lame_global_flags, LameCloser>;

enum class StreamState { Encoding, Finished, Failed };

struct Stream {
    std::mutex mutex; // one call at a time per stream; other streams are not held up
    Lame lame;
    // The values of one call, behind a 16-bit value left over from the call before: an odd
    // count must never shift the left/right order of what follows.
    std::vector<short> pcm;
    bool hasPending = false;
    StreamState state = StreamState::Encoding;
};

// Handles are numbers looked up here, never pointers, so a stale or made-up handle is refused
// without touching memory.
class StreamTable {
public:
    // The new stream's handle, or 0 when no handle is left.
    HBE_STREAM add(std::shared_ptr<Stream> stream) {
        const std::lock_guard lock(m_mutex);
        if (m_streams.size() >= kMaxStreams)
            return 0;
        // Handles are not reused until the counter wraps, so a closed one stays invalid.
        do {
            ++m_last;
        } while (m_last == 0 || m_streams.count(m_last) != 0);
        m_streams.emplace(m_last, std::move(stream));
        return m_last;
    }

    std::shared_ptr<Stream> find(HBE_STREAM handle) {
        const std::lock_guard lock(m_mutex);
        const auto it = m_streams.find(handle);
        return it == m_streams.end() ? nullptr : it->second;
    }

    // A call still running on the stream keeps it alive until it returns.
    bool remove(HBE_STREAM handle) {
        std::shared_ptr<Stream> removed;
        const std::lock_guard lock(m_mutex);
        const auto it = m_streams.find(handle);
        if (it == m_streams.end())
            return false;
        removed = std::move(it->second);
        m_streams.erase(it);
        return true;
    }

private:
    std::mutex m_mutex;
    std::map<HBE_STREAM, std::shared_ptr<Stream>> m_streams;
    HBE_STREAM m_last = 0;
};

StreamTable& Streams() {
    static StreamTable table;
    return table;
}

// LAME fills shared tables on its first initialisation; streams opened from several threads
// take turns there.
std::mutex& LameSetupMutex() {
    static std::mutex mutex;
    return mutex;
}

BE_ERR ValidateConfig(const BE_CONFIG& config) {
    if (config.dwConfig != BE_CONFIG_MP3)
        return BE_ERR_INVALID_FORMAT;
    const uint32_t rate = config.format.mp3.dwSampleRate;
    const uint8_t mode = config.format.mp3.byMode;
    const uint16_t kbps = config.format.mp3.wBitrate;
    if (!IsSampleRate(rate) || mode > BE_MP3_MODE_MONO || !IsBitrate(kbps))
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    return BE_ERR_SUCCESS;
}

Lame OpenLame(const BE_CONFIG& config) {
    const std::lock_guard lock(LameSetupMutex());
    Lame lame(lame_init());
    if (!lame)
        return nullptr;
    lame_global_flags* const f = lame.get();
    lame_set_errorf(f, Quiet);
    lame_set_debugf(f, Quiet);
    lame_set_msgf(f, Quiet);

    const uint32_t rate = config.format.mp3.dwSampleRate;
    const int kbps = config.format.mp3.wBitrate;
    lame_set_num_channels(f, kChannels);
    lame_set_in_samplerate(f, static_cast<int>(rate));
    // Fixed, or LAME would resample the low bitrates to a lower rate (and MPEG-2).
    lame_set_out_samplerate(f, static_cast<int>(rate));
    lame_set_VBR(f, vbr_off);
    lame_set_brate(f, kbps);
    lame_set_mode(f, LameMode(config.format.mp3.byMode));
    lame_set_error_protection(f, config.format.mp3.bCRC != 0);
    lame_set_copyright(f, config.format.mp3.bCopyright != 0);
    // LAME marks every stream original unless told otherwise.
    lame_set_original(f, config.format.mp3.bOriginal != 0);
    lame_set_extension(f, config.format.mp3.bPrivate != 0);
    // Frames only: no Info frame placeholder (nobody could fill it in) and no ID3 tags.
    lame_set_bWriteVbrTag(f, 0);
    lame_set_write_id3tag_automatic(f, 0);
    if (lame_init_params(f) < 0)
        return nullptr;
    // Whatever LAME accepted, the stream must be what was asked for.
    if (lame_get_version(f) != 1 || lame_get_out_samplerate(f) != static_cast<int>(rate) ||
        lame_get_brate(f) != kbps)
        return nullptr;
    return lame;
}

// The interface has no code for an engine failure; any non-zero code stops the caller.
BE_ERR EngineError(int lameResult) {
    return lameResult == -1 ? BE_ERR_BUFFER_TOO_SMALL : BE_ERR_INVALID_FORMAT_PARAMETERS;
}

BE_ERR InitStream(const BE_CONFIG* config, uint32_t* samples, uint32_t* bufferSize,
                  HBE_STREAM* handle) {
    if (!config || !samples || !bufferSize || !handle)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    const BE_CONFIG copy = *config;
    if (const BE_ERR err = ValidateConfig(copy); err != BE_ERR_SUCCESS)
        return err;

    auto stream = std::make_shared<Stream>();
    stream->pcm.resize(kChunkValues + 1);
    stream->lame = OpenLame(copy);
    if (!stream->lame)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    const HBE_STREAM issued = Streams().add(std::move(stream));
    if (issued == 0)
        return BE_ERR_NO_MORE_HANDLES;
    *samples = kChunkValues;
    *bufferSize = kOutputBytes;
    *handle = issued;
    return BE_ERR_SUCCESS;
}

BE_ERR EncodeChunk(HBE_STREAM handle, uint32_t nSamples, const int16_t* samples, uint8_t* output,
                   uint32_t* outputBytes) {
    if (outputBytes)
        *outputBytes = 0;
    const std::shared_ptr<Stream> stream = Streams().find(handle);
    if (!stream)
        return BE_ERR_INVALID_HANDLE;
    if (!samples || !output || !outputBytes)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    const std::lock_guard lock(stream->mutex);
    if (stream->state != StreamState::Encoding)
        return BE_ERR_INVALID_HANDLE;
    // The output buffer the caller was given holds the output of one chunk, no more.
    if (nSamples > kChunkValues)
        return BE_ERR_BUFFER_TOO_SMALL;

    const std::size_t offset = stream->hasPending ? 1 : 0;
    std::memcpy(stream->pcm.data() + offset, samples, std::size_t{nSamples} * sizeof(int16_t));
    const std::size_t values = offset + nSamples;
    const std::size_t pairs = values / kChannels;
    int produced = 0;
    if (pairs > 0) {
        produced = lame_encode_buffer_interleaved(stream->lame.get(), stream->pcm.data(),
                                                  static_cast<int>(pairs), output, kOutputBytes);
        if (produced < 0) {
            stream->state = StreamState::Failed;
            return EngineError(produced);
        }
    }
    stream->hasPending = values % kChannels != 0;
    if (stream->hasPending)
        stream->pcm[0] = stream->pcm[values - 1];
    *outputBytes = static_cast<uint32_t>(produced);
    return BE_ERR_SUCCESS;
}

BE_ERR DeinitStream(HBE_STREAM handle, uint8_t* output, uint32_t* outputBytes) {
    if (outputBytes)
        *outputBytes = 0;
    const std::shared_ptr<Stream> stream = Streams().find(handle);
    if (!stream)
        return BE_ERR_INVALID_HANDLE;
    if (!output || !outputBytes)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    const std::lock_guard lock(stream->mutex);
    if (stream->state != StreamState::Encoding)
        return BE_ERR_INVALID_HANDLE;
    // A lone value still pending has no partner in the other channel: it is dropped.
    stream->hasPending = false;
    const int produced = lame_encode_flush(stream->lame.get(), output, kOutputBytes);
    if (produced < 0) {
        stream->state = StreamState::Failed;
        return EngineError(produced);
    }
    stream->state = StreamState::Finished;
    *outputBytes = static_cast<uint32_t>(produced);
    return BE_ERR_SUCCESS;
}

// "Mmm dd yyyy" of the build, as the compiler gives it.
constexpr uint8_t BuildMonth(const char* date) {
    constexpr const char* months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    for (int m = 0; m < 12; ++m)
        if (date[0] == months[3 * m] && date[1] == months[3 * m + 1] &&
            date[2] == months[3 * m + 2])
            return static_cast<uint8_t>(m + 1);
    return 0;
}
constexpr uint8_t BuildDay(const char* date) {
    return static_cast<uint8_t>((date[4] == ' ' ? 0 : date[4] - '0') * 10 + (date[5] - '0'));
}
constexpr uint16_t BuildYear(const char* date) {
    return static_cast<uint16_t>((date[7] - '0') * 1000 + (date[8] - '0') * 100 +
                                 (date[9] - '0') * 10 + (date[10] - '0'));
}

} // namespace

// No exception may cross the C interface: each entry point turns one into an error code.

BE_ERR beInitStream(PBE_CONFIG config, uint32_t* samples, uint32_t* bufferSize,
                    HBE_STREAM* stream) {
    try {
        return InitStream(config, samples, bufferSize, stream);
    } catch (...) {
        return BE_ERR_NO_MORE_HANDLES;
    }
}

BE_ERR beEncodeChunk(HBE_STREAM stream, uint32_t nSamples, const int16_t* samples, uint8_t* output,
                     uint32_t* outputBytes) {
    try {
        return EncodeChunk(stream, nSamples, samples, output, outputBytes);
    } catch (...) {
        return BE_ERR_INVALID_HANDLE;
    }
}

BE_ERR beDeinitStream(HBE_STREAM stream, uint8_t* output, uint32_t* outputBytes) {
    try {
        return DeinitStream(stream, output, outputBytes);
    } catch (...) {
        return BE_ERR_INVALID_HANDLE;
    }
}

BE_ERR beCloseStream(HBE_STREAM stream) {
    try {
        return Streams().remove(stream) ? BE_ERR_SUCCESS : BE_ERR_INVALID_HANDLE;
    } catch (...) {
        return BE_ERR_INVALID_HANDLE;
    }
}

void beVersion(PBE_VERSION version) {
    if (!version)
        return;
    BE_VERSION v{};
    v.byDLLMajorVersion = BLADEENC_VERSION_MAJOR;
    v.byDLLMinorVersion = BLADEENC_VERSION_MINOR;
    lame_version_t engine{};
    get_lame_version_numerical(&engine);
    v.byMajorVersion = static_cast<uint8_t>(engine.major);
    v.byMinorVersion = static_cast<uint8_t>(engine.minor);
    constexpr const char* date = __DATE__;
    v.byDay = BuildDay(date);
    v.byMonth = BuildMonth(date);
    v.wYear = BuildYear(date);
    if (const char* url = get_lame_url())
        for (std::size_t i = 0; i < BE_MAX_HOMEPAGE && url[i] != '\0'; ++i)
            v.zHomepage[i] = url[i]; // the last byte stays 0
    *version = v;
}

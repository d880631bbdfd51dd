// Stand-in encoder libraries for the job's failure paths. One source, built many times: each
// FAKE_* definition leaves out an entry point or makes one fail. The stand-ins "encode" by
// writing one byte per 8 input samples, and log every call for the tests to read through
// fake_calls() (the test opens the same library file, which gives it the same handle).

#include "platform/bladeenc/bladeenc.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#define FAKE_API extern "C" __attribute__((visibility("default")))

namespace {
std::string g_calls;
int g_encodeCalls = 0;
#ifdef FAKE_BIG // big chunks that produce nothing, for inputs of several gigabytes
#define FAKE_SAMPLES 8388608
#define FAKE_NO_OUTPUT
#endif
#ifndef FAKE_SAMPLES
#define FAKE_SAMPLES 2304
#endif
constexpr std::uint32_t kSamples = FAKE_SAMPLES;
constexpr std::uint32_t kOutputSize = kSamples / 8 + 64;

void Log(const std::string& call) {
    g_calls += call + ";";
}
} // namespace

#ifdef FAKE_PLANTED
// A library that must never run: it leaves a mark where the test can see it.
__attribute__((constructor)) static void Planted() {
    if (const char* mark = std::getenv("VERBENO_PLANTED_MARK")) {
        if (FILE* f = std::fopen(mark, "w"))
            std::fclose(f);
    }
}
#endif

FAKE_API const char* fake_calls() {
    return g_calls.c_str();
}
FAKE_API void fake_reset() {
    g_calls.clear();
    g_encodeCalls = 0;
}

#ifndef FAKE_NO_INIT
FAKE_API BE_ERR beInitStream(PBE_CONFIG config, uint32_t* samples, uint32_t* bufferSize,
                             HBE_STREAM* stream) {
    char line[160];
    std::snprintf(line, sizeof line, "init cfg=%u rate=%u mode=%u kbps=%u p=%d crc=%d c=%d o=%d",
                  config->dwConfig, config->format.mp3.dwSampleRate, config->format.mp3.byMode,
                  config->format.mp3.wBitrate, config->format.mp3.bPrivate, config->format.mp3.bCRC,
                  config->format.mp3.bCopyright, config->format.mp3.bOriginal);
    Log(line);
#ifdef FAKE_INIT_FAILS
    return BE_ERR_INVALID_FORMAT;
#endif
#ifdef FAKE_HUGE_BUFFERS
    *samples = 0x7FFFFFFFu;
    *bufferSize = 0xFFFFFFF0u;
#elif defined(FAKE_ZERO_SAMPLES)
    *samples = 0;
    *bufferSize = kOutputSize;
#else
    *samples = kSamples;
    *bufferSize = kOutputSize;
#endif
    *stream = 7;
    return BE_ERR_SUCCESS;
}
#endif

#ifndef FAKE_NO_ENCODE
FAKE_API BE_ERR beEncodeChunk(HBE_STREAM, uint32_t nSamples, const int16_t*, uint8_t* output,
                              uint32_t* outputBytes) {
    Log("encode " + std::to_string(nSamples));
    ++g_encodeCalls;
#ifdef FAKE_ENCODE_FAILS_AT
    if (g_encodeCalls == FAKE_ENCODE_FAILS_AT)
        return BE_ERR_INVALID_FORMAT;
#endif
#ifdef FAKE_OVERSIZED_OUTPUT
    *outputBytes = kOutputSize + 1;
    return BE_ERR_SUCCESS;
#endif
#ifdef FAKE_NO_OUTPUT
    *outputBytes = 0;
    return BE_ERR_SUCCESS;
#endif
    *outputBytes = nSamples / 8;
    std::memset(output, 'E', *outputBytes);
    return BE_ERR_SUCCESS;
}
#endif

#ifndef FAKE_NO_DEINIT
FAKE_API BE_ERR beDeinitStream(HBE_STREAM, uint8_t* output, uint32_t* outputBytes) {
    Log("deinit");
#ifdef FAKE_DEINIT_FAILS
    return BE_ERR_INVALID_FORMAT;
#endif
    *outputBytes = 16;
    std::memset(output, 'D', 16);
    return BE_ERR_SUCCESS;
}
#endif

#ifndef FAKE_NO_CLOSE
FAKE_API BE_ERR beCloseStream(HBE_STREAM) {
    Log("close");
    return BE_ERR_SUCCESS;
}
#endif

#ifndef FAKE_NO_VERSION
FAKE_API void beVersion(PBE_VERSION) {}
#endif

/* The encoder library's C interface: the classic BladeEnc entry points and configuration.
 * The program loads the library at run time and never links it, so the entry points are also
 * declared as function-pointer types. */
#ifndef VERBENO_BLADEENC_H
#define VERBENO_BLADEENC_H

#include <stdint.h>

#ifdef _WIN32
#define BE_API __declspec(dllexport)
#else
#define BE_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t BOOL32;      /* BOOL of the interface: a 32-bit int */
typedef uint32_t HBE_STREAM; /* an opaque number, never a pointer */
typedef uint32_t BE_ERR;

#define BE_CONFIG_MP3 0

#define BE_MP3_MODE_STEREO 0
#define BE_MP3_MODE_JSTEREO 1
#define BE_MP3_MODE_DUALCHANNEL 2
#define BE_MP3_MODE_MONO 3

#define BE_ERR_SUCCESS 0x00000000u
#define BE_ERR_INVALID_FORMAT 0x00000001u
#define BE_ERR_INVALID_FORMAT_PARAMETERS 0x00000002u
#define BE_ERR_NO_MORE_HANDLES 0x00000003u
#define BE_ERR_INVALID_HANDLE 0x00000004u
#define BE_ERR_BUFFER_TOO_SMALL 0x00000005u

#define BE_MAX_HOMEPAGE 128

#pragma pack(push, 1)
typedef struct {
    uint32_t dwConfig; /* BE_CONFIG_MP3 */
    union {
        struct {
            uint32_t dwSampleRate; /* 32000, 44100 or 48000 */
            uint8_t byMode;        /* BE_MP3_MODE_* */
            uint16_t wBitrate;     /* kbit/s, one of the MPEG-1 Layer III bitrates */
            BOOL32 bPrivate;
            BOOL32 bCRC;
            BOOL32 bCopyright;
            BOOL32 bOriginal;
        } mp3;
    } format;
} BE_CONFIG, *PBE_CONFIG;

typedef struct {
    uint8_t byDLLMajorVersion;
    uint8_t byDLLMinorVersion;
    uint8_t byMajorVersion; /* of the encoder engine */
    uint8_t byMinorVersion;
    uint8_t byDay;
    uint8_t byMonth;
    uint16_t wYear;
    char zHomepage[BE_MAX_HOMEPAGE + 1];
} BE_VERSION, *PBE_VERSION;
#pragma pack(pop)

/* "samples" count 16-bit values, both channels together. */
BE_API BE_ERR beInitStream(PBE_CONFIG config, uint32_t* samples, uint32_t* bufferSize,
                           HBE_STREAM* stream);
BE_API BE_ERR beEncodeChunk(HBE_STREAM stream, uint32_t nSamples, const int16_t* samples,
                            uint8_t* output, uint32_t* outputBytes);
BE_API BE_ERR beDeinitStream(HBE_STREAM stream, uint8_t* output, uint32_t* outputBytes);
BE_API BE_ERR beCloseStream(HBE_STREAM stream);
BE_API void beVersion(PBE_VERSION version);

typedef BE_ERR (*BEINITSTREAM)(PBE_CONFIG, uint32_t*, uint32_t*, HBE_STREAM*);
typedef BE_ERR (*BEENCODECHUNK)(HBE_STREAM, uint32_t, const int16_t*, uint8_t*, uint32_t*);
typedef BE_ERR (*BEDEINITSTREAM)(HBE_STREAM, uint8_t*, uint32_t*);
typedef BE_ERR (*BECLOSESTREAM)(HBE_STREAM);
typedef void (*BEVERSION)(PBE_VERSION);

#ifdef __cplusplus
}
#endif

#endif

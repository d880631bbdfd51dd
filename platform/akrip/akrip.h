/* The CD library's C interface: drive list, handles, table of contents and raw audio reads,
 * in the ASPI style of the classic CD digital-audio extraction libraries. */
#ifndef VERBENO_AKRIP_H
#define VERBENO_AKRIP_H

#include <stdint.h>

#if defined(_WIN32) && defined(AKRIP_BUILD)
#define AKRIP_API __declspec(dllexport)
#elif defined(_WIN32)
#define AKRIP_API __declspec(dllimport)
#else
#define AKRIP_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t HCDROM; /* 0 means no handle */
typedef int32_t AKBOOL;  /* BOOL of the interface: a 32-bit int */

#define MAXCDLIST 8
#define MAXIDLEN 64
#define MAXTOCTRACKS 100

/* ASPI status values */
#define SS_PENDING 0x00
#define SS_COMP 0x01
#define SS_ABORTED 0x02
#define SS_ERR 0x04
#define SS_INVALID_CMD 0x80
#define SS_INVALID_HA 0x81
#define SS_NO_DEVICE 0x82

/* ModifyCDParms: which parameter */
#define CDP_MSF 36 /* value 0: ReadTOC reports logical block addresses; nonzero: MSF */

#pragma pack(push, 1)
typedef struct {
    uint8_t ha;  /* host adapter: the drive's position in the library's list */
    uint8_t tgt; /* target */
    uint8_t lun;
    uint8_t pad;
    char id[MAXIDLEN + 1]; /* device or disc-image name, NUL-terminated */
} CDREC;

typedef struct {
    uint8_t max; /* capacity of cd[]; 0 is taken as MAXCDLIST */
    uint8_t num; /* drives found */
    CDREC cd[MAXCDLIST];
} CDLIST;

typedef struct {
    uint8_t size; /* sizeof(GETCDHAND), 12 */
    uint8_t ver;  /* 1 */
    uint8_t ha;
    uint8_t tgt;
    uint8_t lun;
    uint8_t readType;
    AKBOOL jitterCorr;
    uint8_t numJitter;
    uint8_t numOverlap;
} GETCDHAND;

typedef struct {
    uint8_t rsvd;
    uint8_t ADR; /* address type in the high nibble, control bits in the low; 4 = data track */
    uint8_t trackNumber; /* 0xAA for the lead-out */
    uint8_t rsvd2;
    uint8_t addr[4]; /* most significant byte first: LBA, or 0, M, S, F */
} TOCTRACK;

typedef struct {
    uint8_t tocLen[2]; /* most significant byte first */
    uint8_t firstTrack;
    uint8_t lastTrack;
    TOCTRACK tracks[MAXTOCTRACKS];
} TOC;

typedef struct {
    uint32_t startFrame;  /* first frame (LBA) to read */
    uint32_t numFrames;   /* frames to read */
    uint32_t maxLen;      /* room in buf, in bytes */
    uint32_t len;         /* bytes delivered */
    uint32_t status;      /* last status of this buffer */
    uint32_t startOffset; /* where in buf the delivered bytes begin */
    uint8_t buf[];        /* maxLen bytes */
} TRACKBUF;
#pragma pack(pop)

#define TRACKBUFHEADER 24 /* bytes before buf */

/* Fills num and cd[] with at most max drives (0: MAXCDLIST); returns num. */
AKRIP_API int GetCDList(CDLIST* list);
/* Opens drive ha of the last list; 0 when the request or the drive is unusable. */
AKRIP_API HCDROM GetCDHandle(GETCDHAND* request);
/* 1 when set; only CDP_MSF is known, anything else is refused with 0. */
AKRIP_API int ModifyCDParms(HCDROM cd, int which, uint32_t value);
/* SS_COMP with the first to last track at tracks[0..] and the lead-out (0xAA) after them. */
AKRIP_API uint32_t ReadTOC(HCDROM cd, TOC* toc);
/* SS_COMP with numFrames raw 2352-byte frames from startFrame (0 = track 1 of a normal
 * disc) in buf, len = numFrames * 2352, startOffset = 0. A read past the lead-out, one that
 * does not fit in maxLen, or one the drive fails is refused whole with an error status. */
AKRIP_API uint32_t ReadCDAudioLBA(HCDROM cd, TRACKBUF* buffer);
/* The status of the last call that failed; SS_PENDING (0) before any failure. */
AKRIP_API uint8_t GetAspiLibAspiError(void);
/* 1 when closed; 0 for a handle that is not open. */
AKRIP_API AKBOOL CloseCDHandle(HCDROM cd);

#ifdef __cplusplus
}
#endif

#endif

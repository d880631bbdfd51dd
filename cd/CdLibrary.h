#pragma once
// The CD library as the program calls it: one table of its seven calls. By default the table
// holds the linked library's own functions; tests put a scripted drive in its place, so that
// the track list dialog and the ripper can be driven through any table of contents, drive list
// or read failure without a disc.

#include "platform/akrip/akrip.h"

struct CdLibraryCalls {
    int (*getCdList)(CDLIST* list);
    HCDROM (*getCdHandle)(GETCDHAND* request);
    int (*modifyCdParms)(HCDROM cd, int which, uint32_t value);
    uint32_t (*readToc)(HCDROM cd, TOC* toc);
    uint32_t (*readCdAudioLba)(HCDROM cd, TRACKBUF* buffer);
    uint8_t (*getAspiLibAspiError)();
    AKBOOL (*closeCdHandle)(HCDROM cd);
};

// The table in use: the one set for testing, else the linked library's.
const CdLibraryCalls& CdLibrary();
// The linked library's own functions.
const CdLibraryCalls& DefaultCdLibrary();

// nullptr restores the linked library. The table must outlive its use.
void SetCdLibraryForTesting(const CdLibraryCalls* calls);

// Puts `calls` in place for the life of this object, then restores what was there before.
class ScopedCdLibraryOverride {
public:
    explicit ScopedCdLibraryOverride(const CdLibraryCalls& calls);
    ~ScopedCdLibraryOverride();
    ScopedCdLibraryOverride(const ScopedCdLibraryOverride&) = delete;
    ScopedCdLibraryOverride& operator=(const ScopedCdLibraryOverride&) = delete;

private:
    const CdLibraryCalls* m_previous;
};

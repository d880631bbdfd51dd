// The seven calls of the CD library that the program links (platform/akrip). Kept apart from
// the override so that it is the one file that needs the library at link time.

#include "cd/CdLibrary.h"

namespace {
constexpr CdLibraryCalls kLinkedLibrary{GetCDList,      GetCDHandle,         ModifyCDParms, ReadTOC,
                                        ReadCDAudioLBA, GetAspiLibAspiError, CloseCDHandle};
}

const CdLibraryCalls& DefaultCdLibrary() {
    return kLinkedLibrary;
}

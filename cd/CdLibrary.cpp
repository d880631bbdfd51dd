#include "cd/CdLibrary.h"

namespace {
const CdLibraryCalls* s_override = nullptr;
}

const CdLibraryCalls& CdLibrary() {
    return s_override ? *s_override : DefaultCdLibrary();
}

void SetCdLibraryForTesting(const CdLibraryCalls* calls) {
    s_override = calls;
}

ScopedCdLibraryOverride::ScopedCdLibraryOverride(const CdLibraryCalls& calls)
    : m_previous(s_override) {
    s_override = &calls;
}

ScopedCdLibraryOverride::~ScopedCdLibraryOverride() {
    s_override = m_previous;
}

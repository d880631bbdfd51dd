#include "platform/ui/ModalSeam.h"

namespace platform {

namespace {
ModalHandler* g_handler = nullptr;
}

void SetModalHandler(ModalHandler* handler) {
    g_handler = handler;
}
ModalHandler* CurrentModalHandler() {
    return g_handler;
}

} // namespace platform

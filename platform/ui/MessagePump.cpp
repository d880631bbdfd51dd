#include "platform/ui/MessagePump.h"

#include <QCoreApplication>

namespace platform {

namespace {
int g_pumping = 0;
}

void PumpMessages() {
    if (!QCoreApplication::instance())
        return;
    ++g_pumping;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --g_pumping;
}

bool InsideMessagePump() {
    return g_pumping > 0;
}

} // namespace platform

#include "platform/ui/MessagePump.h"

#include <QCoreApplication>

namespace platform {

void PumpMessages() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace platform

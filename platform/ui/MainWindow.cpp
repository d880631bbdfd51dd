#include "platform/ui/MainWindow.h"

#include <QPointer>
#include <QWidget>

namespace platform {

namespace {
QPointer<QWidget>& Registered() {
    static QPointer<QWidget> window;
    return window;
}
} // namespace

void SetMainWindow(QWidget* window) {
    Registered() = window;
}
QWidget* MainWindow() {
    return Registered().data();
}

} // namespace platform

#include "app/CToolBar.h"

#include "app/CFrameWnd.h"
#include "platform/ui/ControlId.h"

#include <QAction>
#include <QApplication>
#include <QBitmap>
#include <QPixmap>

CToolBar::CToolBar(QWidget* parent) : QToolBar(parent) {}

bool CToolBar::CreateEx(int id) {
    platform::SetControlId(this, id);
    setObjectName(QStringLiteral("toolBar"));
    setWindowTitle(QStringLiteral("Toolbar"));
    setMovable(true); // the gripper
    setFloatable(true);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    return true;
}

bool CToolBar::LoadToolBar(const res::ToolBarResource& resource, CFrameWnd& frame) {
    setIconSize(resource.buttonSize);
    QPixmap strip(resource.bitmap);
    if (!strip.isNull()) {
        // The strip's light grey is the button face, as toolbar bitmaps have always been drawn:
        // it lets the bar's own colour through.
        strip.setMask(strip.createMaskFromColor(QColor(192, 192, 192)));
    }
    const int width = resource.buttonSize.width();
    for (std::size_t i = 0; i < resource.commands.size(); ++i) {
        QAction* const action = frame.CommandAction(resource.commands[i]);
        if (!strip.isNull()) {
            action->setIcon(QIcon(
                strip.copy(static_cast<int>(i) * width, 0, width, resource.buttonSize.height())));
        }
        addAction(action);
    }
    return true;
}

bool CToolBar::event(QEvent* event) {
    // A floating bar is a window of its own, where Qt stops passing a button's prompt on: hand
    // it to the frame, whose status bar shows it.
    if (event->type() == QEvent::StatusTip && isWindow() && parentWidget()) {
        QApplication::sendEvent(parentWidget(), event);
        return true;
    }
    return QToolBar::event(event);
}

#include "app/Message.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

struct ButtonMessages {
    unsigned left, right, middle, other;
};

std::optional<unsigned> ButtonMessage(const QMouseEvent& mouse, const ButtonMessages& numbers) {
    switch (mouse.button()) {
    case Qt::LeftButton:
        return numbers.left;
    case Qt::RightButton:
        return numbers.right;
    case Qt::MiddleButton:
        return numbers.middle;
    case Qt::NoButton:
        return std::nullopt;
    default:
        return numbers.other;
    }
}

} // namespace

std::optional<unsigned> InputMessageNumber(const QEvent& event) {
    using namespace msg;
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: {
        const auto& key = static_cast<const QKeyEvent&>(event);
        const Qt::KeyboardModifiers modifiers = key.modifiers();
        const bool system = key.key() == Qt::Key_F10 || key.key() == Qt::Key_Alt ||
                            ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier));
        return system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    }
    case QEvent::MouseButtonPress:
        return ButtonMessage(static_cast<const QMouseEvent&>(event),
                             {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_XBUTTONDOWN});
    case QEvent::MouseButtonDblClick:
        return ButtonMessage(
            static_cast<const QMouseEvent&>(event),
            {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_XBUTTONDBLCLK});
    case QEvent::NonClientAreaMouseButtonPress:
        return ButtonMessage(
            static_cast<const QMouseEvent&>(event),
            {WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN, WM_XBUTTONDOWN});
    case QEvent::NonClientAreaMouseButtonDblClick:
        return ButtonMessage(
            static_cast<const QMouseEvent&>(event),
            {WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDBLCLK, WM_NCMBUTTONDBLCLK, WM_XBUTTONDBLCLK});
    default:
        return std::nullopt;
    }
}

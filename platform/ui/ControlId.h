#pragma once
// Numeric control identifiers, as the resource script gives them, attached to Qt widgets so that
// the program and its tests can find a control by number.

#include <QWidget>

namespace platform {

void SetControlId(QWidget* widget, int id);
// The widget's identifier, or -1 when it has none.
int ControlId(const QWidget* widget);

// The first descendant of `parent` with identifier `id` that is a T, or nullptr.
template <typename T = QWidget> T* FindControl(const QWidget* parent, int id) {
    if (!parent)
        return nullptr;
    for (QWidget* child : parent->findChildren<QWidget*>()) {
        if (ControlId(child) == id)
            return qobject_cast<T*>(child);
    }
    return nullptr;
}

} // namespace platform

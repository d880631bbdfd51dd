#include "platform/ui/ControlId.h"

#include <QVariant>

namespace platform {

namespace {
constexpr const char* kProperty = "verbenoControlId";
}

void SetControlId(QWidget* widget, int id) {
    widget->setProperty(kProperty, id);
}

int ControlId(const QWidget* widget) {
    const QVariant value = widget->property(kProperty);
    return value.isValid() ? value.toInt() : -1;
}

} // namespace platform

#pragma once

#include <QString>

namespace platform {

// The program's one kind of report: a modal box captioned with the application's name, the
// text, an exclamation icon and a single OK button, owned by the main window (which is disabled
// meanwhile). Returns once the box has been dismissed.
void ShowMessageBox(const QString& text);

} // namespace platform

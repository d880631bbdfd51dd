#pragma once
// The application's main window, as the jobs and the progress bar find it: the shell registers
// its frame here, tests register whatever window they build. Nobody else owns it.

class QWidget;

namespace platform {

void SetMainWindow(QWidget* window);
// The registered window while it exists, else nullptr.
QWidget* MainWindow();

} // namespace platform

#pragma once
// A main window with the program's kind of status bar (pane 0 showing "Ready", then the three
// lock-key panes), registered as the application's main window while it lives.

#include "platform/ui/StatusBar.h"

#include <QMainWindow>

namespace testing_support {

class TestWindow : public QMainWindow {
public:
    TestWindow();
    ~TestWindow() override;
    platform::CStatusBar* bar() const { return m_bar; }

private:
    platform::CStatusBar* m_bar;
};

} // namespace testing_support

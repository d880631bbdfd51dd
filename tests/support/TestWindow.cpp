#include "TestWindow.h"

#include "platform/ui/MainWindow.h"

namespace testing_support {

TestWindow::TestWindow() : m_bar(new platform::CStatusBar(this)) {
    setStatusBar(m_bar);
    m_bar->SetIndicators({{0, {}}, {59137, "CAP"}, {59138, "NUM"}, {59139, "SCRL"}});
    m_bar->SetPaneText(0, QStringLiteral("Ready"));
    resize(640, 480);
    platform::SetMainWindow(this);
}

TestWindow::~TestWindow() {
    platform::SetMainWindow(nullptr);
}

} // namespace testing_support

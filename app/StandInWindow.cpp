#include "app/StandInWindow.h"

#include "platform/ui/MainWindow.h"
#include "platform/ui/StatusBar.h"
#include "res/StringTable.h"
#include "res/resource.h"

StandInWindow::StandInWindow() {
    auto* bar = new platform::CStatusBar(this);
    setStatusBar(bar);
    bar->SetIndicators({{res::ID_SEPARATOR, {}},
                        {res::ID_INDICATOR_CAPS, res::LoadString(res::ID_INDICATOR_CAPS)},
                        {res::ID_INDICATOR_NUM, res::LoadString(res::ID_INDICATOR_NUM)},
                        {res::ID_INDICATOR_SCRL, res::LoadString(res::ID_INDICATOR_SCRL)}});
    bar->SetPaneText(0, res::LoadString(res::AFX_IDS_IDLEMESSAGE));
    setWindowTitle(res::LoadString(res::AFX_IDS_APP_TITLE));
    resize(640, 420);
    platform::SetMainWindow(this);
}

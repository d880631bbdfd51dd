#pragma once
// The main window: the frame with the toolbar docked at the top and the status bar with its
// message pane and the CAP, NUM and SCRL indicators. It is the window that the jobs report into.

#include "app/CFrameWnd.h"

#include <QTimer>

class CToolBar;
namespace platform {
class CStatusBar;
}

class CMainFrame : public CFrameWnd {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    platform::CStatusBar* StatusBar() const { return m_statusBar; }
    CToolBar* ToolBar() const { return m_toolBar; }
    // Each indicator shows its text while its lock is on and is blank otherwise.
    void UpdateIndicators();

protected:
    int OnCreate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::CStatusBar* m_statusBar = nullptr;
    CToolBar* m_toolBar = nullptr;
    QTimer m_indicatorTimer;
    bool m_indicatorUpdatePending = false;
};

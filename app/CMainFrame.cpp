#include "app/CMainFrame.h"

#include "app/CSplashScreen.h"
#include "app/CToolBar.h"
#include "platform/ui/LockKeys.h"
#include "platform/ui/StatusBar.h"
#include "res/MainToolBar.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

struct IndicatorPane {
    int pane;
    int id;
    platform::LockKey key;
};

constexpr IndicatorPane kIndicators[] = {
    {1, res::ID_INDICATOR_CAPS, platform::LockKey::CapsLock},
    {2, res::ID_INDICATOR_NUM, platform::LockKey::NumLock},
    {3, res::ID_INDICATOR_SCRL, platform::LockKey::ScrollLock},
};

// A lock can change while another program has the keyboard; this catches up with that.
constexpr int kIndicatorPollMs = 500;

} // namespace

CMainFrame::CMainFrame() {
    m_indicatorTimer.setInterval(kIndicatorPollMs);
    connect(&m_indicatorTimer, &QTimer::timeout, this, &CMainFrame::UpdateIndicators);
}

CMainFrame::~CMainFrame() {
    if (qApp)
        qApp->removeEventFilter(this);
}

int CMainFrame::OnCreate() {
    if (CFrameWnd::OnCreate() == -1)
        return -1;

    m_toolBar = new CToolBar(this);
    if (!m_toolBar->CreateEx(res::AFX_IDW_TOOLBAR) ||
        !m_toolBar->LoadToolBar(res::MainToolBar(), *this))
        return -1;

    m_statusBar = new platform::CStatusBar(this);
    setStatusBar(m_statusBar);
    if (!m_statusBar->SetIndicators(
            {{res::ID_SEPARATOR, {}},
             {res::ID_INDICATOR_CAPS, res::LoadString(res::ID_INDICATOR_CAPS)},
             {res::ID_INDICATOR_NUM, res::LoadString(res::ID_INDICATOR_NUM)},
             {res::ID_INDICATOR_SCRL, res::LoadString(res::ID_INDICATOR_SCRL)}}))
        return -1;
    m_statusBar->SetPaneText(0, res::LoadString(res::AFX_IDS_IDLEMESSAGE));
    UpdateIndicators();
    m_indicatorTimer.start();
    qApp->installEventFilter(this); // key presses anywhere in the program toggle the locks

    m_toolBar->EnableDocking(Qt::AllToolBarAreas);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    UpdateBarChecks();

    CSplashScreen::Show(this);
    return 0;
}

void CMainFrame::UpdateIndicators() {
    m_indicatorUpdatePending = false;
    if (!m_statusBar)
        return;
    for (const IndicatorPane& indicator : kIndicators) {
        const QString text =
            platform::LockKeyOn(indicator.key) ? res::LoadString(indicator.id) : QString();
        if (m_statusBar->GetPaneText(indicator.pane) != text)
            m_statusBar->SetPaneText(indicator.pane, text);
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && event->spontaneous() &&
        !m_indicatorUpdatePending) {
        // Once per key, after it has been handled: Qt shows the event to this filter for every
        // object it passes through.
        m_indicatorUpdatePending = true;
        QMetaObject::invokeMethod(this, &CMainFrame::UpdateIndicators, Qt::QueuedConnection);
    }
    return CFrameWnd::eventFilter(watched, event);
}

#include "app/CFrameWnd.h"

#include "app/CDocument.h"
#include "app/CWinApp.h"
#include "platform/ui/ControlId.h"
#include "platform/ui/JobGuard.h"
#include "platform/ui/StatusBar.h"
#include "res/Accelerators.h"
#include "res/Images.h"
#include "res/MainMenu.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPointer>
#include <QStatusTipEvent>

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

bool CFrameWnd::LoadFrame(int resourceId, CDocument* document,
                          const CSingleDocTemplate::ViewFactory& createView, const QString& title) {
    m_nIDResource = resourceId;
    m_document = document;
    m_createView = createView;
    m_strTitle = title;
    if (OnCreate() == -1)
        return false;
    OnUpdateFrameTitle();
    return true;
}

int CFrameWnd::OnCreate() {
    setWindowIcon(QIcon(QString::fromLatin1(res::kProgramIcon)));

    for (const res::MenuItem& popup : res::MainMenu()) {
        QMenu* const menu = menuBar()->addMenu(popup.text);
        for (const res::MenuItem& item : popup.items) {
            QAction* const action = CommandAction(item.command);
            action->setText(item.text);
            menu->addAction(action);
        }
        // As the old platform does: the marks are brought up to date as a menu opens, and the
        // message pane goes back to its idle text once the menu has gone.
        connect(menu, &QMenu::aboutToShow, this, &CFrameWnd::UpdateBarChecks);
        connect(menu, &QMenu::aboutToHide, this,
                [this] { SetMessageText(res::LoadString(res::AFX_IDS_IDLEMESSAGE)); });
    }
    for (const res::Accelerator& accelerator : res::MainAccelerators()) {
        QAction* const action = CommandAction(accelerator.command);
        action->setShortcuts(action->shortcuts() << QKeySequence(accelerator.keys));
        addAction(action); // active while the frame is, with or without a menu item
    }

    if (m_createView && m_document) {
        QWidget* const view = m_createView(this, *m_document);
        if (!view)
            return -1;
        setCentralWidget(view);
    }
    return 0;
}

QAction* CFrameWnd::CommandAction(int id) {
    if (const auto found = m_actions.find(id); found != m_actions.end())
        return found->second;
    auto* const action = new QAction(this);
    action->setData(id);
    const QStringList texts = res::LoadString(id).split(QLatin1Char('\n'));
    action->setStatusTip(texts.value(0));
    action->setToolTip(texts.value(1));
    action->setIconVisibleInMenu(false);
    if (id == res::ID_VIEW_TOOLBAR || id == res::ID_VIEW_STATUS_BAR)
        action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    m_actions.emplace(id, action);
    return action;
}

void CFrameWnd::OnCommand(int id) {
    emit commandIssued(id);
    // The view has no commands of its own; a command that nobody handles does nothing.
    const QPointer<CDocument> document = m_document;
    if (document && document->OnCmdMsg(id))
        return;
    if (OnCmdMsg(id))
        return;
    if (CWinApp* app = CWinApp::AfxGetApp())
        app->OnCmdMsg(id);
}

bool CFrameWnd::OnCmdMsg(int id) {
    if (id == res::ID_VIEW_TOOLBAR || id == res::ID_VIEW_STATUS_BAR) {
        OnBarCheck(id);
        return true;
    }
    return false;
}

void CFrameWnd::OnBarCheck(int barId) {
    // The View commands carry the numbers of the bars that they show and hide.
    if (QWidget* const bar = platform::FindControl(this, barId))
        bar->setVisible(bar->isHidden());
    UpdateBarChecks();
}

void CFrameWnd::UpdateBarChecks() {
    for (const int id : {res::ID_VIEW_TOOLBAR, res::ID_VIEW_STATUS_BAR}) {
        if (const auto found = m_actions.find(id); found != m_actions.end()) {
            const QWidget* const bar = platform::FindControl(this, id);
            found->second->setChecked(bar && !bar->isHidden());
        }
    }
}

void CFrameWnd::InitialUpdateFrame() {
    OnUpdateFrameTitle();
    if (QWidget* const view = GetActiveView())
        view->update();
}

void CFrameWnd::OnUpdateFrameTitle() {
    if (m_document)
        setWindowTitle(m_document->GetTitle() + QStringLiteral(" - ") + m_strTitle);
    else
        setWindowTitle(m_strTitle);
}

void CFrameWnd::SetMessageText(const QString& text) {
    if (auto* const bar = platform::FindControl<platform::CStatusBar>(this, platform::kStatusBarId))
        bar->SetPaneText(0, text);
}

bool CFrameWnd::event(QEvent* event) {
    // Prompts of highlighted menu items and hovered buttons go into pane 0 only. Qt's own
    // handling would show them as a status-bar message, which hides every pane, the progress
    // bar of a running job with them.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        SetMessageText(tip.isEmpty() ? res::LoadString(res::AFX_IDS_IDLEMESSAGE) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CFrameWnd::closeEvent(QCloseEvent* event) {
    // A job reports into this window and dispatches events while it runs, so a close asked for
    // meanwhile waits until the job has finished; then the window closes as asked.
    if (platform::JobGuard::Busy()) {
        event->ignore();
        if (!m_closeHeld) {
            m_closeHeld = true;
            platform::JobGuard::RunWhenIdle([frame = QPointer<CFrameWnd>(this)] {
                if (frame) {
                    frame->m_closeHeld = false;
                    frame->close();
                }
            });
        }
        return;
    }
    // The document holds nothing, so nothing asks to be saved.
    event->accept();
}

#pragma once
// The frame of a single-document window: menu bar, accelerators and icon from the template's
// resources, one action per command number, the routing of commands (document, frame,
// application), the title kept as "document - program", the status bar's message pane, and
// the close that waits for a running job.

#include "app/CSingleDocTemplate.h"

#include <QMainWindow>
#include <map>

class QAction;
class CDocument;

class CFrameWnd : public QMainWindow {
    Q_OBJECT
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the window's contents for `document`: OnCreate, then the first title. False when
    // OnCreate fails; the frame is then of no use.
    bool LoadFrame(int resourceId, CDocument* document,
                   const CSingleDocTemplate::ViewFactory& createView, const QString& title);
    CDocument* GetActiveDocument() const { return m_document; }
    QWidget* GetActiveView() const { return centralWidget(); }

    // The one action that issues command `id`, made on first use. Its data is the number, its
    // status tip the prompt and its tool tip the short name from the command's string.
    QAction* CommandAction(int id);
    // Hands command `id` to the first of document, frame and application that handles it.
    void OnCommand(int id);
    // The frame's own commands: showing and hiding the toolbar and the status bar.
    virtual bool OnCmdMsg(int id);

    // After New or Open: the title, and the view drawn again.
    void InitialUpdateFrame();
    virtual void OnUpdateFrameTitle();
    // Pane 0 of the status bar (the descendant with the status bar's identifier).
    void SetMessageText(const QString& text);
    // The check marks of the View items follow the bars.
    void UpdateBarChecks();

signals:
    // Every command, before it is routed; tests read it to see what a key or button issued.
    void commandIssued(int id);

protected:
    // Menu, accelerators, icon and view. 0 to go on, -1 to fail.
    virtual int OnCreate();
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // No Qt menu for hiding bars: the View menu does that.
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void OnBarCheck(int barId);

    int m_nIDResource = 0;
    CDocument* m_document = nullptr;
    CSingleDocTemplate::ViewFactory m_createView;
    QString m_strTitle; // the program's part of the title
    std::map<int, QAction*> m_actions;
    bool m_closeHeld = false;
};

#pragma once
// What the shell's tests share: a main() that makes the program's own application object (the
// hook lives in it), a way to start and end the shell inside one test process, and a counter of
// the events that reach a widget.

#include "app/CMainFrame.h"
#include "app/CVerbenoApp.h"
#include "app/CVerbenoView.h"

#include "TestMain.h"

// As VERBENO_TEST_MAIN, with CVerbenoApp instead of a plain QApplication. The application does
// not quit when the main window closes: the tests close it on purpose and go on.
#define VERBENO_APP_TEST_MAIN(TestClass)                                                           \
    VERBENO_TEST_MAIN_WITH(TestClass, CVerbenoApp, app.setQuitOnLastWindowClosed(false))

namespace app_testing {

inline CVerbenoApp* App() {
    return static_cast<CVerbenoApp*>(CWinApp::AfxGetApp());
}
inline CMainFrame* Frame() {
    return qobject_cast<CMainFrame*>(App()->GetMainWnd());
}
inline CVerbenoView* View() {
    return Frame() ? qobject_cast<CVerbenoView*>(Frame()->GetActiveView()) : nullptr;
}

// Runs the start-up with `arguments` after the program's name; true when the main window is up
// and exposed.
inline bool StartShell(const QStringList& arguments) {
    App()->SetCommandLine(QStringList{QStringLiteral("verbeno")} + arguments);
    if (!App()->InitInstance())
        return false;
    return QTest::qWaitForWindowExposed(Frame());
}

// The program's shut-down, so the next test starts from nothing.
inline void EndShell() {
    App()->ExitInstance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class EventCounter : public QObject {
public:
    EventCounter(QObject* target, QEvent::Type type) : m_type(type) {
        target->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == m_type)
            ++count;
        return false;
    }

private:
    QEvent::Type m_type;
};

} // namespace app_testing

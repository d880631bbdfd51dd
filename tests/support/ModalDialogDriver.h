#pragma once
// Drives real modal dialogs from a test, and is the watchdog for the ones nobody expected: a
// modal window that appears with no handler queued is recorded and closed, so a test fails
// instead of hanging.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;

namespace testing_support {

class ModalDialogDriver : public QObject {
    Q_OBJECT
public:
    ModalDialogDriver();
    ~ModalDialogDriver() override;

    // Handles the next modal window that appears; the handler must end it (accept, reject...).
    void expect(std::function<void(QWidget* dialog)> handler);
    int pending() const { return static_cast<int>(m_handlers.size()); }

    QStringList unexpected; // window titles of modal windows closed by the watchdog

private:
    void poll();
    QTimer m_timer;
    std::deque<std::function<void(QWidget*)>> m_handlers;
    QPointer<QWidget> m_current;
};

} // namespace testing_support

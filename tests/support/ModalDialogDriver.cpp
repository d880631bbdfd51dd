#include "ModalDialogDriver.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace testing_support {

ModalDialogDriver::ModalDialogDriver() {
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalDialogDriver::poll);
    m_timer.start();
}

ModalDialogDriver::~ModalDialogDriver() = default;

void ModalDialogDriver::expect(std::function<void(QWidget*)> handler) {
    m_handlers.push_back(std::move(handler));
}

void ModalDialogDriver::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == m_current || !modal->isVisible())
        return;
    m_current = modal;
    if (m_handlers.empty()) {
        unexpected << modal->windowTitle();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        return;
    }
    const std::function<void(QWidget*)> handler = m_handlers.front();
    m_handlers.pop_front();
    handler(modal);
}

} // namespace testing_support

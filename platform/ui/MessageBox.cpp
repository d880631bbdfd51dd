#include "platform/ui/MessageBox.h"

#include "platform/ui/MainWindow.h"
#include "platform/ui/ModalSeam.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

void ShowMessageBox(const QString& text) {
    if (ModalHandler* handler = CurrentModalHandler()) {
        handler->messageBox(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, MainWindow());
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace platform

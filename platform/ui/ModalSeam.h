#pragma once
// The one place where the program's modal boxes and file dialogs can be taken over. The program
// always goes through ShowMessageBox and ChooseFileToOpen; tests install a handler here that
// answers from a script and records what was shown, so no real modal loop ever blocks them.

#include <QString>
#include <optional>

namespace platform {

struct FileDialogRequest {
    QString title;
    QString filter; // "Name|*.ext|Other|*.*||", as the commands write it
    QString defaultExt;
    QString initialName;
};

class ModalHandler {
public:
    virtual ~ModalHandler() = default;
    virtual void messageBox(const QString& text) = 0;
    virtual std::optional<QString> chooseFileToOpen(const FileDialogRequest& request) = 0;
};

// nullptr restores the real dialogs.
void SetModalHandler(ModalHandler* handler);
ModalHandler* CurrentModalHandler();

} // namespace platform

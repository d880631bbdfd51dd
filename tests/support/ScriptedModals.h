#pragma once
// Takes over the program's message boxes and file dialogs for one test: every box text is
// recorded, file dialogs are answered from a queue, and a test can act while a box is "up".

#include "platform/ui/ModalSeam.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

class ScriptedModals : public platform::ModalHandler {
public:
    ScriptedModals();
    ~ScriptedModals() override;

    // The answer for the next file dialog: a path, or std::nullopt for Cancel.
    void answerFileDialog(std::optional<QString> path);
    // Runs for every message box, while it is shown (before it is dismissed).
    void whileBoxIsUp(std::function<void(const QString& text)> action);

    QStringList shown;                                 // every box text, in order
    std::vector<platform::FileDialogRequest> requests; // every file dialog, in order
    QStringList unexpected;                            // file dialogs nobody had answered

    void messageBox(const QString& text) override;
    std::optional<QString> chooseFileToOpen(const platform::FileDialogRequest& request) override;

private:
    std::deque<std::pair<bool, QString>> m_answers; // confirmed?, path
    std::function<void(const QString&)> m_whileUp;
    platform::ModalHandler* m_previous = nullptr;
};

} // namespace testing_support

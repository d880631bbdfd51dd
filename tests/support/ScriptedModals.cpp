#include "ScriptedModals.h"

namespace testing_support {

ScriptedModals::ScriptedModals() : m_previous(platform::CurrentModalHandler()) {
    platform::SetModalHandler(this);
}

ScriptedModals::~ScriptedModals() {
    platform::SetModalHandler(m_previous);
}

void ScriptedModals::answerFileDialog(std::optional<QString> path) {
    m_answers.push_back({path.has_value(), path.value_or(QString())});
}

void ScriptedModals::whileBoxIsUp(std::function<void(const QString&)> action) {
    m_whileUp = std::move(action);
}

void ScriptedModals::messageBox(const QString& text) {
    shown << text;
    if (m_whileUp)
        m_whileUp(text);
}

std::optional<QString>
ScriptedModals::chooseFileToOpen(const platform::FileDialogRequest& request) {
    requests.push_back(request);
    if (m_answers.empty()) {
        unexpected << request.title;
        return std::nullopt;
    }
    const auto [confirmed, path] = m_answers.front();
    m_answers.pop_front();
    if (!confirmed)
        return std::nullopt;
    return path;
}

} // namespace testing_support

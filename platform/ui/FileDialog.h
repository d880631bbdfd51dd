#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// The open-file dialog of the commands. `filter` is written "Name|*.a|Other|*.*||"; the first
// entry is preselected. A typed name without extension gets `defaultExt` (".wav"); the chosen
// file need not exist. Returns the confirmed absolute path, or nothing when cancelled. The
// current directory is left as it is.
std::optional<QString> ChooseFileToOpen(const QString& title, const QString& filter,
                                        const QString& defaultExt, const QString& initialName);

// "Wav Files(*.wav)|*.wav|All Files(*.*)|*.*||" -> {"Wav Files (*.wav)", "All Files (*)"}.
// "*.*" means every file, with or without a dot, as it does on Windows.
QStringList TranslateFileFilter(const QString& filter);

} // namespace platform

#include "platform/ui/FileDialog.h"

#include "platform/ui/MainWindow.h"
#include "platform/ui/ModalSeam.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace platform {

QStringList TranslateFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        if (name.isEmpty())
            break; // the "||" that ends the list
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        // Qt reads the patterns from the last parentheses, so a name that already shows them
        // ("Wav Files(*.wav)") loses that copy before the translated patterns are added.
        static const QRegularExpression shownPatterns(QStringLiteral("\\s*\\([^()]*\\)$"));
        name.remove(shownPatterns);
        entries << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return entries;
}

std::optional<QString> ChooseFileToOpen(const QString& title, const QString& filter,
                                        const QString& defaultExt, const QString& initialName) {
    if (ModalHandler* handler = CurrentModalHandler())
        return handler->chooseFileToOpen({title, filter, defaultExt, initialName});

    QFileDialog dialog(MainWindow(), title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile); // a typed name of a missing file is accepted
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = TranslateFileFilter(filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    QString suffix = defaultExt;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.first();
}

} // namespace platform

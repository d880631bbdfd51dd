#include "encoding/OutputName.h"

QString Mp3OutputName(const QString& inputPath) {
    // Both separators count, so a Windows-style path is cut the same way everywhere.
    const qsizetype slash = inputPath.lastIndexOf(QLatin1Char('/'));
    const qsizetype backslash = inputPath.lastIndexOf(QLatin1Char('\\'));
    const qsizetype fileStart = std::max(slash, backslash) + 1;
    const qsizetype dot = inputPath.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > fileStart; // a leading dot does not start an extension
    return (hasExtension ? inputPath.left(dot) : inputPath) + QStringLiteral(".mp3");
}

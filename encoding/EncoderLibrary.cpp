#include "encoding/EncoderLibrary.h"

#include "platform/ui/MessageBox.h"
#include "platform/ui/SharedLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString& LibraryFileName() {
    static const QString name = platform::PlatformLibraryFileName(QStringLiteral("bladeenc"));
    return name;
}

bool IsCurrentDirectory(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QDir::current().canonicalPath();
}

// The system loader reads LD_LIBRARY_PATH as it stood when the process started; an empty or
// relative entry there means "the current directory", which must never be searched.
QStringList SearchPathEntries(bool* reachesCurrentDirectory) {
    *reachesCurrentDirectory = false;
    QStringList usable;
#ifndef _WIN32
    const QString path = QString::fromLocal8Bit(qgetenv("LD_LIBRARY_PATH"));
    if (path.isNull())
        return usable;
    for (const QString& entry : path.split(QLatin1Char(':'))) {
        if (entry.isEmpty() || QDir::isRelativePath(entry) || IsCurrentDirectory(entry))
            *reachesCurrentDirectory = true;
        else
            usable << entry;
    }
#endif
    return usable;
}

} // namespace

EncoderLibrary& TheEncoderLibrary() {
    static EncoderLibrary library;
    return library;
}

QStringList EncoderLibraryCandidates() {
    const QString forced = QString::fromLocal8Bit(qgetenv("VERBENO_ENCODER_LIBRARY"));
    if (!forced.isEmpty())
        return {forced};

    // Where the program itself lives: beside the executable, then its private library folder.
    const QDir programFolder(QCoreApplication::applicationDirPath());
    QStringList candidates{
        programFolder.filePath(LibraryFileName()),
        QDir::cleanPath(programFolder.absoluteFilePath(
            QStringLiteral("../%1/%2")
                .arg(QStringLiteral(VERBENO_PRIVATE_LIBDIR), LibraryFileName())))};

    bool reachesCurrentDirectory = false;
    const QStringList entries = SearchPathEntries(&reachesCurrentDirectory);
    if (!reachesCurrentDirectory) {
        candidates << LibraryFileName(); // the system loader's own search
        return candidates;
    }
    // The loader's search would look in the current directory: walk the safe folders instead.
    for (const QString& entry : entries)
        candidates << QDir(entry).filePath(LibraryFileName());
    for (const QString& folder : QStringLiteral(VERBENO_SYSTEM_LIBDIRS).split(QLatin1Char(':')))
        candidates << QDir(folder).filePath(LibraryFileName());
    return candidates;
}

bool BindEncoderLibrary() {
    platform::SharedLibrary library;
    for (const QString& candidate : EncoderLibraryCandidates()) {
        if (candidate.contains(QLatin1Char('/')) && !QFileInfo::exists(candidate))
            continue;
        library = platform::SharedLibrary::LoadFile(candidate);
        if (library.isLoaded())
            break;
    }
    if (!library.isLoaded()) {
        platform::ShowMessageBox(QStringLiteral("Error loading BLADEENC.DLL"));
        return false;
    }

    EncoderLibrary& bound = TheEncoderLibrary();
    bound.beInitStream = reinterpret_cast<BEINITSTREAM>(library.symbol("beInitStream"));
    bound.beEncodeChunk = reinterpret_cast<BEENCODECHUNK>(library.symbol("beEncodeChunk"));
    bound.beDeinitStream = reinterpret_cast<BEDEINITSTREAM>(library.symbol("beDeinitStream"));
    bound.beCloseStream = reinterpret_cast<BECLOSESTREAM>(library.symbol("beCloseStream"));
    bound.beVersion = reinterpret_cast<BEVERSION>(library.symbol("beVersion"));
    if (!bound.beInitStream || !bound.beEncodeChunk || !bound.beDeinitStream ||
        !bound.beCloseStream || !bound.beVersion) {
        platform::ShowMessageBox(QStringLiteral("Unable to get BladeEnc interface"));
        return false;
    }
    return true;
}

#include "app/CommandLine.h"

#include <QCoreApplication>

namespace {

void ParseParamFlag(const QString& flag, CCommandLineInfo& info) {
    if (flag.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0) {
        info.m_bRunEmbedded = true;
        info.m_bShowSplash = false;
    } else if (flag.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0) {
        info.m_bRunAutomated = true;
        info.m_bShowSplash = false;
    }
}

// "-" always starts a switch. "/" starts one only before a plain word ("/Embedding"): on this
// system "/" also starts every absolute path, and "/home/x.wav" or "/x.wav" name files.
bool IsSwitch(const QString& argument) {
    if (argument.size() < 2)
        return false;
    if (argument.startsWith(QLatin1Char('-')))
        return true;
    if (!argument.startsWith(QLatin1Char('/')))
        return false;
    for (qsizetype i = 1; i < argument.size(); ++i) {
        if (!argument[i].isLetterOrNumber())
            return false;
    }
    return true;
}

} // namespace

void ParseCommandLine(const QStringList& arguments, CCommandLineInfo& info) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h") ||
            argument == QLatin1String("-?")) {
            info.m_bShowHelp = true;
        } else if (argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
            info.m_bShowVersion = true;
        } else if (IsSwitch(argument)) {
            ParseParamFlag(argument.mid(1), info);
        } else if (info.m_strFileName.isEmpty() && !argument.isEmpty()) {
            info.m_strFileName = argument;
            info.m_nShellCommand = CCommandLineInfo::FileOpen;
        }
    }
}

QString CommandLineHelpText() {
    return QStringLiteral(
               "Usage: %1 [options] [file]\n"
               "Encodes WAV files to MP3 and rips audio CDs.\n"
               "\n"
               "Options:\n"
               "  -h, --help                 Displays this help.\n"
               "  -v, --version              Displays version information.\n"
               "  -Embedding, -Automation    Starts without the splash screen (also after \"/\",\n"
               "                             in any letter case).\n"
               "\n"
               "Arguments:\n"
               "  file                       The file to open as the document.\n")
        .arg(QCoreApplication::applicationName().toLower());
}

#pragma once
// The command line as the program reads it: switches after "-" or "/", and a plain argument
// naming the file to open as the document. Qt's own options are gone before this runs
// (QApplication takes them out). On this system "/" also starts absolute paths, so "/" makes a
// switch only before a plain word.

#include <QString>
#include <QStringList>

struct CCommandLineInfo {
    enum ShellCommand { FileNew, FileOpen };

    // Cleared by the switches "Embedding" and "Automation" (in any letter case).
    bool m_bShowSplash = true;
    bool m_bRunEmbedded = false;
    bool m_bRunAutomated = false;
    ShellCommand m_nShellCommand = FileNew;
    QString m_strFileName; // the first plain argument
    // "--help"/"-h"/"-?" and "--version"/"-v", as Qt programs offer them.
    bool m_bShowHelp = false;
    bool m_bShowVersion = false;
};

// Reads `arguments` (the program's name first, as QCoreApplication::arguments() has it) into
// `info`. Unknown switches, among them the print and shell switches "p", "pt" and "dde" that the
// program does not offer, change nothing; plain arguments after the first are ignored.
void ParseCommandLine(const QStringList& arguments, CCommandLineInfo& info);

// What --help prints.
QString CommandLineHelpText();

#include "app/CVerbenoApp.h"

#include "app/CAboutBox.h"
#include "app/CMainFrame.h"
#include "app/CSingleDocTemplate.h"
#include "app/CSplashScreen.h"
#include "app/CVerbenoDoc.h"
#include "app/CVerbenoView.h"
#include "cd/CdCommands.h"
#include "encoding/WavToMp3Command.h"
#include "platform/ui/JobGuard.h"
#include "res/resource.h"

#include <QWidget>
#include <cstdio>

CVerbenoApp::CVerbenoApp(int& argc, char** argv) : CWinApp(argc, argv) {}

bool CVerbenoApp::InitInstance() {
    // 1. The splash screen's flag, from a first reading of the command line.
    {
        CCommandLineInfo cmdInfo;
        ParseCommandLine(cmdInfo);
        if (cmdInfo.m_bShowHelp || cmdInfo.m_bShowVersion) {
            const QString text = cmdInfo.m_bShowHelp ? CommandLineHelpText()
                                                     : applicationName() + QLatin1Char(' ') +
                                                           applicationVersion() + QLatin1Char('\n');
            std::fputs(text.toLocal8Bit().constData(), stdout);
            std::fflush(stdout);
            m_nInitFailureStatus = 0;
            return false;
        }
        CSplashScreen::Enable(cmdInfo.m_bShowSplash);
    }
    // 2.-3. Control containers and the three-dimensional dialog look have no counterpart here:
    // Qt's dialogs need neither.

    // 4.-5. The profile and what it keeps.
    SetRegistryKey(QStringLiteral("Verbeno MP3 encoder and CD ripper"));
    LoadStdProfileSettings(4);

    // 6. The one document template.
    AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        res::IDR_MAINFRAME, [] { return std::make_unique<CVerbenoDoc>(); },
        [] { return std::make_unique<CMainFrame>(); },
        [](QWidget* parent, CDocument& document) -> QWidget* {
            return new CVerbenoView(parent, &document);
        }));

    // 7. New, or Open of the file that the command line names; this makes the main window.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo)) {
        m_nInitFailureStatus = 1;
        return false;
    }

    // 8.
    GetMainWnd()->show();
    GetMainWnd()->update();
    return true;
}

bool CVerbenoApp::PreTranslateMessage(MSG& message) {
    if (CSplashScreen::FilterMessage(message))
        return true;
    if (message.message == msg::WM_RBUTTONDBLCLK || message.message == msg::WM_MBUTTONDBLCLK)
        DoMessageBox(QStringLiteral("Please don't click on me... It tickles!"));
    return CWinApp::PreTranslateMessage(message);
}

bool CVerbenoApp::OnCmdMsg(int id) {
    struct Entry {
        int id;
        void (CVerbenoApp::*handler)();
    };
    static constexpr Entry kCommands[] = {
        {res::ID_APP_ABOUT, &CVerbenoApp::OnAppAbout},
        {res::ID_ENCODE_WAV_TO_MP3, &CVerbenoApp::OnWavToMp3},
        {res::ID_RIP_CD_TO_WAV, &CVerbenoApp::OnCdToWav},
        {res::ID_RIP_CD_TO_MP3, &CVerbenoApp::OnCdToMp3},
        {res::ID_FILE_NEW, &CVerbenoApp::OnFileNew},
        {res::ID_FILE_OPEN, &CVerbenoApp::OnFileOpen},
    };
    for (const Entry& entry : kCommands) {
        if (entry.id == id) {
            (this->*entry.handler)();
            return true;
        }
    }
    return CWinApp::OnCmdMsg(id);
}

void CVerbenoApp::OnAppAbout() {
    CAboutBox aboutDlg;
    aboutDlg.DoModal();
}

void CVerbenoApp::OnWavToMp3() {
    ::OnWavToMp3(); // refuses by itself while a job runs
}

void CVerbenoApp::OnCdToWav() {
    ::OnCdToWav(); // refuses by itself while a job runs
}

void CVerbenoApp::OnCdToMp3() {
    ::OnCdToMp3(); // refuses by itself while a job runs
}

#pragma once
// The program's application object: its start-up, its command table with the three jobs and
// About, and its message hook (the splash screen first, then the tickled double click).

#include "app/CWinApp.h"

class CVerbenoApp : public CWinApp {
    Q_OBJECT
public:
    CVerbenoApp(int& argc, char** argv);

    bool InitInstance() override;
    bool PreTranslateMessage(MSG& message) override;
    // The command table: About, the three jobs, New and Open; then the platform's.
    bool OnCmdMsg(int id) override;

    void OnAppAbout();
    // A job command asked for while a job runs is refused with a beep.
    void OnWavToMp3();
    void OnCdToWav();
    void OnCdToMp3();
};

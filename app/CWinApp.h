#pragma once
// The application object's framework part: the start-up and shut-down frame around
// InitInstance, the command line, the profile with its recent-file list, the one document
// template, the platform's own commands (New, Open, Exit) and the message hook that sees every
// input message taken from the queue (PreTranslateMessage).

#include "app/CommandLine.h"
#include "app/Message.h"
#include "app/RecentFileList.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class CDocument;
class CSingleDocTemplate;
class QSettings;

class CWinApp : public QApplication {
    Q_OBJECT
public:
    CWinApp(int& argc, char** argv);
    ~CWinApp() override;

    // The application object, or nullptr while none of this kind exists.
    static CWinApp* AfxGetApp();

    // Start-up: true to run the event loop, false to end at once with InitFailureStatus().
    virtual bool InitInstance() = 0;
    // Shut-down: writes the profile back and lets the document, frame and view go.
    virtual int ExitInstance();
    // InitInstance, the event loop until the main window has closed, ExitInstance.
    int Run();
    int InitFailureStatus() const { return m_nInitFailureStatus; }

    // What ParseCommandLine reads: the process's arguments unless set otherwise.
    void SetCommandLine(const QStringList& arguments) { m_commandLine = arguments; }
    void ParseCommandLine(CCommandLineInfo& info) const;
    // New or Open as the command line asks; false when that failed.
    bool ProcessShellCommand(const CCommandLineInfo& info);

    // The hook: true when `message` has been consumed (it is not delivered).
    virtual bool PreTranslateMessage(MSG& message);
    // The platform's commands behind the application's own table: New, Open and Exit.
    virtual bool OnCmdMsg(int id);
    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();
    CDocument* OpenDocumentFile(const QString& path);

    // The profile: organisation `key`, application the program's title.
    void SetRegistryKey(const QString& key);
    // Reads the recent-file list (room for `maxRecentFiles`) and "PreviewPages".
    void LoadStdProfileSettings(int maxRecentFiles);
    // Clears and rewrites the recent-file list; "PreviewPages" only when it is not 0.
    void SaveStdProfileSettings();
    std::unique_ptr<QSettings> Profile() const;
    void AddToRecentFileList(const QString& path);
    const CRecentFileList* RecentFileList() const { return m_pRecentFileList.get(); }
    int PreviewPages() const { return m_nNumPreviewPages; }

    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    CSingleDocTemplate* GetDocTemplate() const { return m_docTemplate.get(); }
    QWidget* GetMainWnd() const { return m_pMainWnd.data(); }
    void SetMainWnd(QWidget* window);

    // The platform's message box; the hook stays out of its modal loop.
    void DoMessageBox(const QString& text);

protected:
    bool notify(QObject* receiver, QEvent* event) override;
    int m_nInitFailureStatus = 1;

private:
    // What tells one input event apart from another across its deliveries (see notify).
    struct InputStamp {
        unsigned message = 0;
        int code = 0; // key or button
        quint64 timestamp = 0;
        quint32 scanCode = 0;
        bool operator==(const InputStamp&) const = default;
    };
    static InputStamp StampOf(const QEvent& event, unsigned message);
    bool HookRuns() const;

    QStringList m_commandLine;
    QString m_strRegistryKey;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    int m_nNumPreviewPages = 0;
    std::unique_ptr<CSingleDocTemplate> m_docTemplate;
    QPointer<QWidget> m_pMainWnd;

    std::vector<InputStamp> m_delivering;
    std::optional<InputStamp> m_lastKey;
    bool m_lastKeyConsumed = false;
    bool m_messageBoxUp = false;
};

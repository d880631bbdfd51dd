#include "app/CWinApp.h"

#include "app/CDocument.h"
#include "app/CSingleDocTemplate.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/MessagePump.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QSettings>
#include <algorithm>

namespace {
const QString kRecentFileSection = QStringLiteral("Recent File List");
const QString kSettingsSection = QStringLiteral("Settings");
const QString kPreviewPages = QStringLiteral("PreviewPages");
} // namespace

CWinApp::CWinApp(int& argc, char** argv) : QApplication(argc, argv) {
    // No name of its own: the program is called by its title in the string table.
    setApplicationName(res::LoadString(res::AFX_IDS_APP_TITLE));
    setApplicationVersion(QStringLiteral(VERBENO_VERSION));
    m_commandLine = arguments();
}

CWinApp::~CWinApp() = default;

CWinApp* CWinApp::AfxGetApp() {
    return qobject_cast<CWinApp*>(QCoreApplication::instance());
}

int CWinApp::Run() {
    if (!InitInstance()) {
        ExitInstance();
        return m_nInitFailureStatus;
    }
    const int status = exec();
    ExitInstance();
    return status;
}

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    m_docTemplate.reset();
    return 0;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const {
    ::ParseCommandLine(m_commandLine, info);
}

bool CWinApp::ProcessShellCommand(const CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return GetMainWnd() != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    }
    return false;
}

void CWinApp::SetMainWnd(QWidget* window) {
    m_pMainWnd = window;
    platform::SetMainWindow(window);
}

void CWinApp::SetRegistryKey(const QString& key) {
    m_strRegistryKey = key;
}

std::unique_ptr<QSettings> CWinApp::Profile() const {
    return std::make_unique<QSettings>(m_strRegistryKey, applicationName());
}

void CWinApp::LoadStdProfileSettings(int maxRecentFiles) {
    const std::unique_ptr<QSettings> profile = Profile();
    m_pRecentFileList = std::make_unique<CRecentFileList>(kRecentFileSection,
                                                          QStringLiteral("File%1"), maxRecentFiles);
    m_pRecentFileList->ReadList(*profile);
    m_nNumPreviewPages =
        profile->value(kSettingsSection + QLatin1Char('/') + kPreviewPages, 0).toInt();
}

void CWinApp::SaveStdProfileSettings() {
    if (!m_pRecentFileList)
        return; // the profile was never read, so there is nothing to write back
    const std::unique_ptr<QSettings> profile = Profile();
    m_pRecentFileList->WriteList(*profile);
    if (m_nNumPreviewPages != 0)
        profile->setValue(kSettingsSection + QLatin1Char('/') + kPreviewPages, m_nNumPreviewPages);
    profile->sync();
}

void CWinApp::AddToRecentFileList(const QString& path) {
    if (m_pRecentFileList)
        m_pRecentFileList->Add(path);
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate) {
    m_docTemplate = std::move(docTemplate);
}

bool CWinApp::OnCmdMsg(int id) {
    switch (id) {
    case res::ID_FILE_NEW:
        OnFileNew();
        return true;
    case res::ID_FILE_OPEN:
        OnFileOpen();
        return true;
    case res::ID_APP_EXIT:
        OnAppExit();
        return true;
    default:
        return false;
    }
}

void CWinApp::OnFileNew() {
    if (m_docTemplate)
        m_docTemplate->OpenDocumentFile(QString());
}

void CWinApp::OnFileOpen() {
    if (!m_docTemplate)
        return;
    if (const std::optional<QString> path =
            m_docTemplate->PromptFileName(QStringLiteral("Open"), QString()))
        OpenDocumentFile(*path);
}

CDocument* CWinApp::OpenDocumentFile(const QString& path) {
    return m_docTemplate ? m_docTemplate->OpenDocumentFile(path) : nullptr;
}

void CWinApp::OnAppExit() {
    // Closing the main window ends the program; the window holds the close while a job runs.
    if (QWidget* const window = GetMainWnd())
        window->close();
}

void CWinApp::DoMessageBox(const QString& text) {
    m_messageBoxUp = true;
    const auto down = qScopeGuard([this] { m_messageBoxUp = false; });
    platform::ShowMessageBox(text);
}

bool CWinApp::PreTranslateMessage(MSG&) {
    return false;
}

bool CWinApp::HookRuns() const {
    // The hook belongs to the program's own loops: the main loop and its modal dialogs. It stays
    // out of message boxes and file dialogs, and out of a job's own dispatching.
    if (m_messageBoxUp || platform::InsideMessagePump())
        return false;
    const QWidget* const modal = activeModalWidget();
    return !qobject_cast<const QMessageBox*>(modal) && !qobject_cast<const QFileDialog*>(modal);
}

CWinApp::InputStamp CWinApp::StampOf(const QEvent& event, unsigned message) {
    InputStamp stamp;
    stamp.message = message;
    const auto& input = static_cast<const QInputEvent&>(event);
    stamp.timestamp = input.timestamp();
    if (event.type() == QEvent::KeyPress || event.type() == QEvent::ShortcutOverride) {
        const auto& key = static_cast<const QKeyEvent&>(event);
        stamp.code = key.key();
        stamp.scanCode = key.nativeScanCode();
    } else {
        stamp.code = static_cast<int>(static_cast<const QMouseEvent&>(event).button());
    }
    return stamp;
}

// The hook's view of Qt's event delivery. It looks only at spontaneous key presses and mouse
// button presses and double clicks (client area and, where Qt reports them, frame), mapped to
// the classic message numbers by InputMessageNumber. Qt delivers one such input several times:
//  - from the window system, first to the QWindow, which hands a copy to the widget under the
//    mouse or with the focus (a nested call here); a test's synthetic event goes straight to the
//    widget;
//  - a key press first arrives as a shortcut override (so shortcuts can fire before the key is
//    delivered) and then, unless a shortcut took it, as the press itself.
// Only the first delivery runs PreTranslateMessage; its verdict holds for the rest: a consumed
// input is delivered nowhere, a passed one goes on as Qt would deliver it.
bool CWinApp::notify(QObject* receiver, QEvent* event) {
    if (!receiver || !event || !event->spontaneous())
        return QApplication::notify(receiver, event);
    const bool shortcutOverride = event->type() == QEvent::ShortcutOverride;
    if (shortcutOverride && !receiver->isWindowType())
        return QApplication::notify(receiver, event);
    const std::optional<unsigned> number = InputMessageNumber(*event);
    if (!number)
        return QApplication::notify(receiver, event);

    const InputStamp stamp = StampOf(*event, *number);
    if (std::find(m_delivering.begin(), m_delivering.end(), stamp) != m_delivering.end())
        return QApplication::notify(receiver, event);

    bool consumed = false;
    if (m_lastKey && *m_lastKey == stamp && !shortcutOverride) {
        consumed = m_lastKeyConsumed; // the key press after its shortcut override
        m_lastKey.reset();
    } else if (HookRuns()) {
        MSG message{receiver, *number, event};
        consumed = PreTranslateMessage(message);
    }
    if (shortcutOverride) {
        m_lastKey = stamp;
        m_lastKeyConsumed = consumed;
    }
    if (consumed) {
        event->accept(); // an accepted override also keeps the shortcuts from firing
        return true;
    }

    m_delivering.push_back(stamp);
    const auto delivered = qScopeGuard([this] { m_delivering.pop_back(); });
    return QApplication::notify(receiver, event);
}

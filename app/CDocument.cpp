#include "app/CDocument.h"

#include "app/CSingleDocTemplate.h"
#include "app/CWinApp.h"
#include "res/resource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void ReportFileFailure(const QString& what, const QString& path, const QString& reason) {
    const QString text =
        QStringLiteral("%1\n\n%2\n%3").arg(what, QDir::toNativeSeparators(path), reason);
    if (CWinApp* app = CWinApp::AfxGetApp())
        app->DoMessageBox(text);
}

} // namespace

CDocument::CDocument() = default;
CDocument::~CDocument() = default;

void CDocument::SetTitle(const QString& title) {
    m_strTitle = title;
    emit titleChanged();
}

void CDocument::SetPathName(const QString& path, bool addToRecentFiles) {
    const QFileInfo file(path);
    m_strPathName = file.absoluteFilePath();
    SetTitle(file.fileName());
    if (addToRecentFiles) {
        if (CWinApp* app = CWinApp::AfxGetApp())
            app->AddToRecentFileList(m_strPathName);
    }
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        ReportFileFailure(QStringLiteral("Failed to open document."), path,
                          QFileInfo(path).isDir() ? QStringLiteral("This is a folder.")
                                                  : file.errorString());
        return false;
    }
    DeleteContents();
    Serialize(file, false);
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const QString& path) {
    QFile file(path);
    // Append: the document holds nothing, so an existing file keeps every byte it has.
    if (QFileInfo(path).isDir() || !file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        ReportFileFailure(QStringLiteral("Failed to save document."), path,
                          QFileInfo(path).isDir() ? QStringLiteral("This is a folder.")
                                                  : file.errorString());
        return false;
    }
    Serialize(file, true);
    file.close();
    SetModifiedFlag(false);
    return true;
}

void CDocument::Serialize(QFile&, bool) {}

bool CDocument::OnCmdMsg(int id) {
    if (id == res::ID_FILE_SAVE) {
        OnFileSave();
        return true;
    }
    return false;
}

void CDocument::OnFileSave() {
    // Without a file of its own, or when that file cannot be written, Save asks for a name.
    const QFileInfo file(m_strPathName);
    const bool writable = !m_strPathName.isEmpty() && file.exists() && file.isWritable();
    DoSave(writable ? m_strPathName : QString());
}

bool CDocument::DoSave(const QString& path) {
    QString newName = path;
    if (newName.isEmpty()) {
        if (!m_pDocTemplate)
            return false;
        const std::optional<QString> chosen = m_pDocTemplate->PromptFileName(
            QStringLiteral("Save As"), m_strPathName.isEmpty() ? m_strTitle : m_strPathName);
        if (!chosen)
            return false;
        newName = *chosen;
    }
    if (!OnSaveDocument(newName))
        return false;
    if (path.isEmpty())
        SetPathName(newName);
    return true;
}

#pragma once
// The little document machinery that the program needs: a title, a file name, the modified flag,
// New, Open and Save. A document's data is its subclass's business (Serialize); the files are
// only opened here, and Save never cuts an existing file short.

#include <QObject>
#include <QString>

class QFile;
class CSingleDocTemplate;

class CDocument : public QObject {
    Q_OBJECT
public:
    CDocument();
    ~CDocument() override;

    const QString& GetTitle() const { return m_strTitle; }
    // Sets the title; the frame shows it at once, even when it is the same as before.
    virtual void SetTitle(const QString& title);
    const QString& GetPathName() const { return m_strPathName; }
    // Names the document's file (made absolute), titles the document after its file name and,
    // when `addToRecentFiles`, puts it first on the application's recent-file list.
    virtual void SetPathName(const QString& path, bool addToRecentFiles = true);
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // Starts over as a new document without a file. Always succeeds here.
    virtual bool OnNewDocument();
    // Opens `path` for reading and lets Serialize read it; a file that cannot be opened is
    // reported and the document stays as it was.
    virtual bool OnOpenDocument(const QString& path);
    // Opens `path` for writing without truncating it (creating it empty when missing) and lets
    // Serialize write; a failure is reported.
    virtual bool OnSaveDocument(const QString& path);
    virtual void DeleteContents() {}
    virtual void Serialize(QFile& file, bool storing);

    // The document's own commands (Save); true when `id` was one of them.
    virtual bool OnCmdMsg(int id);
    void OnFileSave();

signals:
    void titleChanged();

private:
    friend class CSingleDocTemplate;
    // Saves into `path`, or into a name the user picks when `path` is empty.
    bool DoSave(const QString& path);

    CSingleDocTemplate* m_pDocTemplate = nullptr;
    QString m_strTitle;
    QString m_strPathName;
    bool m_bModified = false;
};

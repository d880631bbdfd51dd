#pragma once
// The one document template of a single-document program: it creates the document, its frame and
// the frame's view on first use and reuses all three for every New and Open afterwards.

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class CDocument;
class CFrameWnd;
class QWidget;

class CSingleDocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<std::unique_ptr<CFrameWnd>()>;
    using ViewFactory = std::function<QWidget*(QWidget* parent, CDocument& document)>;

    // `resourceId` names the document strings, menu, accelerators and icon.
    CSingleDocTemplate(int resourceId, DocumentFactory createDocument, FrameFactory createFrame,
                       ViewFactory createView);
    ~CSingleDocTemplate();
    CSingleDocTemplate(const CSingleDocTemplate&) = delete;
    CSingleDocTemplate& operator=(const CSingleDocTemplate&) = delete;

    // The fields of the template's string, separated by "\n" in the string table.
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    QString GetDocString(DocStringIndex index) const;

    // New (an empty path) or Open. Creates the document, frame and view the first time; a failure
    // is reported and gives nullptr, and a frame made for that call is destroyed again.
    CDocument* OpenDocumentFile(const QString& path);

    CDocument* GetDocument() const { return m_document.get(); }
    CFrameWnd* GetFrame() const { return m_frame.get(); }

    // The file dialog of Open and Save As, offering the template's own filter (when it has one)
    // and "All Files (*.*)".
    std::optional<QString> PromptFileName(const QString& title, const QString& initialName) const;

private:
    void SetDefaultTitle(CDocument& document) const;

    int m_nIDResource;
    DocumentFactory m_createDocument;
    FrameFactory m_createFrame;
    ViewFactory m_createView;
    // The frame goes first: its view refers to the document.
    std::unique_ptr<CDocument> m_document;
    std::unique_ptr<CFrameWnd> m_frame;
};

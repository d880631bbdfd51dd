#include "app/CSingleDocTemplate.h"

#include "app/CDocument.h"
#include "app/CFrameWnd.h"
#include "app/CWinApp.h"
#include "platform/ui/FileDialog.h"
#include "res/StringTable.h"

CSingleDocTemplate::CSingleDocTemplate(int resourceId, DocumentFactory createDocument,
                                       FrameFactory createFrame, ViewFactory createView)
    : m_nIDResource(resourceId), m_createDocument(std::move(createDocument)),
      m_createFrame(std::move(createFrame)), m_createView(std::move(createView)) {}

CSingleDocTemplate::~CSingleDocTemplate() = default;

QString CSingleDocTemplate::GetDocString(DocStringIndex index) const {
    return res::LoadString(m_nIDResource).split(QLatin1Char('\n')).value(index);
}

void CSingleDocTemplate::SetDefaultTitle(CDocument& document) const {
    const QString name = GetDocString(docName);
    document.SetTitle(name.isEmpty() ? QStringLiteral("Untitled") : name);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const QString& path) {
    bool createdDocument = false;
    if (!m_document) {
        m_document = m_createDocument();
        m_document->m_pDocTemplate = this;
        createdDocument = true;
    }
    bool createdFrame = false;
    if (!m_frame) {
        m_frame = m_createFrame();
        if (!m_frame->LoadFrame(m_nIDResource, m_document.get(), m_createView,
                                GetDocString(windowTitle))) {
            m_frame.reset();
            if (createdDocument)
                m_document.reset();
            if (CWinApp* app = CWinApp::AfxGetApp())
                app->DoMessageBox(QStringLiteral("Failed to create empty document."));
            return nullptr;
        }
        createdFrame = true;
        if (CWinApp* app = CWinApp::AfxGetApp(); app && !app->GetMainWnd())
            app->SetMainWnd(m_frame.get());
    }

    const auto giveUp = [&]() -> CDocument* {
        // A frame made for this call goes again; one that was already there keeps its document.
        if (createdFrame)
            m_frame.reset();
        if (createdDocument)
            m_document.reset();
        return nullptr;
    };
    if (path.isEmpty()) {
        SetDefaultTitle(*m_document);
        if (!m_document->OnNewDocument())
            return giveUp();
    } else {
        if (!m_document->OnOpenDocument(path))
            return giveUp();
        m_document->SetPathName(path);
    }
    m_frame->InitialUpdateFrame();
    return m_document.get();
}

std::optional<QString> CSingleDocTemplate::PromptFileName(const QString& title,
                                                          const QString& initialName) const {
    QString filter;
    const QString name = GetDocString(filterName);
    const QString extension = GetDocString(filterExt);
    if (!name.isEmpty() && !extension.isEmpty())
        filter += name + QLatin1Char('|') + QLatin1Char('*') + extension + QLatin1Char('|');
    filter += QStringLiteral("All Files (*.*)|*.*||");
    return platform::ChooseFileToOpen(title, filter, extension, initialName);
}

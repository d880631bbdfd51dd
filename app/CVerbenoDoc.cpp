#include "app/CVerbenoDoc.h"

void CVerbenoDoc::Serialize(QFile&, bool) {}

void CVerbenoDoc::SetTitle(const QString& title) {
    CDocument::SetTitle(title);
}

bool CVerbenoDoc::OnNewDocument() {
    return CDocument::OnNewDocument();
}

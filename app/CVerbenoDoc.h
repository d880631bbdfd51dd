#pragma once

#include "app/CDocument.h"

// The program's document: it holds nothing, so Open reads nothing and Save writes nothing.
class CVerbenoDoc : public CDocument {
    Q_OBJECT
public:
    void Serialize(QFile& file, bool storing) override;
    void SetTitle(const QString& title) override;
    bool OnNewDocument() override;
};

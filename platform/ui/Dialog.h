#pragma once
// A modal dialog built from a template, with the life of the classic framework's dialogs:
// DoModal builds the controls, runs OnInitDialog (which loads the controls through
// DoDataExchange) and returns IDOK or IDCANCEL. OK reads the controls back before the dialog
// ends; Cancel, Escape and the close box read nothing.

#include "platform/ui/DialogTemplate.h"

#include <QDialog>

namespace platform {

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

class CDialog : public QDialog {
    Q_OBJECT
public:
    // No owner means the main window.
    CDialog(const DialogTemplate& dialogTemplate, QWidget* owner = nullptr);

    int DoModal();
    // Loads the controls from the members (save false) or reads them back (save true).
    bool UpdateData(bool save);

    virtual void OnOK();     // reads the controls back, then ends the dialog with IDOK
    virtual void OnCancel(); // ends the dialog with IDCANCEL

protected:
    virtual bool OnInitDialog(); // loads the controls; the result is the classic focus flag
    virtual void DoDataExchange(bool save);

    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }

private:
    const DialogTemplate& m_template;
    bool m_built = false;
};

} // namespace platform

#include "platform/ui/Dialog.h"

#include "platform/ui/ControlId.h"
#include "platform/ui/MainWindow.h"

#include <QAbstractButton>

namespace platform {

CDialog::CDialog(const DialogTemplate& dialogTemplate, QWidget* owner)
    : QDialog(owner ? owner : MainWindow()), m_template(dialogTemplate) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}

int CDialog::DoModal() {
    if (!m_built) {
        BuildDialogControls(*this, m_template);
        if (auto* ok = FindControl<QAbstractButton>(this, IDOK))
            connect(ok, &QAbstractButton::clicked, this, &CDialog::OnOK);
        if (auto* cancel = FindControl<QAbstractButton>(this, IDCANCEL))
            connect(cancel, &QAbstractButton::clicked, this, &CDialog::OnCancel);
        m_built = true;
    }
    setResult(0);
    OnInitDialog();
    const int result = exec();
    return result == QDialog::Accepted ? IDOK : IDCANCEL;
}

bool CDialog::UpdateData(bool save) {
    DoDataExchange(save);
    return true;
}

void CDialog::OnOK() {
    if (!UpdateData(true))
        return;
    done(QDialog::Accepted);
}

void CDialog::OnCancel() {
    done(QDialog::Rejected);
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::DoDataExchange(bool) {}

} // namespace platform

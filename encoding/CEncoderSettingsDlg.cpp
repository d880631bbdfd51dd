#include "encoding/CEncoderSettingsDlg.h"

#include "platform/ui/ControlId.h"
#include "res/EncoderSettingsTemplate.h"
#include "res/resource.h"

#include <QCheckBox>

namespace {
void ExchangeCheck(QWidget& dialog, int id, std::int32_t& flag, bool save) {
    QCheckBox* box = platform::FindControl<QCheckBox>(&dialog, id);
    if (!box)
        return;
    if (save)
        flag = box->isChecked() ? 1 : 0;
    else
        box->setChecked(flag == 1);
}

void ExchangeRadio(QWidget& dialog, int firstId, std::int32_t& index, bool save) {
    if (save)
        index = platform::RadioGroupIndex(dialog, firstId);
    else
        platform::SetRadioGroupIndex(dialog, firstId, index);
}
} // namespace

CEncoderSettingsDlg::CEncoderSettingsDlg(QWidget* owner)
    : platform::CDialog(res::EncoderSettingsTemplate(), owner) {}

CEncoderSettingsDlg::~CEncoderSettingsDlg() = default;

bool CEncoderSettingsDlg::AskWithCommandDefaults() {
    m_settings.bitrateIndex = 8; // 128 kbit/s
    m_settings.channelIndex = 2; // stereo
    return DoModal() == platform::IDOK;
}

void CEncoderSettingsDlg::DoDataExchange(bool save) {
    // The check boxes go by number, not by their place on screen.
    ExchangeRadio(*this, res::IDC_BITRATE_32, m_settings.bitrateIndex, save);
    ExchangeCheck(*this, res::IDC_COPYRIGHT, m_settings.copyrightFlag, save);
    ExchangeCheck(*this, res::IDC_CRC, m_settings.crcFlag, save);
    ExchangeCheck(*this, res::IDC_ORIGINAL, m_settings.originalFlag, save);
    ExchangeCheck(*this, res::IDC_PRIVATE, m_settings.privateFlag, save);
    ExchangeRadio(*this, res::IDC_MONO, m_settings.channelIndex, save);
}

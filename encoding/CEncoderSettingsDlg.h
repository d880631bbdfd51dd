#pragma once

#include "encoding/EncoderSettings.h"
#include "platform/ui/Dialog.h"

// "MP3 File Configuration": edits one EncoderSettings record. Opens with both indices at -1 and
// the flags at 0; the commands preselect 128 kbit/s and stereo before showing it.
class CEncoderSettingsDlg : public platform::CDialog {
    Q_OBJECT
public:
    explicit CEncoderSettingsDlg(QWidget* owner = nullptr);
    ~CEncoderSettingsDlg() override;

    EncoderSettings m_settings;

    // What both encoding commands do: preselect 128 kbit/s and stereo, then show the dialog.
    // True when the user confirmed with OK.
    bool AskWithCommandDefaults();

protected:
    void DoDataExchange(bool save) override;
};

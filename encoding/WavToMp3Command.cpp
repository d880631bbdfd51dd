#include "encoding/WavToMp3Command.h"

#include "encoding/CEncoderSettingsDlg.h"
#include "encoding/EncodeWavFile.h"
#include "encoding/EncoderLibrary.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/JobGuard.h"

void OnWavToMp3() {
    // One job at a time: a request that arrives while another runs is refused.
    if (platform::JobGuard::RefuseWhileBusy())
        return;
    const platform::JobGuard running;

    CEncoderSettingsDlg settingsDialog;
    if (!settingsDialog.AskWithCommandDefaults())
        return;

    const std::optional<QString> path =
        platform::ChooseFileToOpen(QStringLiteral("Choose a wav file to encode to mp3"),
                                   QStringLiteral("Wav Files(*.wav)|*.wav|All Files(*.*)|*.*||"),
                                   QStringLiteral(".wav"), QString());
    if (!path)
        return;

    if (!BindEncoderLibrary())
        return;
    EncodeWavFile(*path, settingsDialog.m_settings, true);
}

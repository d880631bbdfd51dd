#include "cd/CdCommands.h"

#include "cd/TrackListDlg.h"
#include "encoding/CEncoderSettingsDlg.h"
#include "encoding/EncodeWavFile.h"
#include "encoding/EncoderLibrary.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/JobGuard.h"
#include "platform/ui/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The output folder is picked with the open-file dialog: the user goes to a folder and confirms
// the proposed name, which is never used. The folder becomes the current directory, where the
// ripper and the encoder create their files by bare name, and stays so afterwards.
bool ChooseOutputFolder(const QString& title) {
    const std::optional<QString> chosen = platform::ChooseFileToOpen(
        title, QStringLiteral("MP3 Files(*.mp3)|*.mp3|All Files(*.*)|*.*||"),
        QStringLiteral(".mp3"), QStringLiteral("track"));
    if (!chosen)
        return false;
    const QString folder = QFileInfo(*chosen).absolutePath();
    // Ripping on into whatever folder happened to be current would scatter the user's files.
    if (!QDir::setCurrent(folder)) {
        platform::ShowMessageBox(QStringLiteral("Cannot store files in %1").arg(folder));
        return false;
    }
    return true;
}

} // namespace

void OnCdToWav() {
    if (platform::JobGuard::RefuseWhileBusy())
        return;
    const platform::JobGuard running;
    if (!ChooseOutputFolder(QStringLiteral("Choose a directory to store your output wav file")))
        return;
    CTrackListDlg tracks;
    tracks.DoModal(); // every Rip writes into the current directory
    tracks.CloseCd();
}

void OnCdToMp3() {
    if (platform::JobGuard::RefuseWhileBusy())
        return;
    const platform::JobGuard running;

    CEncoderSettingsDlg settingsDialog;
    if (!settingsDialog.AskWithCommandDefaults())
        return;
    if (!ChooseOutputFolder(QStringLiteral("Choose a directory to store your output mp3 file")))
        return;

    CTrackListDlg tracks;
    tracks.m_closeAfterRip = 1;
    const int result = tracks.DoModal();
    tracks.CloseCd();
    if (result != platform::IDOK)
        return;

    // Bound only now, after the rip, and even when there is nothing to encode.
    if (!BindEncoderLibrary())
        return;
    for (int i = 0; i < tracks.m_selectedCount && i < tracks.m_rippedFiles.size(); ++i) {
        const QString name = tracks.m_rippedFiles.at(i);
        platform::ShowMessageBox(QStringLiteral("Now encoding ") + name);
        if (!EncodeWavFile(name, settingsDialog.m_settings, false))
            return; // the job has said why; the WAV files not yet encoded stay
        QFile::remove(name);
    }
    platform::ShowMessageBox(QStringLiteral("Finished Ripping and Encoding"));
}

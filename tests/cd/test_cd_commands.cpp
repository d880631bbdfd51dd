// CD -> Wav and CD -> MP3 end to end: the real CD library on a disc image, the real encoder
// library, and only the boxes and dialogs scripted.

#include "DiscImage.h"
#include "EncodingFixtures.h"
#include "ModalDialogDriver.h"
#include "ScriptedDrive.h"
#include "ScriptedModals.h"
#include "TestMain.h"
#include "TestWindow.h"

#include "cd/CdCommands.h"
#include "cd/TrackListDlg.h"
#include "platform/ui/ControlId.h"
#include "res/resource.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>

using testing_support::ModalDialogDriver;
using testing_support::ScriptedModals;

namespace {

constexpr std::uint32_t kFrame = 2352;
const QString kMp3Title = "Choose a directory to store your output mp3 file";
const QString kWavTitle = "Choose a directory to store your output wav file";

// Settings dialog: OK as it stands.
void AcceptSettings(ModalDialogDriver& driver) {
    driver.expect([](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
}

// Track list dialog: select `rows`, press Rip; then OK if the dialog is still up. An empty
// `rows` with `rip` false ends it with `end` before any Rip.
void DriveTrackList(ModalDialogDriver& driver, QList<QList<int>> rips, int end = platform::IDOK) {
    driver.expect([rips, end](QWidget* shown) {
        auto* dialog = static_cast<CTrackListDlg*>(shown);
        for (const QList<int>& rows : rips) {
            dialog->m_trackList->clearSelection();
            for (int row : rows)
                dialog->m_trackList->item(row)->setSelected(true);
            platform::FindControl<QPushButton>(dialog, res::IDC_RIP)->click();
        }
        if (dialog->isVisible())
            platform::FindControl<QPushButton>(dialog, end)->click();
    });
}

QStringList Files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class CdCommandsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<testing_support::TestWindow> m_window;
    discimage::DiscLayout m_disc{{{discimage::TrackSpec::Audio, 75, {}, 0},
                                  {discimage::TrackSpec::Audio, 120, {}, 0},
                                  {discimage::TrackSpec::Data, 30, {}, 0},
                                  {discimage::TrackSpec::Data, 20, {}, 0}}};
    QString m_base;
    QString m_out; // the folder the user picks
    int m_case = 0;

private slots:
    void initTestCase() {
        m_base = QDir::currentPath();
        std::string error;
        QVERIFY2(discimage::WriteCueBin((m_base + "/disc.cue").toStdString(), m_disc, &error),
                 error.c_str());
        m_window = std::make_unique<testing_support::TestWindow>();
        m_window->show();
    }
    void cleanupTestCase() { m_window.reset(); }
    void init() {
        QDir::setCurrent(m_base);
        m_out = QStringLiteral("%1/out-%2").arg(m_base).arg(++m_case);
        QVERIFY(QDir().mkpath(m_out));
        qputenv("VERBENO_CD_DEVICE", QFile::encodeName(m_base + "/disc.cue"));
        qputenv("VERBENO_ENCODER_LIBRARY", REAL_ENCODER);
    }

    void cdToMp3EncodesEveryRippedTrack() {
        ScriptedModals modals;
        ModalDialogDriver driver;
        AcceptSettings(driver);
        modals.answerFileDialog(m_out + "/track");
        DriveTrackList(driver, {{0, 1}});
        OnCdToMp3();

        QCOMPARE(driver.unexpected, QStringList{});
        QCOMPARE(modals.shown,
                 (QStringList{"Ripping Track 1", "Ripping Track 2", "Finished Ripping",
                              "Now encoding Track 1.wav", "Now encoding Track 2.wav",
                              "Finished Ripping and Encoding"}));
        QCOMPARE(Files(m_out), (QStringList{"Track 1.mp3", "Track 2.mp3"}));
        QCOMPARE(QDir::currentPath(), m_out);
        for (const auto& [name, frames] :
             {std::pair{"Track 1.mp3", 75}, std::pair{"Track 2.mp3", 120}}) {
            const fixtures::DecodedMp3 mp3 = fixtures::DecodeMp3(name);
            QVERIFY(mp3.ok);
            QCOMPARE(mp3.bitrateKbps, 128);
            // The WAV header is encoded too: 11 samples' worth, inside the encoder's padding.
            const double samples = frames * 588.0;
            QVERIFY2(std::abs(double(mp3.framesPerChannel) - samples) < 2400, name);
        }
        const platform::FileDialogRequest& request = modals.requests.at(0);
        QCOMPARE(request.title, kMp3Title);
        QCOMPARE(request.filter, QString("MP3 Files(*.mp3)|*.mp3|All Files(*.*)|*.*||"));
        QCOMPARE(request.defaultExt, QString(".mp3"));
        QCOMPARE(request.initialName, QString("track"));
    }

    void cdToMp3WithNothingToEncode_data() {
        QTest::addColumn<bool>("ripNothing");
        QTest::newRow("Rip with nothing selected") << true;
        QTest::newRow("OK before any Rip") << false;
    }
    void cdToMp3WithNothingToEncode() {
        QFETCH(bool, ripNothing);
        ScriptedModals modals;
        ModalDialogDriver driver;
        // A stand-in that leaves a mark when it is loaded, to see the binding happen.
        QVERIFY(QFile::copy(FAKE_PLANTED, m_base + QString("/marker-%1.so").arg(m_case)));
        qputenv("VERBENO_ENCODER_LIBRARY",
                QFile::encodeName(m_base + QString("/marker-%1.so").arg(m_case)));
        qputenv("VERBENO_PLANTED_MARK",
                QFile::encodeName(m_base + QString("/bound-%1").arg(m_case)));
        AcceptSettings(driver);
        modals.answerFileDialog(m_out + "/track");
        DriveTrackList(driver, ripNothing ? QList<QList<int>>{{}} : QList<QList<int>>{});
        OnCdToMp3();
        qunsetenv("VERBENO_PLANTED_MARK");
        QStringList expected{"Finished Ripping and Encoding"};
        if (ripNothing)
            expected.prepend("Finished Ripping");
        QCOMPARE(modals.shown, expected);
        QVERIFY(QFile::exists(m_base + QString("/bound-%1").arg(m_case)));
        QCOMPARE(Files(m_out), QStringList{});
    }

    void cdToMp3CancelledInTheTrackList() {
        testing_support::ScriptedDrive drive;
        drive.toc = testing_support::MakeToc(1, {{0, false}}, 100);
        ScriptedModals modals;
        ModalDialogDriver driver;
        qputenv("VERBENO_ENCODER_LIBRARY", "/nonexistent/libbladeenc.so"); // a binding would say so
        AcceptSettings(driver);
        modals.answerFileDialog(m_out + "/track");
        DriveTrackList(driver, {}, platform::IDCANCEL);
        OnCdToMp3();
        QCOMPARE(modals.shown, QStringList{});
        QCOMPARE(drive.closed, std::vector<HCDROM>{drive.handle});
        QVERIFY(!drive.isOpen());
    }

    void cancelBeforeTheCdIsTouched() {
        testing_support::ScriptedDrive drive;
        ScriptedModals modals;
        ModalDialogDriver driver;
        driver.expect([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
        OnCdToMp3(); // Cancel in the settings dialog: no folder dialog
        modals.answerFileDialog(std::nullopt);
        OnCdToWav(); // Cancel in the folder dialog: no track list
        AcceptSettings(driver);
        modals.answerFileDialog(std::nullopt);
        OnCdToMp3();
        QCOMPARE(driver.unexpected, QStringList{});
        QCOMPARE(int(modals.requests.size()), 2);
        QCOMPARE(modals.requests[0].title, kWavTitle);
        QCOMPARE(modals.requests[1].title, kMp3Title);
        QVERIFY(drive.calls.isEmpty());
        QCOMPARE(modals.shown, QStringList{});
    }

    void twoDataTracksStopAtTheSecond() {
        ScriptedModals modals;
        ModalDialogDriver driver;
        AcceptSettings(driver);
        modals.answerFileDialog(m_out + "/track");
        DriveTrackList(driver, {{2, 3}});
        OnCdToMp3();
        QCOMPARE(modals.shown,
                 (QStringList{"Ripping Data Track", "Ripping Data Track", "Finished Ripping",
                              "Now encoding Data Track.wav", "Now encoding Data Track.wav",
                              "Error opening input wav file"}));
        QCOMPARE(Files(m_out), QStringList{"Data Track.mp3"});
    }

    void missingEncoderKeepsTheRippedFiles() {
        ScriptedModals modals;
        ModalDialogDriver driver;
        qputenv("VERBENO_ENCODER_LIBRARY", "/nonexistent/libbladeenc.so");
        AcceptSettings(driver);
        modals.answerFileDialog(m_out + "/track");
        DriveTrackList(driver, {{0, 1}});
        OnCdToMp3();
        QCOMPARE(modals.shown, (QStringList{"Ripping Track 1", "Ripping Track 2",
                                            "Finished Ripping", "Error loading BLADEENC.DLL"}));
        QCOMPARE(Files(m_out), (QStringList{"Track 1.wav", "Track 2.wav"}));
    }

    void cdToWavRipsIntoTheChosenFolder() {
        ScriptedModals modals;
        ModalDialogDriver driver;
        modals.answerFileDialog(m_out + "/track");
        DriveTrackList(driver, {{0}, {1, 2}});
        OnCdToWav();
        QCOMPARE(driver.unexpected, QStringList{});
        QCOMPARE(modals.shown,
                 (QStringList{"Ripping Track 1", "Finished Ripping", "Ripping Track 2",
                              "Ripping Data Track", "Finished Ripping"}));
        QCOMPARE(Files(m_out), (QStringList{"Data Track.wav", "Track 1.wav", "Track 2.wav"}));
        QCOMPARE(QFileInfo(m_out + "/Track 2.wav").size(), qint64(44 + 120 * kFrame));
        QCOMPARE(QDir::currentPath(), m_out); // and no "track" or "track.mp3" anywhere
        QCOMPARE(modals.requests.at(0).title, kWavTitle);
        QCOMPARE(modals.requests.at(0).filter,
                 QString("MP3 Files(*.mp3)|*.mp3|All Files(*.*)|*.*||"));
    }

    void aFolderThatCannotBeEnteredStopsTheCommand() {
        ScriptedModals modals;
        ModalDialogDriver driver;
        modals.answerFileDialog(m_base + "/no-such-folder/track");
        OnCdToWav();
        QCOMPARE(modals.shown, QStringList{"Cannot store files in " + m_base + "/no-such-folder"});
        QCOMPARE(driver.unexpected, QStringList{});
    }
};

VERBENO_TEST_MAIN(CdCommandsTest)
#include "test_cd_commands.moc"

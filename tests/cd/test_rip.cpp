// Ripping tracks to WAV files: byte for byte from disc images through the real CD library,
// and over a scripted drive for chunking, retries, failed chunks, the selection limit, repeated
// Rips, files that cannot be created or written, and requests made while a Rip runs.

#include "DiscImage.h"
#include "ModalDialogDriver.h"
#include "ScriptedDrive.h"
#include "ScriptedModals.h"
#include "TestMain.h"
#include "TestWindow.h"

#include "cd/TrackListDlg.h"
#include "cd/WavHeader.h"
#include "platform/ui/ControlId.h"
#include "res/resource.h"

#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QtEndian>
#include <csignal>
#include <sys/resource.h>

using testing_support::MakeToc;
using testing_support::ModalDialogDriver;
using testing_support::ScriptedDrive;
using testing_support::ScriptedModals;
using testing_support::ScriptedTrack;

namespace {

constexpr std::uint32_t kFrame = 2352;

struct WavFile {
    bool ok = false;
    std::uint32_t riffSize = 0;
    std::uint32_t dataSize = 0;
    QByteArray header;
    QByteArray audio;
};

WavFile ReadWav(const QString& path) {
    WavFile wav;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return wav;
    const QByteArray all = file.readAll();
    if (all.size() < 44)
        return wav;
    wav.header = all.left(44);
    wav.audio = all.mid(44);
    wav.riffSize = qFromLittleEndian<std::uint32_t>(all.constData() + 4);
    wav.dataSize = qFromLittleEndian<std::uint32_t>(all.constData() + 40);
    wav.ok = true;
    return wav;
}

QByteArray PatternBytes(std::uint32_t firstFrame, std::uint32_t frames) {
    QByteArray bytes(int(frames * kFrame), '\0');
    for (std::uint32_t f = 0; f < frames; ++f)
        for (std::uint32_t i = 0; i < kFrame; ++i)
            bytes[int(f * kFrame + i)] = char(ScriptedDrive::PatternByte(firstFrame + f, i));
    return bytes;
}

// A scripted disc of audio tracks with the given lengths in frames ('D' prefix: data track).
void Script(ScriptedDrive& drive, const std::vector<std::pair<bool, std::uint32_t>>& tracks) {
    std::vector<ScriptedTrack> layout;
    std::uint32_t start = 0;
    for (const auto& [data, frames] : tracks) {
        layout.push_back({start, data});
        start += frames;
    }
    drive.toc = MakeToc(1, layout, start);
}

void Select(CTrackListDlg& dialog, const QList<int>& rows) {
    for (int row : rows)
        dialog.m_trackList->item(row)->setSelected(true);
}

void ClickRip(CTrackListDlg& dialog) {
    platform::FindControl<QPushButton>(&dialog, res::IDC_RIP)->click();
}

// Runs the dialog; `inside` acts on it while it is up, then OK ends it unless Rip already did.
int Run(CTrackListDlg& dialog, const std::function<void(CTrackListDlg&)>& inside) {
    ModalDialogDriver driver;
    driver.expect([&](QWidget*) {
        const auto end = qScopeGuard([&] {
            if (dialog.isVisible())
                dialog.OnOK();
        });
        inside(dialog);
    });
    const int result = dialog.DoModal();
    dialog.CloseCd();
    return driver.unexpected.isEmpty() ? result : -1;
}

int ReadsOf(const ScriptedDrive& drive) {
    return int(drive.reads.size());
}

} // namespace

class RipTest : public QObject {
    Q_OBJECT
    std::unique_ptr<testing_support::TestWindow> m_window;
    QString m_base;
    int m_case = 0;

private slots:
    // Every case rips into a folder of its own.
    void init() {
        const QString folder = QStringLiteral("%1/case-%2").arg(m_base).arg(++m_case);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QDir::setCurrent(folder));
    }
    void initTestCase() {
        m_base = QDir::currentPath();
        m_window = std::make_unique<testing_support::TestWindow>();
        m_window->show();
        std::signal(SIGXFSZ, SIG_IGN); // the file-size limit below shows as a failed write
    }
    void cleanupTestCase() { m_window.reset(); }
    void cleanup() { qunsetenv("VERBENO_CD_DEVICE"); }

    void headerLayout() {
        const std::array<std::uint8_t, 44> h = MakeWavHeader(1000 * kFrame);
        const QByteArray bytes(reinterpret_cast<const char*>(h.data()), 44);
        QCOMPARE(bytes.left(16), QByteArray("RIFF\xa4\xe3\x23\x00WAVEfmt ", 16));
        QCOMPARE(qFromLittleEndian<std::uint32_t>(h.data() + 4), 1000 * kFrame + 36);
        QCOMPARE(qFromLittleEndian<std::uint32_t>(h.data() + 16), 16u);
        QCOMPARE(qFromLittleEndian<std::uint16_t>(h.data() + 20), std::uint16_t(1));
        QCOMPARE(qFromLittleEndian<std::uint16_t>(h.data() + 22), std::uint16_t(2));
        QCOMPARE(qFromLittleEndian<std::uint32_t>(h.data() + 24), 44100u);
        QCOMPARE(qFromLittleEndian<std::uint32_t>(h.data() + 28), 176400u);
        QCOMPARE(qFromLittleEndian<std::uint16_t>(h.data() + 32), std::uint16_t(4));
        QCOMPARE(qFromLittleEndian<std::uint16_t>(h.data() + 34), std::uint16_t(16));
        QCOMPARE(bytes.mid(36, 4), QByteArray("data"));
        QCOMPARE(qFromLittleEndian<std::uint32_t>(h.data() + 40), 1000 * kFrame);
    }

    // --- the real CD library on a disc image ------------------------------------------
    void ripsTracksOfAnImageByteForByte() {
        std::vector<discimage::TrackSpec> tracks;
        for (std::uint32_t n = 0; n < 7; ++n)
            tracks.push_back({discimage::TrackSpec::Audio, 40 + 17 * n, {}, 0});
        tracks.push_back({discimage::TrackSpec::Data, 60, {}, 0});
        const discimage::DiscLayout disc(tracks);
        std::string error;
        QVERIFY2(discimage::WriteCueBin("disc.cue", disc, &error), error.c_str());
        qputenv("VERBENO_CD_DEVICE", QFile::encodeName(QDir::current().filePath("disc.cue")));

        ScriptedModals modals;
        CTrackListDlg dialog;
        QCOMPARE(Run(dialog,
                     [](CTrackListDlg& d) {
                         Select(d, {2, 6});
                         ClickRip(d);
                         d.m_trackList->clearSelection();
                         Select(d, {7});
                         ClickRip(d);
                     }),
                 platform::IDOK);
        QCOMPARE(modals.shown,
                 (QStringList{"Ripping Track 3", "Ripping Track 7", "Finished Ripping",
                              "Ripping Data Track", "Finished Ripping"}));
        QCOMPARE(dialog.m_rippedFiles,
                 (QStringList{"Track 3.wav", "Track 7.wav", "Data Track.wav"}));
        const std::vector<std::pair<QString, std::size_t>> expected = {
            {"Track 3.wav", 2}, {"Track 7.wav", 6}, {"Data Track.wav", 7}};
        for (const auto& [name, track] : expected) {
            const WavFile wav = ReadWav(name);
            QVERIFY2(wav.ok, qPrintable(name));
            const std::vector<std::uint8_t> bytes = disc.trackBytes(track);
            QCOMPARE(wav.audio,
                     QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size())));
            const auto header = MakeWavHeader(std::uint32_t(bytes.size()));
            QCOMPARE(wav.header, QByteArray(reinterpret_cast<const char*>(header.data()), 44));
        }
    }

    // --- chunks and attempts over a scripted drive --------------------------------------
    void chunksOfTwentySixFrames_data() {
        QTest::addColumn<std::uint32_t>("frames");
        QTest::addColumn<QList<std::uint32_t>>("lastReads"); // numFrames of the last reads
        QTest::addColumn<int>("reads");
        QTest::newRow("1000 frames") << 1000u << QList<std::uint32_t>{26, 12} << 39;
        QTest::newRow("exactly two chunks") << 52u << QList<std::uint32_t>{26, 26} << 2;
        QTest::newRow("one frame") << 1u << QList<std::uint32_t>{1} << 1;
        QTest::newRow("empty track") << 0u << QList<std::uint32_t>{} << 0;
    }
    void chunksOfTwentySixFrames() {
        QFETCH(std::uint32_t, frames);
        QFETCH(QList<std::uint32_t>, lastReads);
        QFETCH(int, reads);
        ScriptedDrive drive;
        Script(drive, {{false, 300}, {false, frames}, {false, 100}});
        ScriptedModals modals;
        CTrackListDlg dialog;
        Run(dialog, [](CTrackListDlg& d) {
            Select(d, {1});
            ClickRip(d);
        });
        QCOMPARE(ReadsOf(drive), reads);
        for (int i = 0; i < lastReads.size(); ++i)
            QCOMPARE(drive.reads[reads - lastReads.size() + i].numFrames, lastReads[i]);
        std::uint32_t frame = 300;
        for (const ScriptedDrive::Read& read : drive.reads) {
            QCOMPARE(read.startFrame, frame);
            frame += read.numFrames;
        }
        const WavFile wav = ReadWav("Track 2.wav");
        QCOMPARE(wav.dataSize, frames * kFrame);
        QCOMPARE(wav.riffSize, frames * kFrame + 36);
        QCOMPARE(wav.audio, PatternBytes(300, frames));
        QCOMPARE(modals.shown, (QStringList{"Ripping Track 2", "Finished Ripping"}));
    }

    void attemptsAndFailedChunks() {
        ScriptedDrive drive;
        Script(drive, {{false, 26 * 4}});
        drive.failReadsAt(26, 1);  // the second chunk succeeds at its second attempt
        drive.failReadsAt(52, -1); // the third fails every time
        ScriptedModals modals;
        // The progress bar's position at each turn of the rip's event pump.
        QList<int> positions;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            for (QProgressBar* bar : m_window->bar()->findChildren<QProgressBar*>())
                if (bar->isVisible() && (positions.isEmpty() || positions.last() != bar->value()))
                    positions << bar->value();
        });
        sampler.start(0);
        CTrackListDlg dialog;
        Run(dialog, [](CTrackListDlg& d) {
            Select(d, {0});
            ClickRip(d);
        });
        sampler.stop();

        QCOMPARE(ReadsOf(drive), 1 + 2 + 3 + 1);
        QCOMPARE(modals.shown.size(), 3);
        QCOMPARE(modals.shown.at(1),
                 QString("Error reading the CD at frame 52 (26 frames) for Track 1.wav: status 4"));
        // One step at the start and one per attempt: 1, +1, +2, +3 (the fourth chunk's step
        // comes after the last turn of the pump).
        QCOMPARE(positions, (QList<int>{20, 40, 80, 140}));
        const WavFile wav = ReadWav("Track 1.wav");
        QCOMPARE(wav.dataSize, 3 * 26 * kFrame);
        QCOMPARE(wav.audio, PatternBytes(0, 52) + PatternBytes(78, 26));
    }

    // --- the selection ------------------------------------------------------------------
    void atMostTwentyFiveInListOrder() {
        ScriptedDrive drive;
        std::vector<std::pair<bool, std::uint32_t>> tracks(30, {false, 2});
        Script(drive, tracks);
        ScriptedModals modals;
        CTrackListDlg dialog;
        QList<int> all;
        for (int i = 29; i >= 0; --i)
            all << i;
        Run(dialog, [&](CTrackListDlg& d) {
            Select(d, all);
            ClickRip(d);
        });
        QCOMPARE(dialog.m_selectedCount, 25);
        QCOMPARE(dialog.m_rippedFiles.size(), 25);
        QCOMPARE(dialog.m_rippedFiles.first(), QString("Track 1.wav"));
        QCOMPARE(dialog.m_rippedFiles.last(), QString("Track 25.wav"));
        QVERIFY(!QFile::exists("Track 26.wav"));
    }

    void repeatedRipsAndNamesTwice() {
        ScriptedDrive drive;
        Script(drive, {{false, 30}, {true, 20}, {true, 10}, {false, 5}});
        ScriptedModals modals;
        CTrackListDlg dialog;
        Run(dialog, [](CTrackListDlg& d) {
            Select(d, {0, 1, 2});
            ClickRip(d);
            d.m_trackList->clearSelection();
            Select(d, {0});
            ClickRip(d);
        });
        QCOMPARE(dialog.m_rippedFiles,
                 (QStringList{"Track 1.wav", "Data Track.wav", "Data Track.wav", "Track 1.wav"}));
        QCOMPARE(dialog.m_selectedCount, 1);
        // The second data track replaced the first one's file.
        QCOMPARE(ReadWav("Data Track.wav").audio, PatternBytes(50, 10));
        QCOMPARE(ReadWav("Track 1.wav").audio, PatternBytes(0, 30));
    }

    void nothingSelected_data() {
        QTest::addColumn<int>("closeAfterRip");
        QTest::addColumn<int>("result");
        QTest::newRow("dialog stays") << 0 << platform::IDCANCEL;
        QTest::newRow("dialog ends with OK") << 1 << platform::IDOK;
    }
    void nothingSelected() {
        QFETCH(int, closeAfterRip);
        QFETCH(int, result);
        ScriptedDrive drive;
        Script(drive, {{false, 30}});
        ScriptedModals modals;
        CTrackListDlg dialog;
        dialog.m_closeAfterRip = closeAfterRip;
        bool upDuringBox = true;
        modals.whileBoxIsUp([&](const QString&) { upDuringBox = dialog.isVisible(); });
        ModalDialogDriver driver;
        driver.expect([&](QWidget*) {
            ClickRip(dialog);
            if (dialog.isVisible())
                dialog.OnCancel();
        });
        QCOMPARE(dialog.DoModal(), result);
        dialog.CloseCd();
        QCOMPARE(modals.shown, QStringList{"Finished Ripping"});
        QCOMPARE(upDuringBox, closeAfterRip == 0); // OK is asked for before the box
        QCOMPARE(dialog.m_selectedCount, 0);
        QVERIFY(dialog.m_rippedFiles.isEmpty());
        QCOMPARE(ReadsOf(drive), 0);
    }

    // --- files that cannot be created or written ----------------------------------------
    void outputThatCannotBeCreated() {
        ScriptedDrive drive;
        Script(drive, {{false, 30}, {false, 30}});
        QVERIFY(QDir().mkdir("Track 1.wav")); // a folder holds the name
        ScriptedModals modals;
        CTrackListDlg dialog;
        Run(dialog, [](CTrackListDlg& d) {
            Select(d, {0, 1});
            ClickRip(d);
        });
        QCOMPARE(modals.shown, (QStringList{"Error creating output wav file Track 1.wav",
                                            "Ripping Track 2", "Finished Ripping"}));
        for (const ScriptedDrive::Read& read : drive.reads)
            QVERIFY(read.startFrame >= 30); // the disc was not read for Track 1
        QCOMPARE(ReadWav("Track 2.wav").dataSize, 30 * kFrame);
        QDir().rmdir("Track 1.wav");
    }

    void fullDevice() {
        ScriptedDrive drive;
        Script(drive, {{false, 30}});
        QVERIFY(QFile::link("/dev/full", "Track 1.wav"));
        ScriptedModals modals;
        CTrackListDlg dialog;
        Run(dialog, [](CTrackListDlg& d) {
            Select(d, {0});
            ClickRip(d);
        });
        QCOMPARE(modals.shown,
                 (QStringList{"Ripping Track 1", "Error writing output wav file Track 1.wav",
                              "Finished Ripping"}));
        QCOMPARE(ReadsOf(drive), 0); // not even the provisional header could be written
        QFile::remove("Track 1.wav");
    }

    void fileSizeLimitStopsTheTrack() {
        ScriptedDrive drive;
        Script(drive, {{false, 26 * 5}});
        ScriptedModals modals;
        CTrackListDlg dialog;
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const std::uint32_t limit = 44 + 26 * kFrame + 1000; // room for one chunk and a bit
        {
            rlimit small = saved;
            small.rlim_cur = limit;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
            const auto restore = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &saved); });
            Run(dialog, [](CTrackListDlg& d) {
                Select(d, {0});
                ClickRip(d);
            });
        }
        QCOMPARE(modals.shown,
                 (QStringList{"Ripping Track 1", "Error writing output wav file Track 1.wav",
                              "Finished Ripping"}));
        QCOMPARE(ReadsOf(drive), 2); // the track stops at the chunk that could not be written
        const WavFile wav = ReadWav("Track 1.wav");
        QCOMPARE(qint64(wav.dataSize), QFileInfo("Track 1.wav").size() - 44);
        QCOMPARE(wav.riffSize, wav.dataSize + 36);
        QCOMPARE(wav.audio, PatternBytes(0, 27).left(int(wav.dataSize)));
        QVERIFY(wav.dataSize >= 26 * kFrame);
    }

    // --- requests while a Rip runs ------------------------------------------------------
    void requestsDuringARip_data() {
        QTest::addColumn<QString>("request");
        QTest::addColumn<int>("result");
        QTest::newRow("Rip again") << "rip" << platform::IDOK;
        QTest::newRow("Cancel") << "cancel" << platform::IDCANCEL;
        QTest::newRow("OK") << "ok" << platform::IDOK;
        QTest::newRow("close box") << "close" << platform::IDCANCEL;
        QTest::newRow("Escape") << "escape" << platform::IDCANCEL;
    }
    void requestsDuringARip() {
        QFETCH(QString, request);
        QFETCH(int, result);
        ScriptedDrive drive;
        Script(drive, {{false, 26 * 10}, {false, 26}});
        ScriptedModals modals;
        CTrackListDlg dialog;
        bool stillUpWhenFinished = false;
        modals.whileBoxIsUp([&](const QString& text) {
            if (text == "Finished Ripping")
                stillUpWhenFinished = dialog.isVisible();
        });
        // The request comes at the rip's third turn of its event pump.
        int turns = 0;
        QTimer intruder;
        QObject::connect(&intruder, &QTimer::timeout, [&] {
            if (ReadsOf(drive) != 2 || turns++ > 0)
                return;
            if (request == "rip") {
                dialog.m_trackList->item(1)->setSelected(true);
                ClickRip(dialog);
            } else if (request == "cancel") {
                platform::FindControl<QPushButton>(&dialog, platform::IDCANCEL)->click();
            } else if (request == "ok") {
                platform::FindControl<QPushButton>(&dialog, platform::IDOK)->click();
            } else if (request == "close") {
                dialog.close();
            } else {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            }
        });
        intruder.start(0);
        ModalDialogDriver driver;
        driver.expect([&](QWidget*) {
            Select(dialog, {0});
            ClickRip(dialog);
            if (dialog.isVisible())
                dialog.OnOK();
        });
        QCOMPARE(dialog.DoModal(), result);
        intruder.stop();
        dialog.CloseCd();
        QCOMPARE(turns, 1);
        QVERIFY(stillUpWhenFinished);
        QCOMPARE(modals.shown, (QStringList{"Ripping Track 1", "Finished Ripping"}));
        QCOMPARE(dialog.m_rippedFiles, QStringList{"Track 1.wav"});
        QCOMPARE(ReadsOf(drive), 10);
        QCOMPARE(ReadWav("Track 1.wav").dataSize, 26 * 10 * kFrame);
    }
};

VERBENO_TEST_MAIN(RipTest)
#include "test_rip.moc"

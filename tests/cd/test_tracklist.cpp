// The track list dialog over a scripted drive: how a disc is listed (data tracks, first track
// numbers other than 1, lengths), what it asks of the CD library and in which order, the
// failures that leave an empty but working dialog, tables of contents that cannot be indexed,
// and the dialog's layout, tab order and toggling selection.

#include "ModalDialogDriver.h"
#include "ScriptedDrive.h"
#include "ScriptedModals.h"
#include "TestMain.h"
#include "TestWindow.h"

#include "cd/TrackListDlg.h"
#include "platform/ui/ControlId.h"
#include "platform/ui/DialogUnits.h"
#include "res/resource.h"

#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <cstring>
#include <memory>

using testing_support::MakeToc;
using testing_support::ModalDialogDriver;
using testing_support::ScriptedDrive;
using testing_support::ScriptedModals;
using testing_support::ScriptedTrack;

namespace {

// A disc from one letter per track, 'A' audio or 'D' data, each track a little longer than the
// one before so that every length is its own and addresses use three bytes.
std::vector<ScriptedTrack> Tracks(const QString& kinds, uint32_t* leadOut) {
    std::vector<ScriptedTrack> tracks;
    uint32_t start = 0;
    for (int p = 0; p < kinds.size(); ++p) {
        tracks.push_back({start, kinds[p] == 'D'});
        start += 13000 + 997 * static_cast<uint32_t>(p);
    }
    *leadOut = start;
    return tracks;
}

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

QList<int> SelectedRows(const QListWidget* list) {
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected())
            rows << i;
    }
    return rows;
}

// Runs the dialog modally; `check` sees it while it is up, then `button` ends it (also when
// a comparison inside it fails, so that a failure never leaves the dialog hanging).
int Run(CTrackListDlg& dialog, int button, const std::function<void(CTrackListDlg&)>& check = {}) {
    ModalDialogDriver driver;
    driver.expect([&](QWidget* modal) {
        const auto end = qScopeGuard([&] {
            if (auto* b = platform::FindControl<QAbstractButton>(&dialog, button))
                b->click();
            else
                dialog.OnCancel();
        });
        if (modal != &dialog) {
            QFAIL(qPrintable("another modal window: " + modal->windowTitle()));
            return;
        }
        if (check)
            check(dialog);
    });
    const int result = dialog.DoModal();
    if (!driver.unexpected.isEmpty())
        qWarning() << "unexpected modal windows:" << driver.unexpected;
    return driver.pending() == 0 && driver.unexpected.isEmpty() ? result : -1;
}

const QStringList kOpenAndRead{"GetCDList", "GetCDHandle", "ModifyCDParms", "ReadTOC"};

} // namespace

class TrackListTest : public QObject {
    Q_OBJECT
    std::unique_ptr<testing_support::TestWindow> m_window;

private slots:
    void initTestCase() { m_window = std::make_unique<testing_support::TestWindow>(); }
    void cleanupTestCase() { m_window.reset(); }

    void listsTheDisc_data() {
        QTest::addColumn<int>("firstTrack");
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<QStringList>("names");

        QStringList twelve;
        for (int n = 1; n <= 12; ++n)
            twelve << QString("Track %1").arg(n);
        QTest::newRow("twelve audio tracks in disc order") << 1 << QString(12, 'A') << twelve;
        QStringList tenAndData = twelve.mid(0, 10);
        tenAndData << "Data Track";
        QTest::newRow("ten audio then a data track") << 1 << "AAAAAAAAAAD" << tenAndData;
        QTest::newRow("a data track first")
            << 1 << "DAAA" << QStringList{"Data Track", "Track 2", "Track 3", "Track 4"};
        QTest::newRow("two data tracks")
            << 1 << "ADDA" << QStringList{"Track 1", "Data Track", "Data Track", "Track 4"};
        QTest::newRow("one track") << 1 << "A" << QStringList{"Track 1"};
        QTest::newRow("first track 5")
            << 5 << "AAAA" << QStringList{"Track 5", "Track 6", "Track 7", "Track 8"};
        QTest::newRow("first track 3 with a data track")
            << 3 << "ADA" << QStringList{"Track 3", "Data Track", "Track 5"};
        QStringList all;
        for (int n = 1; n <= 99; ++n)
            all << QString("Track %1").arg(n);
        QTest::newRow("99 tracks") << 1 << QString(99, 'A') << all;
        QTest::newRow("tracks 90 to 99") << 90 << QString(10, 'A') << all.mid(89);
    }
    void listsTheDisc() {
        QFETCH(int, firstTrack);
        QFETCH(QString, kinds);
        QFETCH(QStringList, names);

        ScriptedDrive drive;
        uint32_t leadOut = 0;
        const std::vector<ScriptedTrack> tracks = Tracks(kinds, &leadOut);
        drive.toc = MakeToc(firstTrack, tracks, leadOut);
        ScriptedModals modals;
        CTrackListDlg dialog;

        QStringList shownWhileUp;
        QCOMPARE(Run(dialog, platform::IDOK,
                     [&](CTrackListDlg& dlg) { shownWhileUp = Items(dlg.m_trackList); }),
                 platform::IDOK);
        QCOMPARE(shownWhileUp, names);
        QCOMPARE(modals.shown, QStringList{});

        // List index p is table entry p and TOC descriptor p, named by its real number.
        QVERIFY(std::memcmp(&dialog.m_toc, &drive.toc, sizeof(TOC)) == 0);
        const int count = static_cast<int>(tracks.size());
        for (int p = 0; p < count; ++p) {
            const TrackEntry& entry = dialog.m_tracks[p];
            QCOMPARE(QString::fromLatin1(entry.name), names[p]);
            QCOMPARE(entry.start, tracks[p].start);
            QCOMPARE(entry.isData, uint8_t{tracks[p].data});
            QCOMPARE(entry.trackNo, firstTrack + p);
            QCOMPARE(int(dialog.m_toc.tracks[p].trackNumber), firstTrack + p);
        }
        QCOMPARE(dialog.m_tracks[count].name[0], '\0'); // nothing filled past the disc

        // The drive is asked as the library expects, and stays open until CloseCd.
        QCOMPARE(drive.calls, kOpenAndRead);
        QCOMPARE(drive.listCapacities, std::vector<uint8_t>{0});
        QCOMPARE(drive.handleRequests.size(), std::size_t{1});
        const GETCDHAND& request = drive.handleRequests[0];
        QCOMPARE(int(request.size), 12);
        QCOMPARE(int(request.ver), 1);
        QCOMPARE(int(request.ha), int(drive.firstDrive.ha));
        QCOMPARE(int(request.tgt), int(drive.firstDrive.tgt));
        QCOMPARE(int(request.lun), int(drive.firstDrive.lun));
        QCOMPARE(int(request.readType), 0);
        QCOMPARE(int(request.jitterCorr), 0);
        QCOMPARE(int(request.numJitter), 0);
        QCOMPARE(int(request.numOverlap), 0);
        QCOMPARE(drive.parameters, (std::vector<std::pair<int, uint32_t>>{{36, 0}}));
        QCOMPARE(drive.tocZeroOnEntry, std::vector<bool>{true});
        QCOMPARE(drive.misuse, QStringList{});
        QVERIFY(drive.isOpen());

        // OK before any Rip leaves nothing ripped.
        QCOMPARE(dialog.m_selectedCount, 0);
        QCOMPARE(dialog.m_rippedFiles, QStringList{});

        dialog.CloseCd();
        QCOMPARE(drive.closed, std::vector<HCDROM>{drive.handle});
        QVERIFY(!drive.isOpen());
    }

    void lengths_data() {
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<QList<uint>>("starts"); // then the lead-out
        QTest::addColumn<QList<uint>>("lengths");
        QTest::newRow("the last track runs to the lead-out")
            << "AAA" << QList<uint>{0, 18000, 40000, 61234} << QList<uint>{18000, 22000, 21234};
        QTest::newRow("a data track last") << "AAD" << QList<uint>{0, 18000, 40000, 312345}
                                           << QList<uint>{18000, 22000 - 11250, 272345};
        // The audio track just before a data track loses 11250 frames of its table length when
        // it is longer than that; a track before an audio track, or a data track first, never.
        QTest::newRow("audio before data tracks")
            << "DAADAD" << QList<uint>{0, 5000, 16251, 27501, 30000, 60000, 61000}
            << QList<uint>{5000, 11251, 11250, 2499, 30000 - 11250, 1000};
        QTest::newRow("just over the gap before a data track")
            << "AD" << QList<uint>{0, 11251, 20000} << QList<uint>{1, 8749};
    }
    void lengths() {
        QFETCH(QString, kinds);
        QFETCH(QList<uint>, starts);
        QFETCH(QList<uint>, lengths);

        ScriptedDrive drive;
        std::vector<ScriptedTrack> tracks;
        for (int p = 0; p < kinds.size(); ++p)
            tracks.push_back({starts[p], kinds[p] == 'D'});
        drive.toc = MakeToc(1, tracks, starts.last());
        ScriptedModals modals;
        CTrackListDlg dialog;
        QCOMPARE(Run(dialog, platform::IDCANCEL), platform::IDCANCEL);
        QCOMPARE(modals.shown, QStringList{});
        for (int p = 0; p < kinds.size(); ++p)
            QCOMPARE(dialog.m_tracks[p].length, lengths[p]);
        // The bounds that Rip reads stay the disc's own.
        QVERIFY(std::memcmp(&dialog.m_toc, &drive.toc, sizeof(TOC)) == 0);
        dialog.CloseCd();
    }

    void failureLeavesAWorkingEmptyDialog_data() {
        QTest::addColumn<int>("driveCount");
        QTest::addColumn<uint>("handle");
        QTest::addColumn<uint>("tocStatus");
        QTest::addColumn<int>("tocFirst"); // -1 keeps the scripted disc's own
        QTest::addColumn<int>("tocLast");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<int>("button");

        const QString noHandle = "Could not get handle to CD";
        const QString badToc = "Error reading TOC";
        QTest::newRow("no drive") << 0 << 0x5a17u << 1u << -1 << -1 << noHandle
                                  << QStringList{"GetCDList"} << platform::IDCANCEL;
        QTest::newRow("no handle") << 1 << 0u << 1u << -1 << -1 << noHandle
                                   << QStringList{"GetCDList", "GetCDHandle"} << platform::IDOK;
        QTest::newRow("unreadable TOC") << 1 << 0x5a17u << uint(SS_ERR) << -1 << -1 << badToc
                                        << kOpenAndRead << platform::IDCANCEL;
        QTest::newRow("last track 100")
            << 1 << 0x5a17u << 1u << 1 << 100 << badToc << kOpenAndRead << platform::IDOK;
        QTest::newRow("last track 255")
            << 1 << 0x5a17u << 1u << 1 << 255 << badToc << kOpenAndRead << platform::IDCANCEL;
        QTest::newRow("first track 0")
            << 1 << 0x5a17u << 1u << 0 << 3 << badToc << kOpenAndRead << platform::IDOK;
        QTest::newRow("first and last track 0")
            << 1 << 0x5a17u << 1u << 0 << 0 << badToc << kOpenAndRead << platform::IDCANCEL;
        QTest::newRow("first track after last")
            << 1 << 0x5a17u << 1u << 5 << 3 << badToc << kOpenAndRead << platform::IDOK;
    }
    void failureLeavesAWorkingEmptyDialog() {
        QFETCH(int, driveCount);
        QFETCH(uint, handle);
        QFETCH(uint, tocStatus);
        QFETCH(int, tocFirst);
        QFETCH(int, tocLast);
        QFETCH(QString, box);
        QFETCH(QStringList, calls);
        QFETCH(int, button);

        ScriptedDrive drive;
        drive.driveCount = driveCount;
        drive.handle = handle;
        drive.readTocStatus = tocStatus;
        uint32_t leadOut = 0;
        drive.toc = MakeToc(1, Tracks("AAA", &leadOut), leadOut);
        if (tocFirst >= 0) {
            drive.toc.firstTrack = static_cast<uint8_t>(tocFirst);
            drive.toc.lastTrack = static_cast<uint8_t>(tocLast);
        }
        ScriptedModals modals;
        CTrackListDlg dialog;

        int itemsWhileUp = -1;
        bool openAfterRip = false;
        QCOMPARE(Run(dialog, button,
                     [&](CTrackListDlg& dlg) {
                         itemsWhileUp = dlg.m_trackList->count();
                         platform::FindControl<QPushButton>(&dlg, res::IDC_RIP)->click();
                         openAfterRip = dlg.isVisible();
                     }),
                 button);
        QCOMPARE(modals.shown, (QStringList{box, "Finished Ripping"})); // Rip rips nothing
        QCOMPARE(itemsWhileUp, 0);
        QVERIFY(openAfterRip);
        QCOMPARE(dialog.m_tracks[0].name[0], '\0');
        QCOMPARE(int(dialog.m_toc.lastTrack), 0); // a refused table leaves nothing to index
        QCOMPARE(drive.calls, calls);
        QCOMPARE(drive.misuse, QStringList{});

        // The handle that the dialog holds, 0 when none was opened, goes back to the library.
        const HCDROM held = calls.size() > 2 ? drive.handle : 0;
        QCOMPARE(dialog.m_hCD, held);
        dialog.CloseCd();
        QCOMPARE(drive.closed, std::vector<HCDROM>{held});
        QVERIFY(!drive.isOpen());
    }

    void layoutTabOrderAndToggling() {
        ScriptedDrive drive;
        uint32_t leadOut = 0;
        drive.toc = MakeToc(1, Tracks("AAAA", &leadOut), leadOut);
        ScriptedModals modals;
        CTrackListDlg dialog;

        QList<int> tabOrder;
        QList<QList<int>> selections;
        QCOMPARE(Run(dialog, platform::IDOK,
                     [&](CTrackListDlg& dlg) {
                         QCOMPARE(dlg.windowTitle(), QString("List of Audio Tracks"));
                         QCOMPARE(dlg.font().family(), QString("MS Sans Serif"));
                         QCOMPARE(dlg.font().pointSize(), 8);
                         const QFont font = dlg.font();
                         QCOMPARE(dlg.size(), platform::DialogUnitsToPixels(font, QSize(142, 209)));
                         QVERIFY(dlg.minimumSize() == dlg.maximumSize());

                         struct Expected {
                             int id;
                             QString text;
                             QRect du;
                         };
                         const Expected controls[] = {{1, "OK", {17, 188, 50, 14}},
                                                      {2, "Cancel", {79, 188, 50, 14}},
                                                      {1007, "", {23, 7, 48, 160}},
                                                      {1010, "Rip", {83, 149, 32, 14}}};
                         for (const Expected& c : controls) {
                             QWidget* w = platform::FindControl(&dlg, c.id);
                             QVERIFY2(w, qPrintable(QString::number(c.id)));
                             QCOMPARE(w->geometry(), platform::DialogUnitsToPixels(font, c.du));
                             QVERIFY(w->focusPolicy() & Qt::TabFocus);
                             if (auto* b = qobject_cast<QPushButton*>(w)) {
                                 QCOMPARE(b->text(), c.text);
                                 QCOMPARE(b->isDefault(), c.id == 1);
                             }
                         }
                         QCOMPARE(dlg.m_trackList, platform::FindControl<QListWidget>(&dlg, 1007));
                         QCOMPARE(dlg.m_trackList->selectionMode(),
                                  QAbstractItemView::MultiSelection);
                         QVERIFY(!dlg.m_trackList->isSortingEnabled());

                         // Tab walks the controls in template order and comes round again.
                         dlg.activateWindow();
                         QVERIFY(QTest::qWaitForWindowActive(&dlg));
                         platform::FindControl(&dlg, 1)->setFocus();
                         for (int i = 0; i < 4; ++i) {
                             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                             tabOrder << platform::ControlId(QApplication::focusWidget());
                         }

                         // Each click toggles the one item clicked and leaves the others as they
                         // are.
                         QListWidget* list = dlg.m_trackList;
                         for (const int row : {0, 2, 3, 0, 3}) {
                             const QPoint at = list->visualItemRect(list->item(row)).center();
                             QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                             selections << SelectedRows(list);
                         }
                     }),
                 platform::IDOK);
        QCOMPARE(tabOrder, (QList<int>{2, 1007, 1010, 1}));
        QCOMPARE(selections, (QList<QList<int>>{{0}, {0, 2}, {0, 2, 3}, {2, 3}, {2}}));
        QCOMPARE(modals.shown, QStringList{});
        dialog.CloseCd();
    }

    void readBigEndian32() {
        const uint8_t bytes[4] = {0x80, 0xff, 0x01, 0xfe};
        uint32_t value = 0;
        CTrackListDlg::ReadBigEndian32(value, bytes);
        QCOMPARE(value, 0x80ff01feu);
    }

    // The ripper's tests rely on the drive's sectors and its failures by attempt.
    void scriptedDriveReadsAndFailsByAttempt() {
        ScriptedDrive drive;
        drive.toc = MakeToc(1, {{0, false}, {100, false}}, 200);
        drive.failReadsAt(50, 2);
        const HCDROM h = CTrackListDlg::OpenFirstCdDrive();
        QCOMPARE(h, drive.handle);

        constexpr uint32_t frames = 3;
        std::vector<uint8_t> storage(TRACKBUFHEADER + frames * 2352);
        auto* buffer = reinterpret_cast<TRACKBUF*>(storage.data());
        buffer->maxLen = frames * 2352;
        const auto read = [&](uint32_t start) {
            buffer->startFrame = start;
            buffer->numFrames = frames;
            return CdLibrary().readCdAudioLba(h, buffer);
        };
        QCOMPARE(read(197), uint32_t{SS_COMP});
        QCOMPARE(uint32_t(buffer->len), frames * 2352);
        for (uint32_t i = 0; i < frames * 2352; i += 331)
            QCOMPARE(buffer->buf[i], ScriptedDrive::PatternByte(197 + i / 2352, i % 2352));
        QCOMPARE(ScriptedDrive::PatternByte(5, 7) == ScriptedDrive::PatternByte(6, 7), false);

        QCOMPARE(read(50), uint32_t{SS_ERR});
        QCOMPARE(CdLibrary().getAspiLibAspiError(), uint8_t{SS_ERR});
        QCOMPARE(read(50), uint32_t{SS_ERR});
        QCOMPARE(read(50), uint32_t{SS_COMP});
        QCOMPARE(drive.misuse, QStringList{});
        QVERIFY(read(198) != SS_COMP); // past the lead-out
        QCOMPARE(drive.misuse.size(), 1);
        QCOMPARE(drive.reads.size(), std::size_t{5});
        QCOMPARE(drive.reads[3].attempt, 3);

        QCOMPARE(CdLibrary().closeCdHandle(h), 1);
        QCOMPARE(CdLibrary().closeCdHandle(h), 0);
        QVERIFY(read(0) != SS_COMP);
    }
};

VERBENO_TEST_MAIN(TrackListTest)
#include "test_tracklist.moc"

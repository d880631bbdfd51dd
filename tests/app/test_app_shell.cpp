// The application shell on the real main window: start-up and command line, menu, accelerators,
// toolbar, status bar, the View toggles, the double-click box, title and caption, the stretched
// picture, the profile, New/Open/Save, the About box and a close asked for during a job.

#include "AppTestSupport.h"
#include "ModalDialogDriver.h"
#include "ScriptedModals.h"

#include "app/CDocument.h"
#include "app/CToolBar.h"
#include "platform/ui/ControlId.h"
#include "platform/ui/JobGuard.h"
#include "platform/ui/LockKeys.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/StatusBar.h"
#include "res/Images.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QWindow>

using namespace app_testing;
using testing_support::ModalDialogDriver;
using testing_support::ScriptedModals;

namespace {

const QString kCaption =
    QStringLiteral("Verbeno:  Verbenishly encodes MP3s for your listening pleasure...");
const QString kTickles = QStringLiteral("Please don't click on me... It tickles!");

QString ProfileFile() {
    return QSettings(QStringLiteral("Verbeno MP3 encoder and CD ripper"), QStringLiteral("Verbeno"))
        .fileName();
}

// The profile as "key=value" lines, sorted, so whole profiles compare in one go.
QStringList ProfileContents() {
    QSettings profile(QStringLiteral("Verbeno MP3 encoder and CD ripper"),
                      QStringLiteral("Verbeno"));
    QStringList lines;
    for (const QString& key : profile.allKeys())
        lines << key + QLatin1Char('=') + profile.value(key).toString();
    lines.sort();
    return lines;
}

QStringList RecentFiles() {
    QStringList names;
    const CRecentFileList* list = App()->RecentFileList();
    for (int i = 0; list && i < list->GetSize(); ++i)
        names << (*list)[i];
    return names;
}

QString WriteFile(const QString& name, const QByteArray& bytes) {
    QFile file(QDir::current().absoluteFilePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(bytes);
    return QFileInfo(file).absoluteFilePath();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QToolButton* ToolButton(int command) {
    CToolBar* bar = Frame()->ToolBar();
    for (QAction* action : bar->actions()) {
        if (action->data().toInt() == command)
            return qobject_cast<QToolButton*>(bar->widgetForAction(action));
    }
    return nullptr;
}

void DoubleClick(QWidget* widget, Qt::MouseButton button) {
    QTest::mouseDClick(widget, button, Qt::NoModifier, widget->rect().center());
}

bool g_capsOn = false;
bool FakeLockKeys(platform::LockKey key) {
    return key == platform::LockKey::CapsLock && g_capsOn;
}

} // namespace

class AppShellTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QFile::remove(ProfileFile());
        QVERIFY(StartShell({QStringLiteral("-Embedding")}));
        Frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Frame()));
    }
    void cleanup() { EndShell(); }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("showSplash");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("help");
        QTest::addColumn<bool>("version");
        QTest::newRow("nothing") << QStringList{} << true << "" << false << false;
        QTest::newRow("-Embedding") << QStringList{"-Embedding"} << false << "" << false << false;
        QTest::newRow("/embedding") << QStringList{"/embedding"} << false << "" << false << false;
        QTest::newRow("-AUTOMATION") << QStringList{"-AUTOMATION"} << false << "" << false << false;
        QTest::newRow("/AutoMation") << QStringList{"/AutoMation"} << false << "" << false << false;
        QTest::newRow("print and shell switches")
            << QStringList{"/p", "-pt", "/dde", "-Unregister"} << true << "" << false << false;
        QTest::newRow("no switch without - or /")
            << QStringList{"Embedding"} << true << "Embedding" << false << false;
        QTest::newRow("--Embedding is another switch")
            << QStringList{"--Embedding"} << true << "" << false << false;
        QTest::newRow("file and switch")
            << QStringList{"song.wav", "/Embedding"} << false << "song.wav" << false << false;
        QTest::newRow("absolute paths are files")
            << QStringList{"/home/me/song.wav"} << true << "/home/me/song.wav" << false << false;
        QTest::newRow("a file at the root")
            << QStringList{"/song.wav"} << true << "/song.wav" << false << false;
        QTest::newRow("first plain argument only")
            << QStringList{"a.wav", "b.wav"} << true << "a.wav" << false << false;
        QTest::newRow("--help") << QStringList{"--help"} << true << "" << true << false;
        QTest::newRow("-h") << QStringList{"-h"} << true << "" << true << false;
        QTest::newRow("--version") << QStringList{"--version"} << true << "" << false << true;
        QTest::newRow("-v") << QStringList{"-v"} << true << "" << false << true;
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, showSplash);
        QFETCH(QString, fileName);
        QFETCH(bool, help);
        QFETCH(bool, version);
        CCommandLineInfo info;
        ParseCommandLine(QStringList{"verbeno"} + arguments, info);
        QCOMPARE(info.m_bShowSplash, showSplash);
        QCOMPARE(info.m_strFileName, fileName);
        QCOMPARE(info.m_nShellCommand,
                 fileName.isEmpty() ? CCommandLineInfo::FileNew : CCommandLineInfo::FileOpen);
        QCOMPARE(info.m_bShowHelp, help);
        QCOMPARE(info.m_bShowVersion, version);
    }

    void programPrintsVersionAndHelp() {
        const QString program = QString::fromLocal8Bit(qgetenv("VERBENO_EXE"));
        if (program.isEmpty())
            QSKIP("VERBENO_EXE names no program");
        QProcess process;
        process.setProgram(program);
        process.setArguments({"--version"});
        process.start();
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardOutput(), QByteArray("Verbeno 1.0.0.1\n"));

        process.setArguments({"--help"});
        process.start();
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(process.readAllStandardOutput().startsWith("Usage: verbeno"));
    }

    void missingFileEndsTheProgram() {
        EndShell();
        ScriptedModals modals;
        const QString missing = QDir::current().absoluteFilePath("no such file.wav");
        App()->SetCommandLine({"verbeno", "/Embedding", missing});
        QCOMPARE(App()->Run(), 1);
        QCOMPARE(modals.shown.size(), 1);
        QVERIFY2(modals.shown[0].contains(missing), qPrintable(modals.shown[0]));
        QVERIFY(!App()->GetMainWnd());
        QVERIFY(!platform::MainWindow());
        // A plain file argument that exists opens it as the document.
        const QString existing = WriteFile("given.wav", "RIFF");
        QVERIFY(StartShell({"/Embedding", existing}));
        QCOMPARE(Frame()->GetActiveDocument()->GetPathName(), existing);
        QCOMPARE(Frame()->GetActiveDocument()->GetTitle(), QStringLiteral("given.wav"));
        QCOMPARE(ReadFile(existing), QByteArray("RIFF"));
    }

    void menuTree() {
        // Every popup and item with its text (mnemonic included) and command number.
        QStringList tree;
        for (QAction* popup : Frame()->menuBar()->actions()) {
            tree << popup->text();
            QVERIFY(popup->menu());
            for (QAction* item : popup->menu()->actions())
                tree << QStringLiteral("  %1 = %2")
                            .arg(item->isSeparator() ? "-" : item->text())
                            .arg(item->data().toInt());
        }
        const QStringList expected{
            "&Main",
            "  E&xit = 57665",
            "MP3 &Encoder",
            "  &Wav --> MP3 = 32771",
            "CD &Ripper",
            "  CD --> &Wav = 32772",
            "  CD --> &MP3 = 32773",
            "&View",
            "  &Toolbar = 59392",
            "  &Status Bar = 59393",
            "&Help",
            "  &About Verbeno... = 57664",
        };
        QCOMPARE(tree, expected);
    }

    void everyCommandEnabled() {
        QList<QAction*> actions;
        for (QAction* popup : Frame()->menuBar()->actions())
            actions += popup->menu()->actions();
        actions += Frame()->ToolBar()->actions();
        QCOMPARE(actions.size(), 11);
        for (QAction* action : actions)
            QVERIFY2(action->isEnabled(), qPrintable(action->text()));
        for (QAction* action : Frame()->ToolBar()->actions())
            QVERIFY(Frame()->ToolBar()->widgetForAction(action)->isEnabled());
    }

    void accelerators_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("fileDialogs");
        QTest::newRow("Ctrl+N") << int(Qt::Key_N) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                << 57600 << 0;
        QTest::newRow("Ctrl+O") << int(Qt::Key_O) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                << 57601 << 1;
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                << 57603 << 1;
        QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                << 57643 << 0;
        QTest::newRow("Alt+Backspace")
            << int(Qt::Key_Backspace) << Qt::KeyboardModifiers(Qt::AltModifier) << 57643 << 0;
        QTest::newRow("Ctrl+X") << int(Qt::Key_X) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                << 57635 << 0;
        QTest::newRow("Shift+Delete")
            << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 57635 << 0;
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                << 57634 << 0;
        QTest::newRow("Ctrl+Insert")
            << int(Qt::Key_Insert) << Qt::KeyboardModifiers(Qt::ControlModifier) << 57634 << 0;
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                << 57637 << 0;
        QTest::newRow("Shift+Insert")
            << int(Qt::Key_Insert) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 57637 << 0;
        QTest::newRow("F6") << int(Qt::Key_F6) << Qt::KeyboardModifiers() << 57680 << 0;
        QTest::newRow("Shift+F6") << int(Qt::Key_F6) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                  << 57681 << 0;
    }
    void accelerators() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, command);
        QFETCH(int, fileDialogs);
        ScriptedModals modals;
        modals.answerFileDialog(std::nullopt); // Open and Save As: Cancel
        Frame()->setWindowTitle(QStringLiteral("before"));
        const QString pathBefore = Frame()->GetActiveDocument()->GetPathName();
        QSignalSpy issued(Frame(), &CFrameWnd::commandIssued);

        QTest::keyClick(View(), Qt::Key(key), modifiers);

        QCOMPARE(issued.size(), 1);
        QCOMPARE(issued[0][0].toInt(), command);
        QCOMPARE(int(modals.requests.size()), fileDialogs);
        QVERIFY(modals.shown.isEmpty());
        QCOMPARE(Frame()->GetActiveDocument()->GetPathName(), pathBefore);
        // Only New retitles the window (until the view paints again); the rest change nothing.
        QCOMPARE(Frame()->windowTitle(), command == 57600 ? QStringLiteral("Untitled - Verbeno")
                                                          : QStringLiteral("before"));
    }

    void toolBarButtons() {
        CToolBar* bar = Frame()->ToolBar();
        QCOMPARE(platform::ControlId(bar), 59392);
        QCOMPARE(Frame()->toolBarArea(bar), Qt::TopToolBarArea);
        QVERIFY(bar->isMovable());
        QVERIFY(bar->isFloatable());
        QCOMPARE(bar->allowedAreas(), Qt::AllToolBarAreas);
        QCOMPARE(bar->iconSize(), QSize(60, 50));

        struct Button {
            int command;
            QString toolTip;
            QString prompt;
        };
        const Button expected[] = {
            {32772, "CD -> Wav", "Rips audio CD tracks to Wav format"},
            {32771, "Wav -> MP3", "Encodes Wav files to MP3 format"},
            {32773, "CD -> MP3", "Encodes audio CD tracks to MP3 format"},
            {57664, "About Verbeno", "About Verbeno"},
        };
        const QList<QAction*> actions = bar->actions();
        QCOMPARE(actions.size(), 4);
        const QPixmap strip(QString::fromLatin1(res::kToolBarPicture));
        platform::CStatusBar* status = Frame()->StatusBar();
        for (int i = 0; i < 4; ++i) {
            QAction* action = actions[i];
            QCOMPARE(action->data().toInt(), expected[i].command);
            QCOMPARE(action->toolTip(), expected[i].toolTip);
            QCOMPARE(action->statusTip(), expected[i].prompt);
            QVERIFY(!action->isSeparator());
            QToolButton* button = ToolButton(expected[i].command);
            QVERIFY(button);
            QVERIFY(button->autoRaise()); // flat
            if (!strip.isNull()) {
                // The n-th slice of the strip, light grey let through.
                QImage slice = strip.copy(i * 60, 0, 60, 50).toImage();
                const QImage icon = action->icon().pixmap(QSize(60, 50)).toImage();
                QCOMPARE(icon.size(), QSize(60, 50));
                int compared = 0;
                for (int y = 0; y < 50; y += 5) {
                    for (int x = 0; x < 60; x += 5) {
                        if (slice.pixelColor(x, y) == QColor(192, 192, 192)) {
                            QCOMPARE(icon.pixelColor(x, y).alpha(), 0);
                        } else {
                            QCOMPARE(icon.pixelColor(x, y).rgb(), slice.pixelColor(x, y).rgb());
                            ++compared;
                        }
                    }
                }
                QVERIFY(compared > 0);
            }
            // Resting on the button shows its prompt in pane 0; leaving it gives "Ready" back.
            QEnterEvent enter(QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)),
                              button->mapToGlobal(QPointF(5, 5)));
            QApplication::sendEvent(button, &enter);
            QCOMPARE(status->GetPaneText(0), expected[i].prompt);
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(button, &leave);
            QCOMPARE(status->GetPaneText(0), QStringLiteral("Ready"));
        }
        QVERIFY(status->isVisible()); // the prompt went into the pane, not over the bar
    }

    void menuPromptInMessagePane() {
        QMenu* view = Frame()->menuBar()->actions()[3]->menu();
        view->popup(Frame()->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(view));
        view->setActiveAction(view->actions()[0]);
        QCOMPARE(Frame()->StatusBar()->GetPaneText(0), QStringLiteral("Show or hide the toolbar"));
        view->setActiveAction(view->actions()[1]);
        QCOMPARE(Frame()->StatusBar()->GetPaneText(0),
                 QStringLiteral("Show or hide the status bar"));
        view->hide();
        QCOMPARE(Frame()->StatusBar()->GetPaneText(0), QStringLiteral("Ready"));
    }

    void statusBarPanes() {
        platform::CStatusBar* status = Frame()->StatusBar();
        QCOMPARE(platform::FindControl<platform::CStatusBar>(platform::MainWindow(), 59393),
                 status);
        QCOMPARE(status->PaneCount(), 4);
        QCOMPARE(status->PaneId(0), 0);
        QCOMPARE(status->PaneId(1), 59137);
        QCOMPARE(status->PaneId(2), 59138);
        QCOMPARE(status->PaneId(3), 59139);
        QCOMPARE(status->GetPaneText(0), QStringLiteral("Ready"));
        QVERIFY(status->GetItemRect(0).width() > status->GetItemRect(1).width());
        // Offscreen no lock is on, so every indicator is blank.
        for (int pane = 1; pane < 4; ++pane)
            QCOMPARE(status->GetPaneText(pane), QString());
    }

    void lockIndicatorsFollowTheKeys() {
        platform::SetLockKeyProbe(&FakeLockKeys);
        const auto restore = qScopeGuard([] { platform::SetLockKeyProbe(nullptr); });
        platform::CStatusBar* status = Frame()->StatusBar();
        g_capsOn = true;
        QTest::keyClick(View(), Qt::Key_CapsLock);
        QTRY_COMPARE(status->GetPaneText(1), QStringLiteral("CAP"));
        QCOMPARE(status->GetPaneText(2), QString());
        QCOMPARE(status->GetPaneText(3), QString());
        // Turned off elsewhere: the slow refresh catches up without a key here.
        g_capsOn = false;
        QTRY_COMPARE_WITH_TIMEOUT(status->GetPaneText(1), QString(), 3000);
    }

    void viewTogglesAndCheckMarks() {
        QMenu* view = Frame()->menuBar()->actions()[3]->menu();
        struct Bar {
            QAction* item;
            QWidget* bar;
        };
        const Bar bars[] = {{view->actions()[0], Frame()->ToolBar()},
                            {view->actions()[1], Frame()->StatusBar()}};
        for (const Bar& entry : bars) {
            QVERIFY(entry.item->isCheckable());
            QVERIFY(entry.item->isChecked());
            QVERIFY(entry.bar->isVisible());
            entry.item->trigger();
            QVERIFY(!entry.bar->isVisible());
            QVERIFY(!entry.item->isChecked());
            entry.item->trigger();
            QVERIFY(entry.bar->isVisible());
            QVERIFY(entry.item->isChecked());
        }
        // The status bar's progress pane is still there after hiding and showing it.
        QCOMPARE(Frame()->StatusBar()->GetPaneText(0), QStringLiteral("Ready"));
    }

    void doubleClicks_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("boxes");
        QTest::newRow("right") << Qt::RightButton << 1;
        QTest::newRow("middle") << Qt::MiddleButton << 1;
        QTest::newRow("left") << Qt::LeftButton << 0;
    }
    void doubleClicks() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, boxes);
        ScriptedModals modals;
        EventCounter reached(View(), QEvent::MouseButtonDblClick);
        int reachedWhileUp = -1;
        modals.whileBoxIsUp([&](const QString&) {
            reachedWhileUp = reached.count;
            // Another double click while the box is up: it goes to its window, with no box.
            DoubleClick(View(), button);
        });
        DoubleClick(View(), button);
        QCOMPARE(modals.shown, QStringList(boxes, kTickles));
        if (boxes) {
            QCOMPARE(reachedWhileUp, 0); // the box comes first...
            QCOMPARE(reached.count, 2);  // ...then the click reaches the view
        } else {
            QCOMPARE(reached.count, 1);
        }
        // Anywhere in the program: the status bar too.
        modals.shown.clear();
        DoubleClick(Frame()->StatusBar(), button);
        QCOMPARE(modals.shown.size(), boxes);
    }

    void doubleClickFromTheWindowSystemShowsOneBox() {
        // Through the window: Qt hands the double click to the window, then to the view; the
        // box comes once.
        ScriptedModals modals;
        EventCounter reached(View(), QEvent::MouseButtonDblClick);
        QWindow* window = Frame()->windowHandle();
        const QPoint at = View()->mapTo(Frame(), View()->rect().center());
        QTest::mouseDClick(window, Qt::RightButton, Qt::NoModifier, at);
        QCOMPARE(modals.shown, QStringList{kTickles});
        QCOMPARE(reached.count, 1);
    }

    void titleAfterNewAndCaptionAfterPaint() {
        // The first paint has put the caption up.
        QTRY_COMPARE(Frame()->windowTitle(), kCaption);
        Frame()->CommandAction(57600)->trigger();
        QCOMPARE(Frame()->windowTitle(), QStringLiteral("Untitled - Verbeno"));
        QCOMPARE(Frame()->GetActiveDocument()->GetTitle(), QStringLiteral("Untitled"));
        QTRY_COMPARE(Frame()->windowTitle(), kCaption);
        // Every paint sets it again, even when nothing else changed.
        Frame()->setWindowTitle(QStringLiteral("something else"));
        Frame()->resize(Frame()->size() + QSize(30, 20));
        QTRY_COMPARE(Frame()->windowTitle(), kCaption);
        Frame()->setWindowTitle(QStringLiteral("something else"));
        View()->repaint();
        QCOMPARE(Frame()->windowTitle(), kCaption);
    }

    void pictureStretched_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1000 x 300") << QSize(1000, 300);
        QTest::newRow("250 x 450") << QSize(250, 450);
    }
    void pictureStretched() {
        QFETCH(QSize, size);
        const QImage picture(QString::fromLatin1(res::kBackgroundPicture));
        if (picture.isNull())
            QSKIP("bitmap 102 is not among the resources yet");
        QCOMPARE(picture.size(), QSize(500, 300));
        Frame()->resize(Frame()->size() + size - View()->size());
        QTRY_COMPARE(View()->size(), size);
        const QImage shown = View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), size);
        // Width and height scale on their own, nearest neighbour: each shown pixel is the picture
        // pixel under its centre, or (where rounding conventions differ) one next to it.
        const QImage source = picture.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < size.height(); y += 3) {
            for (int x = 0; x < size.width(); x += 3) {
                const int sx = (2 * x + 1) * 500 / (2 * size.width());
                const int sy = (2 * y + 1) * 300 / (2 * size.height());
                bool found = false;
                for (int dy = -1; dy <= 1 && !found; ++dy) {
                    for (int dx = -1; dx <= 1 && !found; ++dx) {
                        const QPoint at(std::clamp(sx + dx, 0, 499), std::clamp(sy + dy, 0, 299));
                        found = shown.pixel(x, y) == source.pixel(at);
                    }
                }
                if (!found)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
        if (size == QSize(1000, 300)) {
            // Twice as wide, the same height: every picture pixel becomes two, side by side.
            for (int y = 0; y < 300; y += 7) {
                for (int x = 0; x < 500; x += 7) {
                    QCOMPARE(shown.pixel(2 * x, y), picture.pixel(x, y) | 0xff000000u);
                    QCOMPARE(shown.pixel(2 * x + 1, y), picture.pixel(x, y) | 0xff000000u);
                }
            }
        }
    }

    void missingPicturePaintsBlack() {
        View()->SetPicturePath(QStringLiteral(":/res/no-such-picture.bmp"));
        const QImage shown = View()->grab().toImage();
        QVERIFY(!shown.isNull());
        for (int y = 0; y < shown.height(); y += 9) {
            for (int x = 0; x < shown.width(); x += 9)
                QCOMPARE(shown.pixelColor(x, y), QColor(Qt::black));
        }
    }

    void profileRoundTrip_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<QStringList>("listAtStart");
        QTest::addColumn<QStringList>("after");
        // Paths starting with "~/" stand for files in the test's folder.
        QTest::newRow("read in order, at most four")
            << QStringList{"Recent File List/File1=/a", "Recent File List/File2=/b",
                           "Recent File List/File3=/c", "Recent File List/File4=/d",
                           "Recent File List/File5=/e"}
            << QStringList{} << QStringList{"/a", "/b", "/c", "/d"}
            << QStringList{"Recent File List/File1=/a", "Recent File List/File2=/b",
                           "Recent File List/File3=/c", "Recent File List/File4=/d"};
        QTest::newRow("opened files go first, the last drops out")
            << QStringList{"Recent File List/File1=/a", "Recent File List/File2=/b",
                           "Recent File List/File3=/c", "Recent File List/File4=/d"}
            << QStringList{"~/one.wav", "~/two.wav"} << QStringList{"/a", "/b", "/c", "/d"}
            << QStringList{"Recent File List/File1=~/two.wav", "Recent File List/File2=~/one.wav",
                           "Recent File List/File3=/a", "Recent File List/File4=/b"};
        QTest::newRow("a file opened again moves up, never twice")
            << QStringList{"Recent File List/File1=~/one.wav", "Recent File List/File2=/b",
                           "Recent File List/File3=~/two.wav"}
            << QStringList{"~/two.wav"} << QStringList{"~/one.wav", "/b", "~/two.wav", ""}
            << QStringList{"Recent File List/File1=~/two.wav", "Recent File List/File2=~/one.wav",
                           "Recent File List/File3=/b"};
        QTest::newRow("preview pages kept when not zero")
            << QStringList{"Settings/PreviewPages=3"} << QStringList{}
            << QStringList{"", "", "", ""} << QStringList{"Settings/PreviewPages=3"};
        QTest::newRow("preview pages never written as zero")
            << QStringList{"Settings/Other=1"} << QStringList{} << QStringList{"", "", "", ""}
            << QStringList{"Settings/Other=1"};
        QTest::newRow("empty profile stays empty")
            << QStringList{} << QStringList{} << QStringList{"", "", "", ""} << QStringList{};
    }
    void profileRoundTrip() {
        QFETCH(QStringList, before);
        QFETCH(QStringList, opened);
        QFETCH(QStringList, listAtStart);
        QFETCH(QStringList, after);
        EndShell();
        const QString here = QDir::current().absolutePath() + QLatin1Char('/');
        const auto local = [&](QStringList lines) {
            for (QString& line : lines)
                line.replace(QLatin1String("~/"), here);
            return lines;
        };
        for (const char* name : {"one.wav", "two.wav"})
            WriteFile(name, "x");
        {
            QSettings profile(QStringLiteral("Verbeno MP3 encoder and CD ripper"),
                              QStringLiteral("Verbeno"));
            for (const QString& line : local(before))
                profile.setValue(line.section('=', 0, 0), line.section('=', 1));
        }

        ScriptedModals modals;
        QVERIFY(StartShell({"/Embedding"}));
        QCOMPARE(RecentFiles(), local(listAtStart));
        for (const QString& path : local(opened)) {
            modals.answerFileDialog(path);
            Frame()->CommandAction(57601)->trigger();
        }
        QVERIFY(modals.shown.isEmpty());
        EndShell();
        QCOMPARE(ProfileContents(), local(after));
        QVERIFY(StartShell({"/Embedding"})); // for cleanup()
    }

    void openReadsNothingAndRetitles() {
        ScriptedModals modals;
        const QString path = WriteFile("chosen.bin", "contents");
        modals.answerFileDialog(path);
        QTest::keyClick(View(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(int(modals.requests.size()), 1);
        QCOMPARE(modals.requests[0].title, QStringLiteral("Open"));
        QCOMPARE(modals.requests[0].filter, QStringLiteral("All Files (*.*)|*.*||"));
        QCOMPARE(Frame()->GetActiveDocument()->GetPathName(), path);
        QCOMPARE(Frame()->windowTitle(), QStringLiteral("chosen.bin - Verbeno"));
        QCOMPARE(RecentFiles().value(0), path);
        QCOMPARE(ReadFile(path), QByteArray("contents"));

        // A file that cannot be opened is reported; the document stays as it was.
        modals.answerFileDialog(QDir::current().absoluteFilePath("missing.bin"));
        QTest::keyClick(View(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(modals.shown.size(), 1);
        QVERIFY(modals.shown[0].startsWith("Failed to open document."));
        QCOMPARE(Frame()->GetActiveDocument()->GetPathName(), path);
        QCOMPARE(RecentFiles().value(0), path);
        QVERIFY(Frame()->isVisible());
    }

    void saveNeverEmptiesAFile() {
        ScriptedModals modals;
        // Untitled: Save asks for a name and creates an empty file there.
        const QString fresh = QDir::current().absoluteFilePath("fresh.vbn");
        modals.answerFileDialog(fresh);
        QTest::keyClick(View(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(int(modals.requests.size()), 1);
        QCOMPARE(modals.requests[0].title, QStringLiteral("Save As"));
        QCOMPARE(modals.requests[0].initialName, QStringLiteral("Untitled"));
        QCOMPARE(ReadFile(fresh), QByteArray());
        QCOMPARE(Frame()->GetActiveDocument()->GetTitle(), QStringLiteral("fresh.vbn"));
        QCOMPARE(RecentFiles().value(0), fresh);

        // A name that holds data keeps every byte, whether chosen in Save As or opened first.
        const QString full = WriteFile("full.vbn", "keep me");
        modals.answerFileDialog(full);
        Frame()->CommandAction(57600)->trigger();
        QTest::keyClick(View(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ReadFile(full), QByteArray("keep me"));
        QTest::keyClick(View(), Qt::Key_S, Qt::ControlModifier); // now under its own name
        QCOMPARE(int(modals.requests.size()), 2);
        QCOMPARE(ReadFile(full), QByteArray("keep me"));
        QVERIFY(modals.shown.isEmpty());

        // A name that cannot be written is reported and the document keeps its file.
        Frame()->CommandAction(57600)->trigger();
        modals.answerFileDialog(QDir::current().absoluteFilePath("no/such/folder/x.vbn"));
        QTest::keyClick(View(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(modals.shown.size(), 1);
        QVERIFY(modals.shown[0].startsWith("Failed to save document."));
        QCOMPARE(Frame()->GetActiveDocument()->GetPathName(), QString());
        QVERIFY(!QFile::exists(QDir::current().absoluteFilePath("no")));

        // Cancel saves nothing.
        modals.answerFileDialog(std::nullopt);
        QTest::keyClick(View(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(Frame()->GetActiveDocument()->GetTitle(), QStringLiteral("Untitled"));
    }

    void aboutBoxWaysOut_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("OK") << "OK";
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("close box") << "close box";
    }
    void aboutBoxWaysOut() {
        QFETCH(QString, way);
        ModalDialogDriver driver;
        QString caption;
        QString label;
        bool closed = false;
        driver.expect([&](QWidget* dialog) {
            caption = dialog->windowTitle();
            for (QLabel* text : dialog->findChildren<QLabel*>()) {
                if (!text->text().isEmpty())
                    label = text->text();
            }
            auto* ok = platform::FindControl<QPushButton>(dialog, 1);
            QVERIFY(ok);
            QVERIFY(ok->isDefault());
            if (way == "OK")
                QTest::mouseClick(ok, Qt::LeftButton);
            else if (way == "Enter")
                QTest::keyClick(dialog, Qt::Key_Return);
            else if (way == "Escape")
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->close();
            closed = !dialog->isVisible();
        });
        QTest::mouseClick(ToolButton(57664), Qt::LeftButton);
        QCOMPARE(driver.pending(), 0);
        QVERIFY(driver.unexpected.isEmpty());
        QVERIFY(closed);
        QCOMPARE(caption, QStringLiteral("About Verbeno"));
        QCOMPARE(label, QStringLiteral("Verbeno Version 1.0"));
        QVERIFY(Frame()->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void wavToMp3FromMenuAndToolBar() {
        // The command starts with the encoder settings; Cancel there ends it.
        ModalDialogDriver driver;
        QStringList titles;
        for (int i = 0; i < 2; ++i) {
            driver.expect([&](QWidget* dialog) {
                titles << dialog->windowTitle();
                static_cast<QDialog*>(dialog)->reject();
            });
        }
        QMenu* encoder = Frame()->menuBar()->actions()[1]->menu();
        encoder->actions()[0]->trigger();
        QTest::mouseClick(ToolButton(32771), Qt::LeftButton);
        QCOMPARE(titles, QStringList(2, QStringLiteral("MP3 File Configuration")));
        QVERIFY(driver.unexpected.isEmpty());
    }

    void closeDuringAJobWaitsForIt() {
        ModalDialogDriver driver;
        ScriptedModals modals;
        {
            const platform::JobGuard job;
            // Another job is refused; closing, by the close box or Exit, waits.
            for (const int command : {32771, 32772, 32773})
                Frame()->CommandAction(command)->trigger();
            QVERIFY(!Frame()->close());
            Frame()->CommandAction(57665)->trigger();
            QTest::qWait(50);
            QVERIFY(Frame()->isVisible());
            QVERIFY(Frame()->StatusBar());
            QVERIFY(driver.unexpected.isEmpty());
            QVERIFY(modals.shown.isEmpty());
            QVERIFY(modals.requests.empty());
        }
        // The job is over: the window closes as asked, once.
        QTRY_VERIFY(!Frame()->isVisible());
        QVERIFY(Frame());
    }

    void exitClosesTheMainWindow() {
        Frame()->CommandAction(57665)->trigger();
        QVERIFY(!Frame()->isVisible());
    }
};

VERBENO_APP_TEST_MAIN(AppShellTest)
#include "test_app_shell.moc"

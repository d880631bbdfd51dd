// The splash screen over the real start-up: when it shows, what closes it (and is used up by
// that), what passes, the timer, a missing picture, and that s_current is cleared on every path.

#include "AppTestSupport.h"
#include "ScriptedModals.h"

#include "app/CSplashScreen.h"
#include "platform/ui/MainWindow.h"
#include "res/Images.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QWindow>
#include <qtestspontaneevent.h>

using namespace app_testing;

namespace {

int SplashWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (qobject_cast<CSplashScreen*>(widget))
            ++count;
    }
    return count;
}

bool SendSpontaneous(QObject* receiver, QEvent* event) {
    QSpontaneKeyEvent::setSpontaneous(event);
    return qApp->notify(receiver, event);
}

// Counts every input event that reaches a widget, by type.
class InputLog : public QObject {
public:
    explicit InputLog(QObject* target) { target->installEventFilter(this); }
    QList<QEvent::Type> seen;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::Wheel:
            seen << event->type();
            break;
        default:
            break;
        }
        return false;
    }
};

std::unique_ptr<QEvent> MakeInput(const QString& kind) {
    const QPointF at(20, 20);
    const auto mouse = [&](QEvent::Type type, Qt::MouseButton button) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        return std::make_unique<QMouseEvent>(type, at, at, button, held, Qt::NoModifier);
    };
    if (kind == "key")
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    if (kind == "system key")
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_F, Qt::AltModifier, "f");
    if (kind == "left press")
        return mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    if (kind == "right press")
        return mouse(QEvent::MouseButtonPress, Qt::RightButton);
    if (kind == "middle press")
        return mouse(QEvent::MouseButtonPress, Qt::MiddleButton);
    if (kind == "frame left press")
        return mouse(QEvent::NonClientAreaMouseButtonPress, Qt::LeftButton);
    if (kind == "frame right press")
        return mouse(QEvent::NonClientAreaMouseButtonPress, Qt::RightButton);
    if (kind == "frame middle press")
        return mouse(QEvent::NonClientAreaMouseButtonPress, Qt::MiddleButton);
    if (kind == "key release")
        return std::make_unique<QKeyEvent>(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
    if (kind == "left release")
        return mouse(QEvent::MouseButtonRelease, Qt::LeftButton);
    if (kind == "drag move") // a move with no button held reaches only widgets that track it
        return std::make_unique<QMouseEvent>(QEvent::MouseMove, at, at, Qt::NoButton,
                                             Qt::LeftButton, Qt::NoModifier);
    if (kind == "left double click")
        return mouse(QEvent::MouseButtonDblClick, Qt::LeftButton);
    if (kind == "right double click")
        return mouse(QEvent::MouseButtonDblClick, Qt::RightButton);
    if (kind == "back button press")
        return mouse(QEvent::MouseButtonPress, Qt::BackButton);
    if (kind == "wheel")
        return std::make_unique<QWheelEvent>(at, at, QPoint(), QPoint(0, 120), Qt::NoButton,
                                             Qt::NoModifier, Qt::NoScrollPhase, false);
    return nullptr;
}

} // namespace

class AppSplashTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        EndShell();
        CSplashScreen::s_picturePath = QString::fromLatin1(res::kSplashPicture);
        QVERIFY(!CSplashScreen::s_current);
        QCOMPARE(SplashWindows(), 0);
    }

    void startUpShowsItUnlessEmbedded_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("shown");
        QTest::newRow("no arguments") << QStringList{} << true;
        QTest::newRow("a file") << QStringList{"given.wav"} << true;
        QTest::newRow("p") << QStringList{"/p"} << true;
        QTest::newRow("pt") << QStringList{"-pt"} << true;
        QTest::newRow("dde") << QStringList{"/dde"} << true;
        QTest::newRow("-Embedding") << QStringList{"-Embedding"} << false;
        QTest::newRow("/EMBEDDING") << QStringList{"/EMBEDDING"} << false;
        QTest::newRow("-automation") << QStringList{"-automation"} << false;
        QTest::newRow("/Automation") << QStringList{"/Automation"} << false;
    }
    void startUpShowsItUnlessEmbedded() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, shown);
        if (QPixmap(CSplashScreen::s_picturePath).isNull())
            QSKIP("bitmap 184 is not among the resources yet");
        QFile given(QDir::current().absoluteFilePath("given.wav"));
        QVERIFY(given.open(QIODevice::WriteOnly));
        given.close();
        QVERIFY(StartShell(arguments));
        QCOMPARE(CSplashScreen::s_enabled, shown);
        QCOMPARE(CSplashScreen::s_current != nullptr, shown);
        if (!shown) {
            QCOMPARE(SplashWindows(), 0);
            // Nothing is filtered without a splash screen.
            InputLog log(View());
            QTest::mousePress(View(), Qt::LeftButton);
            QCOMPARE(log.seen, QList<QEvent::Type>{QEvent::MouseButtonPress});
            return;
        }
        CSplashScreen* splash = CSplashScreen::s_current;
        QVERIFY(splash->isVisible());
        QVERIFY(splash->isWindow());
        QCOMPARE(splash->parentWidget(), Frame()); // owned by the main window, in front of it
        QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(splash->size(), QPixmap(CSplashScreen::s_picturePath).size());
        // The main window was not yet visible when it came up: centred on the work area.
        const QRect area = Frame()->screen()->availableGeometry();
        QVERIFY(qAbs(splash->geometry().center().x() - area.center().x()) <= 1);
        QVERIFY(qAbs(splash->geometry().center().y() - area.center().y()) <= 1);
        // It shows its picture.
        const QImage painted = splash->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage picture =
            QImage(CSplashScreen::s_picturePath).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(painted, picture);
    }

    void secondShowDoesNothing() {
        if (QPixmap(CSplashScreen::s_picturePath).isNull())
            QSKIP("bitmap 184 is not among the resources yet");
        QVERIFY(StartShell({}));
        CSplashScreen* first = CSplashScreen::s_current;
        QVERIFY(first);
        CSplashScreen::Show(Frame());
        CSplashScreen::Show(nullptr);
        QCOMPARE(CSplashScreen::s_current, first);
        QCOMPARE(SplashWindows(), 1);
    }

    void pressClosesItAndIsUsedUp() {
        if (QPixmap(CSplashScreen::s_picturePath).isNull())
            QSKIP("bitmap 184 is not among the resources yet");
        QVERIFY(StartShell({}));
        QPointer<CSplashScreen> splash = CSplashScreen::s_current;
        QVERIFY(splash);
        InputLog log(View());
        QTest::mousePress(View(), Qt::LeftButton);
        QVERIFY(!CSplashScreen::s_current);
        QVERIFY(!splash || !splash->isVisible());
        QVERIFY(log.seen.isEmpty());
        QTest::mouseRelease(View(), Qt::LeftButton);
        QTest::mousePress(View(), Qt::LeftButton);
        QCOMPARE(log.seen,
                 (QList<QEvent::Type>{QEvent::MouseButtonRelease, QEvent::MouseButtonPress}));
        // The object itself goes at the next turn of the event loop.
        QTRY_VERIFY(!splash);
    }

    void pressFromTheWindowSystemIsUsedUpOnce() {
        if (QPixmap(CSplashScreen::s_picturePath).isNull())
            QSKIP("bitmap 184 is not among the resources yet");
        QVERIFY(StartShell({}));
        QVERIFY(CSplashScreen::s_current);
        InputLog log(View());
        QWindow* window = Frame()->windowHandle();
        const QPoint at = View()->mapTo(Frame(), View()->rect().center());
        // Qt gives the press to the window, then to the view: it closes the splash screen once
        // and reaches neither.
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, at);
        QVERIFY(!CSplashScreen::s_current);
        QVERIFY(log.seen.isEmpty());
        // (Where the release of a press that went nowhere goes is Qt's affair.)
        QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, at, 500);
        QCOMPARE(log.seen.count(QEvent::MouseButtonPress), 1);
    }

    void keyWithAShortcutIsUsedUpToo() {
        // F6 is an accelerator: the key closes the splash screen before any shortcut sees it.
        if (QPixmap(CSplashScreen::s_picturePath).isNull())
            QSKIP("bitmap 184 is not among the resources yet");
        QVERIFY(StartShell({}));
        Frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Frame()));
        QVERIFY(CSplashScreen::s_current);
        QSignalSpy issued(Frame(), &CFrameWnd::commandIssued);
        InputLog log(Frame());
        QTest::keyClick(Frame()->windowHandle(), Qt::Key_F6);
        QVERIFY(!CSplashScreen::s_current);
        QCOMPARE(issued.size(), 0);
        QVERIFY(!log.seen.contains(QEvent::KeyPress));
        QTest::keyClick(Frame()->windowHandle(), Qt::Key_F6);
        QCOMPARE(issued.size(), 1);
        QCOMPARE(issued[0][0].toInt(), 57680);
    }

    void whatClosesIt_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("closes");
        for (const char* kind : {"key", "system key", "left press", "right press", "middle press",
                                 "frame left press", "frame right press", "frame middle press"})
            QTest::newRow(kind) << QString::fromLatin1(kind) << true;
        for (const char* kind : {"key release", "left release", "drag move", "left double click",
                                 "right double click", "back button press", "wheel"})
            QTest::newRow(kind) << QString::fromLatin1(kind) << false;
    }
    void whatClosesIt() {
        QFETCH(QString, kind);
        QFETCH(bool, closes);
        if (QPixmap(CSplashScreen::s_picturePath).isNull())
            QSKIP("bitmap 184 is not among the resources yet");
        testing_support::ScriptedModals modals; // the tickled right double click
        QVERIFY(StartShell({}));
        QVERIFY(CSplashScreen::s_current);
        InputLog log(View());
        const std::unique_ptr<QEvent> event = MakeInput(kind);
        QVERIFY(event);
        SendSpontaneous(View(), event.get());
        QCOMPARE(CSplashScreen::s_current == nullptr, closes);
        // What closes it is used up; what passes reaches the view.
        QCOMPARE(log.seen.isEmpty(), closes);
    }

    void filterWithoutSplashPassesEverything() {
        CSplashScreen::Enable(false);
        CSplashScreen::Show(nullptr);
        QVERIFY(!CSplashScreen::s_current);
        for (const unsigned number :
             {msg::WM_KEYDOWN, msg::WM_LBUTTONDOWN, msg::WM_NCRBUTTONDOWN}) {
            const MSG message{nullptr, number, nullptr};
            QVERIFY(!CSplashScreen::FilterMessage(message));
        }
    }

    void timerClosesIt() {
        if (QPixmap(CSplashScreen::s_picturePath).isNull())
            QSKIP("bitmap 184 is not among the resources yet");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(StartShell({}));
        QVERIFY(CSplashScreen::s_current);
        QTRY_VERIFY_WITH_TIMEOUT(!CSplashScreen::s_current, 5000);
        QVERIFY2(clock.elapsed() >= 700, qPrintable(QString::number(clock.elapsed())));
        QTRY_COMPARE(SplashWindows(), 0);
    }

    void mainWindowRepaintedAtOnce() {
        if (QPixmap(CSplashScreen::s_picturePath).isNull())
            QSKIP("bitmap 184 is not among the resources yet");
        QVERIFY(StartShell({}));
        QVERIFY(CSplashScreen::s_current);
        QTest::qWait(0);
        EventCounter painted(View(), QEvent::Paint);
        CSplashScreen::s_current->Hide();
        QVERIFY(painted.count >= 1); // before the event loop has had a turn
        QVERIFY(!CSplashScreen::s_current);
    }

    void missingPictureMeansNoSplash() {
        testing_support::ScriptedModals modals;
        CSplashScreen::s_picturePath = QStringLiteral(":/res/no-such-splash.bmp");
        QVERIFY(StartShell({}));
        QVERIFY(CSplashScreen::s_enabled);
        QVERIFY(!CSplashScreen::s_current);
        QCOMPARE(SplashWindows(), 0);
        QVERIFY(modals.shown.isEmpty());
        QVERIFY(Frame()->isVisible());
    }

    void ownerGoingFirstClearsIt() {
        if (QPixmap(CSplashScreen::s_picturePath).isNull())
            QSKIP("bitmap 184 is not among the resources yet");
        QVERIFY(StartShell({}));
        QVERIFY(CSplashScreen::s_current);
        EndShell(); // the main window goes while the splash screen is up
        QVERIFY(!CSplashScreen::s_current);
        QCOMPARE(SplashWindows(), 0);
        QVERIFY(!platform::MainWindow());
    }

    void showWithoutOwner() {
        if (QPixmap(CSplashScreen::s_picturePath).isNull())
            QSKIP("bitmap 184 is not among the resources yet");
        CSplashScreen::Enable(true);
        CSplashScreen::Show(nullptr);
        QVERIFY(CSplashScreen::s_current);
        QVERIFY(CSplashScreen::s_current->isVisible());
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(area.contains(CSplashScreen::s_current->geometry()) ||
                CSplashScreen::s_current->width() > area.width());
        CSplashScreen::s_current->Hide(); // no main window: nothing to repaint
        QVERIFY(!CSplashScreen::s_current);
        QTRY_COMPARE(SplashWindows(), 0);
    }
};

VERBENO_APP_TEST_MAIN(AppSplashTest)
#include "test_app_splash.moc"

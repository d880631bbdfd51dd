// The status-bar progress bar: the layout arithmetic, and the real bar in a main window's status
// bar on the offscreen platform: placing, stepping, captions, restoring the pane, following a
// resized window, and doing nothing where there is no status bar.

#include "TestMain.h"
#include "TestWindow.h"

#include "platform/ui/ControlId.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/StatusBar.h"
#include "progress/CProgressBar.h"
#include "progress/ProgressLayout.h"

#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include <climits>
#include <memory>

using testing_support::TestWindow;

namespace {

// A rectangle given by its edges, right and bottom exclusive, as the layout speaks of them.
QRect Edges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

// Where the bar belongs in `statusBar` for `caption` in pane `pane` at 40 %.
QRect ExpectedRect(const platform::CStatusBar* statusBar, const QString& caption, int pane = 0) {
    const QFontMetrics metrics(statusBar->font());
    return ProgressControlRect(statusBar->GetItemRect(pane), metrics.horizontalAdvance(caption),
                               metrics.horizontalAdvance(QStringLiteral(" ")), caption.isEmpty(),
                               40);
}

QProgressBar* ControlIn(const QWidget* statusBar) {
    return platform::FindControl<QProgressBar>(statusBar, 1);
}

// Counts moves, resizes and paints of one widget.
class EventCounter : public QObject {
public:
    explicit EventCounter(QWidget* widget) { widget->installEventFilter(this); }
    int moves = 0;
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            ++moves;
        else if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

const QString kCaption = QStringLiteral("Encoding ... ");

} // namespace

class ProgressTest : public QObject {
    Q_OBJECT
private slots:
    void layout_data() {
        QTest::addColumn<QRect>("pane");
        QTest::addColumn<int>("captionWidth");
        QTest::addColumn<int>("spaceWidth");
        QTest::addColumn<bool>("captionEmpty");
        QTest::addColumn<int>("percent");
        QTest::addColumn<QRect>("expected");
        const QRect pane = Edges(0, 2, 400, 22);
        QTest::newRow("worked example") << pane << 70 << 4 << false << 40 << Edges(86, 4, 212, 20);
        QTest::newRow("empty caption, no gap")
            << pane << 0 << 4 << true << 40 << Edges(0, 4, 160, 20);
        QTest::newRow("caption wider than pane")
            << pane << 450 << 4 << false << 40 << Edges(466, 4, 466, 20);
        QTest::newRow("100 % reaches pane edge")
            << pane << 70 << 4 << false << 100 << Edges(86, 4, 400, 20);
        QTest::newRow("0 % zero width") << pane << 70 << 4 << false << 0 << Edges(86, 4, 86, 20);
        QTest::newRow("19-pixel pane inset 1")
            << Edges(0, 2, 400, 21) << 70 << 4 << false << 40 << Edges(86, 3, 212, 20);
        // 50 % of 201 pixels keeps 101: the cut is truncated, the width rounded up.
        QTest::newRow("pane off the left, odd width")
            << Edges(100, 2, 301, 22) << 0 << 4 << true << 50 << Edges(100, 4, 201, 20);
        QTest::newRow("no pane rectangle")
            << QRect() << 70 << 4 << false << 40 << Edges(86, 0, 86, 0);
        QTest::newRow("absurd sizes do not overflow")
            << pane << INT_MAX << INT_MAX << false << INT_MIN << Edges(INT_MAX, 4, INT_MAX, 20);
    }
    void layout() {
        QFETCH(QRect, pane);
        QFETCH(int, captionWidth);
        QFETCH(int, spaceWidth);
        QFETCH(bool, captionEmpty);
        QFETCH(int, percent);
        QFETCH(QRect, expected);
        QCOMPARE(ProgressControlRect(pane, captionWidth, spaceWidth, captionEmpty, percent),
                 expected);
    }

    void createPlacesCaptionAndControl() {
        TestWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        platform::CStatusBar* const statusBar = window.bar();

        CProgressBar bar;
        QVERIFY(bar.Create(kCaption, 40, 2000, false, 0));
        QCOMPARE(statusBar->GetPaneText(0), kCaption);

        const QProgressBar* const control = ControlIn(statusBar);
        QVERIFY(control);
        QCOMPARE(control->parentWidget(), statusBar);
        QVERIFY(!control->isTextVisible());
        QVERIFY(bar.IsVisible());
        QCOMPARE(bar.GetGeometry(), control->geometry());

        // Right of the caption and its four-space gap, 40 % of the rest, inside the pane.
        const QRect pane = statusBar->GetItemRect(0);
        const QFontMetrics metrics(statusBar->font());
        const QRect placed = bar.GetGeometry();
        QCOMPARE(placed, ExpectedRect(statusBar, kCaption));
        QCOMPARE(placed.left(), pane.left() + metrics.horizontalAdvance(kCaption) +
                                    4 * metrics.horizontalAdvance(QStringLiteral(" ")));
        QVERIFY(placed.width() > 0);
        QVERIFY(pane.contains(placed));

        QCOMPARE(bar.GetLower(), 0);
        QCOMPARE(bar.GetUpper(), 2000);
        QCOMPARE(bar.GetStep(), 20);
        QCOMPARE(bar.GetPos(), 0);
        QCOMPARE(bar.GetMessage(), kCaption);

        // Placed once: a second Create leaves the one control where it is.
        QVERIFY(!bar.Create(QStringLiteral("Ripping ... "), 40, 2000, false, 0));
        QCOMPARE(statusBar->findChildren<QProgressBar*>().size(), 1);
        QCOMPARE(statusBar->GetPaneText(0), kCaption);
    }

    void stepping_data() {
        QTest::addColumn<bool>("ownRange");
        QTest::addColumn<int>("lower");
        QTest::addColumn<int>("upper");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("position");
        QTest::newRow("one step is 1 %") << false << 0 << 0 << 0 << 1 << 20;
        QTest::newRow("100 steps fill") << false << 0 << 0 << 0 << 100 << 2000;
        QTest::newRow("101st starts over") << false << 0 << 0 << 0 << 101 << 0;
        QTest::newRow("and goes on") << false << 0 << 0 << 0 << 102 << 20;
        QTest::newRow("step not dividing the range") << true << 0 << 50 << 20 << 2 << 40;
        QTest::newRow("past a ragged end") << true << 0 << 50 << 20 << 3 << 0;
        QTest::newRow("negative lower bound, full") << true << -100 << 100 << 50 << 2 << 100;
        QTest::newRow("negative lower bound, over") << true << -100 << 100 << 50 << 3 << -100;
        QTest::newRow("new range above position") << true << 10 << 50 << 20 << 0 << 10;
        QTest::newRow("starts over at lower bound") << true << 10 << 50 << 20 << 3 << 10;
        QTest::newRow("step past INT_MAX") << true << 0 << INT_MAX << INT_MAX << 2 << 0;
    }
    void stepping() {
        QFETCH(bool, ownRange);
        QFETCH(int, lower);
        QFETCH(int, upper);
        QFETCH(int, step);
        QFETCH(int, steps);
        QFETCH(int, position);
        TestWindow window;
        window.show();
        CProgressBar bar;
        QVERIFY(bar.Create(kCaption, 40, 2000, false, 0));
        if (ownRange)
            QVERIFY(bar.SetRange(lower, upper, step));
        for (int i = 0; i < steps; ++i)
            bar.StepIt();
        QCOMPARE(bar.GetPos(), position);
        QCOMPARE(ControlIn(window.bar())->value(), position);
    }

    void steppingShowsHiddenControlInPlace() {
        TestWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CProgressBar bar;
        QVERIFY(bar.Create(kCaption, 40, 2000, false, 0));
        const QRect placed = bar.GetGeometry();
        EventCounter counter(ControlIn(window.bar()));

        bar.RestorePane();
        QVERIFY(!bar.IsVisible());
        QCOMPARE(window.bar()->GetPaneText(0), QStringLiteral("Ready"));
        bar.StepIt();
        QVERIFY(bar.IsVisible());
        QCOMPARE(bar.GetPos(), 20);

        bar.RestorePane();
        bar.SetStep(40);
        QVERIFY(bar.IsVisible());
        QCOMPARE(bar.GetStep(), 40);
        QCOMPARE(bar.GetGeometry(), placed);
        QCOMPARE(counter.moves, 0);
    }

    void captionOfSameWidthDoesNotMove() {
        TestWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        platform::CStatusBar* const statusBar = window.bar();
        const QFontMetrics metrics(statusBar->font());
        const QString seven = QStringLiteral("Encoding... 7%");
        const QString eight = QStringLiteral("Encoding... 8%");
        const QString wider = QStringLiteral("Encoding...100%");
        QCOMPARE(metrics.horizontalAdvance(seven), metrics.horizontalAdvance(eight));
        QVERIFY(metrics.horizontalAdvance(wider) > metrics.horizontalAdvance(seven));

        CProgressBar bar;
        QVERIFY(bar.Create(kCaption, 40, 2000, false, 0));
        QVERIFY(bar.SetMessage(seven));
        const QRect placed = bar.GetGeometry();
        EventCounter counter(ControlIn(statusBar));

        QVERIFY(bar.SetMessage(eight));
        QCOMPARE(statusBar->GetPaneText(0), eight);
        QCOMPARE(bar.GetGeometry(), placed);
        QCOMPARE(counter.moves, 0);

        QVERIFY(bar.SetMessage(wider));
        QCOMPARE(statusBar->GetPaneText(0), wider);
        QCOMPARE(bar.GetGeometry(), ExpectedRect(statusBar, wider));
        QCOMPARE(bar.GetGeometry().left() - placed.left(),
                 metrics.horizontalAdvance(wider) - metrics.horizontalAdvance(seven));
        QVERIFY(counter.moves > 0);
    }

    void destructionRestoresPane_data() {
        QTest::addColumn<int>("pane");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("pane 0 idle") << 0 << "Ready"
                                     << "Ready";
        QTest::newRow("pane 0 showing a hint") << 0 << "Open an existing document"
                                               << "Ready";
        QTest::newRow("pane 0 blank") << 0 << ""
                                      << "Ready";
        QTest::newRow("other pane gets its text") << 2 << "NUM"
                                                  << "NUM";
        QTest::newRow("other pane blank") << 1 << ""
                                          << "";
    }
    void destructionRestoresPane() {
        QFETCH(int, pane);
        QFETCH(QString, before);
        QFETCH(QString, after);
        TestWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        platform::CStatusBar* const statusBar = window.bar();
        statusBar->SetPaneText(pane, before);
        {
            CProgressBar bar;
            QVERIFY(bar.Create(kCaption, 40, 2000, false, pane));
            QCOMPARE(statusBar->GetPaneText(pane), kCaption);
            QCOMPARE(bar.GetGeometry(), ExpectedRect(statusBar, kCaption, pane));
            bar.StepIt();
            QTest::qWait(20); // let it paint a few times while it is up
        }
        QCOMPARE(statusBar->GetPaneText(pane), after);
        QVERIFY(statusBar->findChildren<QProgressBar*>().isEmpty());
        QTest::qWait(20);
        QCOMPARE(statusBar->GetPaneText(pane), after);
    }

    void hiddenStatusBar_data() {
        QTest::addColumn<bool>("windowShown");
        QTest::newRow("status bar hidden") << true;
        QTest::newRow("window not shown yet") << false;
    }
    void hiddenStatusBar() {
        QFETCH(bool, windowShown);
        TestWindow window;
        platform::CStatusBar* const statusBar = window.bar();
        if (windowShown) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            statusBar->hide();
        }
        statusBar->SetPaneText(0, QStringLiteral("Before"));

        CProgressBar bar;
        QVERIFY(bar.Create(kCaption, 40, 2000, false, 0));
        QVERIFY(bar.HasWindow());
        QVERIFY(!bar.IsVisible());
        QCOMPARE(statusBar->GetPaneText(0), QStringLiteral("Before"));
        QCOMPARE(bar.GetGeometry(), ExpectedRect(statusBar, kCaption));
        bar.StepIt();
        QVERIFY(bar.SetMessage(QStringLiteral("Encoding... 1%")));
        QCOMPARE(statusBar->GetPaneText(0), QStringLiteral("Before"));

        // Once it is on screen, the next layout writes the caption.
        if (windowShown)
            statusBar->show();
        else
            window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(bar.IsVisible());
        QVERIFY(bar.SetMessage(QStringLiteral("Encoding... 2%")));
        QCOMPARE(statusBar->GetPaneText(0), QStringLiteral("Encoding... 2%"));
        QCOMPARE(bar.GetGeometry(), ExpectedRect(statusBar, QStringLiteral("Encoding... 2%")));
    }

    void resizedWindowMovesControl() {
        TestWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        platform::CStatusBar* const statusBar = window.bar();
        CProgressBar bar;
        QVERIFY(bar.Create(kCaption, 40, 2000, false, 0));
        const QRect before = bar.GetGeometry();

        window.resize(900, 480);
        QTRY_VERIFY(statusBar->GetItemRect(0).width() > 0 &&
                    ExpectedRect(statusBar, kCaption) != before);
        // Nothing but the control's own paint lays it out again.
        QTRY_COMPARE(bar.GetGeometry(), ExpectedRect(statusBar, kCaption));
        QVERIFY(bar.GetGeometry().width() > before.width());

        window.resize(500, 480);
        QTRY_COMPARE(bar.GetGeometry(), ExpectedRect(statusBar, kCaption));
        QVERIFY(bar.GetGeometry().width() < before.width());
        QCOMPARE(statusBar->GetPaneText(0), kCaption);
    }

    void settledBarDoesNotRepaint() {
        TestWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CProgressBar bar;
        QVERIFY(bar.Create(kCaption, 40, 2000, false, 0));
        bar.StepIt();
        QTest::qWait(50);
        QProgressBar* const control = ControlIn(window.bar());
        EventCounter counter(control);

        // A paint that finds the layout as it was moves nothing and asks for no more paints.
        QTest::qWait(100);
        QCOMPARE(counter.paints, 0);
        control->repaint();
        QTest::qWait(100);
        QCOMPARE(counter.paints, 1);
        QCOMPARE(counter.moves, 0);
    }

    void anyMainWindowWithStatusBarServes() {
        // Not a frame: the status bar is found among all descendants.
        QWidget mainWindow;
        auto* const box = new QVBoxLayout(&mainWindow);
        auto* const inner = new QWidget(&mainWindow);
        box->addWidget(inner);
        auto* const statusBar = new platform::CStatusBar(inner);
        statusBar->SetIndicators({{0, {}}});
        statusBar->SetPaneText(0, QStringLiteral("Ready"));
        (new QVBoxLayout(inner))->addWidget(statusBar);
        mainWindow.resize(400, 200);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        platform::SetMainWindow(&mainWindow);

        QCOMPARE(CProgressBar::FindStatusBar(), statusBar);
        {
            CProgressBar bar;
            QVERIFY(bar.Create(QStringLiteral("Ripping ... "), 40, 2000, false, 0));
            QCOMPARE(statusBar->GetPaneText(0), QStringLiteral("Ripping ... "));
            QCOMPARE(bar.GetGeometry(), ExpectedRect(statusBar, QStringLiteral("Ripping ... ")));
        }
        QCOMPARE(statusBar->GetPaneText(0), QStringLiteral("Ready"));
        platform::SetMainWindow(nullptr);
    }

    void withoutStatusBarNothingHappens_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("no main window") << 0;
        QTest::newRow("frame without status bar") << 1;
        QTest::newRow("identifier on another status bar class") << 2;
        QTest::newRow("identifier on a widget that is no status bar") << 3;
    }
    void withoutStatusBarNothingHappens() {
        QFETCH(int, kind);
        QMainWindow frame;
        if (kind == 2) {
            auto* const plain = new QStatusBar(&frame);
            platform::SetControlId(plain, platform::kStatusBarId);
            frame.setStatusBar(plain);
        } else if (kind == 3) {
            platform::SetControlId(new QWidget(&frame), platform::kStatusBarId);
        }
        if (kind != 0) {
            frame.show();
            platform::SetMainWindow(&frame);
        }
        const auto statusBarsBefore = frame.findChildren<QStatusBar*>().size();
        {
            CProgressBar bar;
            QCOMPARE(CProgressBar::FindStatusBar(), nullptr);
            QVERIFY(!bar.Create(kCaption, 40, 2000, false, 0));
            QVERIFY(!bar.HasWindow());
            QVERIFY(!bar.SetRange(0, 100, 1));
            bar.SetStep(5);
            bar.StepIt();
            QVERIFY(!bar.SetMessage(QStringLiteral("Encoding... 5%")));
            QCOMPARE(bar.GetMessage(), QStringLiteral("Encoding... 5%"));
            QVERIFY(!bar.UpdateLayout());
            bar.RestorePane();
            QCOMPARE(bar.GetPos(), 0);
            QVERIFY(!bar.IsVisible());
        }
        // Looking for the status bar never makes the frame grow one.
        QCOMPARE(frame.findChildren<QStatusBar*>().size(), statusBarsBefore);
        QVERIFY(frame.findChildren<QProgressBar*>().isEmpty());
        platform::SetMainWindow(nullptr);
    }

    void statusBarGoneBeforeTheBar_data() {
        QTest::addColumn<bool>("deleteWindow");
        QTest::newRow("main window destroyed") << true;
        QTest::newRow("main window no longer registered") << false;
    }
    void statusBarGoneBeforeTheBar() {
        QFETCH(bool, deleteWindow);
        auto window = std::make_unique<TestWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        platform::CStatusBar* const statusBar = window->bar();
        {
            CProgressBar bar;
            QVERIFY(bar.Create(kCaption, 40, 2000, false, 0));
            if (deleteWindow) {
                window.reset();
                QVERIFY(!bar.HasWindow());
                bar.StepIt();
                QVERIFY(!bar.SetMessage(QStringLiteral("Encoding... 9%")));
                QVERIFY(!bar.UpdateLayout());
            } else {
                platform::SetMainWindow(nullptr);
                bar.StepIt();
                QCOMPARE(bar.GetPos(), 20);
                QVERIFY(!bar.SetMessage(QStringLiteral("Encoding... 9%")));
            }
        }
        if (!deleteWindow) {
            // The control is still taken away; the pane keeps what it showed.
            QVERIFY(statusBar->findChildren<QProgressBar*>().isEmpty());
            QCOMPARE(statusBar->GetPaneText(0), kCaption);
        }
    }
};

VERBENO_TEST_MAIN(ProgressTest)
#include "test_progress.moc"

// The platform layer: filter translation, dialog units, templates with radio groups, the pane
// status bar, the job guard, and the watchdog that keeps a stray modal box from hanging a test.

#include "ModalDialogDriver.h"
#include "TestMain.h"

#include "platform/ui/ControlId.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/JobGuard.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/StatusBar.h"

#include <QCheckBox>
#include <QMainWindow>
#include <QRadioButton>

using namespace platform;

class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void filterTranslation_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("wav") << "Wav Files(*.wav)|*.wav|All Files(*.*)|*.*||"
                             << QStringList{"Wav Files (*.wav)", "All Files (*)"};
        QTest::newRow("mp3") << "MP3 Files(*.mp3)|*.mp3|All Files(*.*)|*.*||"
                             << QStringList{"MP3 Files (*.mp3)", "All Files (*)"};
        QTest::newRow("several patterns")
            << "Audio|*.wav;*.mp3||" << QStringList{"Audio (*.wav *.mp3)"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void filterTranslation() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(TranslateFileFilter(filter), expected);
    }

    void dialogUnitsScaleByBaseUnits() {
        const QFont font("Sans", 8);
        const QSize base = DialogBaseUnits(font);
        QVERIFY(base.width() > 0 && base.height() > 0);
        const QRect px = DialogUnitsToPixels(font, QRect(4, 8, 40, 16));
        QCOMPARE(px, QRect(base.width(), base.height(), 10 * base.width(), 2 * base.height()));
    }

    void templateBuildsControlsInOrderWithGroups() {
        static const DialogTemplate tmpl{
            7,
            "Caption",
            {100, 60},
            "MS Sans Serif",
            8,
            {{1, ControlKind::DefaultPushButton, "OK", {5, 40, 30, 14}, true, false},
             {10, ControlKind::CheckBox, "Tick", {5, 5, 30, 10}, true, false},
             {-1, ControlKind::StaticText, "Label", {5, 15, 30, 8}, false, true},
             {20, ControlKind::RadioButton, "a", {5, 20, 20, 10}, false, true},
             {25, ControlKind::RadioButton, "b", {30, 20, 20, 10}, false, false},
             {-1, ControlKind::StaticText, "Label 2", {5, 30, 30, 8}, false, true},
             {30, ControlKind::RadioButton, "c", {5, 35, 20, 10}, false, true},
             {31, ControlKind::RadioButton, "d", {30, 35, 20, 10}, false, false}}};
        QWidget dialog;
        BuildDialogControls(dialog, tmpl);
        QCOMPARE(dialog.windowTitle(), QString("Caption"));
        QCOMPARE(RadioGroupIndex(dialog, 20), -1);
        QCOMPARE(RadioGroupIndex(dialog, 30), -1);
        SetRadioGroupIndex(dialog, 20, 1);
        QVERIFY(FindControl<QRadioButton>(&dialog, 25)->isChecked());
        QCOMPARE(RadioGroupIndex(dialog, 30), -1); // groups are independent
        FindControl<QRadioButton>(&dialog, 20)->click();
        QCOMPARE(RadioGroupIndex(dialog, 20), 0);
        QVERIFY(!FindControl<QRadioButton>(&dialog, 25)->isChecked());
        SetRadioGroupIndex(dialog, 20, -1);
        QCOMPARE(RadioGroupIndex(dialog, 20), -1);
        QCOMPARE(FindControl<QCheckBox>(&dialog, 10)->focusPolicy(), Qt::StrongFocus);
        QCOMPARE(FindControl<QRadioButton>(&dialog, 20)->focusPolicy(), Qt::ClickFocus);
    }

    void statusBarPanes() {
        QMainWindow window;
        auto* bar = new CStatusBar(&window);
        window.setStatusBar(bar);
        bar->SetIndicators({{0, {}}, {59137, "CAP"}, {59138, "NUM"}});
        window.resize(500, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(bar->PaneCount(), 3);
        QVERIFY(bar->SetPaneText(0, "Ready"));
        QCOMPARE(bar->GetPaneText(0), QString("Ready"));
        QVERIFY(!bar->SetPaneText(3, "x"));
        const QRect message = bar->GetItemRect(0);
        const QRect caps = bar->GetItemRect(1);
        QVERIFY(message.width() > caps.width()); // the message pane stretches
        QVERIFY(message.right() < caps.left());
        QCOMPARE(bar->GetItemRect(7), QRect());
        QCOMPARE(ControlId(bar), kStatusBarId);
    }

    void jobGuardHoldsRequestsUntilTheLastJobEnds() {
        int ran = 0;
        JobGuard::RunWhenIdle([&] { ++ran; });
        QCOMPARE(ran, 1);
        {
            JobGuard outer;
            {
                JobGuard inner;
                QVERIFY(JobGuard::Busy());
                JobGuard::RunWhenIdle([&] { ++ran; });
            }
            QCoreApplication::processEvents();
            QCOMPARE(ran, 1);
        }
        QVERIFY(!JobGuard::Busy());
        QTRY_COMPARE(ran, 2);
    }

    void watchdogClosesAnUnexpectedBox() {
        testing_support::ModalDialogDriver driver;
        ShowMessageBox("nobody expects this"); // returns because the watchdog closes it
        QCOMPARE(driver.unexpected, QStringList{"Verbeno"});
    }
};

VERBENO_TEST_MAIN(PlatformTest)
#include "test_platform.moc"

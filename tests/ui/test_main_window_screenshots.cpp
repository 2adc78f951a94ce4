// The main window as a user sees it on a real X server: every tab, filled
// from each probe family, is drawn and shows every text whole without one
// control covering another; so are the dialogs of the maintenance tab. The
// pictures go to $MERIDAL_SCREENSHOT_DIR when it is set.
#include "Connected.h"
#include "DialogScript.h"
#include "LifeListRig.h"
#include "ModalDialogDriver.h"
#include "WindowChecks.h"

#include "ui/TDebugConsole.h"
#include "ui/TFormDirectCommand.h"
#include "ui/TFormLoopTest.h"
#include "ui/TFrameTrace.h"
#include "ui/TFormMultidropLifeList.h"
#include "ui/TFormProtokoll.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

Q_DECLARE_METATYPE(TSimDeviceState)

class TestMainWindowScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TMeridalProgram::SetUpApplication();
    }

    void everyTabOfEveryFamily_data()
    {
        QTest::addColumn<TSimDeviceState>("probe");
        QTest::newRow("tivern") << TSimDeviceState::Tivern();
        QTest::newRow("calderos") << TSimDeviceState::Calderos();
        // Firmware 2: the Diagnostics tab is disabled and says why.
        QTest::newRow("tivern_fw2") << TSimDeviceState::Tivern(5, 2);
    }

    void everyTabOfEveryFamily()
    {
        QFETCH(TSimDeviceState, probe);
        ProgramRig rig;
        rig.Bus().AddDevice(probe);
        rig.Store("Settings", "COM", "3");
        rig.Start();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.Main()));
        QVERIFY(rig.WaitUntilIdentified());
        VerifyFixedSize(&rig.Main());
        VerifyCaptionAsShown(&rig.Main());
        for (int page = 0; page < rig.C().PageControl->count(); ++page) {
            rig.C().PageControl->setCurrentIndex(page);
            QVERIFY(rig.WaitUntilIdle());
            VerifyGrabbed(&rig.Main(), QStringLiteral("main_%1_tab%2").arg(QTest::currentDataTag()).arg(page));
            VerifyNoClippedText(&rig.Main());
            VerifyNoOverlappingControls(&rig.Main());
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("tab %1").arg(page)));
        }
    }

    // While a save runs its step is named and nothing can be started.
    void saveInProgress()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        TFormMainControls& c = probe.rig.C();
        probe.Type(c.EditTag, QStringLiteral("LT-101"));
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::Delay).OnCommand(18).WithValue(1500));
        probe.Click(c.ButtonSave);
        QTRY_COMPARE(c.StatusPanel1->text(), QString("Write Tag, Discriptor, Date"));
        QVERIFY(!c.ButtonSave->isEnabled() && !c.ButtonRefresh->isEnabled() && !c.EditTag->isEnabled());
        VerifyGrabbed(&probe.rig.Main(), QStringLiteral("main_save_in_progress"));
        QVERIFY(probe.rig.WaitUntilIdle());
    }

    // A write-protected probe refused the save: the log below the window
    // says so, and the tab shows the device's values again.
    void writeProtectReread()
    {
        TSimDeviceState state = TSimDeviceState::Tivern();
        state.WriteProtected = true;
        Connected probe(state);
        TFormMainControls& c = probe.rig.C();
        probe.Type(c.EditTag, QStringLiteral("LT-101"));
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        TFormProtokoll& log = probe.rig.Program().FormProtokoll();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        QCOMPARE(c.EditTag->text(), QString("TIVERN  "));
        VerifyGrabbed(&probe.rig.Main(), QStringLiteral("main_write_protect_reread"));
        VerifyGrabbed(&log, QStringLiteral("protokoll_write_protect_reread"));
        VerifyNoClippedText(&log);
    }

    // The loop test dialog with the current the probe reports, and the D/A
    // trim's first input box.
    void maintenanceDialogs()
    {
        ProgramRig rig;
        QVERIFY(rig.StartWith(TSimDeviceState::Tivern()));
        rig.C().PageControl->setCurrentIndex(3);
        QVERIFY(rig.WaitUntilIdle());
        TFormLoopTest& loopTest = rig.Program().FormLoopTest();
        {
            DialogScript question({ Answer(QMessageBox::Yes) });
            rig.C().ButtonLoopTest->click();
        }
        QVERIFY(QTest::qWaitForWindowExposed(&loopTest));
        loopTest.findChild<QPushButton*>(QStringLiteral("ButtonStart"))->click();
        QVERIFY(rig.WaitUntilIdle());
        VerifyFixedSize(&loopTest);
        VerifyCaptionAsShown(&loopTest);
        VerifyGrabbed(&loopTest, QStringLiteral("loop_test"));
        VerifyNoClippedText(&loopTest);
        VerifyNoOverlappingControls(&loopTest);
        loopTest.findChild<QPushButton*>(QStringLiteral("ButtonClose"))->click();
        QVERIFY(rig.WaitUntilIdle());

        DialogScript trim({ Answer(QMessageBox::Yes), Answer(QMessageBox::Yes), [](QWidget* input) {
            QVERIFY(QTest::qWaitForWindowExposed(input));
            VerifyCaptionAsShown(input);
            VerifyGrabbed(input, QStringLiteral("da_trim_input"));
            VerifyNoClippedText(input);
            VerifyNoOverlappingControls(input);
            ClickButton(input, QStringLiteral("Cancel"));
        } });
        rig.C().ButtonDATrim->click();
        QTRY_COMPARE(trim.Done(), 3);
        QVERIFY(rig.WaitUntilIdle());
        QCOMPARE(trim.Texts.last(), QString("Enter reference meter value (4mA):"));
    }

    // The direct command window after an answer, and the trace console that
    // shows the frames of the session.
    void directCommandAndTrace()
    {
        ProgramRig rig("[KORVAL]\ndomain=dev\n");
        QVERIFY(rig.StartWith(TSimDeviceState::Tivern()));
        rig.C().MenuFrameTrace->trigger();
        TFormDirectCommand& window = rig.Program().FormDirectCommand();
        ModalDialogDriver driver([&](QWidget*) {
            window.findChild<QLineEdit*>(QStringLiteral("EditCommand"))->setText(QStringLiteral("33"));
            window.findChild<QPlainTextEdit*>(QStringLiteral("MemoData"))->setPlainText(QStringLiteral("00 02 "));
            window.findChild<QPushButton*>(QStringLiteral("ButtonSend"))->click();
            QVERIFY(rig.WaitUntilIdle());
            QVERIFY(!window.findChild<QPlainTextEdit*>(QStringLiteral("MemoAnswerData"))->toPlainText().isEmpty());
            VerifyFixedSize(&window);
            VerifyCaptionAsShown(&window);
            VerifyGrabbed(&window, QStringLiteral("direct_command_answer"));
            VerifyNoClippedText(&window);
            VerifyNoOverlappingControls(&window);
            window.reject();
        });
        rig.C().ButtonDirectCMD->click();
        QVERIFY(driver.Acted());

        QWidget* console = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->windowTitle() == QLatin1String("HART Frame Trace"))
                console = w;
        }
        QVERIFY(console && QTest::qWaitForWindowExposed(console));
        QVERIFY(rig.Main().FrameTrace().Console().Text().contains(QLatin1String("command________: 0x21")));
        VerifyCaptionAsShown(console);
        VerifyGrabbed(console, QStringLiteral("trace_console"));
    }

    // The life list while it scans (the address worked on is marked), and
    // finished, with the status hint of a probe that reports some.
    void lifeList()
    {
        LifeListRig list;
        TSimDeviceState failing = LifeListRig::At(TSimDeviceState::Tivern(), 4, 0x000104);
        failing.ConfigurationChanged = true;
        failing.Malfunction = true;
        for (const TSimDeviceState& device : { LifeListRig::At(TSimDeviceState::Tivern(), 0, 0x000100),
                                               LifeListRig::At(TSimDeviceState::Calderos(), 1, 0x000101),
                                               LifeListRig::At(TSimDeviceState::Tivern(7), 3, 0x000103), failing })
            list.Bus().AddDevice(device);
        QVERIFY(list.AtStart([&] {
            TFormMultidropLifeList& window = list.LifeList();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QVERIFY(list.WaitUntilWorkingOn(3));
            VerifyFixedSize(&window);
            VerifyCaptionAsShown(&window);
            VerifyGrabbed(&window, QStringLiteral("life_list_scanning"));
            VerifyNoClippedText(&window);
            VerifyNoOverlappingControls(&window);

            QVERIFY(list.WaitUntilIdle());
            QCOMPARE(list.HintAt(4, LifeListRig::Status), (QStringList { "Device Status", "Configuration Changed\nDevice Malfunction" }));
            QVERIFY(QTest::qWaitForWindowExposed(list.Balloon()));
            VerifyNoClippedText(list.Balloon());
            VerifyScreenGrabbed(window.frameGeometry().united(list.Balloon()->geometry()).adjusted(-8, -8, 8, 8),
                                QStringLiteral("life_list_balloon"));
        }));
    }
};

QTEST_MAIN(TestMainWindowScreenshots)
#include "test_main_window_screenshots.moc"

// The main window end to end: start-up, connection, status display and
// shutdown, driven like a user against the simulated devices.
#include "DialogScript.h"
#include "ModalDialogDriver.h"
#include "ProgramRig.h"
#include "WindowChecks.h"

#include "link/TComPortNames.h"
#include "link/TSerialPort.h"
#include "ui/TFormDeviceStatus.h"
#include "ui/TFormMultidropLifeList.h"
#include "ui/TFormProtokoll.h"
#include "ui/TTaskDialog.h"
#include "worker/TThreadMeridal.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QtTest>

namespace {

const QString PortInUse = QStringLiteral("COM port is already open.\n\nBe sure that the port is available and press Device > Rescan.");

QColor IndicatorColor(ProgramRig& rig)
{
    return rig.C().LMDPanelStatusIndicator->palette().color(QPalette::Window);
}

bool Checked(ProgramRig& rig, const char* name)
{
    return rig.Program().FormDeviceStatus().findChild<QCheckBox*>(QString::fromLatin1(name))->isChecked();
}

// Runs the program's event loop, as main() does, until the program ends: its
// exit code, or -1 when it still runs after 30 s.
int RunUntilTheProgramEnds()
{
    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    QObject::connect(&stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    stillRunning.start(30000);
    return QApplication::exec();
}

} // namespace

class TestFormMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TMeridalProgram::SetUpApplication();
    }

    void firstStartWithoutSettingsAsksForThePort()
    {
        ProgramRig rig;
        rig.Bus().AddDevice(TSimDeviceState::Tivern());
        DialogScript dialogs({ Press(QStringLiteral("Cancel")), Press(QStringLiteral("OK")) });
        rig.Start();
        QCOMPARE(RunUntilTheProgramEnds(), 0);
        QCOMPARE(dialogs.Done(), 2);
        QCOMPARE(dialogs.Texts, QStringList { "No COM port was selected.\n\nProgram will be terminated." });
        QCOMPARE(dialogs.Titles, QStringList { "KORVAL Meridal" });
        QVERIFY(!DeviceThread);
        QCOMPARE(rig.Stored("Settings", "COM"), QString("<none>"));
        // The windows were never placed: nothing of them is stored.
        for (const char* position : { "FormMain.Top", "FormMain.Left", "FormDeviceStatus.Top", "FormDeviceStatus.Shown" })
            QCOMPARE(rig.Stored("Forms", position), QString("<none>"));
    }

    void exitEndsTheProgramWhateverWindowIsOpen()
    {
        ProgramRig rig;
        QVERIFY(rig.StartWith(TSimDeviceState::Tivern()));
        rig.Program().FormDeviceStatus().show();
        QTimer::singleShot(0, rig.C().MenuExit, &QAction::trigger);
        QCOMPARE(RunUntilTheProgramEnds(), 0);
        QVERIFY(!DeviceThread);
        QVERIFY(!rig.Program().FormDeviceStatus().isVisible());
        QCOMPARE(rig.Stored("Forms", "FormDeviceStatus.Shown"), QString("1"));
    }

    void closingWhileTheDeviceThreadAsksCancelsTheQuestion()
    {
        ProgramRig rig;                                      // nobody at address 0: the search asks what to do
        rig.Store("Settings", "COM", "3");
        DialogScript dialogs({ [&rig](QWidget*) { rig.Main().close(); } });
        rig.Start();
        QTRY_VERIFY_WITH_TIMEOUT(dialogs.Done() == 1, 30000);
        QVERIFY(!DeviceThread);
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }

    // A popup already open when a job starts (a timer's) must not start another.
    void menuItemsStartNothingDuringAJob()
    {
        ProgramRig rig;
        QVERIFY(rig.StartWith(TSimDeviceState::Tivern()));
        TFormMainControls& c = rig.C();
        const int searches = rig.Bus().RequestCount(0);
        rig.Bus().AddFault(TSimFault(TSimFault::TKind::Delay).OnCommand(15).WithValue(400));
        c.PageControl->setCurrentIndex(1);                  // reads the Analog Output tab
        QVERIFY(!DeviceThread->Suspended());

        c.MenuDevice->popup(rig.Main().mapToGlobal(QPoint(20, 20)));
        QVERIFY(QTest::qWaitForWindowExposed(c.MenuDevice));
        QTest::mouseClick(c.MenuDevice, Qt::LeftButton, {}, c.MenuDevice->actionGeometry(c.MenuRescan).center());
        c.MenuDevice->close();
        DialogScript chooser({ Press(QStringLiteral("Cancel")) });
        rig.Main().MenuPortSelectionClick();
        QVERIFY(rig.WaitUntilIdle());

        QCOMPARE(chooser.Done(), 0);
        QCOMPARE(c.PageControl->currentIndex(), 1);
        QCOMPARE(c.EditTag->text(), QString("TIVERN  "));
        QCOMPARE(rig.Bus().RequestCount(0), searches);
    }

    // Typing goes on where it was after a job the user did not start.
    void focusReturnsAfterAJob()
    {
        ProgramRig rig;
        QVERIFY(rig.StartWith(TSimDeviceState::Tivern()));
        TFormMainControls& c = rig.C();
        QApplication::setActiveWindow(&rig.Main());
        QVERIFY(QTest::qWaitForWindowActive(&rig.Main()));
        c.PageControl->setCurrentIndex(1);
        QVERIFY(rig.WaitUntilIdle());
        QTest::mouseClick(c.EditPVUpperRangeValue, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), c.EditPVUpperRangeValue);

        const int reads = rig.Bus().RequestCount(1);
        c.MenuSettingsAutoRefreshSec5->trigger();
        c.TimerRefresh->setInterval(50);                     // the period itself is the menu's
        QTRY_VERIFY(rig.Bus().RequestCount(1) > reads);
        c.MenuSettingsAutoRefreshDisabled->trigger();
        QVERIFY(rig.WaitUntilIdle());

        QCOMPARE(QApplication::focusWidget(), c.EditPVUpperRangeValue);
        c.EditPVUpperRangeValue->end(false);
        QTest::keyClick(rig.Main().windowHandle(), Qt::Key_7);
        QVERIFY(c.EditPVUpperRangeValue->text().endsWith(QLatin1Char('7')));
    }

    void lostPortIsReportedAndRescanOpensItAgain()
    {
        ProgramRig rig;
        QVERIFY(rig.StartWith(TSimDeviceState::Tivern()));
        TFormMainControls& c = rig.C();
        rig.Bus().Unplug();
        DialogScript dialogs({ Press(QStringLiteral("OK")) });
        c.ButtonRefresh->click();
        QTRY_COMPARE(dialogs.Done(), 1);
        QCOMPARE(dialogs.Texts, QStringList { TComPortNames::DisplayName(3) + " was lost.\n\nReconnect the HART modem, then press "
                                              "Device > Rescan or choose the port again under Device > COM Port." });
        QVERIFY(rig.WaitUntilIdle());
        QCOMPARE(c.EditTag->text(), QString());

        rig.Bus().PlugIn();
        c.MenuRescan->trigger();
        QVERIFY(rig.WaitUntilIdle());
        QCOMPARE(c.EditTag->text(), QString("TIVERN  "));
        QCOMPARE(c.StatusPanel1->text(), QString("Success"));
    }

    void noPortAtAllEndsTheProgram()
    {
        ProgramRig rig;
        rig.PresentPorts = {};
        DialogScript dialogs({ Press(QStringLiteral("OK")) });
        rig.Start();
        QTRY_COMPARE(dialogs.Done(), 1);
        QCOMPARE(dialogs.Texts, QStringList { "No COM port was found.\n\nProgram will be terminated." });
        QVERIFY(rig.Main().Terminating());
    }

    void chosenPortFindsTheProbe()
    {
        ProgramRig rig;
        rig.Bus().AddDevice(TSimDeviceState::Tivern());
        DialogScript dialogs({ Press(QStringLiteral("OK")) });
        rig.Start();
        QVERIFY(rig.WaitUntilIdentified());
        TFormMainControls& c = rig.C();
        QCOMPARE(c.EditManufacturerID->text(), QString("227 (0xE3)"));
        QCOMPARE(c.EditManufacturerID->toolTip(), QString("KORVAL GmbH"));
        QCOMPARE(c.EditDeviceCode->text(), QString("128 (0x80)"));
        QCOMPARE(c.EditDeviceCode->toolTip(), QString("TIVERN"));
        QCOMPARE(c.EditDeviceID->text(), QString::number(0x0A0B0C));
        QCOMPARE(c.EditUniversalCmdRev->text(), QString("5"));
        QCOMPARE(c.EditFirmwareRev->text(), QString("3"));
        QCOMPARE(c.EditTag->text(), QString("TIVERN  "));
        QVERIFY(c.PageControl->isEnabled());
        QVERIFY(c.ButtonRefresh->isEnabled());
        QVERIFY(!c.ButtonSave->isEnabled());
        QCOMPARE(c.StatusPanel1->text(), QString("Success"));
        QCOMPARE(IndicatorColor(rig), QColor(0, 128, 0));
        QCOMPARE(rig.Main().windowTitle(), QStringLiteral("KORVAL Meridal V" MERIDAL_VERSION));
        // The port is stored once a device answered on it.
        QCOMPARE(rig.Stored("Settings", "COM"), QString("3"));
    }

    void storedPortConnectsWithoutAsking()
    {
        ProgramRig rig;
        rig.Bus().AddDevice(TSimDeviceState::Calderos());
        rig.Store("Settings", "COM", "3");
        DialogScript dialogs({});
        rig.Start();
        QVERIFY(rig.WaitUntilIdentified());
        QCOMPARE(dialogs.Done(), 0);
        QCOMPARE(rig.C().EditDeviceCode->text(), QString("129 (0x81)"));
        QCOMPARE(rig.C().EditDeviceCode->toolTip(), QString("CALDEROS"));
    }

    void storedPortThatIsGoneOpensTheChooserOnTheFirstPort()
    {
        ProgramRig rig;
        rig.Bus().AddDevice(TSimDeviceState::Tivern());
        rig.Store("Settings", "COM", "9");
        QString offered;
        DialogScript dialogs({ [&offered](QWidget* chooser) {
            offered = chooser->findChild<QComboBox*>()->currentText();
            Press(QStringLiteral("OK"))(chooser);
        } });
        rig.Start();
        QVERIFY(rig.WaitUntilIdentified());
        QCOMPARE(offered, TComPortNames::DisplayName(3));
    }

    void moreStatusMakesTheIndicatorRed()
    {
        ProgramRig rig;
        TSimDeviceState probe = TSimDeviceState::Tivern();
        probe.ConfigurationChanged = true;
        probe.AdditionalStatus = 0x21;
        QVERIFY(rig.StartWith(probe));
        QCOMPARE(IndicatorColor(rig), QColor(255, 0, 0));
        QVERIFY(Checked(rig, "CheckBoxConfigurationChanged"));
        QVERIFY(Checked(rig, "CheckBoxMoreStatusAvailable"));
        QVERIFY(!Checked(rig, "CheckBoxSuccess"));
        QVERIFY(!Checked(rig, "CheckBoxColdStart"));
        QVERIFY(Checked(rig, "CheckBoxHARTParaError"));
        QVERIFY(Checked(rig, "CheckBoxDryWarning"));
    }

    void refusedCommandIsLoggedAndHidesTheUnplugWarning()
    {
        ProgramRig rig;
        QVERIFY(rig.StartWith(TSimDeviceState::Tivern()));

        rig.Bus().AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(13).WithValue(7));
        rig.C().LabelUnplugWarning->show();
        rig.C().ButtonRefresh->click();
        QVERIFY(rig.WaitUntilIdle());
        QCOMPARE(rig.Program().FormProtokoll().Lines(),
                 QStringList { "Cmd: 13: Read Tag/Descriptor/Date -> Code 7: In Write Protect Mode" });
        QVERIFY(rig.Program().FormProtokoll().isVisible());
        QVERIFY(rig.C().LabelUnplugWarning->isHidden());
    }

    void refreshWhileAJobRunsReportsBusy()
    {
        ProgramRig rig;
        QVERIFY(rig.StartWith(TSimDeviceState::Tivern()));
        rig.Bus().AddFault(TSimFault(TSimFault::TKind::Delay).OnCommand(7).WithValue(300));
        rig.Main().ButtonRefreshClick();
        rig.Main().ButtonRefreshClick();
        QCOMPARE(rig.C().StatusPanel1->text(), QString("Device busy"));
        QVERIFY(rig.WaitUntilIdle());
        QCOMPARE(rig.Bus().RequestCount(7), 2);             // the second press queued nothing
    }

    void portInUseThenRescanAfterFreeingIt()
    {
        ProgramRig rig;
        rig.Bus().AddDevice(TSimDeviceState::Tivern());
        rig.Store("Settings", "COM", "3");
        auto holder = std::make_unique<TSerialPort>(3, 1200, QSerialPort::OddParity);
        holder->Open();
        DialogScript dialogs({ Press(QStringLiteral("OK")) });
        rig.Start();
        QTRY_VERIFY_WITH_TIMEOUT(dialogs.Done() == 1, 20000);
        QCOMPARE(dialogs.Texts, QStringList { PortInUse });
        QVERIFY(!DeviceThread);
        QVERIFY(!rig.C().PageControl->isEnabled());
        QVERIFY(!rig.C().ButtonSave->isEnabled());

        holder.reset();
        rig.C().MenuRescan->trigger();
        QVERIFY(rig.WaitUntilIdentified());
        QCOMPARE(rig.C().EditManufacturerID->text(), QString("227 (0xE3)"));
    }

    void storedAutoRefreshPeriods()
    {
        {
            ProgramRig rig;
            rig.Store("Settings", "AutoRefresh", "7");
            rig.Store("Settings", "COM", "3");
            rig.Start();
            QVERIFY(rig.C().MenuSettingsAutoRefreshDisabled->isChecked());
            QVERIFY(!rig.C().TimerRefresh->isActive());
            QCOMPARE(rig.Stored("Settings", "AutoRefresh"), QString("7"));
        }
        {
            ProgramRig rig;
            rig.Store("Settings", "AutoRefresh", "10");
            rig.Store("Settings", "COM", "3");
            rig.Start();
            QVERIFY(rig.C().MenuSettingsAutoRefreshSec10->isChecked());
            QCOMPARE(rig.C().TimerRefresh->interval(), 10000);
            rig.C().MenuSettingsAutoRefreshSec30->trigger();
            QCOMPARE(rig.Stored("Settings", "AutoRefresh"), QString("30"));
            rig.C().MenuSettingsAutoRefreshDisabled->trigger();
            QCOMPARE(rig.Stored("Settings", "AutoRefresh"), QString("0"));
            QVERIFY(!rig.C().TimerRefresh->isActive());
        }
    }

    void workingModes_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("directCommand");
        QTest::addColumn<bool>("testDevice");
        QTest::newRow("dev") << QByteArray("[KORVAL]\ndomain=dev\n") << true << false;
        QTest::newRow("prod") << QByteArray("[KORVAL]\ndomain=prod\n") << false << true;
        QTest::newRow("Dev") << QByteArray("[KORVAL]\ndomain=Dev\n") << false << false;
        QTest::newRow("none") << QByteArray() << false << false;
    }

    void workingModes()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, directCommand);
        QFETCH(bool, testDevice);
        ProgramRig rig(ini);
        rig.Bus().AddDevice(TSimDeviceState::Foreign());
        rig.Store("Settings", "COM", "3");
        DialogScript dialogs({ Press(QStringLiteral("OK")) });
        rig.Start();
        QCOMPARE(!rig.C().ButtonDirectCMD->isHidden(), directCommand);
        QCOMPARE(!rig.C().ButtonTestDevice->isHidden(), testDevice);
        QTRY_VERIFY(DeviceThread);
        QCOMPARE(DeviceThread->Device->CheckManufacturer, !directCommand);
        if (directCommand) {
            // Service staff work with devices of any maker.
            QVERIFY(rig.WaitUntilIdentified());
            QCOMPARE(rig.C().EditManufacturerID->text(), QString("38 (0x26)"));
        }
    }

    void iniValuesAtStart()
    {
        ProgramRig rig("[Settings]\nNumberOfAttempts=0\nFilePrefix=\nConfigSeparator=;\n");
        rig.Store("Settings", "COM", "3");
        rig.Bus().AddDevice(TSimDeviceState::Tivern());
        DialogScript dialogs({ Press(QStringLiteral("OK")) });
        rig.Start();
        QCOMPARE(dialogs.Texts, QStringList { "\"NumberOfAttempts\" in Section \"Settings\" less than 1.\nDefault value 3 will be set." });
        QCOMPARE(dialogs.Titles, QStringList { "Meridal - Ini-File" });
        QCOMPARE(rig.Main().AttemptCount, 3);
        QCOMPARE(rig.Main().FileNamePrefix, QString());
        QVERIFY(rig.WaitUntilIdentified());
        QCOMPARE(DeviceThread->Device->Attempts, 3u);
        QCOMPARE(DeviceThread->ConfigSeparator, QString(";"));
    }

    void defaultIniValues()
    {
        ProgramRig rig;
        rig.Store("Settings", "COM", "3");
        rig.Start();
        QCOMPARE(rig.Main().FileNamePrefix, QString("HART-Dev "));
        QCOMPARE(rig.Main().AttemptCount, 3);
        QVERIFY(!rig.Main().MultidropMode);
    }

    void multidropStartAsksForTheLifeList()
    {
        ProgramRig rig;
        rig.Store("Settings", "Multidrop", "1");
        rig.Store("Settings", "COM", "3");
        // The list scans at once; it closes once the scan is stopped.
        DialogScript dialogs({ [](QWidget* lifeList) {
            ClickButton(lifeList, QStringLiteral("Stop"));
            QTRY_VERIFY_WITH_TIMEOUT(lifeList->findChild<QWidget*>(QStringLiteral("ButtonClose"))->isEnabled(), 10000);
            ClickButton(lifeList, QStringLiteral("Close"));
        } });
        rig.Start();
        QTRY_COMPARE(dialogs.Done(), 1);
        QTRY_VERIFY(!rig.Program().FormMultidropLifeList().isVisible());
        QCOMPARE(rig.C().MenuRescan->text(), QString("Life List"));
        QVERIFY(rig.C().MenuSettingsMultiDrop->isChecked());
        QTRY_COMPARE(rig.C().StatusPanel1->text(), QString("No supported HART device selected. See Device > Life List"));
        // The stopped scan ends after the address it was polling.
        QVERIFY(rig.WaitUntilIdle());
        rig.Main().ButtonRefreshClick();                     // nothing until a device is selected
        QVERIFY(DeviceThread->Suspended());

        rig.C().MenuSettingsMultiDrop->trigger();
        QCOMPARE(rig.Stored("Settings", "Multidrop"), QString("0"));
        QCOMPARE(rig.C().MenuRescan->text(), QString("Rescan"));
    }

    void positionsAreStoredAndRestored()
    {
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        {
            ProgramRig rig;
            rig.Store("Settings", "COM", "3");
            rig.Store("Forms", "FormMain.Top", QString::number(screen.height() + 10));
            rig.Store("Forms", "FormMain.Left", "40");
            rig.Store("Forms", "FormDeviceStatus.Shown", "1");
            rig.Start();
            QTRY_VERIFY(rig.Program().FormDeviceStatus().isVisible());
            // A place is the corner of the window's inside; beyond the screen: the fallback.
            QCOMPARE(rig.Main().geometry().topLeft(), QPoint(40, 100));
            rig.Main().move(60, 70);
            const QPoint place = rig.Main().geometry().topLeft();
            rig.Program().FormDeviceStatus().hide();
            rig.Main().close();
            QCOMPARE(rig.Stored("Forms", "FormMain.Top"), QString::number(place.y()));
            QCOMPARE(rig.Stored("Forms", "FormMain.Left"), QString::number(place.x()));
            QCOMPARE(rig.Stored("Forms", "FormDeviceStatus.Shown"), QString("0"));
            QVERIFY(!DeviceThread);
        }
    }

    void responseLogDocksBelowTheMainWindow()
    {
        ProgramRig rig;
        rig.Store("Settings", "COM", "3");
        rig.Start();
        TFormProtokoll& log = rig.Program().FormProtokoll();
        log.ShowBelow(&rig.Main());
        rig.Main().move(30, 40);
        QTRY_COMPARE(log.pos(), QPoint(rig.Main().frameGeometry().left(), rig.Main().frameGeometry().bottom() + 1));
    }

    void everyTabIsLaidOutCleanly()
    {
        ProgramRig rig;
        QVERIFY(rig.StartWith(TSimDeviceState::Tivern()));
        VerifyFixedSize(&rig.Main());
        for (int page = 0; page < rig.C().PageControl->count(); ++page) {
            rig.C().PageControl->setCurrentIndex(page);
            QVERIFY(rig.WaitUntilIdle());
            VerifyNoClippedText(&rig.Main());
            VerifyNoOverlappingControls(&rig.Main());
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("tab %1").arg(page)));
        }
    }
};

QTEST_MAIN(TestFormMain)
#include "test_form_main.moc"

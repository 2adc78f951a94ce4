// The main window end to end: start-up, connection, status display and
// shutdown, driven like a user against the simulated devices.
#include "DialogScript.h"
#include "ProgramRig.h"
#include "WindowChecks.h"

#include "link/TComPortNames.h"
#include "link/TSerialPort.h"
#include "ui/TFormDeviceStatus.h"
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

} // namespace

class TestFormMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setApplicationDisplayName(QStringLiteral("KORVAL Meridal"));
    }

    void firstStartWithoutSettingsAsksForThePort()
    {
        ProgramRig rig;
        rig.Bus().AddDevice(TSimDeviceState::Tivern());
        DialogScript dialogs({ Press(QStringLiteral("Cancel")), Press(QStringLiteral("OK")) });
        rig.Start();
        QTRY_COMPARE(dialogs.Done(), 2);
        QCOMPARE(dialogs.Texts, QStringList { "No COM port was selected.\n\nProgram will be terminated." });
        QCOMPARE(dialogs.Titles, QStringList { "KORVAL Meridal" });
        QVERIFY(rig.Main().Terminating());
        QVERIFY(!DeviceThread);
        QCOMPARE(rig.Stored("Settings", "COM"), QString("<none>"));
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
        QVERIFY(rig.Main().windowTitle().startsWith(QStringLiteral("KORVAL Meridal V")));
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
        rig.Bus().AddDevice(probe);
        rig.Store("Settings", "COM", "3");
        rig.Start();
        QVERIFY(rig.WaitUntilIdentified());
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
        rig.Bus().AddDevice(TSimDeviceState::Tivern());
        rig.Store("Settings", "COM", "3");
        rig.Start();
        QVERIFY(rig.WaitUntilIdentified());

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
        rig.Bus().AddDevice(TSimDeviceState::Tivern());
        rig.Store("Settings", "COM", "3");
        rig.Start();
        QVERIFY(rig.WaitUntilIdentified());
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
        DialogScript dialogs({ Press(QStringLiteral("Close")) });
        rig.Start();
        QTRY_COMPARE(dialogs.Done(), 1);
        QCOMPARE(rig.C().MenuRescan->text(), QString("Life List"));
        QVERIFY(rig.C().MenuSettingsMultiDrop->isChecked());
        QTRY_COMPARE(rig.C().StatusPanel1->text(), QString("No supported HART device selected. See Device > Life List"));
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
            QCOMPARE(rig.Main().pos(), QPoint(40, 100));    // beyond the screen: the fallback
            rig.Main().move(60, 70);
            rig.Program().FormDeviceStatus().hide();
            rig.Main().close();
            QCOMPARE(rig.Stored("Forms", "FormMain.Top"), QString("70"));
            QCOMPARE(rig.Stored("Forms", "FormMain.Left"), QString("60"));
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
        rig.Bus().AddDevice(TSimDeviceState::Tivern());
        rig.Store("Settings", "COM", "3");
        rig.Start();
        QVERIFY(rig.WaitUntilIdentified());
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

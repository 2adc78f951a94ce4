// The maintenance functions as a technician uses them on the real window:
// loop test, D/A trim, factory defaults and the configuration-changed flag,
// with the requests the simulated probe received. Whatever happens, the
// probe's output is never left at a fixed current.
#include "DialogScript.h"
#include "ModalDialogDriver.h"
#include "ProgramRig.h"
#include "UserInput.h"

#include "support/HexBytes.h"
#include "support/LocalNumber.h"
#include "ui/TFormDeviceStatus.h"
#include "ui/TFormLoopTest.h"
#include "ui/TFormProtokoll.h"
#include "worker/TField.h"
#include "worker/TThreadMeridal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <csignal>

namespace {

const QString LoopTestQuestion = QStringLiteral("It is strongly recommended to remove the HART device from automatic "
                                                "process control when doing the Loop Test!\n\nDo you want to continue?");
const QString ZeroPrompt = QStringLiteral("Enter reference meter value (4mA):");
const QString SpanPrompt = QStringLiteral("Enter reference meter value (20 mA):");
const QString ZeroQuestion = QStringLiteral("The 4mA calibration has been adjusted to the entered meter reading.\n"
                                            "Does the reference meter show 4mA now?\n\nDo you want to continue?");
const QString BadReading = QStringLiteral("Value is a invalid floating-point number (IEEE 754).\n\nTranaction will be terminated.");

// Command 40 with 4, 20 and 0 mA: the current as an IEEE single.
const QString Fix4 = QStringLiteral("40 80 00 00");
const QString Fix20 = QStringLiteral("41 A0 00 00");
const QString Release = QStringLiteral("00 00 00 00");

// The data of every request of one command the probe received, in order.
QStringList Sent(TSimBus& bus, int command)
{
    QStringList data;
    for (const TSimExchange& exchange : bus.Log()) {
        if (exchange.Command == command)
            data << Spaced(exchange.Data);
    }
    return data;
}

// The program connected to a probe, with one tab shown the way a user
// chooses it: a click on its tab.
struct Connected
{
    explicit Connected(const TSimDeviceState& probe, TPage page = TPage::Maintenance)
    {
        identified = rig.StartWith(probe);
        QTabBar* bar = rig.C().PageControl->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(int(page)).center());
        identified = identified && rig.WaitUntilIdle();
    }

    TFormLoopTest& LoopTest() { return rig.Program().FormLoopTest(); }
    QLineEdit* FixedAt() { return LoopTest().findChild<QLineEdit*>(QStringLiteral("EditFixedAt")); }
    QComboBox* LoopValue() { return LoopTest().findChild<QComboBox*>(QStringLiteral("ComboBoxLoopTest")); }
    QPushButton* LoopButton(const char* name) { return LoopTest().findChild<QPushButton*>(QString::fromLatin1(name)); }

    // "Start Loop Test...", answered Yes: the dialog is open.
    bool OpenLoopTest()
    {
        DialogScript question({ Answer(QMessageBox::Yes) });
        rig.C().ButtonLoopTest->click();
        return question.Texts == QStringList { LoopTestQuestion } && QTest::qWaitForWindowExposed(&LoopTest());
    }

    ProgramRig rig;
    bool identified = false;
};

// Answers as the D/A trim's script names them: "yes", "no", "cancel", "ok"
// or "enter <text>".
QList<DialogScript::Action> TrimAnswers(const QStringList& answers)
{
    QList<DialogScript::Action> actions;
    for (const QString& answer : answers) {
        if (answer == QLatin1String("yes"))
            actions << Answer(QMessageBox::Yes);
        else if (answer == QLatin1String("no"))
            actions << Answer(QMessageBox::No);
        else if (answer == QLatin1String("ok"))
            actions << Answer(QMessageBox::Ok);
        else if (answer == QLatin1String("cancel"))
            actions << Press(QStringLiteral("Cancel"));
        else
            actions << Enter(answer.mid(QStringLiteral("enter ").size()));
    }
    return actions;
}

} // namespace

class TestMaintenance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TMeridalProgram::SetUpApplication();
    }

    void loopTestShowsWhatTheDeviceReports_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("fault");          // -1: none
        QTest::addColumn<QStringList>("sent");   // command 40 before the dialog closes
        QTest::addColumn<QString>("fixedAt");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<bool>("escape");        // closed with Escape, else with Close
        const QStringList none;
        QTest::newRow("12.5 mA") << Local("12.5") << -1 << QStringList { "41 48 00 00" } << Local("12.500") << none << true;
        QTest::newRow("blanks only") << "  " << -1 << none << "" << QStringList { "Loop Test value is empty." } << false;
        QTest::newRow("not a number") << "abc" << -1 << none << ""
                                      << QStringList { "Loop Test value is a invalid floating-point number (IEEE 754)." }
                                      << false;
        QTest::newRow("answer without value") << Local("12.5") << int(TSimFault::TKind::ByteCount) << QStringList { "41 48 00 00" }
                                              << "Error" << none << false;
        QTest::newRow("NaN answered") << Local("12.5") << int(TSimFault::TKind::NotANumber) << QStringList { "41 48 00 00" }
                                      << "Error (NaN)" << none << true;
    }

    // Typed into the combo box, which has the focus, Enter starts; Close or
    // Escape leave fixed current mode. The device status window is shown
    // only while the dialog is open.
    void loopTestShowsWhatTheDeviceReports()
    {
        QFETCH(QString, typed);
        QFETCH(int, fault);
        QFETCH(QStringList, sent);
        QFETCH(QString, fixedAt);
        QFETCH(QStringList, errors);
        QFETCH(bool, escape);
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        if (fault >= 0)
            probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind(fault)).OnCommand(40).OnRequest(1));
        QVERIFY(probe.OpenLoopTest());
        QVERIFY(probe.rig.Program().FormDeviceStatus().isVisible());
        QCOMPARE(probe.LoopValue()->currentText(), QString("4"));

        DialogScript errorBoxes(QList<DialogScript::Action>(errors.size(), Answer(QMessageBox::Ok)));
        errorBoxes.Ignore(&probe.LoopTest());
        QCOMPARE(FocusIn(&probe.LoopTest()), probe.LoopValue());
        TypeText(typed);
        PressKey(Qt::Key_Return);
        QVERIFY(probe.rig.WaitUntilIdle());
        QTRY_COMPARE(errorBoxes.Texts, errors);
        QCOMPARE(Sent(probe.rig.Bus(), 40), sent);
        QCOMPARE(probe.FixedAt()->text(), fixedAt);
        QVERIFY(probe.LoopTest().isVisible());

        if (escape) {
            QVERIFY(FocusIn(&probe.LoopTest()));
            PressKey(Qt::Key_Escape);
        } else {
            probe.LoopButton("ButtonClose")->click();
        }
        QVERIFY(probe.rig.WaitUntilIdle());
        QVERIFY(!probe.LoopTest().isVisible());
        QVERIFY(!probe.rig.Program().FormDeviceStatus().isVisible());
        QCOMPARE(Sent(probe.rig.Bus(), 40), sent << Release);
        QVERIFY(!probe.rig.Bus().Device(0).FixedCurrentMode);
    }

    // The dialog also opens where the user left it last time.
    void closeWhileStartRunsIsRefused()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::Delay).OnCommand(40).OnRequest(1).WithValue(500));
        probe.rig.Store("Forms", "FormLoopTest.Top", "120");
        probe.rig.Store("Forms", "FormLoopTest.Left", "240");
        QVERIFY(probe.OpenLoopTest());
        // A place is the corner of the window's inside.
        QCOMPARE(probe.LoopTest().geometry().topLeft(), QPoint(240, 120));
        probe.LoopTest().move(260, 130);
        const QPoint place = probe.LoopTest().geometry().topLeft();
        probe.LoopButton("ButtonStart")->click();
        QVERIFY(!DeviceThread->Suspended());

        DialogScript busy({ Answer(QMessageBox::Ok) });
        busy.Ignore(&probe.LoopTest());
        probe.LoopButton("ButtonClose")->click();
        QCOMPARE(busy.Texts, QStringList { "The last command is still in progress. Please try again later." });
        QVERIFY(probe.LoopTest().isVisible());
        QVERIFY(probe.rig.WaitUntilIdle());
        QCOMPARE(probe.FixedAt()->text(), Local("4.000"));
        QVERIFY(probe.rig.Bus().Device(0).FixedCurrentMode);

        probe.LoopButton("ButtonClose")->click();
        QVERIFY(probe.rig.WaitUntilIdle());
        QVERIFY(!probe.LoopTest().isVisible());
        QCOMPARE(Sent(probe.rig.Bus(), 40), (QStringList { Fix4, Release }));
        QVERIFY(!probe.rig.Bus().Device(0).FixedCurrentMode);
        QCOMPARE(probe.rig.Stored("Forms", "FormLoopTest.Top"), QString::number(place.y()));
        QCOMPARE(probe.rig.Stored("Forms", "FormLoopTest.Left"), QString::number(place.x()));
    }

    // The output stays fixed until the device confirms its release: the
    // dialog stays open and says so. Close tries again; Exit Program makes
    // the program's last attempt as it ends.
    void closeWaitsForAConfirmedRelease_data()
    {
        QTest::addColumn<int>("fault");           // on the first release
        QTest::addColumn<QString>("status");      // the status bar afterwards
        QTest::addColumn<QString>("retry");
        QTest::newRow("busy, close again") << int(TSimFault::TKind::ResponseCode) << "Busy" << "ButtonClose";
        QTest::newRow("NaN, exit program") << int(TSimFault::TKind::NotANumber) << "Exit Loop Test -> Error (NaN)"
                                           << "ButtonExitProgram";
    }

    void closeWaitsForAConfirmedRelease()
    {
        QFETCH(int, fault);
        QFETCH(QString, status);
        QFETCH(QString, retry);
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        QVERIFY(probe.OpenLoopTest());
        probe.LoopButton("ButtonStart")->click();
        QVERIFY(probe.rig.WaitUntilIdle());
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind(fault)).OnCommand(40).OnRequest(1));

        probe.LoopButton("ButtonClose")->click();
        QVERIFY(probe.rig.WaitUntilIdle());
        QVERIFY(probe.LoopTest().isVisible());
        auto* note = probe.LoopTest().findChild<QLabel*>(QStringLiteral("LabelStillFixed"));
        QVERIFY(note && note->isVisible());
        QCOMPARE(note->text(), QString("The analog output is still fixed: the device did not confirm its release.\nClose tries again."));
        QCOMPARE(probe.rig.C().StatusPanel1->text(), status);

        probe.LoopButton(qPrintable(retry))->click();
        QTRY_VERIFY(!probe.LoopTest().isVisible());
        QCOMPARE(Sent(probe.rig.Bus(), 40), (QStringList { Fix4, Release, Release }));
        QVERIFY(!probe.rig.Bus().Device(0).FixedCurrentMode);
        // Opened again, the dialog has nothing to say of an earlier release.
        if (DeviceThread) {
            QVERIFY(probe.OpenLoopTest());
            QVERIFY(!note->isVisible());
            QCOMPARE(probe.FixedAt()->text(), QString());
            probe.LoopButton("ButtonClose")->click();
            QTRY_VERIFY(!probe.LoopTest().isVisible());
        }
    }

    void daTrim_data()
    {
        QTest::addColumn<QStringList>("answers");  // after the two questions of the button
        QTest::addColumn<QStringList>("texts");    // the boxes the job showed
        QTest::addColumn<QStringList>("sent");     // command 40
        QTest::addColumn<int>("zeroTrims");        // command 45
        QTest::addColumn<int>("spanTrims");        // command 46
        QTest::addColumn<QStringList>("log");      // the response log afterwards
        QTest::addColumn<int>("nanFix");           // the command 40 answered with a NaN current, 0 none
        QTest::addColumn<int>("busyFix");          // the command 40 answered "Busy", 0 none
        QTest::newRow("cancel at the first box") << QStringList { "cancel" } << QStringList { ZeroPrompt }
                                                 << QStringList { Fix4, Release } << 0 << 0 << QStringList() << 0 << 0;
        // The output stays fixed, and the user is told.
        QTest::newRow("release refused") << QStringList { "cancel", "ok" }
                                         << QStringList { ZeroPrompt, "The analog output is still fixed: the device did not "
                                                                      "confirm its release." }
                                         << QStringList { Fix4, Release } << 0 << 0
                                         << QStringList { "Cmd: 40: Enter/Exit Fixed Current Mode -> Code 32: Busy" } << 0 << 2;
        // The probe refuses a reading far from 4 mA; the user tries again.
        QTest::newRow("no twice at the 4 mA question")
            << QStringList { "enter " + Local("5.5"), "no", "enter " + Local("4.05"), "no", "enter 4", "yes", "enter " + Local("19.9"), "yes" }
            << QStringList { ZeroPrompt, ZeroQuestion, ZeroPrompt, ZeroQuestion, ZeroPrompt, ZeroQuestion, SpanPrompt,
                             "The 20mA calibration has been adjusted to the entered meter reading.\nDoes the reference "
                             "meter show 20mA now?\n\nDo you want to continue?" }
            << QStringList { Fix4, Fix20, Release } << 3 << 1
            << QStringList { "Cmd: 45: Trim Loop Current Zero -> Code 3: Passed Parameter Too Large" } << 0 << 0;
        QTest::newRow("bad value") << QStringList { "enter abc", "ok" } << QStringList { ZeroPrompt, BadReading }
                                   << QStringList { Fix4, Release } << 0 << 0 << QStringList() << 0 << 0;
        // The probe did go to 20 mA: the failed answer must not leave it there.
        QTest::newRow("20 mA answered with NaN") << QStringList { "enter 4", "yes", "ok" }
                                                 << QStringList { ZeroPrompt, ZeroQuestion, "Not a Number" }
                                                 << QStringList { Fix4, Fix20, Release } << 1 << 0 << QStringList() << 2 << 0;
    }

    void daTrim()
    {
        QFETCH(QStringList, answers);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, sent);
        QFETCH(int, zeroTrims);
        QFETCH(int, spanTrims);
        QFETCH(QStringList, log);
        QFETCH(int, nanFix);
        QFETCH(int, busyFix);
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        if (nanFix)
            probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::NotANumber).OnCommand(40).OnRequest(nanFix));
        if (busyFix)
            probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(40).OnRequest(busyFix));
        QStringList releasedBeforeEachBox;
        QStringList statusAtEachBox;
        QList<DialogScript::Action> actions = TrimAnswers(answers);
        for (DialogScript::Action& action : actions) {
            action = [&probe, &releasedBeforeEachBox, &statusAtEachBox, act = action](QWidget* dialog) {
                releasedBeforeEachBox << Sent(probe.rig.Bus(), 40).join(QLatin1Char('|'));
                statusAtEachBox << probe.rig.C().StatusPanel1->text();
                act(dialog);
            };
        }
        DialogScript dialogs(QList<DialogScript::Action> { Answer(QMessageBox::Yes), Answer(QMessageBox::Yes) } + actions);

        probe.rig.C().ButtonDATrim->click();
        QVERIFY(probe.rig.WaitUntilIdle());
        QTRY_COMPARE(dialogs.Done(), answers.size() + 2);
        QVERIFY(probe.rig.WaitUntilIdle());
        QCOMPARE(dialogs.Texts.mid(2), texts);
        QCOMPARE(statusAtEachBox.first(), "Analog output has been set to " + Local("4.000") + "mA");
        QCOMPARE(Sent(probe.rig.Bus(), 40), sent);
        QCOMPARE(probe.rig.Bus().RequestCount(45), zeroTrims);
        QCOMPARE(probe.rig.Bus().RequestCount(46), spanTrims);
        QCOMPARE(probe.rig.Program().FormProtokoll().Lines(), log);
        if (texts.last() == BadReading || nanFix)           // released before the message
            QCOMPARE(releasedBeforeEachBox.last(), sent.join(QLatin1Char('|')));
        QCOMPARE(probe.rig.Bus().Device(0).FixedCurrentMode, busyFix != 0);
    }

    void closingTheProgramReleasesTheFixedCurrent_data()
    {
        QTest::addColumn<bool>("duringTrim");   // else: with the loop test dialog open
        QTest::addColumn<bool>("bySignal");     // the session ends (SIGTERM), else the main window is closed
        QTest::newRow("during the D/A trim") << true << false;
        QTest::newRow("loop test dialog open") << false << false;
        QTest::newRow("loop test dialog open, SIGTERM") << false << true;
    }

    void closingTheProgramReleasesTheFixedCurrent()
    {
        QFETCH(bool, duringTrim);
        QFETCH(bool, bySignal);
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        if (duringTrim) {
            DialogScript dialogs({ Answer(QMessageBox::Yes), Answer(QMessageBox::Yes),
                                   [&probe](QWidget*) { probe.rig.Main().close(); } });
            probe.rig.C().ButtonDATrim->click();
            QTRY_VERIFY_WITH_TIMEOUT(!DeviceThread, 30000);
            QCOMPARE(dialogs.Texts.last(), ZeroPrompt);
        } else {
            QVERIFY(probe.OpenLoopTest());
            probe.LoopButton("ButtonStart")->click();
            QVERIFY(probe.rig.WaitUntilIdle());
            QVERIFY(probe.rig.Bus().Device(0).FixedCurrentMode);
            if (bySignal)
                std::raise(SIGTERM);
            else
                probe.rig.Main().close();
            QTRY_VERIFY(!DeviceThread);
            QVERIFY(!probe.LoopTest().isVisible());
        }
        QCOMPARE(Sent(probe.rig.Bus(), 40), (QStringList { Fix4, Release }));
        QVERIFY(!probe.rig.Bus().Device(0).FixedCurrentMode);
    }

    void restoreFactoryDefaults_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<bool>("pressEscape");  // dismisses the dialog
        QTest::newRow("Restore") << true << false;
        QTest::newRow("Cancel") << false << false;
        QTest::newRow("dismissed") << false << true;
    }

    void restoreFactoryDefaults()
    {
        QFETCH(bool, restore);
        QFETCH(bool, pressEscape);
        Connected probe(TSimDeviceState::Tivern(), TPage::Others);
        QVERIFY(probe.identified);
        probe.rig.Bus().ModifyDevice(0, [](TSimDeviceState& d) { d.Configuration.Tag = "CHANGED "; });
        const int requests = probe.rig.Bus().Log().size();
        QStringList contents;
        DialogScript dialogs({ [&](QWidget* dialog) {
            contents << dialog->findChild<QLabel*>(QStringLiteral("LabelInstruction"))->text();
            if (pressEscape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                ClickButton(dialog, restore ? QStringLiteral("Restore") : QStringLiteral("Cancel"));
        } });

        probe.rig.C().ButtonRestoreFactoryDefaults->click();
        QVERIFY(probe.rig.WaitUntilIdle());
        QCOMPARE(contents, QStringList { "WARNING!" });
        if (!restore) {
            QCOMPARE(probe.rig.Bus().Log().size(), requests);
            QCOMPARE(probe.rig.C().PageControl->currentIndex(), int(TPage::Others));
            return;
        }
        QCOMPARE(probe.rig.Bus().RequestCount(211), 1);
        QCOMPARE(probe.rig.C().PageControl->currentIndex(), int(TPage::Identification));
        QCOMPARE(probe.rig.C().EditTag->text(), QString("TIVERN  "));
        QVERIFY(probe.rig.C().LabelUnplugWarning->isVisible());
    }

    void resetConfigurationChangedFlag_data()
    {
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("data");
        QTest::newRow("revision 5: no data") << 5 << "";
        QTest::newRow("revision 7: the counter") << 7 << "01 02";
    }

    void resetConfigurationChangedFlag()
    {
        QFETCH(int, revision);
        QFETCH(QString, data);
        TSimDeviceState tivern = TSimDeviceState::Tivern(revision);
        tivern.ConfigurationChanged = true;
        tivern.ConfigurationChangeCounter = 0x0102;
        Connected probe(tivern, TPage::Others);
        QVERIFY(probe.identified);
        QCheckBox* changed = probe.rig.Program().FormDeviceStatus().findChild<QCheckBox*>("CheckBoxConfigurationChanged");
        QVERIFY(changed->isChecked());

        probe.rig.C().ButtonConfigChangedReset->click();
        QVERIFY(probe.rig.WaitUntilIdle());
        QCOMPARE(Sent(probe.rig.Bus(), 38), QStringList { data });
        QCOMPARE(probe.rig.C().EditConfigurationChangeCounter->text(), QString("258"));
        QVERIFY(!changed->isChecked());
        QVERIFY(probe.rig.C().LabelUnplugWarning->isVisible());
    }
};

QTEST_MAIN(TestMaintenance)
#include "test_maintenance.moc"

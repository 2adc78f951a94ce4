// Writing the tabs: the user types, presses Save, and the simulated probe
// holds what was typed; what the device refused never looks saved.
#include "Connected.h"
#include "DialogScript.h"
#include "support/LocalNumber.h"

#include "ui/TFormProtokoll.h"
#include "util/UWindows1252.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

namespace {

// The request data of the last request with this command.
QByteArray LastRequestData(const TSimBus& bus, int command)
{
    QByteArray data;
    for (const TSimExchange& exchange : bus.Log()) {
        if (exchange.Command == command)
            data = exchange.Data;
    }
    return data;
}

// "Field=text" entries: types the text into the edit, or clicks the check
// box for "click", or picks the item of a list. "Field:=text" puts a text
// into an edit that its key filter would not let through.
void Enter(Connected& probe, const QStringList& entries)
{
    for (const QString& entry : entries) {
        const bool put = entry.contains(QLatin1String(":="));
        const QString name = entry.section(QRegularExpression(":?="), 0, 0);
        const QString value = entry.section(QRegularExpression(":?="), 1);
        QWidget* control = probe.rig.Main().findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        if (auto* edit = qobject_cast<QLineEdit*>(control); edit && put)
            edit->setText(value);
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            probe.Type(edit, value);
        else if (auto* combo = qobject_cast<QComboBox*>(control))
            probe.Choose(combo, value);
        else
            probe.Click(control);
    }
}

// What a field shows: an edit's text, a list's chosen item; " marked" after
// it while it shows the modified colour.
QString Shown(Connected& probe, const QString& name)
{
    QWidget* control = probe.rig.Main().findChild<QWidget*>(name);
    auto* combo = qobject_cast<QComboBox*>(control);
    return (combo ? combo->currentText() : qobject_cast<QLineEdit*>(control)->text()) + (Modified(control) ? " marked" : "");
}

QStringList Texts(const QList<QLineEdit*>& edits)
{
    QStringList texts;
    for (QLineEdit* edit : edits)
        texts << edit->text();
    return texts;
}

bool NoneModified(const QList<QWidget*>& controls)
{
    return std::none_of(controls.cbegin(), controls.cend(), Modified);
}

} // namespace

class TestSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TMeridalProgram::SetUpApplication();
    }

    // --- Round trips: typed, saved, held by the probe, read back unmarked ---

    // The tag goes out with the descriptor and date the device holds.
    void onlyTheTagChanged()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        Enter(probe, { "EditTag=t1" });
        probe.rig.Bus().ClearLog();
        QVERIFY(probe.ClickAndWait(probe.rig.C().ButtonSave));
        QCOMPARE(Commands(probe.rig.Bus()), QList<int> { 18 });
        QCOMPARE(LastRequestData(probe.rig.Bus(), 18).toHex(' ').toUpper(),
                 QByteArray("53 18 20 82 08 20 30 55 85 32 04 12 3C 21 60 82 08 20 01 03 7C"));
    }

    void identificationRoundTrip()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        TFormMainControls& c = probe.rig.C();
        Enter(probe, { "ComboBoxPollingAddress=5", "EditTag=new-tag", "EditDescriptor=MAIN TANK", "EditDate=24.12.2025",
                       QString::fromUtf8("EditLongTag=Tank 7 \u00e9"), "EditMessage=checked by qa", "EditFinalAssemblyNo=4711" });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));

        // The probe answers at its new address from now on.
        const TSimDeviceState device = probe.rig.Bus().Device(5);
        QCOMPARE(device.PollingAddress, 5);
        QVERIFY(device.LoopCurrentMode);
        QCOMPARE(device.Configuration.Tag, QByteArray("NEW-TAG "));
        QCOMPARE(device.Configuration.Descriptor, QByteArray("MAIN TANK       "));
        QCOMPARE(device.Configuration.Date, QDate(2025, 12, 24));
        QCOMPARE(device.Configuration.LongTag, QByteArray("Tank 7 \xe9").leftJustified(32, '\0'));
        QCOMPARE(device.Configuration.Message, QByteArray("CHECKED BY QA").leftJustified(32, ' '));
        QCOMPARE(device.Configuration.FinalAssemblyNumber, 4711u);

        const QList<QLineEdit*> edits = { c.EditTag, c.EditDescriptor, c.EditDate, c.EditLongTag, c.EditMessage, c.EditFinalAssemblyNo };
        const QStringList shown = { "NEW-TAG ", QString("MAIN TANK").leftJustified(16), "24.12.2025",
                                    QString::fromUtf8("Tank 7 \u00e9"), QString("CHECKED BY QA").leftJustified(32), "4711" };
        QCOMPARE(Texts(edits), shown);
        QList<QWidget*> controls(edits.cbegin(), edits.cend());
        controls << c.ComboBoxPollingAddress << c.CheckBoxLoopCurrentMode;
        QVERIFY(NoneModified(controls));
        QVERIFY(!c.ButtonSave->isEnabled());

        QVERIFY(probe.ClickAndWait(c.ButtonRefresh));
        QCOMPARE(Texts(edits), shown);
        QCOMPARE(c.ComboBoxPollingAddress->currentText(), QString("5"));
        QVERIFY(NoneModified(controls));
    }

    void analogOutputRoundTripAndFloater()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.Show(TPage::AnalogOutput));
        TFormMainControls& c = probe.rig.C();
        const QString point = QLocale().decimalPoint();
        Enter(probe, { "ComboBoxPVAlarmSelection=low (3,6 mA)", "EditPVUpperRangeValue=4" + point + "5",
                       "EditPVLowerRangeValue=0" + point + "5" });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        TSimDeviceState device = probe.rig.Bus().Device(0);
        QCOMPARE(device.Configuration.AlarmSelection, quint8(1));
        QCOMPARE(device.Configuration.UpperRangeValue, 4.5);
        QCOMPARE(device.Configuration.LowerRangeValue, 0.5);
        const QList<QWidget*> controls = { c.ComboBoxPVAlarmSelection, c.EditPVUpperRangeValue, c.EditPVLowerRangeValue };
        const QStringList shown = { "4" + point + "500", "0" + point + "500" };
        QCOMPARE(Texts({ c.EditPVUpperRangeValue, c.EditPVLowerRangeValue }), shown);
        QVERIFY(NoneModified(controls));
        QVERIFY(!c.ButtonSave->isEnabled());

        QVERIFY(probe.ClickAndWait(c.ButtonRefresh));
        QCOMPARE(Texts({ c.EditPVUpperRangeValue, c.EditPVLowerRangeValue }), shown);
        QCOMPARE(c.ComboBoxPVAlarmSelection->currentIndex(), 1);
        QVERIFY(NoneModified(controls));

        // The floater at 1.25 m becomes the upper range value.
        QVERIFY(probe.ClickAndWait(c.ButtonSetFloaterPVUpperRange));
        QCOMPARE(probe.rig.Bus().RequestCount(36), 1);
        QCOMPARE(probe.rig.Bus().Device(0).Configuration.UpperRangeValue, 1.25);
        QCOMPARE(c.EditPVUpperRangeValue->text(), "1" + point + "250");
        QVERIFY(NoneModified(controls));
    }

    void deviceVariablesRoundTrip()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.Show(TPage::DeviceVariables));
        TFormMainControls& c = probe.rig.C();
        const QString point = QLocale().decimalPoint();
        Enter(probe, { "ComboBoxDynDevSV=DV3", "EditDV1Offset=0" + point + "125", "EditDV0Damping=2" + point + "5",
                       "ComboBoxDV0Unit=centimeters" });
        DialogScript calibration({ Answer(QMessageBox::Yes) });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        QCOMPARE(calibration.Texts, QStringList { "This function will affect the sensor calibration done during the "
                                                  "production process.\n\nDo you want to continue?" });

        const TSimDeviceState device = probe.rig.Bus().Device(0);
        QCOMPARE(device.Configuration.Mapping[1], quint8(3));
        QCOMPARE(device.Configuration.Variables[1].Offset, 0.125);
        QCOMPARE(device.Configuration.Variables[0].Damping, 2.5f);
        QCOMPARE(device.Configuration.Variables[0].Unit, quint8(48));
        // Values and offsets are read again in the new unit.
        const QList<int> commands = Commands(probe.rig.Bus());
        const QList<int> afterUnit = commands.mid(commands.lastIndexOf(53));
        QCOMPARE(afterUnit.count(33), 1);
        QCOMPARE(afterUnit.count(206), 2);
        QCOMPARE(c.EditDV0Value->text(), "125" + point + "000");
        const QList<QWidget*> controls = { c.ComboBoxDynDevSV, c.EditDV1Offset, c.EditDV0Damping, c.ComboBoxDV0Unit };
        QVERIFY(NoneModified(controls));
        QVERIFY(!c.ButtonSave->isEnabled());

        QVERIFY(probe.ClickAndWait(c.ButtonRefresh));
        QCOMPARE(c.ComboBoxDynDevSV->currentText(), QString("DV3"));
        QCOMPARE(Texts({ c.EditDV1Offset, c.EditDV0Damping }), QStringList({ "0" + point + "125", "2" + point + "500" }));
        QCOMPARE(c.ComboBoxDV0Unit->currentText(), QString("centimeters"));
        QVERIFY(NoneModified(controls));
    }

    // The enable boxes are written while the job has the whole tab disabled.
    // The interface layer's flag is left as the device holds it: without the
    // second float it can be neither measured nor switched.
    void othersRoundTrip()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.Show(TPage::Others));
        TFormMainControls& c = probe.rig.C();
        probe.Click(c.CheckBoxEnableDV1);
        QVERIFY(!c.CheckBoxEnableDV3->isChecked() && !c.CheckBoxEnableDV3->isEnabled());
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        const TSimDeviceState device = probe.rig.Bus().Device(0);
        QVERIFY(!device.Configuration.Variables[1].Enabled);
        QVERIFY(device.Configuration.Variables[3].Enabled);
        for (int refresh = 0; refresh < 2; ++refresh) {
            QVERIFY(!c.CheckBoxEnableDV1->isChecked());
            QVERIFY(c.CheckBoxEnableDV3->isChecked() && !c.CheckBoxEnableDV3->isEnabled());
            QVERIFY(NoneModified({ c.CheckBoxEnableDV1, c.CheckBoxEnableDV3 }));
            QVERIFY(!c.ButtonSave->isEnabled());
            QVERIFY(probe.ClickAndWait(c.ButtonRefresh));
        }
    }

    // --- Write protection and passcode ---

    // The enable flags are written while the device is writable: before
    // protection goes on, after it goes off.
    void protectionAndEnableFlagsInWritableOrder_data()
    {
        QTest::addColumn<bool>("protectedBefore");
        QTest::addColumn<QList<int>>("order");
        QTest::addColumn<QByteArray>("protectionRequest");
        QTest::addColumn<int>("questions");
        QTest::newRow("switched on") << false << QList<int> { 209, 200 } << QByteArray("\x01\x10\x92", 3) << 1;
        QTest::newRow("switched off") << true << QList<int> { 200, 209 } << QByteArray("\x00\x10\x92", 3) << 0;
    }

    void protectionAndEnableFlagsInWritableOrder()
    {
        QFETCH(bool, protectedBefore);
        QFETCH(QList<int>, order);
        QFETCH(QByteArray, protectionRequest);
        QFETCH(int, questions);
        TSimDeviceState state = TSimDeviceState::Tivern();
        state.WriteProtected = protectedBefore;
        state.Passcode = 4242;
        Connected probe(state);
        QVERIFY(probe.Show(TPage::Others));
        TFormMainControls& c = probe.rig.C();
        Enter(probe, { "CheckBoxProtectionMode=click", "MaskEditPasswcodeProtectionCode=4242", "CheckBoxEnableDV1=click" });
        probe.rig.Bus().ClearLog();
        DialogScript yes(QList<DialogScript::Action>(questions, Answer(QMessageBox::Yes)));
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        QCOMPARE(yes.Done(), questions);

        QList<int> writes = Commands(probe.rig.Bus());
        writes.removeIf([](int command) { return command != 200 && command != 209; });
        QCOMPARE(writes, order);
        QCOMPARE(LastRequestData(probe.rig.Bus(), 200), protectionRequest);
        const TSimDeviceState device = probe.rig.Bus().Device(0);
        QCOMPARE(device.WriteProtected, !protectedBefore);
        QVERIFY(!device.Configuration.Variables[1].Enabled);
        QCOMPARE(c.CheckBoxProtectionMode->isChecked(), !protectedBefore);
        QVERIFY(c.MaskEditPasswcodeProtectionCode->text().isEmpty());
        QVERIFY(!c.ButtonSave->isEnabled());
    }

    void declinedPasscodeChangeKeepsTheEdits()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.Show(TPage::Others));
        TFormMainControls& c = probe.rig.C();
        Enter(probe, { "MaskEditOldPasscode=0", "MaskEditNewPasscode1=12", "MaskEditNewPasscode2=12",
                       "CheckBoxProtectionMode=click", "MaskEditPasswcodeProtectionCode=0" });
        DialogScript answers({ Answer(QMessageBox::No), Answer(QMessageBox::Yes) });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        QCOMPARE(answers.Done(), 2);
        QCOMPARE(probe.rig.Bus().RequestCount(204), 0);
        QCOMPARE(LastRequestData(probe.rig.Bus(), 200), QByteArray("\x01\x00\x00", 3));
        const QList<QLineEdit*> edits = { c.MaskEditOldPasscode, c.MaskEditNewPasscode1, c.MaskEditNewPasscode2 };
        QCOMPARE(Texts(edits), QStringList({ "0", "12", "12" }));
        QVERIFY(std::all_of(edits.cbegin(), edits.cend(), Modified));
        QVERIFY(c.ButtonSave->isEnabled());
    }

    // A passcode leaves the window once sent, and is kept nowhere.
    void passcodeChangeLeavesNoTrace()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.Show(TPage::Others));
        TFormMainControls& c = probe.rig.C();
        Enter(probe, { "MaskEditOldPasscode=0", "MaskEditNewPasscode1=31416", "MaskEditNewPasscode2=31416" });
        QVERIFY(c.ButtonSave->isEnabled());
        DialogScript yes({ Answer(QMessageBox::Yes) });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        QVERIFY(yes.Texts.value(0).startsWith("If the passcode is changed and the passcode gets lost"));
        QCOMPARE(probe.rig.Bus().Device(0).Passcode, quint16(31416));
        QCOMPARE(LastRequestData(probe.rig.Bus(), 204), QByteArray("\x00\x00\x7A\xB8", 4));
        const QList<QLineEdit*> edits = { c.MaskEditOldPasscode, c.MaskEditNewPasscode1, c.MaskEditNewPasscode2 };
        QCOMPARE(Texts(edits), QStringList({ "", "", "" }));
        QVERIFY(NoneModified({ edits.cbegin(), edits.cend() }));
        QVERIFY(!c.ButtonSave->isEnabled());

        // A wrong old passcode is logged by its response text, not its number.
        Enter(probe, { "MaskEditOldPasscode=27182", "MaskEditNewPasscode1=1", "MaskEditNewPasscode2=1" });
        DialogScript again({ Answer(QMessageBox::Yes) });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        const QString log = probe.rig.Program().FormProtokoll().Lines().join('\n');
        QVERIFY2(log.contains("Old Passcode Wrong"), qPrintable(log));
        QVERIFY(!log.contains("27182") && !log.contains("31416"));

        probe.rig.Main().close();
        QDirIterator files(probe.rig.Folder(), QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray content = file.readAll();
            QVERIFY2(!content.contains("31416") && !content.contains("27182"), qPrintable(file.fileName()));
        }
    }

    // --- What the device did not take never looks saved ---

    void unwrittenEntriesStayMarked()
    {
        Connected probe(TSimDeviceState::Tivern());
        TFormMainControls& c = probe.rig.C();
        const QString point = QLocale().decimalPoint();
        // Loop current mode off, declined: the rest of the tab is still written.
        Enter(probe, { "CheckBoxLoopCurrentMode=click", "EditTag=kept" });
        DialogScript no({ Answer(QMessageBox::No) });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        QCOMPARE(no.Texts, QStringList { "Analog signaling will be disabled and the analog output will be fixed to "
                                         "4mA!\n\nDo you want to continue?" });
        QCOMPARE(probe.rig.Bus().RequestCount(6), 0);
        QCOMPARE(probe.rig.Bus().Device(0).Configuration.Tag, QByteArray("KEPT    "));
        QVERIFY(Modified(c.CheckBoxLoopCurrentMode));
        QVERIFY(!Modified(c.EditTag));
        QVERIFY(c.ButtonSave->isEnabled());

        // The calibration question declined: no offset is sent.
        QVERIFY(probe.Show(TPage::DeviceVariables));
        Enter(probe, { "EditDV0Offset=0" + point + "5" });
        DialogScript calibration({ Answer(QMessageBox::No) });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        QCOMPARE(calibration.Done(), 1);
        QCOMPARE(probe.rig.Bus().RequestCount(205), 0);
        QVERIFY(Modified(c.EditDV0Offset));
        QVERIFY(c.ButtonSave->isEnabled());

        // A span of zero, which the device refuses.
        DialogScript discard({ Answer(QMessageBox::Yes) });
        QVERIFY(probe.Show(TPage::AnalogOutput));
        Enter(probe, { "EditPVUpperRangeValue=2", "EditPVLowerRangeValue=2" });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        QCOMPARE(probe.rig.Bus().RequestCount(35), 1);
        QCOMPARE(probe.rig.Bus().Device(0).Configuration.UpperRangeValue, 3.0);
        QCOMPARE(Texts({ c.EditPVUpperRangeValue, c.EditPVLowerRangeValue }), QStringList({ "2", "2" }));
        QVERIFY(Modified(c.EditPVUpperRangeValue) && Modified(c.EditPVLowerRangeValue));
        QVERIFY(c.ButtonSave->isEnabled());
        QVERIFY(probe.rig.Program().FormProtokoll().isVisible());
    }

    // Refresh throws an edit away. When the read then fails, the placeholder
    // the tab was cleared with is no edit: it is neither marked nor written.
    // The value the last good read showed, chosen again, differs from it.
    void failedReadLeavesNoEdit_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("unanswered");   // the read's command that times out
        QTest::addColumn<int>("write");        // the command Save would send
        QTest::addColumn<QString>("readBefore");
        QTest::newRow("unit, variables unanswered") << int(TPage::DeviceVariables) << "ComboBoxDV0Unit=feet" << 33 << 53
                                                    << "ComboBoxDV0Unit=meters";
        QTest::newRow("upper range, range unanswered") << int(TPage::AnalogOutput) << "EditPVUpperRangeValue=5" << 15 << 35
                                                       << "EditPVUpperRangeValue=" + Local("3.000");
        QTest::newRow("mapping, variables unanswered") << int(TPage::DeviceVariables) << "ComboBoxDynDevSV=DV3" << 33 << 51 << QString();
    }

    void failedReadLeavesNoEdit()
    {
        QFETCH(int, page);
        QFETCH(QString, entry);
        QFETCH(int, unanswered);
        QFETCH(int, write);
        QFETCH(QString, readBefore);
        Connected probe(TSimDeviceState::Tivern(), "[Settings]\nNumberOfAttempts=1\n");
        QVERIFY(probe.Show(TPage(page)));
        TFormMainControls& c = probe.rig.C();
        Enter(probe, { entry });
        auto* control = probe.rig.Main().findChild<QWidget*>(entry.section('=', 0, 0));
        QVERIFY(Modified(control));

        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::NoAnswer).OnCommand(unanswered));
        DialogScript timeout({ Press("OK") });
        QVERIFY(probe.ClickAndWait(c.ButtonRefresh));
        QTRY_COMPARE(timeout.Texts, QStringList { "Timeout: HART device does not respond" });
        QVERIFY(!Modified(control));
        QVERIFY(!c.ButtonSave->isEnabled());
        probe.rig.Bus().ClearFaults();
        probe.Click(c.ButtonSave);
        QVERIFY(probe.rig.WaitUntilIdle());
        QCOMPARE(probe.rig.Bus().RequestCount(write), 0);
        if (readBefore.isEmpty())
            return;
        Enter(probe, { readBefore });
        QVERIFY(Modified(probe.rig.Main().findChild<QWidget*>(readBefore.section('=', 0, 0))));
    }

    // A read that did not report what Save sends back unchanged beside the
    // user's entry (the loop current mode beside the address, the descriptor
    // beside the tag, the offset's unit beside a new offset, the other mappings
    // beside PV) leaves the tab unsaved.
    void incompleteReadIsNotSaved_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("faultKind");
        QTest::addColumn<int>("read");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("write");
        const auto refused = int(TSimFault::TKind::ResponseCode);
        QTest::newRow("loop configuration refused") << int(TPage::Identification) << refused << 7
                                                    << QStringList { "ComboBoxPollingAddress=3" } << 6;
        QTest::newRow("tag, descriptor and date unanswered") << int(TPage::Identification) << int(TSimFault::TKind::NoAnswer) << 13
                                                             << QStringList { "EditTag=new-1", "EditDate=01.03.2024" } << 18;
        QTest::newRow("variable mapping refused") << int(TPage::DeviceVariables) << refused << 50
                                                  << QStringList { "ComboBoxDynDevPV=DV1" } << 51;
        QTest::newRow("offset and its unit refused") << int(TPage::DeviceVariables) << refused << 206
                                                     << QStringList { "EditDV0Offset=" + Local("0.1") } << 205;
    }

    void incompleteReadIsNotSaved()
    {
        QFETCH(int, page);
        QFETCH(int, faultKind);
        QFETCH(int, read);
        QFETCH(QStringList, entries);
        QFETCH(int, write);
        Connected probe(TSimDeviceState::Tivern(), "[Settings]\nNumberOfAttempts=1\n");
        TFormMainControls& c = probe.rig.C();
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind(faultKind)).OnCommand(read));
        {
            const bool unanswered = faultKind == int(TSimFault::TKind::NoAnswer);
            DialogScript timeout(unanswered ? QList<DialogScript::Action> { Answer(QMessageBox::Ok) } : QList<DialogScript::Action>());
            QVERIFY(TPage(page) == TPage::Identification ? probe.ClickAndWait(c.ButtonRefresh) : probe.Show(TPage(page)));
            QTRY_COMPARE(timeout.Done(), unanswered ? 1 : 0);
        }
        Enter(probe, entries);
        DialogScript refusal({ Answer(QMessageBox::Ok) });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        QTRY_COMPARE(refusal.Texts, QStringList { "Not all values of this tab could be read from the device; saving would "
                                                  "write the ones shown in their place.\n\nPress Refresh, then enter the "
                                                  "changes again." });
        QCOMPARE(probe.rig.Bus().RequestCount(write), 0);
    }

    // What the device did not confirm, or never answered, keeps the user's
    // entry and its mark; the fields it took show its values, unmarked.
    void unconfirmedEntriesStay_data()
    {
        const QString point = QLocale().decimalPoint();
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("faultKind");
        QTest::addColumn<int>("faultCommand");
        QTest::addColumn<QList<int>>("answers");      // the boxes the save shows, answered with these buttons
        QTest::addColumn<QStringList>("kept");        // "Control=text": shown and still marked
        QTest::addColumn<QStringList>("accepted");    // "Control=text": the device's, unmarked
        const auto refused = int(TSimFault::TKind::ResponseCode);
        const QList<int> calibration { QMessageBox::Yes };
        const QString offset = "EditDV0Offset=0" + point + "5";
        QTest::newRow("offset refused") << int(TPage::DeviceVariables) << QStringList { offset } << refused << 205 << calibration
                                        << QStringList { offset } << QStringList();
        QTest::newRow("unit refused") << int(TPage::DeviceVariables) << QStringList { "ComboBoxDV0Unit=centimeters" } << refused << 53
                                      << QList<int>() << QStringList { "ComboBoxDV0Unit=centimeters" } << QStringList();
        QTest::newRow("damping refused") << int(TPage::DeviceVariables) << QStringList { "EditDV1Damping=2" } << refused << 55
                                         << QList<int>() << QStringList { "EditDV1Damping=2" } << QStringList();
        QTest::newRow("unit taken, offset refused") << int(TPage::DeviceVariables) << QStringList { "ComboBoxDV0Unit=centimeters", offset }
                                                    << refused << 205 << calibration << QStringList { offset }
                                                    << QStringList { "ComboBoxDV0Unit=centimeters" };
        QTest::newRow("polling address refused") << int(TPage::Identification) << QStringList { "ComboBoxPollingAddress=3" } << refused << 6
                                                 << QList<int>() << QStringList { "ComboBoxPollingAddress=3" } << QStringList();
        QTest::newRow("tag refused") << int(TPage::Identification) << QStringList { "EditTag=t9" } << refused << 18 << QList<int>()
                                     << QStringList { "EditTag=T9" } << QStringList();
        QTest::newRow("message refused") << int(TPage::Identification) << QStringList { "EditTag=t2", "EditMessage=text" } << refused << 17
                                         << QList<int>() << QStringList { "EditMessage=TEXT" } << QStringList { "EditTag=T2      " };
        QTest::newRow("final assembly number refused") << int(TPage::Identification) << QStringList { "EditFinalAssemblyNo=5" } << refused
                                                       << 19 << QList<int>() << QStringList { "EditFinalAssemblyNo=5" } << QStringList();
        QTest::newRow("mapping refused") << int(TPage::DeviceVariables) << QStringList { "ComboBoxDynDevSV=DV3" } << refused << 51
                                         << QList<int>() << QStringList { "ComboBoxDynDevSV=DV3" } << QStringList();
        QTest::newRow("alarm refused") << int(TPage::AnalogOutput) << QStringList { "ComboBoxPVAlarmSelection=low (3,6 mA)", "EditPVUpperRangeValue=4" }
                                       << refused << 202 << QList<int>() << QStringList { "ComboBoxPVAlarmSelection=low (3,6 mA)" }
                                       << QStringList { "EditPVUpperRangeValue=4" + point + "000" };
        QTest::newRow("cut off by a time-out") << int(TPage::Identification)
                                               << QStringList { "EditTag=t3", "EditMessage=text", "EditFinalAssemblyNo=5" }
                                               << int(TSimFault::TKind::NoAnswer) << 17 << QList<int> { QMessageBox::Ok }
                                               << QStringList { "EditMessage=TEXT", "EditFinalAssemblyNo=5" }
                                               << QStringList { "EditTag=T3      " };
    }

    void unconfirmedEntriesStay()
    {
        QFETCH(int, page);
        QFETCH(QStringList, entries);
        QFETCH(int, faultKind);
        QFETCH(int, faultCommand);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, kept);
        QFETCH(QStringList, accepted);
        Connected probe(TSimDeviceState::Tivern(), "[Settings]\nNumberOfAttempts=1\n");
        TFormMainControls& c = probe.rig.C();
        if (TPage(page) != TPage::Identification)
            QVERIFY(probe.Show(TPage(page)));
        // A refusal other than write protection.
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind(faultKind)).OnCommand(faultCommand).WithValue(9));
        Enter(probe, entries);
        QList<DialogScript::Action> actions;
        for (const int button : answers)
            actions << Answer(button);
        DialogScript boxes(actions);
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        QTRY_COMPARE(boxes.Done(), answers.size());

        for (const QString& entry : kept)
            QCOMPARE(Shown(probe, entry.section('=', 0, 0)), entry.section('=', 1) + " marked");
        for (const QString& entry : accepted)
            QCOMPARE(Shown(probe, entry.section('=', 0, 0)), entry.section('=', 1));
        QVERIFY(c.ButtonSave->isEnabled());
    }

    // After a unit change the offset is shown in the new unit, and that is
    // what an edit is compared with.
    void offsetBaselineFollowsTheUnit()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.Show(TPage::DeviceVariables));
        TFormMainControls& c = probe.rig.C();
        const QString point = QLocale().decimalPoint();
        Enter(probe, { "EditDV1Offset=0" + point + "25" });
        DialogScript calibration({ Answer(QMessageBox::Yes) });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        Enter(probe, { "ComboBoxDV1Unit=centimeters" });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        QCOMPARE(c.EditDV1Offset->text(), "25" + point + "000");
        QVERIFY(!Modified(c.EditDV1Offset) && !c.ButtonSave->isEnabled());
        Enter(probe, { "EditDV1Offset=0" + point + "25" });
        QVERIFY(Modified(c.EditDV1Offset) && c.ButtonSave->isEnabled());
    }

    // Every write answered "In Write Protect Mode": the tab shows the
    // device's values again, unmarked.
    void writeProtectedProbeShowsItsOwnValuesAgain_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("shown");     // the entries' controls afterwards
        QTest::addColumn<int>("refusals");
        QTest::newRow("identification") << int(TPage::Identification) << QStringList { "EditTag=locked", "EditFinalAssemblyNo=99" }
                                        << QStringList { "TIVERN  ", "1001" } << 2;
        QTest::newRow("analog output") << int(TPage::AnalogOutput) << QStringList { "EditPVUpperRangeValue=5" }
                                       << QStringList { Local("3.000") } << 1;
        QTest::newRow("device variables") << int(TPage::DeviceVariables)
                                          << QStringList { "EditDV0Damping=2", "EditDV1Offset=" + Local("0.5"), "ComboBoxDynDevSV=DV3" }
                                          << QStringList { Local("1.000"), Local("0.000"), "DV1" } << 3;
    }

    void writeProtectedProbeShowsItsOwnValuesAgain()
    {
        QFETCH(int, page);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, shown);
        QFETCH(int, refusals);
        TSimDeviceState state = TSimDeviceState::Tivern();
        state.WriteProtected = true;
        Connected probe(state);
        TFormMainControls& c = probe.rig.C();
        if (TPage(page) != TPage::Identification)
            QVERIFY(probe.Show(TPage(page)));
        Enter(probe, entries);
        DialogScript calibration({ Answer(QMessageBox::Yes) });
        QVERIFY(probe.ClickAndWait(c.ButtonSave));
        QCOMPARE(calibration.Done(), entries.filter("Offset").size());
        TFormProtokoll& log = probe.rig.Program().FormProtokoll();
        QVERIFY(log.isVisible());
        QCOMPARE(log.Lines().filter("In Write Protect Mode").size(), refusals);
        for (int i = 0; i < entries.size(); ++i)
            QCOMPARE(Shown(probe, entries[i].section('=', 0, 0)), shown[i]);
        QVERIFY(!c.ButtonSave->isEnabled());
    }

    // --- Checked before anything is sent ---

    // An empty message: accepted, and the command sent once.
    void entriesAreCheckedBeforeSending_data()
    {
        const QString point = QLocale().decimalPoint();
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("limitsUnread");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("command");
        const auto row = [](const char* name, TPage page, const QStringList& entries, const QString& message, int command,
                            bool limitsUnread = false) {
            QTest::newRow(name) << int(page) << limitsUnread << entries << message << command;
        };
        row("largest final assembly number", TPage::Identification, { "EditFinalAssemblyNo=16777215" }, "", 19);
        row("final assembly number too large", TPage::Identification, { "EditFinalAssemblyNo=16777216" },
            "Final Assembly No. is greater than 16777215 (0xFFFFFF)", 19);
        row("negative final assembly number", TPage::Identification, { "EditFinalAssemblyNo:=-1" }, "Final Assembly No. is less than 0", 19);
        row("final assembly number not a number", TPage::Identification, { "EditFinalAssemblyNo:=abc" },
            "'abc' is not a valid integer value", 19);
        row("impossible date", TPage::Identification, { "EditDate=31.02.2025" }, "'31.02.2025' is not a valid date", 18);
        row("range at the limit", TPage::AnalogOutput, { "EditPVUpperRangeValue=6" }, "", 35);
        row("range above the limit", TPage::AnalogOutput, { "EditPVUpperRangeValue=6" + point + "001" },
            "PV Upper Range Value is greater than maximum (6" + point + "000)", 35);
        row("limits unread, 0", TPage::AnalogOutput, { "EditPVUpperRangeValue=0" }, "", 35, true);
        row("limits unread, above 0", TPage::AnalogOutput, { "EditPVUpperRangeValue=0" + point + "5" },
            "PV Upper Range Value is greater than maximum (0" + point + "000)", 35, true);
        row("passcodes differ, one too large", TPage::Others,
            { "MaskEditOldPasscode=0", "MaskEditNewPasscode1=70000", "MaskEditNewPasscode2=70001" },
            "New Passcode and the verify Passcode does not match.", 204);
        row("new passcode too large", TPage::Others,
            { "MaskEditOldPasscode=0", "MaskEditNewPasscode1=70000", "MaskEditNewPasscode2=70000" },
            "New Passcode greater than 65535 (0xFFFF).", 204);
        row("verify passcode empty", TPage::Others, { "MaskEditOldPasscode=0", "MaskEditNewPasscode1=1" }, "Verify Passcode is empty.", 204);
        // Cut to 16 bits it would switch protection with a passcode never typed.
        row("protection passcode too large", TPage::Others, { "CheckBoxProtectionMode=click", "MaskEditPasswcodeProtectionCode=70000" },
            "Passcode greater than 65535 (0xFFFF).", 200);
        row("protection passcode missing", TPage::Others, { "CheckBoxProtectionMode=click" }, "Please enter the passcode.", 200);
    }

    void entriesAreCheckedBeforeSending()
    {
        QFETCH(int, page);
        QFETCH(bool, limitsUnread);
        QFETCH(QStringList, entries);
        QFETCH(QString, message);
        QFETCH(int, command);
        Connected probe(TSimDeviceState::Tivern());
        // A not-a-number upper limit leaves both limits unread.
        if (limitsUnread)
            probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::NotANumber).OnCommand(14).WithValue(1));
        if (TPage(page) != TPage::Identification)
            QVERIFY(probe.Show(TPage(page)));
        Enter(probe, entries);
        DialogScript error({ Press("OK") });
        QVERIFY(probe.ClickAndWait(probe.rig.C().ButtonSave));
        QCOMPARE(error.Texts, message.isEmpty() ? QStringList() : QStringList { message });
        QCOMPARE(probe.rig.Bus().RequestCount(command), message.isEmpty() ? 1 : 0);
        if (message.isEmpty())
            return;
        QWidget* first = probe.rig.Main().findChild<QWidget*>(entries.first().section(QRegularExpression(":?="), 0, 0));
        QVERIFY(Modified(first));
        QVERIFY(probe.rig.C().ButtonSave->isEnabled());
    }
};

QTEST_MAIN(TestSave)
#include "test_save.moc"

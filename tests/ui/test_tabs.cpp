// Reading the tabs and tracking the user's edits, driven with keys and the
// mouse on the real window against the simulated probes.
#include "DialogScript.h"
#include "ProgramRig.h"

#include "worker/TThreadMeridal.h"
#include "worker/UControlColors.h"
#include "ui/TLevelProgressBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {

enum Page { Identification, AnalogOutput, DeviceVariables, Maintenance, Others, Diagnostics };

using Kind = TSimFault::TKind;

bool Modified(QWidget* control)
{
    return ControlColor(control) == ModifiedColor;
}

// The program, connected to one probe and done with its first identification.
struct Connected
{
    explicit Connected(const TSimDeviceState& probe)
    {
        rig.Bus().AddDevice(probe);
        rig.Store("Settings", "COM", "3");
        rig.Start();
        identified = rig.WaitUntilIdentified();
    }

    // Selects a tab the way a user does: a click on its tab.
    void ClickTab(int page)
    {
        QTabBar* bar = rig.C().PageControl->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
    }

    // Opens a tab (which reads it) and waits for the read to end.
    bool Show(int page)
    {
        ClickTab(page);
        return rig.C().PageControl->currentIndex() == page && rig.WaitUntilIdle();
    }

    // Replaces the text by typing, one key per character (also 8-bit ones).
    void Type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        for (const QChar character : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
            QApplication::sendEvent(edit, &press);
            QApplication::sendEvent(edit, &release);
        }
    }

    ProgramRig rig;
    bool identified = false;
};

QStringList Items(QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

} // namespace

class TestTabs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setApplicationDisplayName(QStringLiteral("KORVAL Meridal"));
    }

    // --- Entry filters and change tracking ---

    void tagTakesPackedAsciiInUpperCase()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        TFormMainControls& c = probe.rig.C();
        probe.Type(c.EditTag, QStringLiteral("tag'1"));
        QCOMPARE(c.EditTag->text(), QString("TAG1"));
        QVERIFY(Modified(c.EditTag));
        QVERIFY(c.ButtonSave->isEnabled());

        // Back to the device's value: normal again, nothing left to save.
        probe.Type(c.EditTag, QStringLiteral("TIVERN  "));
        QVERIFY(!Modified(c.EditTag));
        QVERIFY(!c.ButtonSave->isEnabled());
    }

    void longTagTakesLatinLettersOnly()
    {
        Connected probe(TSimDeviceState::Tivern());
        QLineEdit* longTag = probe.rig.C().EditLongTag;
        probe.Type(longTag, QString::fromLatin1("caf\xe9 ") + QChar(0x85) + QChar(0x9F) + QStringLiteral("x~"));
        QCOMPARE(longTag->text(), QString::fromLatin1("caf\xe9 x~"));
    }

    void finalAssemblyNumberTakesDigits()
    {
        Connected probe(TSimDeviceState::Tivern());
        QLineEdit* number = probe.rig.C().EditFinalAssemblyNo;
        probe.Type(number, QStringLiteral("12a"));
        QCOMPARE(number->text(), QString("12"));
    }

    void numericEditsCompareValues()
    {
        TSimDeviceState tivern = TSimDeviceState::Tivern();
        tivern.Configuration.Variables[0].Offset = 1.5;
        Connected probe(tivern);
        QVERIFY(probe.Show(DeviceVariables));
        TFormMainControls& c = probe.rig.C();
        QCOMPARE(c.EditDV0Offset->text(), QString("1.500"));
        QVERIFY(!Modified(c.EditDV0Offset));
        probe.Type(c.EditDV0Offset, QStringLiteral("1.50"));
        QVERIFY(!Modified(c.EditDV0Offset));                // the same 32-bit value
        probe.Type(c.EditDV0Offset, QStringLiteral("-"));
        QVERIFY(Modified(c.EditDV0Offset));                 // "-" counts as 0
        QVERIFY(c.ButtonSave->isEnabled());
        probe.Type(c.EditDV0Offset, QStringLiteral("1.5x"));
        QCOMPARE(c.EditDV0Offset->text(), QString("1.5"));  // the filter dropped the letter
        QVERIFY(!Modified(c.EditDV0Offset));
    }

    void anyPasscodeTextMarksTheOthersTab()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.Show(Others));
        TFormMainControls& c = probe.rig.C();
        QVERIFY(!c.ButtonSave->isEnabled());
        probe.Type(c.MaskEditNewPasscode1, QStringLiteral("4a7"));
        QCOMPARE(c.MaskEditNewPasscode1->text(), QString("47"));
        QVERIFY(Modified(c.MaskEditNewPasscode1));
        QVERIFY(c.ButtonSave->isEnabled());
    }

    void secondFloatOffTakesTheInterfaceLayerWithIt()
    {
        Connected probe(TSimDeviceState::Tivern(5, 3));
        QVERIFY(probe.Show(Others));
        TFormMainControls& c = probe.rig.C();
        QVERIFY(c.CheckBoxEnableDV1->isChecked());
        QVERIFY(c.CheckBoxEnableDV3->isChecked());
        QVERIFY(c.CheckBoxEnableDV3->isEnabled());
        QTest::mouseClick(c.CheckBoxEnableDV1, Qt::LeftButton, {}, QPoint(8, c.CheckBoxEnableDV1->height() / 2));
        QVERIFY(!c.CheckBoxEnableDV1->isChecked());
        QVERIFY(Modified(c.CheckBoxEnableDV1));
        QVERIFY(!c.CheckBoxEnableDV3->isChecked());
        QVERIFY(!c.CheckBoxEnableDV3->isEnabled());
        QVERIFY(Modified(c.CheckBoxEnableDV3));
    }

    void enableBoxesOfOldFirmwareAreNeverMarked()
    {
        Connected probe(TSimDeviceState::Tivern(5, 2));
        QVERIFY(probe.Show(Others));
        TFormMainControls& c = probe.rig.C();
        for (QCheckBox* box : { c.CheckBoxEnableDV0, c.CheckBoxEnableDV1, c.CheckBoxEnableDV2, c.CheckBoxEnableDV3 }) {
            QVERIFY(!box->isEnabled());
            QVERIFY(!box->isChecked());
        }
        QCOMPARE(probe.rig.Bus().RequestCount(210), 0);
        c.CheckBoxEnableDV1->setEnabled(true);
        QTest::mouseClick(c.CheckBoxEnableDV1, Qt::LeftButton, {}, QPoint(8, c.CheckBoxEnableDV1->height() / 2));
        QVERIFY(c.CheckBoxEnableDV1->isChecked());
        QVERIFY(!Modified(c.CheckBoxEnableDV1));
    }

    void leavingIdentificationKeepsTheEdit()
    {
        Connected probe(TSimDeviceState::Tivern());
        TFormMainControls& c = probe.rig.C();
        probe.Type(c.EditTag, QStringLiteral("LT-7"));
        DialogScript dialogs({});
        QVERIFY(probe.Show(AnalogOutput));
        QCOMPARE(dialogs.Done(), 0);                        // no question
        probe.ClickTab(Identification);
        QCOMPARE(c.PageControl->currentIndex(), int(Identification));
        QCOMPARE(c.EditTag->text(), QString("LT-7"));       // not read again
        QVERIFY(Modified(c.EditTag));
        QVERIFY(c.ButtonSave->isEnabled());
    }

    void leavingAnotherTabAsksBeforeDiscarding()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.Show(DeviceVariables));
        TFormMainControls& c = probe.rig.C();
        probe.Type(c.EditDV0Offset, QStringLiteral("0.25"));

        DialogScript no({ Answer(QMessageBox::No) });
        probe.ClickTab(Others);
        QTRY_COMPARE(no.Done(), 1);
        QCOMPARE(no.Texts, QStringList { "Entries have been modified.\n\nDo you want to discard changes?" });
        QCOMPARE(c.PageControl->currentIndex(), int(DeviceVariables));
        QCOMPARE(c.EditDV0Offset->text(), QString("0.25"));

        DialogScript yes({ Answer(QMessageBox::Yes) });
        probe.ClickTab(Others);
        QTRY_COMPARE(yes.Done(), 1);
        QVERIFY(probe.rig.WaitUntilIdle());
        QCOMPARE(c.PageControl->currentIndex(), int(Others));
        QVERIFY(probe.Show(DeviceVariables));                // read again
        QCOMPARE(c.EditDV0Offset->text(), QString("0.000"));
        QVERIFY(!Modified(c.EditDV0Offset));
    }

    void valuesWrittenByJobsAreNeverEdits()
    {
        Connected probe(TSimDeviceState::Tivern());
        TFormMainControls& c = probe.rig.C();
        for (int page : { AnalogOutput, DeviceVariables, Others, Identification }) {
            QVERIFY(probe.Show(page));
            if (page == Identification) {
                c.ButtonRefresh->click();
                QVERIFY(probe.rig.WaitUntilIdle());
            }
            QVERIFY(!c.ButtonSave->isEnabled());
        }
        for (QWidget* control : c.PageControl->findChildren<QWidget*>())
            QVERIFY2(!Modified(control), qPrintable(control->objectName()));
    }

    // --- What the read jobs show ---

    void identificationOfATivernProbe()
    {
        Connected probe(TSimDeviceState::Tivern());
        TFormMainControls& c = probe.rig.C();
        QCOMPARE(c.ComboBoxPollingAddress->currentText(), QString("0"));
        QVERIFY(c.CheckBoxLoopCurrentMode->isChecked());
        QCOMPARE(c.EditDescriptor->text(), QString("LEVEL PROBE     "));
        QCOMPARE(c.EditDate->text(), QString("01.03.2024"));
        QCOMPARE(c.EditLongTag->text(), QString("TIVERN level probe"));
        QCOMPARE(c.EditFinalAssemblyNo->text(), QString("1001"));
        QVERIFY(c.TabDiagnostics->isEnabled());
        QVERIFY(c.ButtonRestoreFactoryDefaults->isEnabled());
        QCOMPARE(c.GroupBoxDV0->title(), QString(" Float 1 - Device Variable 0 "));
        QCOMPARE(c.CheckBoxEnableDV3->text(), QString("DV3 (Interface Layer)"));
    }

    void analogOutputOfBothFamilies()
    {
        {
            Connected probe(TSimDeviceState::Tivern());
            QVERIFY(probe.Show(AnalogOutput));
            TFormMainControls& c = probe.rig.C();
            QCOMPARE(c.GroupBoxPV->title(), QString(" PV mapped to Float 1 - Device Variable 0 "));
            QCOMPARE(c.EditPrimaryVariableValue->text(), QString("1.250"));
            QCOMPARE(c.LabelPrimaryVariableUnit->text(), QString("meters"));
            QCOMPARE(c.EditPVUpperRangeValue->toolTip(), QString("Maximum: 6.000 meters\nMinimum: 0.000 meters"));
            QCOMPARE(c.LabelPVUpperRangeUnit->text(), QString("meters"));
            QCOMPARE(c.ComboBoxPVAlarmSelection->currentIndex(), 0);
            QCOMPARE(c.EditLoopCurrent->text().count(QLatin1Char('.')), 1);
            QCOMPARE(c.EditLoopCurrent->text().section(QLatin1Char('.'), 1).size(), 3);
        }
        {
            Connected probe(TSimDeviceState::Calderos());
            QVERIFY(probe.Show(AnalogOutput));
            QCOMPARE(probe.rig.C().GroupBoxPV->title(), QString(" PV mapped to Level - Device Variable 0"));
            QCOMPARE(probe.rig.C().EditPrimaryVariableValue->text(), QString("2.000"));
        }
    }

    void deviceVariablesOfATivernProbe()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.Show(DeviceVariables));
        TFormMainControls& c = probe.rig.C();
        for (QGroupBox* group : { c.GroupBoxDV0, c.GroupBoxDV1, c.GroupBoxDV2, c.GroupBoxDV3 })
            QVERIFY(!group->isHidden());
        QCOMPARE(c.EditDV2Value->text(), QString("21.500"));
        QCOMPARE(c.ComboBoxDV2Unit->currentText(), QString::fromLatin1("\xb0" "C"));
        QCOMPARE(c.ComboBoxDV0Unit->currentText(), QString("meters"));
        QCOMPARE(c.EditDV0Damping->text(), QString("1.000"));
        QVERIFY(!c.EditDV0Offset->isHidden());
        QCOMPARE(Items(c.ComboBoxDynDevPV), (QStringList { "DV0", "DV1", "DV2", "DV3" }));
        QCOMPARE(Items(c.ComboBoxDynDevQV), (QStringList { "DV0", "DV1", "DV2", "DV3", "Not Used" }));
        QCOMPARE(c.ComboBoxDynDevSV->currentText(), QString("DV1"));
    }

    void calderosShowsOneLevelWithDampingInTheOffsetsPlace()
    {
        Connected probe(TSimDeviceState::Calderos());
        QVERIFY(probe.Show(DeviceVariables));
        TFormMainControls& c = probe.rig.C();
        QVERIFY(!c.GroupBoxDV0->isHidden());
        for (QGroupBox* group : { c.GroupBoxDV1, c.GroupBoxDV2, c.GroupBoxDV3 })
            QVERIFY(group->isHidden());
        QVERIFY(c.EditDV0Offset->isHidden());
        QCOMPARE(c.GroupBoxDV0->title(), QString(" Level - Device Variable 0 "));
        // The damping row sits right below the value row, where TIVERN has its offset.
        const int rowStep = c.EditDV0Damping->y() - c.EditDV0Value->y();
        QVERIFY(rowStep > 0);
        QVERIFY(rowStep < 2 * c.EditDV0Value->height());
        QCOMPARE(Items(c.ComboBoxDynDevPV), QStringList { "DV0" });
        QCOMPARE(c.ComboBoxDynDevSV->currentText(), QString("Not Used"));
        QCOMPARE(c.CheckBoxEnableDV1->text(), QString("DV1 (Not Used)"));
    }

    void oldTivernFirmwareDisablesDiagnostics()
    {
        Connected probe(TSimDeviceState::Tivern(5, 2));
        TFormMainControls& c = probe.rig.C();
        QVERIFY(!c.TabDiagnostics->isEnabled());
        QVERIFY(!c.ButtonRestoreFactoryDefaults->isEnabled());
        probe.ClickTab(Diagnostics);
        QTRY_VERIFY(!c.LabelDiagnosticsFirmwareHint->isHidden());
        QVERIFY(c.ButtonRefresh->isEnabled());
        QVERIFY(probe.rig.WaitUntilIdle());
        QCOMPARE(probe.rig.Bus().RequestCount(207), 0);
        QCOMPARE(probe.rig.Bus().RequestCount(208), 0);
    }

    void notANumberCases()
    {
        Connected probe(TSimDeviceState::Tivern());
        TSimBus& bus = probe.rig.Bus();
        TFormMainControls& c = probe.rig.C();
        bus.AddFault(TSimFault(Kind::NotANumber).OnCommand(1).WithValue(1));
        bus.AddFault(TSimFault(Kind::NotANumber).OnCommand(2).WithValue(4));
        bus.AddFault(TSimFault(Kind::NotANumber).OnCommand(14).WithValue(4));
        QVERIFY(probe.Show(AnalogOutput));
        QCOMPARE(c.EditPrimaryVariableValue->text(), QString("NaN"));
        QCOMPARE(c.LabelPrimaryVariableUnit->text(), QString());
        QCOMPARE(c.EditPercentOfRange->text(), QString("NaN"));
        QVERIFY(c.EditLoopCurrent->text() != QLatin1String("NaN"));
        QCOMPARE(c.EditPVUpperRangeValue->toolTip(), QString("Minimum: NaN\nMaximum: NaN"));
        QVERIFY(c.EditPVLowerRangeValue->text() != QLatin1String("NaN"));   // the job went on
    }

    void statusTextsOfNaN()
    {
        Connected probe(TSimDeviceState::Tivern());
        probe.rig.Bus().AddFault(TSimFault(Kind::NotANumber).OnCommand(1).WithValue(1));
        probe.rig.Bus().AddFault(TSimFault(Kind::NotANumber).OnCommand(2).WithValue(0));
        probe.rig.Bus().AddFault(TSimFault(Kind::NotANumber).OnCommand(15).WithValue(3));
        QSignalSpy shown(DeviceThread, &TThreadMeridal::StatusTextShown);
        QVERIFY(probe.Show(AnalogOutput));
        QStringList texts;
        for (const QList<QVariant>& signal : shown)
            texts << signal.at(0).toString();
        QCOMPARE(texts, (QStringList { "Read Dynamic Variable Assignments", "Read Primary Value (PV)", "Primary Value (PV) -> NaN",
                                       "Read Primary Variable Limits", "Read Loop Current and Percent Of Range",
                                       "Loop Current or/and Percent Of Range -> NaN", "Read Device Information",
                                       "Device Information -> NaN" }));
        TFormMainControls& c = probe.rig.C();
        QCOMPARE(c.EditLoopCurrent->text(), QString("NaN"));
        QCOMPARE(c.EditPVUpperRangeValue->text(), QString("NaN"));
        QCOMPARE(c.EditPVLowerRangeValue->text(), QString("NaN"));
        QCOMPARE(c.LabelPVUpperRangeUnit->text(), QString());
    }

    void unexpectedByteCountShowsTheMarker()
    {
        Connected probe(TSimDeviceState::Tivern());
        probe.rig.Bus().AddFault(TSimFault(Kind::ByteCount).OnCommand(1).WithValue(-1));
        QVERIFY(probe.Show(AnalogOutput));
        QCOMPARE(probe.rig.C().EditPrimaryVariableValue->text(), QString("4294967296.000"));
        QCOMPARE(probe.rig.C().LabelPrimaryVariableUnit->text(), QString());
    }

    void pollingAddressBeyondTheList()
    {
        Connected probe(TSimDeviceState::Tivern());
        probe.rig.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.PollingAddress = 20; });
        probe.rig.C().ButtonRefresh->click();
        QVERIFY(probe.rig.WaitUntilIdle());
        QComboBox* address = probe.rig.C().ComboBoxPollingAddress;
        QCOMPARE(address->currentIndex(), -1);
        QVERIFY(!Modified(address));
        QVERIFY(!probe.rig.C().ButtonSave->isEnabled());
    }

    void autoRefreshStopsWhileAValueIsEdited()
    {
        Connected probe(TSimDeviceState::Tivern());
        TFormMainControls& c = probe.rig.C();
        c.MenuSettingsAutoRefreshSec5->trigger();
        QVERIFY(probe.Show(AnalogOutput));
        c.TimerRefresh->setInterval(100);                   // the period itself is the menu's
        const int before = probe.rig.Bus().RequestCount(1);
        QTRY_VERIFY(probe.rig.Bus().RequestCount(1) >= before + 2);
        QCOMPARE(probe.rig.Bus().RequestCount(15), 1);      // the refresh leaves the range alone

        // Between two refreshes, as a user types while the tab is enabled.
        QVERIFY(probe.rig.WaitUntilIdle());
        probe.Type(c.EditPVUpperRangeValue, QStringLiteral("2.5"));
        QVERIFY(Modified(c.EditPVUpperRangeValue));
        const int edited = probe.rig.Bus().RequestCount(1);
        QTest::qWait(500);
        QCOMPARE(probe.rig.Bus().RequestCount(1), edited);
        QCOMPARE(c.EditPVUpperRangeValue->text(), QString("2.5"));
    }

    void diagnosticsArePolledOnlyWhileTheirTabIsShown()
    {
        Connected probe(TSimDeviceState::Tivern());
        TFormMainControls& c = probe.rig.C();
        QVERIFY(probe.Show(Diagnostics));
        QVERIFY(!c.ButtonRefresh->isEnabled());
        QCOMPARE(c.AdvEditFirmwareVersion->text(), QString("3.1.0"));
        QCOMPARE(c.EditDeviceIDDiagnostics->text(), c.EditDeviceID->text());
        QCOMPARE(c.AdvEditStartLevel->text(), QString("1.66"));
        QCOMPARE(c.AdvEditDampingLength->text(), QString("250"));
        QCOMPARE(c.AdvEditPulseDuration->text(), QString("5.00"));
        QCOMPARE(c.AdvEditHeadTemp->text(), QString("23.5"));
        QCOMPARE(c.AdvProgressBarQualityQuotient->value(), 80);
        QVERIFY(c.TimerDiagnostics->isActive());
        QCOMPARE(c.TimerDiagnostics->interval(), 2000);

        c.TimerDiagnostics->setInterval(100);
        const int polled = probe.rig.Bus().RequestCount(207);
        QTRY_VERIFY(probe.rig.Bus().RequestCount(207) >= polled + 2);

        // Leave the tab between two polls.
        c.TimerDiagnostics->setInterval(2000);
        QVERIFY(probe.rig.WaitUntilIdle());
        QVERIFY(probe.Show(Maintenance));
        QTest::qWait(300);
        const int left = probe.rig.Bus().RequestCount(207);
        QTest::qWait(400);
        QCOMPARE(probe.rig.Bus().RequestCount(207), left);
        QVERIFY(!c.TimerDiagnostics->isActive());
    }

    void diagnosticsWithoutAClockShowNaN()
    {
        TSimDeviceState tivern = TSimDeviceState::Tivern();
        tivern.Diagnostics.ClockValue = 0.0f;
        Connected probe(tivern);
        QVERIFY(probe.Show(Diagnostics));
        QCOMPARE(probe.rig.C().AdvEditPulseDuration->text(), QString("NaN"));
        QVERIFY(probe.rig.C().TimerDiagnostics->isActive());    // the job did not fail
    }
};

QTEST_MAIN(TestTabs)
#include "test_tabs.moc"

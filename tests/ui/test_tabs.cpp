// Reading the tabs and tracking the user's edits, driven with keys and the
// mouse on the real window against the simulated probes.
#include "Connected.h"
#include "DialogScript.h"
#include "support/LocalNumber.h"

#include "ui/TLevelProgressBar.h"
#include "ui/UControlColors.h"
#include "worker/TThreadMeridal.h"

#include <QCheckBox>
#include <QClipboard>
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

#include <cmath>

namespace {

using Kind = TSimFault::TKind;

// The share of the control's painted pixels that show the modified colour.
// Styles shade it (Fusion paints the face of a list as a lighter gradient
// of it), so a pixel counts by its hue and a clear saturation.
double ModifiedShare(QWidget* control)
{
    const QImage image = control->grab().toImage();
    const int hue = ModifiedColor.hslHue();
    int shown = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            shown += pixel.hslSaturationF() >= 0.15 && std::abs(pixel.hslHue() - hue) <= 15;
        }
    }
    return double(shown) / (image.width() * image.height());
}

// WCAG contrast between the darkest painted pixel (the text) and the
// background (the most frequent pixel).
double TextContrast(QWidget* control)
{
    const QImage image = control->grab().toImage();
    const auto luminance = [](QColor c) {
        const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    QHash<QRgb, int> counts;
    double darkest = 1.0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ++counts[image.pixel(x, y)];
            darkest = std::min(darkest, luminance(image.pixelColor(x, y)));
        }
    }
    QRgb background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(background))
            background = it.key();
    }
    return (luminance(QColor::fromRgb(background)) + 0.05) / (darkest + 0.05);
}

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
        TMeridalProgram::SetUpApplication();
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

    // A field may hold what the filter would refuse (the device's value);
    // every character entered later is still judged on its own.
    void filtersJudgeEveryEnteredCharacter_data()
    {
        const QString point = QLocale().decimalPoint();
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("held");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("expected");
        QTest::newRow("tag with an apostrophe, typed") << int(TPage::Identification) << "EditTag" << "TAG'" << false
                                                      << QString::fromUtf8("x'\u00e9") << "TAG'X";
        QTest::newRow("tag with an apostrophe, pasted") << int(TPage::Identification) << "EditTag" << "TAG'" << true
                                                       << QString::fromUtf8("ab'c\u20ac\n") << "TAG'ABC";
        QTest::newRow("descriptor in lower case") << int(TPage::Identification) << "EditDescriptor" << "" << false
                                                 << "main'tank" << "MAINTANK";
        QTest::newRow("long tag with a euro sign") << int(TPage::Identification) << "EditLongTag" << QString::fromUtf8("\u20acuro") << false
                                                  << QString::fromUtf8("\u00e9\u0416a") << QString::fromUtf8("\u20acuro\u00e9a");
        QTest::newRow("number, pasted") << int(TPage::Identification) << "EditFinalAssemblyNo" << "12" << true << "3x4" << "1234";
        QTest::newRow("range value holding NaN") << int(TPage::AnalogOutput) << "EditPVUpperRangeValue" << "NaN" << false
                                                << "1a" + point + "5" << "NaN1" + point + "5";
        // Either separator, and the minus sign of a spreadsheet, mean the same number.
        QTest::newRow("offset typed with a point and U+2212") << int(TPage::DeviceVariables) << "EditDV0Offset" << "" << false
                                                             << QString::fromUtf8("\u22120.08") << "-0" + point + "08";
        QTest::newRow("offset pasted with a comma") << int(TPage::DeviceVariables) << "EditDV0Offset" << "" << true << "-1,5"
                                                   << "-1" + point + "5";
    }

    void filtersJudgeEveryEnteredCharacter()
    {
        QFETCH(int, page);
        QFETCH(QString, field);
        QFETCH(QString, held);
        QFETCH(bool, paste);
        QFETCH(QString, entered);
        QFETCH(QString, expected);
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        if (TPage(page) != TPage::Identification)
            QVERIFY(probe.Show(TPage(page)));
        auto* edit = probe.rig.Main().findChild<QLineEdit*>(field);
        // "NaN1" is no number: each change of it shows the conversion error.
        DialogScript conversionErrors(QList<DialogScript::Action>(8, Press(QStringLiteral("OK"))));
        edit->setText(held);
        edit->setFocus();
        edit->end(false);
        if (paste) {
            QGuiApplication::clipboard()->setText(entered);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else {
            probe.TypeAtCursor(edit, entered);
        }
        QCOMPARE(edit->text(), expected);
    }

    void modifiedColourIsPainted_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("check box") << "CheckBoxLoopCurrentMode";
        QTest::newRow("edit") << "EditTag";
        QTest::newRow("drop-down list") << "ComboBoxPollingAddress";
    }

    // Each control is changed and changed back as a user does it.
    void modifiedColourIsPainted()
    {
        QFETCH(QString, control);
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        auto* widget = probe.rig.Main().findChild<QWidget*>(control);
        const auto change = [&](bool back) {
            if (auto* box = qobject_cast<QCheckBox*>(widget))
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
            else if (auto* edit = qobject_cast<QLineEdit*>(widget))
                probe.Type(edit, back ? QStringLiteral("TIVERN  ") : QStringLiteral("X"));
            else
                QTest::keyClick(widget, back ? Qt::Key_Up : Qt::Key_Down);
        };
        QVERIFY2(ModifiedShare(widget) < 0.05, "normal before the change");
        change(false);
        QVERIFY2(ModifiedShare(widget) > 0.3, qPrintable(QString::number(ModifiedShare(widget))));
        change(true);
        QVERIFY2(ModifiedShare(widget) < 0.05, "normal again after changing it back");
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
        QVERIFY(probe.Show(TPage::DeviceVariables));
        TFormMainControls& c = probe.rig.C();
        QCOMPARE(c.EditDV0Offset->text(), Local("1.500"));
        QVERIFY(!Modified(c.EditDV0Offset));
        probe.Type(c.EditDV0Offset, Local("1.50"));
        QVERIFY(!Modified(c.EditDV0Offset));                // the same 32-bit value
        probe.Type(c.EditDV0Offset, QStringLiteral("-"));
        QVERIFY(Modified(c.EditDV0Offset));                 // "-" counts as 0
        QVERIFY(c.ButtonSave->isEnabled());
        probe.Type(c.EditDV0Offset, Local("1.5x"));
        QCOMPARE(c.EditDV0Offset->text(), Local("1.5"));  // the filter dropped the letter
        QVERIFY(!Modified(c.EditDV0Offset));
    }

    void anyPasscodeTextMarksTheOthersTab()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.Show(TPage::Others));
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
        QVERIFY(probe.Show(TPage::Others));
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
        QVERIFY(probe.Show(TPage::Others));
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
        QVERIFY(probe.Show(TPage::AnalogOutput));
        QCOMPARE(dialogs.Done(), 0);                        // no question
        probe.ClickTab(TPage::Identification);
        QCOMPARE(c.PageControl->currentIndex(), int(TPage::Identification));
        QCOMPARE(c.EditTag->text(), QString("LT-7"));       // not read again
        QVERIFY(Modified(c.EditTag));
        QVERIFY(c.ButtonSave->isEnabled());
    }

    void leavingAnotherTabAsksBeforeDiscarding()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.Show(TPage::DeviceVariables));
        TFormMainControls& c = probe.rig.C();
        probe.Type(c.EditDV0Offset, Local("0.25"));

        DialogScript no({ Answer(QMessageBox::No) });
        probe.ClickTab(TPage::Others);
        QTRY_COMPARE(no.Done(), 1);
        QCOMPARE(no.Texts, QStringList { "Entries have been modified.\n\nDo you want to discard changes?" });
        QCOMPARE(c.PageControl->currentIndex(), int(TPage::DeviceVariables));
        QCOMPARE(c.EditDV0Offset->text(), Local("0.25"));

        DialogScript yes({ Answer(QMessageBox::Yes) });
        probe.ClickTab(TPage::Others);
        QTRY_COMPARE(yes.Done(), 1);
        QVERIFY(probe.rig.WaitUntilIdle());
        QCOMPARE(c.PageControl->currentIndex(), int(TPage::Others));
        QVERIFY(probe.Show(TPage::DeviceVariables));                // read again
        QCOMPARE(c.EditDV0Offset->text(), Local("0.000"));
        QVERIFY(!Modified(c.EditDV0Offset));
    }

    void valuesWrittenByJobsAreNeverEdits()
    {
        Connected probe(TSimDeviceState::Tivern());
        TFormMainControls& c = probe.rig.C();
        for (TPage page : { TPage::AnalogOutput, TPage::DeviceVariables, TPage::Others, TPage::Identification }) {
            QVERIFY(probe.Show(TPage(page)));
            if (page == TPage::Identification) {
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
            TSimDeviceState tivern = TSimDeviceState::Tivern();
            tivern.Configuration.UpperRangeValue = 2.5;        // PV 1.25 m: 37.5 % of the range, 10 mA
            tivern.Configuration.LowerRangeValue = 0.5;
            tivern.Configuration.AlarmSelection = 1;
            Connected probe(tivern);
            QVERIFY(probe.Show(TPage::AnalogOutput));
            TFormMainControls& c = probe.rig.C();
            QCOMPARE(c.GroupBoxPV->title(), QString(" PV mapped to Float 1 - Device Variable 0 "));
            QCOMPARE(c.EditPrimaryVariableValue->text(), Local("1.250"));
            QCOMPARE(c.LabelPrimaryVariableUnit->text(), QString("meters"));
            QCOMPARE(c.EditPVUpperRangeValue->text(), Local("2.500"));
            QCOMPARE(c.EditPVLowerRangeValue->text(), Local("0.500"));
            QCOMPARE(c.EditPercentOfRange->text(), Local("37.500"));
            QCOMPARE(c.EditLoopCurrent->text(), Local("10.000"));
            QCOMPARE(c.EditPVUpperRangeValue->toolTip(), "Maximum: " + Local("6.000") + " meters\nMinimum: " + Local("0.000") + " meters");
            QCOMPARE(c.LabelPVUpperRangeUnit->text(), QString("meters"));
            QCOMPARE(c.ComboBoxPVAlarmSelection->currentText(), QString("low (3,6 mA)"));
        }
        {
            Connected probe(TSimDeviceState::Calderos());
            QVERIFY(probe.Show(TPage::AnalogOutput));
            QCOMPARE(probe.rig.C().GroupBoxPV->title(), QString(" PV mapped to Level - Device Variable 0"));
            QCOMPARE(probe.rig.C().EditPrimaryVariableValue->text(), Local("2.000"));
        }
    }

    void deviceVariablesOfATivernProbe()
    {
        TSimDeviceState tivern = TSimDeviceState::Tivern();
        tivern.Configuration.Variables[0].Offset = 0.125;
        tivern.Configuration.Variables[1].Offset = 0.25;
        tivern.Configuration.Variables[1].Damping = 2.0f;
        Connected probe(tivern);
        QVERIFY(probe.Show(TPage::DeviceVariables));
        TFormMainControls& c = probe.rig.C();
        for (QGroupBox* group : { c.GroupBoxDV0, c.GroupBoxDV1, c.GroupBoxDV2, c.GroupBoxDV3 })
            QVERIFY(!group->isHidden());
        // Each value, as the probe holds it (a measurement plus its offset).
        const QList<std::pair<QLineEdit*, QString>> shown = {
            { c.EditDV0Value, Local("1.375") }, { c.EditDV0Offset, Local("0.125") }, { c.EditDV0Damping, Local("1.000") },
            { c.EditDV1Value, Local("1.000") }, { c.EditDV1Offset, Local("0.250") }, { c.EditDV1Damping, Local("2.000") },
            { c.EditDV2Value, Local("21.500") }, { c.EditDV3Value, Local("0.500") },
        };
        for (const auto& [edit, text] : shown)
            QVERIFY2(edit->text() == text, qPrintable(edit->objectName() + ": " + edit->text()));
        QCOMPARE(c.ComboBoxDV2Unit->currentText(), QString::fromLatin1("\xb0" "C"));
        QCOMPARE(c.ComboBoxDV0Unit->currentText(), QString("meters"));
        QVERIFY(!c.EditDV0Offset->isHidden());
        QCOMPARE(Items(c.ComboBoxDynDevPV), (QStringList { "DV0", "DV1", "DV2", "DV3" }));
        QCOMPARE(Items(c.ComboBoxDynDevQV), (QStringList { "DV0", "DV1", "DV2", "DV3", "Not Used" }));
        QCOMPARE(c.ComboBoxDynDevSV->currentText(), QString("DV1"));
    }

    void calderosShowsOneLevelWithDampingInTheOffsetsPlace()
    {
        Connected probe(TSimDeviceState::Calderos());
        QVERIFY(probe.Show(TPage::DeviceVariables));
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
        probe.ClickTab(TPage::Diagnostics);
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
        QVERIFY(probe.Show(TPage::AnalogOutput));
        QCOMPARE(c.EditPrimaryVariableValue->text(), QString("NaN"));
        QCOMPARE(c.LabelPrimaryVariableUnit->text(), QString());
        QCOMPARE(c.EditPercentOfRange->text(), QString("NaN"));
        QVERIFY(c.EditLoopCurrent->text() != QLatin1String("NaN"));
        QCOMPARE(c.EditPVUpperRangeValue->toolTip(), QString("Minimum: NaN\nMaximum: NaN"));
        QVERIFY(c.EditPVLowerRangeValue->text() != QLatin1String("NaN"));   // the job went on
    }

    // HART marks a missing value with 7F A0 00 00; every pattern from 7F 90
    // on counts, with a positive sign only. A value keeps its unit label.
    void notANumberBoundaries_data()
    {
        QTest::addColumn<quint32>("pattern");
        QTest::addColumn<QString>("unit");
        QTest::newRow("7F 8F FF FF is a value") << 0x7F8FFFFFu << "meters";
        QTest::newRow("7F 90 00 00 is none") << 0x7F900000u << "";
        QTest::newRow("7F A0 00 00 is none") << 0x7FA00000u << "";
        QTest::newRow("FF A0 00 00 is a value") << 0xFFA00000u << "meters";
    }

    void notANumberBoundaries()
    {
        QFETCH(quint32, pattern);
        QFETCH(QString, unit);
        Connected probe(TSimDeviceState::Tivern());
        probe.rig.Bus().AddFault(TSimFault(Kind::NotANumber).OnCommand(1).WithValue(1).WithPattern(pattern));
        QVERIFY(probe.Show(TPage::AnalogOutput));
        QCOMPARE(probe.rig.C().LabelPrimaryVariableUnit->text(), unit);
    }

    // The numbers a technician reads: normal text, not the grey of a
    // disabled field, and still not editable.
    void liveValuesAreReadable()
    {
        Connected probe(TSimDeviceState::Tivern());
        TFormMainControls& c = probe.rig.C();
        QVERIFY(probe.Show(TPage::AnalogOutput));
        QList<QLineEdit*> values = { c.EditPrimaryVariableValue, c.EditLoopCurrent, c.EditPercentOfRange };
        for (QLineEdit* edit : values)
            QVERIFY2(TextContrast(edit) >= 4.5, qPrintable(edit->objectName() + ": " + QString::number(TextContrast(edit))));
        QVERIFY(probe.Show(TPage::DeviceVariables));
        values = { c.EditDV0Value, c.EditDV1Value, c.EditDV2Value, c.EditDV3Value };
        for (QLineEdit* edit : values) {
            QVERIFY2(TextContrast(edit) >= 4.5, qPrintable(edit->objectName() + ": " + QString::number(TextContrast(edit))));
            const QString before = edit->text();
            edit->setFocus();
            QTest::keyClicks(edit, QStringLiteral("9"));
            QCOMPARE(edit->text(), before);
        }
    }

    void statusTextsOfNaN()
    {
        Connected probe(TSimDeviceState::Tivern());
        probe.rig.Bus().AddFault(TSimFault(Kind::NotANumber).OnCommand(1).WithValue(1));
        probe.rig.Bus().AddFault(TSimFault(Kind::NotANumber).OnCommand(2).WithValue(0));
        probe.rig.Bus().AddFault(TSimFault(Kind::NotANumber).OnCommand(15).WithValue(3));
        QSignalSpy shown(DeviceThread, &TThreadMeridal::StatusTextShown);
        QVERIFY(probe.Show(TPage::AnalogOutput));
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
        QVERIFY(probe.Show(TPage::AnalogOutput));
        QCOMPARE(probe.rig.C().EditPrimaryVariableValue->text(), Local("4294967296.000"));
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
        QVERIFY(probe.Show(TPage::AnalogOutput));
        c.TimerRefresh->setInterval(100);                   // the period itself is the menu's
        const int before = probe.rig.Bus().RequestCount(1);
        QTRY_VERIFY(probe.rig.Bus().RequestCount(1) >= before + 2);
        QCOMPARE(probe.rig.Bus().RequestCount(15), 1);      // the refresh leaves the range alone

        // Between two refreshes, as a user types while the tab is enabled.
        QVERIFY(probe.rig.WaitUntilIdle());
        probe.Type(c.EditPVUpperRangeValue, Local("2.5"));
        QVERIFY(Modified(c.EditPVUpperRangeValue));
        const int edited = probe.rig.Bus().RequestCount(1);
        QTest::qWait(500);
        QCOMPARE(probe.rig.Bus().RequestCount(1), edited);
        QCOMPARE(c.EditPVUpperRangeValue->text(), Local("2.5"));
    }

    void diagnosticsArePolledOnlyWhileTheirTabIsShown()
    {
        Connected probe(TSimDeviceState::Tivern());
        TFormMainControls& c = probe.rig.C();
        QVERIFY(probe.Show(TPage::Diagnostics));
        QVERIFY(!c.ButtonRefresh->isEnabled());
        QCOMPARE(c.AdvEditFirmwareVersion->text(), QString("3.1.0"));
        QCOMPARE(c.EditDeviceIDDiagnostics->text(), c.EditDeviceID->text());
        QCOMPARE(c.AdvEditStartLevel->text(), Local("1.66"));
        QCOMPARE(c.AdvEditDampingLength->text(), QString("250"));
        QCOMPARE(c.AdvEditPulseDuration->text(), Local("5.00"));
        QCOMPARE(c.AdvEditHeadTemp->text(), Local("23.5"));
        QCOMPARE(c.AdvProgressBarQualityQuotient->value(), 80);
        QVERIFY(c.TimerDiagnostics->isActive());
        QCOMPARE(c.TimerDiagnostics->interval(), 2000);

        c.TimerDiagnostics->setInterval(100);
        const int polled = probe.rig.Bus().RequestCount(207);
        QTRY_VERIFY(probe.rig.Bus().RequestCount(207) >= polled + 2);

        // Leave the tab between two polls.
        c.TimerDiagnostics->setInterval(2000);
        QVERIFY(probe.rig.WaitUntilIdle());
        QVERIFY(probe.Show(TPage::Maintenance));
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
        QVERIFY(probe.Show(TPage::Diagnostics));
        QCOMPARE(probe.rig.C().AdvEditPulseDuration->text(), QString("NaN"));
        QVERIFY(probe.rig.C().TimerDiagnostics->isActive());    // the job did not fail
    }
};

QTEST_MAIN(TestTabs)
#include "test_tabs.moc"

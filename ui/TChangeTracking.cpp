#include "ui/TChangeTracking.h"

#include "ui/TFormMainControls.h"
#include "util/Exceptions.h"
#include "util/UConversions.h"
#include "worker/UControlColors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

enum Page { Identification, AnalogOutput, DeviceVariables, Maintenance, Others, Diagnostics };

bool IsMaskedEdit(const QObject* control)
{
    const auto* edit = qobject_cast<const QLineEdit*>(control);
    return edit && edit->echoMode() == QLineEdit::Password;
}

// The value of a numeric entry for comparison: empty and "-" count as 0.
float NumericValue(const QString& text)
{
    if (text.isEmpty() || text == QLatin1String("-"))
        return 0;
    return StrToFloat(text);
}

} // namespace

TChangeTracking::TChangeTracking(TFormMainControls& controls, std::function<bool()> idle)
    : c(controls)
    , idle(std::move(idle))
{
    for (QWidget* combo : { static_cast<QWidget*>(c.ComboBoxPollingAddress), static_cast<QWidget*>(c.ComboBoxPVAlarmSelection),
                            static_cast<QWidget*>(c.ComboBoxDynDevPV), static_cast<QWidget*>(c.ComboBoxDynDevSV),
                            static_cast<QWidget*>(c.ComboBoxDynDevTV), static_cast<QWidget*>(c.ComboBoxDynDevQV) })
        track(combo, TKind::ItemIndex);
    track(c.CheckBoxLoopCurrentMode, TKind::Checked);
    track(c.CheckBoxProtectionMode, TKind::Checked);
    for (QLineEdit* edit : { c.EditTag, c.EditLongTag, c.EditDescriptor, c.EditMessage, c.EditDate, c.EditFinalAssemblyNo })
        track(edit, TKind::Text);
    track(c.EditPVUpperRangeValue, TKind::Number);
    track(c.EditPVLowerRangeValue, TKind::Number);
    track(c.ComboBoxDV0Unit, TKind::ItemIndex, c.GroupBoxDV0);
    track(c.EditDV0Offset, TKind::Number, c.GroupBoxDV0);
    track(c.EditDV0Damping, TKind::Number, c.GroupBoxDV0);
    track(c.ComboBoxDV1Unit, TKind::ItemIndex, c.GroupBoxDV1);
    track(c.EditDV1Offset, TKind::Number, c.GroupBoxDV1);
    track(c.EditDV1Damping, TKind::Number, c.GroupBoxDV1);
    track(c.ComboBoxDV2Unit, TKind::ItemIndex, c.GroupBoxDV2);
    track(c.ComboBoxDV3Unit, TKind::ItemIndex, c.GroupBoxDV3);
    for (QCheckBox* box : { c.CheckBoxEnableDV1, c.CheckBoxEnableDV2, c.CheckBoxEnableDV3 })
        track(box, TKind::EnableBox);
    for (QLineEdit* edit : { c.MaskEditOldPasscode, c.MaskEditNewPasscode1, c.MaskEditNewPasscode2 })
        track(edit, TKind::Passcode);
}

void TChangeTracking::track(QWidget* control, TKind kind, QWidget* group)
{
    QVariant baseline;
    switch (kind) {
    case TKind::ItemIndex: baseline = 0; break;
    case TKind::Checked:
    case TKind::EnableBox: baseline = false; break;
    case TKind::Text: baseline = QString(); break;
    case TKind::Number: baseline = 0.0f; break;
    case TKind::Passcode: break;
    }
    tracked.insert(control, TTracked { kind, group, baseline });
}

void TChangeTracking::AcceptControlValue(QObject* control)
{
    auto* widget = qobject_cast<QWidget*>(control);
    if (widget && !IsMaskedEdit(widget))
        SetControlColor(widget, NormalColor(widget));

    const auto entry = tracked.find(control);
    if (entry != tracked.end() && entry->kind != TKind::Passcode) {
        const bool rangeShowsNaN = (control == c.EditPVUpperRangeValue || control == c.EditPVLowerRangeValue)
            && qobject_cast<QLineEdit*>(control)->text() == QLatin1String("NaN");
        if (!rangeShowsNaN) {
            try {
                entry->baseline = shownValue(control, entry->kind);
            } catch (const EConvertError&) {
                // Not a number: the old baseline stays.
            }
        }
    }
    CheckControlChange(control);
}

void TChangeTracking::AcceptTabValues()
{
    for (QWidget* control : tabAcceptList(visiblePage()))
        AcceptControlValue(control);
}

void TChangeTracking::CheckControlChange(QObject* control)
{
    if (!idle())
        return;
    if (const std::optional<bool> modified = differsFromBaseline(control)) {
        auto* widget = qobject_cast<QWidget*>(control);
        SetControlColor(widget, *modified ? ModifiedColor : NormalColor(widget));
    }
    c.ButtonSave->setEnabled(TabModified());
}

std::optional<bool> TChangeTracking::differsFromBaseline(QObject* control)
{
    const auto entry = tracked.constFind(control);
    if (entry == tracked.cend())
        return std::nullopt;
    // A control of a hidden group keeps its colour.
    if (entry->group && entry->group->isHidden())
        return std::nullopt;
    switch (entry->kind) {
    case TKind::Passcode:
        return !qobject_cast<QLineEdit*>(control)->text().isEmpty();
    case TKind::EnableBox: {
        if (!enableBoxesTracked())
            return std::nullopt;
        const bool differs = shownValue(control, entry->kind) != entry->baseline;
        if (control == c.CheckBoxEnableDV1)
            followFloat2Enable();
        return differs;
    }
    default:
        return shownValue(control, entry->kind) != entry->baseline;
    }
}

QVariant TChangeTracking::shownValue(QObject* control, TKind kind) const
{
    switch (kind) {
    case TKind::ItemIndex: return qobject_cast<QComboBox*>(control)->currentIndex();
    case TKind::Checked:
    case TKind::EnableBox: return qobject_cast<QCheckBox*>(control)->isChecked();
    case TKind::Text: return qobject_cast<QLineEdit*>(control)->text();
    case TKind::Number: return NumericValue(qobject_cast<QLineEdit*>(control)->text());
    case TKind::Passcode: break;
    }
    return {};
}

// The enable flags can be changed only on firmware revision 3 and later.
bool TChangeTracking::enableBoxesTracked() const
{
    bool ok = false;
    const int revision = c.EditFirmwareRev->text().toInt(&ok);
    return ok && revision >= 3;
}

// The interface layer needs the second float: without DV1 it can be neither
// enabled nor chosen.
void TChangeTracking::followFloat2Enable()
{
    const bool float2 = c.CheckBoxEnableDV1->isChecked();
    c.CheckBoxEnableDV3->setEnabled(float2);
    if (!float2)
        c.CheckBoxEnableDV3->setChecked(false);
}

bool TChangeTracking::TabModified(int page) const
{
    for (QWidget* control : tabModifiedList(page < 0 ? visiblePage() : page)) {
        if (ControlColor(control) == ModifiedColor)
            return true;
    }
    return false;
}

QList<QWidget*> TChangeTracking::tabAcceptList(int page) const
{
    switch (page) {
    case Identification:
        return { c.ComboBoxPollingAddress, c.CheckBoxLoopCurrentMode, c.EditTag, c.EditLongTag,
                 c.EditDescriptor, c.EditMessage, c.EditDate, c.EditFinalAssemblyNo };
    case AnalogOutput:
        return { c.ComboBoxPVAlarmSelection, c.EditPVUpperRangeValue, c.EditPVLowerRangeValue };
    case DeviceVariables:
        return { c.ComboBoxDV0Unit, c.EditDV0Offset, c.EditDV0Damping, c.ComboBoxDV1Unit, c.EditDV1Offset, c.EditDV1Damping,
                 c.ComboBoxDV2Unit, c.ComboBoxDV3Unit, c.ComboBoxDynDevPV, c.ComboBoxDynDevSV, c.ComboBoxDynDevTV, c.ComboBoxDynDevQV };
    case Others:
        return { c.CheckBoxProtectionMode, c.CheckBoxEnableDV1, c.CheckBoxEnableDV2, c.CheckBoxEnableDV3 };
    default:
        return {};
    }
}

QList<QWidget*> TChangeTracking::tabModifiedList(int page) const
{
    QList<QWidget*> controls = tabAcceptList(page);
    if (page == Others)
        controls << c.MaskEditOldPasscode << c.MaskEditNewPasscode1 << c.MaskEditNewPasscode2;
    return controls;
}

int TChangeTracking::visiblePage() const
{
    return c.PageControl->currentIndex();
}

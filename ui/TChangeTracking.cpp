#include "ui/TChangeTracking.h"

#include "ui/TWindowFields.h"
#include "ui/UControlColors.h"
#include "util/Exceptions.h"
#include "util/UConversions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

template<typename Control = QWidget>
Control* FieldControl(QWidget* window, TField field)
{
    return qobject_cast<Control*>(TWindowFields::Find({ window }, field));
}

// The value of a numeric entry for comparison: empty and "-" count as 0.
float NumericValue(const QString& text)
{
    if (text.isEmpty() || text == QLatin1String("-"))
        return 0;
    return StrToFloat(text);
}

QVariant InitialBaseline(TTracking kind)
{
    switch (kind) {
    case TTracking::ItemIndex: return 0;
    case TTracking::Checked:
    case TTracking::EnableFlag: return false;
    case TTracking::Text: return QString();
    case TTracking::Number: return 0.0f;
    default: return {};
    }
}

} // namespace

TChangeTracking::TChangeTracking(QWidget* window, QPushButton* save, QTabWidget* pages, std::function<bool()> idle)
    : save(save)
    , pages(pages)
    , idle(std::move(idle))
    , firmwareRevision(FieldControl<QLineEdit>(window, TField::EditFirmwareRev))
    , float2Enable(FieldControl<QCheckBox>(window, TField::CheckBoxEnableDV1))
    , interfaceLayerEnable(FieldControl<QCheckBox>(window, TField::CheckBoxEnableDV3))
{
    for (TField field : AllFields()) {
        const TFieldSpec& spec = FieldSpec(field);
        if (spec.Tracking == TTracking::None)
            continue;
        QWidget* group = spec.Group == TField::None ? nullptr : FieldControl(window, spec.Group);
        QWidget* control = FieldControl(window, field);
        tracked.insert(control, TTracked { control, field, spec.Tracking, group, InitialBaseline(spec.Tracking) });
        trackedControls.insert(int(field), control);
    }
}

bool TChangeTracking::IsModified(QWidget* control) const
{
    const auto entry = tracked.constFind(control);
    return entry != tracked.cend() && entry->modified;
}

void TChangeTracking::AcceptControlValue(QWidget* control)
{
    const auto entry = tracked.find(control);
    if (entry == tracked.end()) {
        SetControlColor(control, NormalColor(control));
    } else if (entry->kind != TTracking::Passcode) {
        // A range the device reported as not-a-number keeps its old baseline.
        const bool rangeShowsNaN = (entry->field == TField::EditPVUpperRangeValue || entry->field == TField::EditPVLowerRangeValue)
            && qobject_cast<QLineEdit*>(control)->text() == QLatin1String("NaN");
        if (!rangeShowsNaN) {
            try {
                entry->baseline = shownValue(*entry);
            } catch (const EConvertError&) {
                // Not a number: the old baseline stays.
            }
        }
        setModified(*entry, false);
    }
    CheckControlChange(control);
}

void TChangeTracking::DiscardEntry(QWidget* control)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->clear();
    const auto entry = tracked.find(control);
    if (entry != tracked.end())
        setModified(*entry, false);
    else
        SetControlColor(control, NormalColor(control));
}

void TChangeTracking::ResetControl(QWidget* control)
{
    const auto entry = tracked.find(control);
    if (entry != tracked.end())
        setModified(*entry, false);
    AcceptControlValue(control);
}

void TChangeTracking::AcceptTabValues(bool complete)
{
    const int page = visiblePage();
    for (TField field : FieldsOf(TPage(page))) {
        const TTracking kind = FieldSpec(field).Tracking;
        if (kind != TTracking::None && kind != TTracking::Passcode)
            AcceptControlValue(trackedControls.value(int(field)));
    }
    readCompletely.set(std::size_t(page), complete);
}

void TChangeTracking::CheckControlChange(QObject* control)
{
    if (!idle())
        return;
    const auto entry = tracked.find(control);
    if (entry != tracked.end()) {
        if (const std::optional<bool> modified = differsFromBaseline(*entry))
            setModified(*entry, *modified);
    }
    save->setEnabled(TabModified());
}

void TChangeTracking::setModified(TTracked& entry, bool modified)
{
    entry.modified = modified;
    SetControlColor(entry.control, modified ? ModifiedColor : NormalColor(entry.control));
}

std::optional<bool> TChangeTracking::differsFromBaseline(const TTracked& entry)
{
    // A control of a hidden group keeps its state.
    if (entry.group && entry.group->isHidden())
        return std::nullopt;
    switch (entry.kind) {
    case TTracking::Passcode:
        return !qobject_cast<QLineEdit*>(entry.control)->text().isEmpty();
    case TTracking::EnableFlag: {
        if (!enableFlagsTracked())
            return std::nullopt;
        const bool differs = shownValue(entry) != entry.baseline;
        if (entry.field == TField::CheckBoxEnableDV1)
            followFloat2Enable();
        return differs;
    }
    default:
        return shownValue(entry) != entry.baseline;
    }
}

QVariant TChangeTracking::shownValue(const TTracked& entry) const
{
    QWidget* control = entry.control;
    switch (entry.kind) {
    case TTracking::ItemIndex: return qobject_cast<QComboBox*>(control)->currentIndex();
    case TTracking::Checked:
    case TTracking::EnableFlag: return qobject_cast<QCheckBox*>(control)->isChecked();
    case TTracking::Text: return qobject_cast<QLineEdit*>(control)->text();
    case TTracking::Number: return NumericValue(qobject_cast<QLineEdit*>(control)->text());
    default: return {};
    }
}

// The enable flags can be changed only on firmware revision 3 and later.
bool TChangeTracking::enableFlagsTracked() const
{
    bool ok = false;
    const int revision = firmwareRevision->text().toInt(&ok);
    return ok && revision >= 3;
}

// The interface layer needs the second float: without DV1 it can be neither
// enabled nor chosen.
void TChangeTracking::followFloat2Enable()
{
    interfaceLayerEnable->setEnabled(float2Enable->isChecked());
    if (!float2Enable->isChecked())
        interfaceLayerEnable->setChecked(false);
}

bool TChangeTracking::TabModified(int page) const
{
    const TPage tab = TPage(page < 0 ? visiblePage() : page);
    for (const TTracked& entry : tracked) {
        if (entry.modified && FieldSpec(entry.field).Page == tab)
            return true;
    }
    return false;
}

int TChangeTracking::visiblePage() const
{
    return pages->currentIndex();
}

#include "worker/TWriteJobs.h"

#include "commands/UUnits.h"
#include "util/UConversions.h"
#include "util/UPresentation.h"
#include "util/URangeCheck.h"
#include "worker/TDeviceView.h"
#include "worker/TFieldTable.h"
#include "worker/TReadJobs.h"
#include "worker/TThreadMeridal.h"

namespace {

constexpr qint32 LargestFinalAssemblyNumber = 16777215;
constexpr int LargestAlarmSelection = 253;

QString Fixed3(float value)
{
    return FormatFixed(value, 3);
}

} // namespace

TWriteJobs::TWriteJobs(TThreadMeridal& thread)
    : TJobSteps(thread)
{
}

// A hidden group's entries are not the device's: they are never written.
bool TWriteJobs::changedInShownGroup(int deviceVariable, TField entry)
{
    return view().Visible(DeviceVariableFields(deviceVariable).Group) && view().Modified(entry);
}

bool TWriteJobs::confirmed() const
{
    return device().ValuesConfirmed();
}

bool TWriteJobs::anyModified(std::initializer_list<TField> fields)
{
    for (TField field : fields) {
        if (view().Modified(field))
            return true;
    }
    return false;
}

void TWriteJobs::rereadIfWriteProtected(void (TReadJobs::*read)())
{
    // The log was emptied before the job: only this job's answers count.
    if (view().ResponseLogContains(QStringLiteral("In Write Protect Mode"))) {
        TReadJobs reader(thread);
        (reader.*read)();
    }
}

// --- Jobs ---

void TWriteJobs::JobSaveIdentification()
{
    StoreLoopConfiguration();
    StoreTagDescriptorDate(false);
    StoreLongTag();
    StoreMessage();
    StoreFinalAssemblyNumber();
    rereadIfWriteProtected(&TReadJobs::JobReadIdentification);
}

void TWriteJobs::JobSaveAnalogOutput()
{
    StoreAlarmSelection();
    StorePVRange();
    rereadIfWriteProtected(&TReadJobs::JobReadAnalogOutput);
}

void TWriteJobs::JobSaveDeviceVariables()
{
    StoreDynamicAssignments();
    StoreOffset();
    StoreDamping();
    StoreUnits();
    rereadIfWriteProtected(&TReadJobs::JobReadDeviceVariables);
}

void TWriteJobs::JobSetFloaterUpper()
{
    setRangeFromFloater(QStringLiteral("Setting floater position to PV Upper Range Value"),
                        &TComportHART::SetUpperRangeFromFloater);
}

void TWriteJobs::JobSetFloaterLower()
{
    setRangeFromFloater(QStringLiteral("Setting floater position to PV Lower Range Value"),
                        &TComportHART::SetLowerRangeFromFloater);
}

void TWriteJobs::setRangeFromFloater(const QString& statusText, void (TComportHART::*set)())
{
    thread.CheckTerminated();
    view().ShowStatus(statusText);
    (device().*set)();
    TReadJobs(thread).FetchDeviceInformation();
    view().Accept(TField::EditPVUpperRangeValue);
    view().Accept(TField::EditPVLowerRangeValue);
}

// --- Identification ---

void TWriteJobs::StoreLoopConfiguration()
{
    thread.CheckTerminated();
    const TField combo = TField::ComboBoxPollingAddress;
    const TField box = TField::CheckBoxLoopCurrentMode;
    const bool modeChanged = view().Modified(box);
    if (!modeChanged && !view().Modified(combo))
        return;
    view().ShowStatus(QStringLiteral("Write Loop Configuration"));
    quint8 address = quint8(view().ItemIndex(combo));
    bool loopCurrentMode = view().Checked(box);
    if (modeChanged && !loopCurrentMode
        && !view().AskContinue(QStringLiteral("Analog signaling will be disabled and the analog output will be fixed to 4mA!")))
        return;
    device().WritePollingAddress(address, loopCurrentMode);
    if (!confirmed())
        return;
    // From now on the device answers at its new address.
    device().PollingAddress = address;
    chooseAccepted(combo, address);
    checkAccepted(box, loopCurrentMode);
}

void TWriteJobs::StoreTagDescriptorDate(bool force)
{
    thread.CheckTerminated();
    if (!force && !anyModified({ TField::EditTag, TField::EditDescriptor, TField::EditDate }))
        return;
    view().ShowStatus(QStringLiteral("Write Tag, Discriptor, Date"));
    const TField tagEdit = TField::EditTag;
    const TField descriptorEdit = TField::EditDescriptor;
    const TField dateEdit = TField::EditDate;
    QString tag = view().Text(tagEdit);
    QString descriptor = view().Text(descriptorEdit);
    QDate date = StrToDate(view().Text(dateEdit));
    device().WriteTagDescriptorDate(tag, descriptor, date);
    if (!confirmed())
        return;
    showAccepted(tagEdit, tag);
    showAccepted(descriptorEdit, descriptor);
    showAccepted(dateEdit, date.toString(ShortDateFormat()));
}

void TWriteJobs::StoreLongTag()
{
    storeText(TField::EditLongTag, QStringLiteral("Write Long Tag"), &TComportHART::WriteLongTag);
}

void TWriteJobs::StoreMessage()
{
    storeText(TField::EditMessage, QStringLiteral("Write Message"), &TComportHART::WriteMessage);
}

void TWriteJobs::storeText(TField edit, const QString& statusText, void (TComportHART::*write)(QString&))
{
    if (!changed(edit, statusText))
        return;
    QString text = view().Text(edit);
    (device().*write)(text);
    if (!confirmed())
        return;
    // Emptied first, so that a text equal to the typed one is set anew too.
    view().SetText(edit, QString());
    showAccepted(edit, text);
}

void TWriteJobs::StoreFinalAssemblyNumber()
{
    const TField edit = TField::EditFinalAssemblyNo;
    if (!changed(edit, QStringLiteral("Write Final Assembly Number")))
        return;
    qint32 number = StrToInt(view().Text(edit));
    if (number < 0)
        throw Exception(QStringLiteral("Final Assembly No. is less than 0"));
    if (number > LargestFinalAssemblyNumber)
        throw Exception(QStringLiteral("Final Assembly No. is greater than 16777215 (0xFFFFFF)"));
    device().WriteFinalAssemblyNumber(number);
    if (!confirmed())
        return;
    showAccepted(edit, QString::number(number));
}

// --- Analog output ---

void TWriteJobs::StoreAlarmSelection()
{
    const TField combo = TField::ComboBoxPVAlarmSelection;
    if (!changed(combo, QStringLiteral("Write Alarm Selection")))
        return;
    // No selection (-1) becomes 255 and is refused with the other invalid codes.
    quint8 code = quint8(view().ItemIndex(combo));
    if (code > LargestAlarmSelection)
        throw Exception(QStringLiteral("Alarm Selection invalid"));
    device().WriteAlarmSelection(code);
    if (!confirmed())
        return;
    chooseAccepted(combo, code);
}

void TWriteJobs::StorePVRange()
{
    thread.CheckTerminated();
    if (!anyModified({ TField::EditPVUpperRangeValue, TField::EditPVLowerRangeValue }))
        return;
    const TField upperEdit = TField::EditPVUpperRangeValue;
    const TField lowerEdit = TField::EditPVLowerRangeValue;
    QString unit = view().Text(TField::LabelPVUpperRangeUnit);
    float upper = StrToFloat(view().Text(upperEdit));
    CheckRange(QStringLiteral("PV Upper Range Value"), upper);
    float lower = StrToFloat(view().Text(lowerEdit));
    CheckRange(QStringLiteral("PV Lower Range Value"), lower);
    view().ShowStatus(QStringLiteral("Write PV Range Values"));
    // Both values go out, also when only one was changed.
    device().WritePVRange(unit, upper, lower);
    if (!confirmed())
        return;
    showAccepted(upperEdit, Fixed3(upper));
    view().SetText(TField::LabelPVUpperRangeUnit, unit);
    showAccepted(lowerEdit, Fixed3(lower));
    view().SetText(TField::LabelPVLowerRangeUnit, unit);
}

void TWriteJobs::CheckRange(const QString& name, float value) const
{
    ::CheckRange(name, value, thread.PVLowerLimit, thread.PVUpperLimit);
}

// --- Device variables ---

void TWriteJobs::StoreDynamicAssignments()
{
    thread.CheckTerminated();
    if (!anyModified({ MappingFields[0], MappingFields[1], MappingFields[2], MappingFields[3] }))
        return;
    view().ShowStatus(QStringLiteral("Write Dynamic Variable Assignments"));
    quint8 codes[4];
    for (int i = 0; i < 4; ++i)
        codes[i] = quint8(DeviceVariableCode(view().Text(MappingFields[i])));
    device().WriteVariableAssignments(codes[0], codes[1], codes[2], codes[3]);
    if (!confirmed())
        return;
    for (int i = 0; i < 4; ++i) {
        view().SelectItem(MappingFields[i], MappingText(device().DeviceFamily, codes[i], false));
        view().Accept(MappingFields[i]);
    }
}

void TWriteJobs::StoreOffset()
{
    thread.CheckTerminated();
    view().ShowStatus(QStringLiteral("Write Device Variable Offset"));
    for (int i = 0; i < 2; ++i) {
        const TField edit = DeviceVariableFields(i).Offset;
        if (!changedInShownGroup(i, edit))
            continue;
        const TField unitLabel = DeviceVariableFields(i).OffsetUnit;
        QString unit = view().Text(unitLabel);
        float offset = StrToFloat(view().Text(edit));
        // Without the unit of the offset last read nothing can be sent, and
        // the edit stays marked as not written.
        if (unit.isEmpty())
            continue;
        device().WriteOffset(i, unit, offset);
        if (!confirmed())
            continue;
        showAccepted(edit, Fixed3(offset));
        view().SetText(unitLabel, unit);
    }
}

void TWriteJobs::StoreDamping()
{
    thread.CheckTerminated();
    view().ShowStatus(QStringLiteral("Write Device Variable Damping"));
    for (int i = 0; i < 2; ++i) {
        const TField edit = DeviceVariableFields(i).Damping;
        if (!changedInShownGroup(i, edit))
            continue;
        float damping = StrToFloat(view().Text(edit));
        device().WriteDampingValue(i, damping);
        if (!confirmed())
            continue;
        showAccepted(edit, Fixed3(damping));
    }
}

void TWriteJobs::StoreUnits()
{
    thread.CheckTerminated();
    view().ShowStatus(QStringLiteral("Write Device Variable Units"));
    bool anyGroupVisible = false;
    for (int i = 0; i < 4; ++i) {
        if (!view().Visible(DeviceVariableFields(i).Group))
            continue;
        anyGroupVisible = true;
        const TField combo = DeviceVariableFields(i).Unit;
        if (!view().Modified(combo))
            continue;
        QString unit = view().Text(combo);
        device().WriteDeviceVariableUnits(i, unit);
        if (!confirmed())
            continue;
        view().SelectItem(combo, unit);
        view().Accept(combo);
    }
    // Values and offsets are reported in the new units.
    if (anyGroupVisible) {
        TReadJobs reader(thread);
        reader.FetchDeviceVariables(TReadJobs::TEdits::Keep);
        reader.FetchOffset(TReadJobs::TEdits::Keep);
    }
}

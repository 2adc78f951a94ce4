#include "worker/TWriteJobs.h"

#include "commands/UUnits.h"
#include "util/UConversions.h"
#include "util/UPresentation.h"
#include "worker/TReadJobs.h"
#include "worker/TThreadMeridal.h"
#include "worker/URangeCheck.h"

namespace {

constexpr qint32 LargestFinalAssemblyNumber = 16777215;
constexpr int LargestAlarmSelection = 253;

QString Fixed3(float value)
{
    return FormatFixed(value, 3);
}

// "DV0" ... "DV3": the part a device variable's control names share.
QString DV(int index)
{
    return QStringLiteral("DV%1").arg(index);
}

} // namespace

TWriteJobs::TWriteJobs(TThreadMeridal& thread)
    : TJobSteps(thread)
{
}

// A hidden group's entries are not the device's: they are never written.
bool TWriteJobs::changedInShownGroup(int deviceVariable, QObject* entry)
{
    return thread.SyncGetVisible(control(QStringLiteral("GroupBox") + DV(deviceVariable))) && thread.SyncIsModified(entry);
}

bool TWriteJobs::confirmed() const
{
    return device().ValuesConfirmed();
}

bool TWriteJobs::anyModified(std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        if (thread.SyncIsModified(control(QString::fromLatin1(name))))
            return true;
    }
    return false;
}

void TWriteJobs::rereadIfWriteProtected(void (TReadJobs::*read)())
{
    // The log was emptied before the job: only this job's answers count.
    if (thread.ResponseLogContains(QStringLiteral("In Write Protect Mode"))) {
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
    thread.SetStatusText(statusText);
    (device().*set)();
    TReadJobs(thread).FetchDeviceInformation();
    thread.SyncAcceptValue(control(QStringLiteral("EditPVUpperRangeValue")));
    thread.SyncAcceptValue(control(QStringLiteral("EditPVLowerRangeValue")));
}

// --- Identification ---

void TWriteJobs::StoreLoopConfiguration()
{
    thread.CheckTerminated();
    QObject* combo = control(QStringLiteral("ComboBoxPollingAddress"));
    QObject* box = control(QStringLiteral("CheckBoxLoopCurrentMode"));
    const bool modeChanged = thread.SyncIsModified(box);
    if (!modeChanged && !thread.SyncIsModified(combo))
        return;
    thread.SetStatusText(QStringLiteral("Write Loop Configuration"));
    quint8 address = quint8(thread.SyncGetItemIndex(combo));
    bool loopCurrentMode = thread.SyncGetChecked(box);
    if (modeChanged && !loopCurrentMode
        && thread.AskContinue(QStringLiteral("Analog signaling will be disabled and the analog output will be fixed to 4mA!"))
            != TThreadBasis::ResultYes)
        return;
    device().WritePollingAddress(address, loopCurrentMode);
    if (!confirmed())
        return;
    // From now on the device answers at its new address.
    device().PollingAddress = address;
    thread.SyncSetItemIndexAccepted(combo, address);
    thread.SyncSetCheckedAccepted(box, loopCurrentMode);
}

void TWriteJobs::StoreTagDescriptorDate(bool force)
{
    thread.CheckTerminated();
    if (!force && !anyModified({ "EditTag", "EditDescriptor", "EditDate" }))
        return;
    thread.SetStatusText(QStringLiteral("Write Tag, Discriptor, Date"));
    QObject* tagEdit = control(QStringLiteral("EditTag"));
    QObject* descriptorEdit = control(QStringLiteral("EditDescriptor"));
    QObject* dateEdit = control(QStringLiteral("EditDate"));
    QString tag = thread.SyncGetText(tagEdit);
    QString descriptor = thread.SyncGetText(descriptorEdit);
    QDate date = StrToDate(thread.SyncGetText(dateEdit));
    device().WriteTagDescriptorDate(tag, descriptor, date);
    if (!confirmed())
        return;
    thread.SyncSetEditText(tagEdit, tag);
    thread.SyncAcceptValue(tagEdit);
    thread.SyncSetEditText(descriptorEdit, descriptor);
    thread.SyncAcceptValue(descriptorEdit);
    thread.SyncSetEditText(dateEdit, date.toString(ShortDateFormat()));
    thread.SyncAcceptValue(dateEdit);
}

void TWriteJobs::StoreLongTag()
{
    storeText("EditLongTag", QStringLiteral("Write Long Tag"), &TComportHART::WriteLongTag);
}

void TWriteJobs::StoreMessage()
{
    storeText("EditMessage", QStringLiteral("Write Message"), &TComportHART::WriteMessage);
}

void TWriteJobs::storeText(const char* name, const QString& statusText, void (TComportHART::*write)(QString&))
{
    QObject* edit = changedControl(QString::fromLatin1(name), statusText);
    if (!edit)
        return;
    QString text = thread.SyncGetText(edit);
    (device().*write)(text);
    if (!confirmed())
        return;
    // Emptied first, so that a text equal to the typed one is set anew too.
    thread.SyncSetText(edit, QString());
    thread.SyncSetText(edit, text);
    thread.SyncAcceptValue(edit);
}

void TWriteJobs::StoreFinalAssemblyNumber()
{
    QObject* edit = changedControl(QStringLiteral("EditFinalAssemblyNo"), QStringLiteral("Write Final Assembly Number"));
    if (!edit)
        return;
    qint32 number = StrToInt(thread.SyncGetText(edit));
    if (number < 0)
        throw Exception(QStringLiteral("Final Assembly No. is less than 0"));
    if (number > LargestFinalAssemblyNumber)
        throw Exception(QStringLiteral("Final Assembly No. is greater than 16777215 (0xFFFFFF)"));
    device().WriteFinalAssemblyNumber(number);
    if (!confirmed())
        return;
    thread.SyncSetEditText(edit, QString::number(number));
    thread.SyncAcceptValue(edit);
}

// --- Analog output ---

void TWriteJobs::StoreAlarmSelection()
{
    QObject* combo = changedControl(QStringLiteral("ComboBoxPVAlarmSelection"), QStringLiteral("Write Alarm Selection"));
    if (!combo)
        return;
    // No selection (-1) becomes 255 and is refused with the other invalid codes.
    quint8 code = quint8(thread.SyncGetItemIndex(combo));
    if (code > LargestAlarmSelection)
        throw Exception(QStringLiteral("Alarm Selection invalid"));
    device().WriteAlarmSelection(code);
    if (!confirmed())
        return;
    thread.SyncSetItemIndexAccepted(combo, code);
}

void TWriteJobs::StorePVRange()
{
    thread.CheckTerminated();
    if (!anyModified({ "EditPVUpperRangeValue", "EditPVLowerRangeValue" }))
        return;
    QObject* upperEdit = control(QStringLiteral("EditPVUpperRangeValue"));
    QObject* lowerEdit = control(QStringLiteral("EditPVLowerRangeValue"));
    QString unit = thread.SyncGetText(control(QStringLiteral("LabelPVUpperRangeUnit")));
    float upper = StrToFloat(thread.SyncGetText(upperEdit));
    CheckRange(QStringLiteral("PV Upper Range Value"), upper);
    float lower = StrToFloat(thread.SyncGetText(lowerEdit));
    CheckRange(QStringLiteral("PV Lower Range Value"), lower);
    thread.SetStatusText(QStringLiteral("Write PV Range Values"));
    // Both values go out, also when only one was changed.
    device().WritePVRange(unit, upper, lower);
    if (!confirmed())
        return;
    thread.SyncSetText(upperEdit, Fixed3(upper));
    thread.SyncSetText(control(QStringLiteral("LabelPVUpperRangeUnit")), unit);
    thread.SyncAcceptValue(upperEdit);
    thread.SyncSetText(lowerEdit, Fixed3(lower));
    thread.SyncSetText(control(QStringLiteral("LabelPVLowerRangeUnit")), unit);
    thread.SyncAcceptValue(lowerEdit);
}

void TWriteJobs::CheckRange(const QString& name, float value) const
{
    ::CheckRange(name, value, thread.PVLowerLimit, thread.PVUpperLimit);
}

// --- Device variables ---

void TWriteJobs::StoreDynamicAssignments()
{
    thread.CheckTerminated();
    const char* const names[4] = { "ComboBoxDynDevPV", "ComboBoxDynDevSV", "ComboBoxDynDevTV", "ComboBoxDynDevQV" };
    if (!anyModified({ names[0], names[1], names[2], names[3] }))
        return;
    thread.SetStatusText(QStringLiteral("Write Dynamic Variable Assignments"));
    quint8 codes[4];
    for (int i = 0; i < 4; ++i)
        codes[i] = quint8(DeviceVariableCode(thread.SyncGetComboText(control(QString::fromLatin1(names[i])))));
    device().WriteVariableAssignments(codes[0], codes[1], codes[2], codes[3]);
    if (!confirmed())
        return;
    for (int i = 0; i < 4; ++i) {
        QObject* combo = control(QString::fromLatin1(names[i]));
        thread.SyncSelectComboItem(combo, MappingText(device().DeviceFamily, codes[i], false));
        thread.SyncAcceptValue(combo);
    }
}

void TWriteJobs::StoreOffset()
{
    thread.CheckTerminated();
    thread.SetStatusText(QStringLiteral("Write Device Variable Offset"));
    for (int i = 0; i < 2; ++i) {
        QObject* edit = control(QStringLiteral("Edit%1Offset").arg(DV(i)));
        if (!changedInShownGroup(i, edit))
            continue;
        QObject* unitLabel = control(QStringLiteral("Label%1OffsetUnit").arg(DV(i)));
        QString unit = thread.SyncGetText(unitLabel);
        float offset = StrToFloat(thread.SyncGetText(edit));
        // Without the unit of the offset last read nothing can be sent, and
        // the edit stays marked as not written.
        if (unit.isEmpty())
            continue;
        device().WriteOffset(i, unit, offset);
        if (!confirmed())
            continue;
        thread.SyncSetText(edit, Fixed3(offset));
        thread.SyncAcceptValue(edit);
        thread.SyncSetText(unitLabel, unit);
    }
}

void TWriteJobs::StoreDamping()
{
    thread.CheckTerminated();
    thread.SetStatusText(QStringLiteral("Write Device Variable Damping"));
    for (int i = 0; i < 2; ++i) {
        QObject* edit = control(QStringLiteral("Edit%1Damping").arg(DV(i)));
        if (!changedInShownGroup(i, edit))
            continue;
        float damping = StrToFloat(thread.SyncGetText(edit));
        device().WriteDampingValue(i, damping);
        if (!confirmed())
            continue;
        thread.SyncSetText(edit, Fixed3(damping));
        thread.SyncAcceptValue(edit);
    }
}

void TWriteJobs::StoreUnits()
{
    thread.CheckTerminated();
    thread.SetStatusText(QStringLiteral("Write Device Variable Units"));
    bool anyGroupVisible = false;
    for (int i = 0; i < 4; ++i) {
        if (!thread.SyncGetVisible(control(QStringLiteral("GroupBox") + DV(i))))
            continue;
        anyGroupVisible = true;
        QObject* combo = control(QStringLiteral("ComboBox%1Unit").arg(DV(i)));
        if (!thread.SyncIsModified(combo))
            continue;
        QString unit = thread.SyncGetComboText(combo);
        device().WriteDeviceVariableUnits(i, unit);
        if (!confirmed())
            continue;
        thread.SyncSelectComboItem(combo, unit);
        thread.SyncAcceptValue(combo);
    }
    // Values and offsets are reported in the new units.
    if (anyGroupVisible) {
        TReadJobs reader(thread);
        reader.FetchDeviceVariables(TReadJobs::TEdits::Keep);
        reader.FetchOffset(TReadJobs::TEdits::Keep);
    }
}

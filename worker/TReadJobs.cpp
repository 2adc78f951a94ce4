#include "worker/TReadJobs.h"

#include "commands/UUnits.h"
#include "util/UPresentation.h"
#include "worker/TDeviceView.h"
#include "worker/TFamilyJobs.h"
#include "worker/TFieldTable.h"
#include "worker/TThreadMeridal.h"

namespace {

// Shown where a command's answer did not carry the value (unexpected byte count).
constexpr float NotReceived = 4294967296.0f;

QString Fixed3(float value)
{
    return FormatFixed(value, 3);
}

} // namespace

TReadJobs::TReadJobs(TThreadMeridal& thread)
    : TJobSteps(thread)
{
}

void TReadJobs::beginStep(const QString& statusText)
{
    thread.CheckTerminated();
    view().ShowStatus(statusText);
}

void TReadJobs::requireForSave()
{
    complete = complete && device().ValuesConfirmed();
}

void TReadJobs::acceptTab()
{
    view().AcceptTab(complete);
}

// --- Jobs ---

void TReadJobs::JobIdentifySearch()
{
    if (Identify(false))
        JobReadIdentification();
}

void TReadJobs::JobIdentifyAddressed()
{
    if (Identify(true))
        JobReadIdentification();
}

void TReadJobs::JobReadIdentification()
{
    FetchLoopConfiguration();
    FetchTagDescriptorDate();
    FetchLongTag();
    FetchMessage();
    FetchFinalAssemblyNumber();
    acceptTab();
}

void TReadJobs::JobReadAnalogOutput()
{
    FetchPVMapping();
    FetchPrimaryValue();
    FetchPVLimits();
    FetchLoopCurrent();
    FetchDeviceInformation();
    acceptTab();
}

void TReadJobs::JobRefreshAnalogOutput()
{
    FetchPrimaryValue();
    FetchPVLimits();
    FetchLoopCurrent();
}

void TReadJobs::JobReadDeviceVariables()
{
    FetchDeviceVariables();
    FetchOffset();
    FetchDamping();
    FetchDynamicAssignments();
    acceptTab();
}

void TReadJobs::JobRefreshDeviceVariables()
{
    FetchDeviceVariables();
}

void TReadJobs::JobReadOthers()
{
    FetchConfigChangeCounter();
    FetchProtectionMode();
    TFamilyJobs(thread).FetchDeviceVariableEnable();
    acceptTab();
}

// --- Steps ---

bool TReadJobs::Identify(bool addressed)
{
    beginStep(QStringLiteral("Identify HART device"));
    if (addressed)
        device().ReadUniqueIdentifier();
    else if (!device().SearchDevice(&thread))
        return false;

    TComportHART& d = device();
    view().SetText(TField::EditManufacturerID, DecHex(d.ManufacturerID, 1));
    view().SetText(TField::EditDeviceCode, DecHex(d.DeviceTypeCode, 2));
    view().SetText(TField::EditDeviceID, QString::number(d.DeviceID));
    view().SetText(TField::EditUniversalCmdRev, QString::number(d.UniversalRevision));
    view().SetText(TField::EditDeviceRev, QString::number(d.DeviceRevision));
    view().SetText(TField::EditFirmwareRev, QString::number(d.SoftwareRevision));

    // TIVERN probes before firmware revision 3 have neither diagnostics nor defaults.
    const bool extended = !(d.SoftwareRevision < 3 && d.DeviceFamily == 1);
    view().SetEnabled(TField::TabDiagnostics, extended);
    view().SetEnabled(TField::ButtonRestoreFactoryDefaults, extended);

    view().SetText(TField::EditHardwareRev, QString::number(d.HardwareRevision));
    TFamilyJobs(thread).AdaptToDeviceFamily(d.DeviceFamily);
    thread.Identified = true;
    return true;
}

void TReadJobs::FetchLoopConfiguration()
{
    beginStep(QStringLiteral("Read Loop Configuration"));
    quint8 address = 0;
    bool loopCurrentMode = false;
    device().ReadPollingAddress(address, loopCurrentMode);
    requireForSave();
    // Items "0" to "15": an address above 15 selects nothing.
    chooseAccepted(TField::ComboBoxPollingAddress, address);
    checkAccepted(TField::CheckBoxLoopCurrentMode, loopCurrentMode);
}

void TReadJobs::FetchTagDescriptorDate()
{
    beginStep(QStringLiteral("Read Tag, Discriptor, Date"));
    QString tag;
    QString descriptor;
    QByteArray date;
    device().ReadStoredTagDescriptorDate(tag, descriptor, date);
    requireForSave();
    view().SetText(TField::EditTag, tag);
    view().SetText(TField::EditDescriptor, descriptor);
    view().SetText(TField::EditDate, StoredDateText(date));
}

void TReadJobs::FetchLongTag()
{
    beginStep(QStringLiteral("Read Long Tag"));
    QString longTag;
    device().ReadLongTag(longTag);
    view().SetText(TField::EditLongTag, longTag);
}

void TReadJobs::FetchMessage()
{
    beginStep(QStringLiteral("Read Message"));
    QString message;
    device().ReadMessage(message);
    view().SetText(TField::EditMessage, message);
}

void TReadJobs::FetchFinalAssemblyNumber()
{
    beginStep(QStringLiteral("Read Final Assembly Number"));
    qint32 number = 0;
    device().ReadFinalAssemblyNumber(number);
    view().SetText(TField::EditFinalAssemblyNo, QString::number(number));
}

void TReadJobs::FetchPVMapping()
{
    beginStep(QStringLiteral("Read Dynamic Variable Assignments"));
    quint8 pv = 0, sv = 0, tv = 0, qv = 0;
    device().ReadVariableAssignments(pv, sv, tv, qv);
    view().SetCaption(TField::GroupBoxPV, QStringLiteral(" PV ") + device().MappingText(pv, true));
}

void TReadJobs::FetchPrimaryValue()
{
    beginStep(QStringLiteral("Read Primary Value (PV)"));
    float value = NotReceived;
    QString unit;
    const TField valueEdit = TField::EditPrimaryVariableValue;
    const TField unitLabel = TField::LabelPrimaryVariableUnit;
    if (ReportsNaN([&] { device().ReadPrimaryValue(value, unit); })) {
        view().SetText(valueEdit, QStringLiteral("NaN"));
        view().SetText(unitLabel, QString());
        view().ShowStatus(QStringLiteral("Primary Value (PV) -> NaN"));
        return;
    }
    view().SetText(valueEdit, Fixed3(value));
    view().SetText(unitLabel, unit);
}

void TReadJobs::FetchPVLimits()
{
    beginStep(QStringLiteral("Read Primary Variable Limits"));
    thread.PVUpperLimit = 0;
    thread.PVLowerLimit = 0;
    QString unit;
    QString hint;
    // Whatever the command stored before a not-a-number stays in the limits.
    if (ReportsNaN([&] { device().ReadPVLimits(unit, thread.PVUpperLimit, thread.PVLowerLimit); }))
        hint = QStringLiteral("Minimum: NaN\rMaximum: NaN");
    else
        hint = QStringLiteral("Maximum: ") + Fixed3(thread.PVUpperLimit) + QLatin1Char(' ') + unit + QLatin1Char('\r')
            + QStringLiteral("Minimum: ") + Fixed3(thread.PVLowerLimit) + QLatin1Char(' ') + unit;
    view().SetHint(TField::EditPVUpperRangeValue, hint);
    view().SetHint(TField::EditPVLowerRangeValue, hint);
}

void TReadJobs::FetchLoopCurrent()
{
    beginStep(QStringLiteral("Read Loop Current and Percent Of Range"));
    float current = NotReceived;
    float percent = NotReceived;
    const bool nan = ReportsNaN([&] { device().ReadLoopCurrent(current, percent); });
    // After a not-a-number only the values the device did report are shown.
    const auto shown = [nan](float value) { return nan && value == NotReceived ? QStringLiteral("NaN") : Fixed3(value); };
    view().SetText(TField::EditLoopCurrent, shown(current));
    view().SetText(TField::EditPercentOfRange, shown(percent));
    if (nan)
        view().ShowStatus(QStringLiteral("Loop Current or/and Percent Of Range -> NaN"));
}

void TReadJobs::FetchDeviceInformation()
{
    beginStep(QStringLiteral("Read Device Information"));
    quint8 alarm = 255;
    QString unit;
    float upper = NotReceived;
    float lower = NotReceived;
    const TField upperEdit = TField::EditPVUpperRangeValue;
    const TField lowerEdit = TField::EditPVLowerRangeValue;
    const TField upperUnit = TField::LabelPVUpperRangeUnit;
    const TField lowerUnit = TField::LabelPVLowerRangeUnit;
    if (ReportsNaN([&] { device().ReadPVRange(alarm, upper, lower, unit); })) {
        view().SetText(upperEdit, QStringLiteral("NaN"));
        view().SetText(lowerEdit, QStringLiteral("NaN"));
        view().SetText(upperUnit, QString());
        view().SetText(lowerUnit, QString());
        view().ShowStatus(QStringLiteral("Device Information -> NaN"));
        return;
    }
    view().SetText(upperEdit, Fixed3(upper));
    view().SetText(upperUnit, unit);
    view().SetText(lowerEdit, Fixed3(lower));
    view().SetText(lowerUnit, unit);
    // Items "high (21,5 mA)" = 0 and "low (3,6 mA)" = 1; other codes select nothing.
    chooseAccepted(TField::ComboBoxPVAlarmSelection, alarm);
}

void TReadJobs::FetchDeviceVariables(TEdits edits)
{
    beginStep(QStringLiteral("Read Device Variables"));
    TDeviceVariable variables[4];
    device().ReadDeviceVariables(variables[0], variables[1], variables[2], variables[3]);
    for (int i = 0; i < 4; ++i) {
        const TDeviceVariable& variable = variables[i];
        const TDeviceVariableFields& dv = DeviceVariableFields(i);
        view().SetVisible(dv.Group, variable.Valid);
        if (!variable.Valid)
            continue;
        view().SetText(dv.Value, variable.IsNaN ? QStringLiteral("NaN") : Fixed3(variable.Value));
        if (edits == TEdits::Overwrite || !view().Modified(dv.Unit)) {
            view().SelectItem(dv.Unit, variable.UnitText);
            view().Accept(dv.Unit);
        }
        view().AddMappingChoice(QStringLiteral("DV%1").arg(i));
    }
    view().AddMappingChoice(QStringLiteral("Not Used"));
}

void TReadJobs::FetchOffset(TEdits edits)
{
    beginStep(QStringLiteral("Read Offset"));
    for (int i = 0; i < 2; ++i) {
        const TDeviceVariableFields& dv = DeviceVariableFields(i);
        if (!view().Visible(dv.Group))
            continue;
        // An offset the device did not take stays as typed, in the unit it was typed in.
        if (edits == TEdits::Keep && view().Modified(dv.Offset))
            continue;
        QString unit;
        float offset = 0;
        device().ReadOffset(i, unit, offset);
        // A new offset goes out in the unit of the one read; none read, the
        // placeholder stays and Save refuses the tab.
        requireForSave();
        if (!device().ValuesConfirmed())
            continue;
        showAccepted(dv.Offset, Fixed3(offset));
        view().SetText(dv.OffsetUnit, unit);
    }
}

void TReadJobs::FetchDamping()
{
    beginStep(QStringLiteral("Read Damping"));
    for (int i = 0; i < 2; ++i) {
        const TDeviceVariableFields& dv = DeviceVariableFields(i);
        if (!view().Visible(dv.Group))
            continue;
        float damping = 0;
        device().ReadDampingValue(i, damping);
        view().SetText(dv.Damping, Fixed3(damping));
    }
}

void TReadJobs::FetchDynamicAssignments()
{
    beginStep(QStringLiteral("Read Dynamic Variable Assignments"));
    quint8 codes[4] = { 0, 0, 0, 0 };
    device().ReadVariableAssignments(codes[0], codes[1], codes[2], codes[3]);
    requireForSave();
    for (int i = 0; i < 4; ++i)
        view().SelectItem(MappingFields[i], MappingText(device().DeviceFamily, codes[i], false));
}

void TReadJobs::FetchConfigChangeCounter()
{
    beginStep(QStringLiteral("Read Unique Identifier"));
    quint16 counter = 0;
    device().ReadConfigChangeCounter(counter);
    view().SetText(TField::EditConfigurationChangeCounter, QString::number(counter));
}

void TReadJobs::FetchProtectionMode()
{
    thread.CheckTerminated();
    bool protect = false;
    device().ReadProtectionMode(protect);
    checkAccepted(TField::CheckBoxProtectionMode, protect);
}

#include "worker/TReadJobs.h"

#include "commands/UUnits.h"
#include "util/UPresentation.h"
#include "worker/TFamilyJobs.h"
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
    thread.SetStatusText(statusText);
}

void TReadJobs::requireForSave()
{
    complete = complete && device().ValuesConfirmed();
}

void TReadJobs::acceptTab()
{
    thread.SyncAcceptTab(complete);
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
    thread.SyncSetText(control(QStringLiteral("EditManufacturerID")), DecHex(d.ManufacturerID, 1));
    thread.SyncSetText(control(QStringLiteral("EditDeviceCode")), DecHex(d.DeviceTypeCode, 2));
    thread.SyncSetText(control(QStringLiteral("EditDeviceID")), QString::number(d.DeviceID));
    thread.SyncSetText(control(QStringLiteral("EditUniversalCmdRev")), QString::number(d.UniversalRevision));
    thread.SyncSetText(control(QStringLiteral("EditDeviceRev")), QString::number(d.DeviceRevision));
    thread.SyncSetText(control(QStringLiteral("EditFirmwareRev")), QString::number(d.SoftwareRevision));

    // TIVERN probes before firmware revision 3 have neither diagnostics nor defaults.
    const bool extended = !(d.SoftwareRevision < 3 && d.DeviceFamily == 1);
    thread.SyncSetEnabled(control(QStringLiteral("TabDiagnostics")), extended);
    thread.SyncSetEnabled(control(QStringLiteral("ButtonRestoreFactoryDefaults")), extended);

    thread.SyncSetText(control(QStringLiteral("EditHardwareRev")), QString::number(d.HardwareRevision));
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
    thread.SyncSetItemIndexAccepted(control(QStringLiteral("ComboBoxPollingAddress")), address);
    thread.SyncSetCheckedAccepted(control(QStringLiteral("CheckBoxLoopCurrentMode")), loopCurrentMode);
}

void TReadJobs::FetchTagDescriptorDate()
{
    beginStep(QStringLiteral("Read Tag, Discriptor, Date"));
    QString tag;
    QString descriptor;
    QByteArray date;
    device().ReadStoredTagDescriptorDate(tag, descriptor, date);
    requireForSave();
    thread.SyncSetEditText(control(QStringLiteral("EditTag")), tag);
    thread.SyncSetEditText(control(QStringLiteral("EditDescriptor")), descriptor);
    thread.SyncSetEditText(control(QStringLiteral("EditDate")), StoredDateText(date));
}

void TReadJobs::FetchLongTag()
{
    beginStep(QStringLiteral("Read Long Tag"));
    QString longTag;
    device().ReadLongTag(longTag);
    thread.SyncSetText(control(QStringLiteral("EditLongTag")), longTag);
}

void TReadJobs::FetchMessage()
{
    beginStep(QStringLiteral("Read Message"));
    QString message;
    device().ReadMessage(message);
    thread.SyncSetText(control(QStringLiteral("EditMessage")), message);
}

void TReadJobs::FetchFinalAssemblyNumber()
{
    beginStep(QStringLiteral("Read Final Assembly Number"));
    qint32 number = 0;
    device().ReadFinalAssemblyNumber(number);
    thread.SyncSetEditText(control(QStringLiteral("EditFinalAssemblyNo")), QString::number(number));
}

void TReadJobs::FetchPVMapping()
{
    beginStep(QStringLiteral("Read Dynamic Variable Assignments"));
    quint8 pv = 0, sv = 0, tv = 0, qv = 0;
    device().ReadVariableAssignments(pv, sv, tv, qv);
    thread.SyncSetCaption(control(QStringLiteral("GroupBoxPV")), QStringLiteral(" PV ") + device().MappingText(pv, true));
}

void TReadJobs::FetchPrimaryValue()
{
    beginStep(QStringLiteral("Read Primary Value (PV)"));
    float value = NotReceived;
    QString unit;
    QObject* valueEdit = control(QStringLiteral("EditPrimaryVariableValue"));
    QObject* unitLabel = control(QStringLiteral("LabelPrimaryVariableUnit"));
    if (ReportsNaN([&] { device().ReadPrimaryValue(value, unit); })) {
        thread.SyncSetText(valueEdit, QStringLiteral("NaN"));
        thread.SyncSetText(unitLabel, QString());
        thread.SetStatusText(QStringLiteral("Primary Value (PV) -> NaN"));
        return;
    }
    thread.SyncSetText(valueEdit, Fixed3(value));
    thread.SyncSetText(unitLabel, unit);
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
    thread.SyncSetHint(control(QStringLiteral("EditPVUpperRangeValue")), hint);
    thread.SyncSetHint(control(QStringLiteral("EditPVLowerRangeValue")), hint);
}

void TReadJobs::FetchLoopCurrent()
{
    beginStep(QStringLiteral("Read Loop Current and Percent Of Range"));
    float current = NotReceived;
    float percent = NotReceived;
    const bool nan = ReportsNaN([&] { device().ReadLoopCurrent(current, percent); });
    // After a not-a-number only the values the device did report are shown.
    const auto shown = [nan](float value) { return nan && value == NotReceived ? QStringLiteral("NaN") : Fixed3(value); };
    thread.SyncSetText(control(QStringLiteral("EditLoopCurrent")), shown(current));
    thread.SyncSetText(control(QStringLiteral("EditPercentOfRange")), shown(percent));
    if (nan)
        thread.SetStatusText(QStringLiteral("Loop Current or/and Percent Of Range -> NaN"));
}

void TReadJobs::FetchDeviceInformation()
{
    beginStep(QStringLiteral("Read Device Information"));
    quint8 alarm = 255;
    QString unit;
    float upper = NotReceived;
    float lower = NotReceived;
    QObject* upperEdit = control(QStringLiteral("EditPVUpperRangeValue"));
    QObject* lowerEdit = control(QStringLiteral("EditPVLowerRangeValue"));
    QObject* upperUnit = control(QStringLiteral("LabelPVUpperRangeUnit"));
    QObject* lowerUnit = control(QStringLiteral("LabelPVLowerRangeUnit"));
    if (ReportsNaN([&] { device().ReadPVRange(alarm, upper, lower, unit); })) {
        thread.SyncSetText(upperEdit, QStringLiteral("NaN"));
        thread.SyncSetText(lowerEdit, QStringLiteral("NaN"));
        thread.SyncSetText(upperUnit, QString());
        thread.SyncSetText(lowerUnit, QString());
        thread.SetStatusText(QStringLiteral("Device Information -> NaN"));
        return;
    }
    thread.SyncSetText(upperEdit, Fixed3(upper));
    thread.SyncSetText(upperUnit, unit);
    thread.SyncSetText(lowerEdit, Fixed3(lower));
    thread.SyncSetText(lowerUnit, unit);
    // Items "high (21,5 mA)" = 0 and "low (3,6 mA)" = 1; other codes select nothing.
    thread.SyncSetItemIndexAccepted(control(QStringLiteral("ComboBoxPVAlarmSelection")), alarm);
}

void TReadJobs::FetchDeviceVariables(TEdits edits)
{
    beginStep(QStringLiteral("Read Device Variables"));
    TDeviceVariable variables[4];
    device().ReadDeviceVariables(variables[0], variables[1], variables[2], variables[3]);
    for (int i = 0; i < 4; ++i) {
        const TDeviceVariable& variable = variables[i];
        const QString dv = QStringLiteral("DV%1").arg(i);
        thread.SyncSetVisible(control(QStringLiteral("GroupBox") + dv), variable.Valid);
        if (!variable.Valid)
            continue;
        thread.SyncSetText(control(QStringLiteral("Edit%1Value").arg(dv)), variable.IsNaN ? QStringLiteral("NaN") : Fixed3(variable.Value));
        QObject* unit = control(QStringLiteral("ComboBox%1Unit").arg(dv));
        if (edits == TEdits::Overwrite || !thread.SyncIsModified(unit)) {
            thread.SyncSelectComboItem(unit, variable.UnitText);
            thread.SyncAcceptValue(unit);
        }
        thread.AddDynamicVariableChoice(dv);
    }
    thread.AddDynamicVariableChoice(QStringLiteral("Not Used"));
}

void TReadJobs::FetchOffset(TEdits edits)
{
    beginStep(QStringLiteral("Read Offset"));
    for (int i = 0; i < 2; ++i) {
        const QString dv = QStringLiteral("DV%1").arg(i);
        if (!thread.SyncGetVisible(control(QStringLiteral("GroupBox") + dv)))
            continue;
        QObject* edit = control(QStringLiteral("Edit%1Offset").arg(dv));
        // An offset the device did not take stays as typed, in the unit it was typed in.
        if (edits == TEdits::Keep && thread.SyncIsModified(edit))
            continue;
        QString unit;
        float offset = 0;
        device().ReadOffset(i, unit, offset);
        // A new offset goes out in the unit of the one read; none read, the
        // placeholder stays and Save refuses the tab.
        requireForSave();
        if (!device().ValuesConfirmed())
            continue;
        thread.SyncSetText(edit, Fixed3(offset));
        thread.SyncAcceptValue(edit);
        thread.SyncSetText(control(QStringLiteral("Label%1OffsetUnit").arg(dv)), unit);
    }
}

void TReadJobs::FetchDamping()
{
    beginStep(QStringLiteral("Read Damping"));
    for (int i = 0; i < 2; ++i) {
        const QString dv = QStringLiteral("DV%1").arg(i);
        if (!thread.SyncGetVisible(control(QStringLiteral("GroupBox") + dv)))
            continue;
        float damping = 0;
        device().ReadDampingValue(i, damping);
        thread.SyncSetText(control(QStringLiteral("Edit%1Damping").arg(dv)), Fixed3(damping));
    }
}

void TReadJobs::FetchDynamicAssignments()
{
    beginStep(QStringLiteral("Read Dynamic Variable Assignments"));
    quint8 codes[4] = { 0, 0, 0, 0 };
    device().ReadVariableAssignments(codes[0], codes[1], codes[2], codes[3]);
    requireForSave();
    const char* const combos[4] = { "ComboBoxDynDevPV", "ComboBoxDynDevSV", "ComboBoxDynDevTV", "ComboBoxDynDevQV" };
    for (int i = 0; i < 4; ++i)
        thread.SyncSelectComboItem(control(QString::fromLatin1(combos[i])), MappingText(device().DeviceFamily, codes[i], false));
}

void TReadJobs::FetchConfigChangeCounter()
{
    beginStep(QStringLiteral("Read Unique Identifier"));
    quint16 counter = 0;
    device().ReadConfigChangeCounter(counter);
    thread.SyncSetEditText(control(QStringLiteral("EditConfigurationChangeCounter")), QString::number(counter));
}

void TReadJobs::FetchProtectionMode()
{
    thread.CheckTerminated();
    bool protect = false;
    device().ReadProtectionMode(protect);
    thread.SyncSetCheckedAccepted(control(QStringLiteral("CheckBoxProtectionMode")), protect);
}

#include "worker/TFamilyJobs.h"

#include "commands/UUnits.h"
#include "util/UConversions.h"
#include "util/UPresentation.h"
#include "worker/TThreadMeridal.h"

#include <cmath>

namespace {

constexpr int Tivern = 1;

// Diagnostics controls that only the TIVERN family fills.
const char* const TivernDiagnostics[] = {
    "LabelDV1Diagnostics", "EditDV1ValueDiagnostic", "LabelDV1UnitDiagnostics", "LabelDV3UnitDiagnostics",
    "EditDV3ValueDiagnostic", "LabelDV3Diagnostics", "LabelHeadTubeTemp", "AdvEditHeadTemp", "AdvEditTubeTemp",
    "AdvProgressBarQualityQuotient", "LabelQualityQuotient", "LabelStartLevelDampingLength", "AdvEditStartLevel",
    "AdvEditDampingLength", "AdvEditPulseHeight", "LabelPulseDurationHeight", "AdvEditPulseDuration",
};

// Device-variable offsets exist only in the TIVERN family.
const char* const OffsetRows[] = {
    "LabelDV0Offset", "EditDV0Offset", "LabelDV0OffsetUnit", "LabelDV1Offset", "EditDV1Offset", "LabelDV1OffsetUnit",
};

// Additional-status flags of the TIVERN family; CALDEROS probes report Dry Warning instead.
const char* const TivernStatusFlags[] = { "CheckBoxLowVoltageError", "CheckBoxMeasureError", "CheckBoxErrorCountError" };

QString TemperatureText(float value, bool isNaN)
{
    return isNaN ? QStringLiteral("NaN") : FormatFixed(value, 1);
}

} // namespace

TFamilyJobs::TFamilyJobs(TThreadMeridal& thread)
    : TJobSteps(thread)
{
}

int TFamilyJobs::firmwareRevision() const
{
    return StrToInt(thread.SyncGetText(control(QStringLiteral("EditFirmwareRev"))));
}

void TFamilyJobs::AdaptToDeviceFamily(int family)
{
    thread.CheckTerminated();
    const bool tivern = family == Tivern;
    for (const char* name : OffsetRows)
        thread.SyncSetVisible(control(QString::fromLatin1(name)), tivern);
    for (const char* name : TivernStatusFlags)
        thread.SyncSetVisible(control(QString::fromLatin1(name)), tivern);
    thread.SyncSetVisible(control(QStringLiteral("CheckBoxDryWarning")), !tivern);

    for (int i = 0; i < 4; ++i) {
        thread.SyncSetCaption(control(QStringLiteral("CheckBoxEnableDV%1").arg(i)),
                              QStringLiteral("DV%1 (").arg(i) + device().DeviceVariableName(i, true) + QLatin1Char(')'));
        thread.SyncSetCaption(control(QStringLiteral("GroupBoxDV%1").arg(i)), device().DeviceVariableName(i, false));
    }
    // The groups' grids close up around hidden rows by themselves: in the
    // CALDEROS layout the damping row takes the place of the offset row.

    for (int i : { 0, 1, 3 })
        thread.SyncSetCaption(control(QStringLiteral("LabelDV%1Diagnostics").arg(i)),
                              QStringLiteral("DV%1 - ").arg(i) + device().DeviceVariableName(i, true));
    for (const char* name : TivernDiagnostics)
        thread.SyncSetVisible(control(QString::fromLatin1(name)), tivern);
}

bool TFamilyJobs::FetchDeviceVariableEnable()
{
    thread.CheckTerminated();
    const char* const boxes[4] = { "CheckBoxEnableDV0", "CheckBoxEnableDV1", "CheckBoxEnableDV2", "CheckBoxEnableDV3" };
    if (firmwareRevision() < 3 && device().DeviceFamily == Tivern) {
        for (const char* box : boxes) {
            thread.SyncSetEnabled(control(QString::fromLatin1(box)), false);
            thread.SyncSetCheckedAccepted(control(QString::fromLatin1(box)), false);
        }
        return true;
    }
    thread.SetStatusText(QStringLiteral("Read Device Variable Enable"));
    const std::array<quint8, 4> codes = device().ReadDeviceVariableEnable();
    const auto box = [&](int i) { return control(QString::fromLatin1(boxes[i])); };
    if (!device().ValuesConfirmed()) {
        for (int i = 0; i < 4; ++i)
            thread.SyncSetEnabled(box(i), false);
        return false;
    }
    thread.SyncSetEnabled(box(0), false);
    thread.SyncSetCheckedAccepted(box(0), true);
    thread.SyncSetEnabled(box(1), codes[1] != NotUsedCode);
    thread.SyncSetCheckedAccepted(box(1), codes[1] == 1);
    thread.SyncSetEnabled(box(2), false);
    thread.SyncSetCheckedAccepted(box(2), codes[2] == 1);
    // The interface layer can be switched only while the second float is enabled.
    thread.SyncSetEnabled(box(3), codes[3] != NotUsedCode && codes[1] != 0);
    thread.SyncSetCheckedAccepted(box(3), codes[3] == 1);
    return true;
}

void TFamilyJobs::StoreDeviceVariableEnable()
{
    thread.CheckTerminated();
    if (firmwareRevision() <= 2)
        return;
    thread.SetStatusText(QStringLiteral("Write Read Device Variable Enable"));
    for (int i = 1; i <= 3; ++i) {
        QObject* box = control(QStringLiteral("CheckBoxEnableDV%1").arg(i));
        if (thread.SyncIsModified(box) && thread.SyncGetEnabled(box))
            device().WriteDeviceVariableEnable(i, thread.SyncGetChecked(box));
    }
}

void TFamilyJobs::JobReadDiagnosticsTab()
{
    FetchFirmwareVersion();
    FetchDiagnostics();
    thread.SyncSetEnabled(control(QStringLiteral("TimerDiagnostics")), true);
}

void TFamilyJobs::JobRefreshDiagnostics()
{
    FetchDiagnostics();
    thread.SyncSetEnabled(control(QStringLiteral("TimerDiagnostics")), true);
}

void TFamilyJobs::FetchFirmwareVersion()
{
    thread.CheckTerminated();
    thread.SetStatusText(QStringLiteral("Read Firmware Version"));
    TFirmware firmware;
    device().ReadFirmwareVersion(firmware);
    thread.SyncSetText(control(QStringLiteral("EditDeviceIDDiagnostics")), thread.SyncGetText(control(QStringLiteral("EditDeviceID"))));
    thread.SyncSetText(control(QStringLiteral("AdvEditFirmwareVersion")), firmware.VersionText);
}

void TFamilyJobs::FetchDiagnostics()
{
    thread.CheckTerminated();
    if (device().DeviceFamily == Tivern) {
        thread.SetStatusText(QStringLiteral("Read Diagnostics Data"));
        TDiagnosticsData data;
        device().ReadDiagnostics(data);
        thread.SyncSetProgress(control(QStringLiteral("AdvProgressBarQualityQuotient")), qRound(data.QualityQuotient * 100.0 / 255.0));
        thread.SyncSetText(control(QStringLiteral("AdvEditStartLevel")), FormatFixed(data.StartLevel * 3.3 / 255.0, 2));
        thread.SyncSetText(control(QStringLiteral("AdvEditDampingLength")), FormatFixed(data.DampingLength, 0));
        // Without a usable clock the duration cannot be converted.
        const double clockMs = data.PulseTimeBase / 1000.0;
        const bool clockUsable = !data.TimeBaseIsNaN && std::isfinite(clockMs) && clockMs != 0.0;
        thread.SyncSetText(control(QStringLiteral("AdvEditPulseDuration")),
                           clockUsable ? FormatFixed(data.PulseDuration / clockMs, 2) : QStringLiteral("NaN"));
        thread.SyncSetText(control(QStringLiteral("AdvEditPulseHeight")), FormatFixed(data.PulseHeight, 0));
        thread.SyncSetText(control(QStringLiteral("AdvEditHeadTemp")), TemperatureText(data.HeadTemperature, data.HeadTempIsNaN));
        thread.SyncSetText(control(QStringLiteral("AdvEditTubeTemp")), TemperatureText(data.TubeTemperature, data.TubeTempIsNaN));
    }

    thread.SetStatusText(QStringLiteral("Read Device Variables"));
    TDeviceVariable variables[4];
    device().ReadDeviceVariables(variables[0], variables[1], variables[2], variables[3]);
    for (int i : { 0, 1, 3 }) {
        const TDeviceVariable& variable = variables[i];
        QObject* value = control(QStringLiteral("EditDV%1ValueDiagnostic").arg(i));
        if (!variable.Valid) {
            thread.SyncSetText(value, QStringLiteral("NaN"));
            continue;
        }
        thread.SyncSetText(value, variable.IsNaN ? QStringLiteral("NaN") : FormatFixed(variable.Value, 3));
        thread.SyncSetText(control(QStringLiteral("LabelDV%1UnitDiagnostics").arg(i)), variable.UnitText);
    }
}

#include "worker/TFamilyJobs.h"

#include "commands/UUnits.h"
#include "util/UConversions.h"
#include "util/UPresentation.h"
#include "worker/TDeviceView.h"
#include "worker/TFieldTable.h"
#include "worker/TThreadMeridal.h"

#include <cmath>

namespace {

constexpr int Tivern = 1;

using F = TField;

// Diagnostics fields that only the TIVERN family fills.
const TField TivernDiagnostics[] = {
    F::LabelDV1Diagnostics, F::EditDV1ValueDiagnostic, F::LabelDV1UnitDiagnostics, F::LabelDV3UnitDiagnostics,
    F::EditDV3ValueDiagnostic, F::LabelDV3Diagnostics, F::LabelHeadTubeTemp, F::AdvEditHeadTemp, F::AdvEditTubeTemp,
    F::AdvProgressBarQualityQuotient, F::LabelQualityQuotient, F::LabelStartLevelDampingLength, F::AdvEditStartLevel,
    F::AdvEditDampingLength, F::AdvEditPulseHeight, F::LabelPulseDurationHeight, F::AdvEditPulseDuration,
};

// Device-variable offsets exist only in the TIVERN family.
const TField OffsetRows[] = {
    F::LabelDV0Offset, F::EditDV0Offset, F::LabelDV0OffsetUnit, F::LabelDV1Offset, F::EditDV1Offset, F::LabelDV1OffsetUnit,
};

// Additional-status flags of the TIVERN family; CALDEROS probes report Dry Warning instead.
const TField TivernStatusFlags[] = { F::CheckBoxLowVoltageError, F::CheckBoxMeasureError, F::CheckBoxErrorCountError };

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
    return StrToInt(view().Text(TField::EditFirmwareRev));
}

void TFamilyJobs::AdaptToDeviceFamily(int family)
{
    thread.CheckTerminated();
    const bool tivern = family == Tivern;
    for (TField field : OffsetRows)
        view().SetVisible(field, tivern);
    for (TField field : TivernStatusFlags)
        view().SetVisible(field, tivern);
    view().SetVisible(TField::CheckBoxDryWarning, !tivern);

    for (int i = 0; i < 4; ++i) {
        view().SetCaption(DeviceVariableFields(i).Enable,
                          QStringLiteral("DV%1 (").arg(i) + device().DeviceVariableName(i, true) + QLatin1Char(')'));
        view().SetCaption(DeviceVariableFields(i).Group, device().DeviceVariableName(i, false));
    }
    // The groups' grids close up around hidden rows by themselves: in the
    // CALDEROS layout the damping row takes the place of the offset row.

    for (int i : { 0, 1, 3 })
        view().SetCaption(DeviceVariableFields(i).DiagnosticsCaption,
                          QStringLiteral("DV%1 - ").arg(i) + device().DeviceVariableName(i, true));
    for (TField field : TivernDiagnostics)
        view().SetVisible(field, tivern);
}

bool TFamilyJobs::FetchDeviceVariableEnable()
{
    thread.CheckTerminated();
    const auto box = [](int i) { return DeviceVariableFields(i).Enable; };
    if (firmwareRevision() < 3 && device().DeviceFamily == Tivern) {
        for (int i = 0; i < 4; ++i) {
            view().SetEnabled(box(i), false);
            checkAccepted(box(i), false);
        }
        return true;
    }
    view().ShowStatus(QStringLiteral("Read Device Variable Enable"));
    const std::array<quint8, 4> codes = device().ReadDeviceVariableEnable();
    if (!device().ValuesConfirmed()) {
        for (int i = 0; i < 4; ++i)
            view().SetEnabled(box(i), false);
        return false;
    }
    view().SetEnabled(box(0), false);
    checkAccepted(box(0), true);
    view().SetEnabled(box(1), codes[1] != NotUsedCode);
    checkAccepted(box(1), codes[1] == 1);
    view().SetEnabled(box(2), false);
    checkAccepted(box(2), codes[2] == 1);
    // The interface layer can be switched only while the second float is enabled.
    view().SetEnabled(box(3), codes[3] != NotUsedCode && codes[1] != 0);
    checkAccepted(box(3), codes[3] == 1);
    return true;
}

void TFamilyJobs::StoreDeviceVariableEnable()
{
    thread.CheckTerminated();
    if (firmwareRevision() <= 2)
        return;
    view().ShowStatus(QStringLiteral("Write Read Device Variable Enable"));
    for (int i = 1; i <= 3; ++i) {
        const TField box = DeviceVariableFields(i).Enable;
        if (view().Modified(box) && view().Enabled(box))
            device().WriteDeviceVariableEnable(i, view().Checked(box));
    }
}

void TFamilyJobs::JobReadDiagnosticsTab()
{
    FetchFirmwareVersion();
    FetchDiagnostics();
    view().SetEnabled(TField::TimerDiagnostics, true);
}

void TFamilyJobs::JobRefreshDiagnostics()
{
    FetchDiagnostics();
    view().SetEnabled(TField::TimerDiagnostics, true);
}

void TFamilyJobs::FetchFirmwareVersion()
{
    thread.CheckTerminated();
    view().ShowStatus(QStringLiteral("Read Firmware Version"));
    TFirmware firmware;
    device().ReadFirmwareVersion(firmware);
    view().SetText(TField::EditDeviceIDDiagnostics, view().Text(TField::EditDeviceID));
    view().SetText(TField::AdvEditFirmwareVersion, firmware.VersionText);
}

void TFamilyJobs::FetchDiagnostics()
{
    thread.CheckTerminated();
    if (device().DeviceFamily == Tivern) {
        view().ShowStatus(QStringLiteral("Read Diagnostics Data"));
        TDiagnosticsData data;
        device().ReadDiagnostics(data);
        view().SetProgress(TField::AdvProgressBarQualityQuotient, qRound(data.QualityQuotient * 100.0 / 255.0));
        view().SetText(TField::AdvEditStartLevel, FormatFixed(data.StartLevel * 3.3 / 255.0, 2));
        view().SetText(TField::AdvEditDampingLength, FormatFixed(data.DampingLength, 0));
        // Without a usable clock the duration cannot be converted.
        const double clockMs = data.PulseTimeBase / 1000.0;
        const bool clockUsable = !data.TimeBaseIsNaN && std::isfinite(clockMs) && clockMs != 0.0;
        view().SetText(TField::AdvEditPulseDuration, clockUsable ? FormatFixed(data.PulseDuration / clockMs, 2) : QStringLiteral("NaN"));
        view().SetText(TField::AdvEditPulseHeight, FormatFixed(data.PulseHeight, 0));
        view().SetText(TField::AdvEditHeadTemp, TemperatureText(data.HeadTemperature, data.HeadTempIsNaN));
        view().SetText(TField::AdvEditTubeTemp, TemperatureText(data.TubeTemperature, data.TubeTempIsNaN));
    }

    view().ShowStatus(QStringLiteral("Read Device Variables"));
    TDeviceVariable variables[4];
    device().ReadDeviceVariables(variables[0], variables[1], variables[2], variables[3]);
    for (int i : { 0, 1, 3 }) {
        const TDeviceVariable& variable = variables[i];
        const TField value = DeviceVariableFields(i).DiagnosticsValue;
        if (!variable.Valid) {
            view().SetText(value, QStringLiteral("NaN"));
            continue;
        }
        view().SetText(value, variable.IsNaN ? QStringLiteral("NaN") : FormatFixed(variable.Value, 3));
        view().SetText(DeviceVariableFields(i).DiagnosticsUnit, variable.UnitText);
    }
}

#include "worker/TFieldTable.h"

#include "util/Exceptions.h"

namespace {

using F = TField;
using P = TPage;
using K = TFieldKind;
using T = TTracking;
using E = TEntry;
using C = TCleared;

// clang-format off
constexpr TFieldSpec Table[] = {
    // Identification
    { F::ComboBoxPollingAddress,       "ComboBoxPollingAddress",       P::Identification,  K::DropDown,    T::ItemIndex,  F::None,        E::Any,         C::FirstItem },
    { F::CheckBoxLoopCurrentMode,      "CheckBoxLoopCurrentMode",      P::Identification,  K::CheckBox,    T::Checked,    F::None,        E::Any,         C::Unchecked },
    { F::EditManufacturerID,           "EditManufacturerID",           P::Identification,  K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDeviceCode,               "EditDeviceCode",               P::Identification,  K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDeviceID,                 "EditDeviceID",                 P::Identification,  K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    { F::EditUniversalCmdRev,          "EditUniversalCmdRev",          P::Identification,  K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDeviceRev,                "EditDeviceRev",                P::Identification,  K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    { F::EditFirmwareRev,              "EditFirmwareRev",              P::Identification,  K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    { F::EditHardwareRev,              "EditHardwareRev",              P::Identification,  K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    { F::EditTag,                      "EditTag",                      P::Identification,  K::Edit,        T::Text,       F::None,        E::PackedAscii, C::Empty },
    { F::EditLongTag,                  "EditLongTag",                  P::Identification,  K::Edit,        T::Text,       F::None,        E::Latin,       C::Empty },
    { F::EditDescriptor,               "EditDescriptor",               P::Identification,  K::Edit,        T::Text,       F::None,        E::PackedAscii, C::Empty },
    { F::EditMessage,                  "EditMessage",                  P::Identification,  K::Edit,        T::Text,       F::None,        E::PackedAscii, C::Empty },
    { F::EditDate,                     "EditDate",                     P::Identification,  K::Edit,        T::Text,       F::None,        E::Any,         C::Empty },
    { F::EditFinalAssemblyNo,          "EditFinalAssemblyNo",          P::Identification,  K::Edit,        T::Text,       F::None,        E::IntPositiv,  C::Empty },
    // Analog Output
    { F::GroupBoxPV,                   "GroupBoxPV",                   P::AnalogOutput,    K::Group,       T::None,       F::None,        E::Any,         C::Kept },
    { F::EditPrimaryVariableValue,     "EditPrimaryVariableValue",     P::AnalogOutput,    K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::LabelPrimaryVariableUnit,     "LabelPrimaryVariableUnit",     P::AnalogOutput,    K::Label,       T::None,       F::None,        E::Any,         C::Empty },
    { F::EditLoopCurrent,              "EditLoopCurrent",              P::AnalogOutput,    K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::EditPercentOfRange,           "EditPercentOfRange",           P::AnalogOutput,    K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::EditPVUpperRangeValue,        "EditPVUpperRangeValue",        P::AnalogOutput,    K::Edit,        T::Number,     F::None,        E::Float,       C::Empty },
    { F::LabelPVUpperRangeUnit,        "LabelPVUpperRangeUnit",        P::AnalogOutput,    K::Label,       T::None,       F::None,        E::Any,         C::Empty },
    { F::EditPVLowerRangeValue,        "EditPVLowerRangeValue",        P::AnalogOutput,    K::Edit,        T::Number,     F::None,        E::Float,       C::Empty },
    { F::LabelPVLowerRangeUnit,        "LabelPVLowerRangeUnit",        P::AnalogOutput,    K::Label,       T::None,       F::None,        E::Any,         C::Empty },
    { F::ComboBoxPVAlarmSelection,     "ComboBoxPVAlarmSelection",     P::AnalogOutput,    K::DropDown,    T::ItemIndex,  F::None,        E::Any,         C::FirstItem },
    // Device Variables
    { F::GroupBoxDV0,                  "GroupBoxDV0",                  P::DeviceVariables, K::Group,       T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDV0Value,                 "EditDV0Value",                 P::DeviceVariables, K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::ComboBoxDV0Unit,              "ComboBoxDV0Unit",              P::DeviceVariables, K::DropDown,    T::ItemIndex,  F::GroupBoxDV0, E::Any,         C::Millimeters },
    { F::LabelDV0Offset,               "LabelDV0Offset",               P::DeviceVariables, K::Label,       T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDV0Offset,                "EditDV0Offset",                P::DeviceVariables, K::Edit,        T::Number,     F::GroupBoxDV0, E::Float,       C::Zero },
    { F::LabelDV0OffsetUnit,           "LabelDV0OffsetUnit",           P::DeviceVariables, K::Label,       T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDV0Damping,               "EditDV0Damping",               P::DeviceVariables, K::Edit,        T::Number,     F::GroupBoxDV0, E::Float,       C::Zero },
    { F::GroupBoxDV1,                  "GroupBoxDV1",                  P::DeviceVariables, K::Group,       T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDV1Value,                 "EditDV1Value",                 P::DeviceVariables, K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::ComboBoxDV1Unit,              "ComboBoxDV1Unit",              P::DeviceVariables, K::DropDown,    T::ItemIndex,  F::GroupBoxDV1, E::Any,         C::Millimeters },
    { F::LabelDV1Offset,               "LabelDV1Offset",               P::DeviceVariables, K::Label,       T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDV1Offset,                "EditDV1Offset",                P::DeviceVariables, K::Edit,        T::Number,     F::GroupBoxDV1, E::Float,       C::Zero },
    { F::LabelDV1OffsetUnit,           "LabelDV1OffsetUnit",           P::DeviceVariables, K::Label,       T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDV1Damping,               "EditDV1Damping",               P::DeviceVariables, K::Edit,        T::Number,     F::GroupBoxDV1, E::Float,       C::Zero },
    { F::GroupBoxDV2,                  "GroupBoxDV2",                  P::DeviceVariables, K::Group,       T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDV2Value,                 "EditDV2Value",                 P::DeviceVariables, K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::ComboBoxDV2Unit,              "ComboBoxDV2Unit",              P::DeviceVariables, K::DropDown,    T::ItemIndex,  F::GroupBoxDV2, E::Any,         C::FirstItem },
    { F::GroupBoxDV3,                  "GroupBoxDV3",                  P::DeviceVariables, K::Group,       T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDV3Value,                 "EditDV3Value",                 P::DeviceVariables, K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::ComboBoxDV3Unit,              "ComboBoxDV3Unit",              P::DeviceVariables, K::DropDown,    T::ItemIndex,  F::GroupBoxDV3, E::Any,         C::Millimeters },
    { F::ComboBoxDynDevPV,             "ComboBoxDynDevPV",             P::DeviceVariables, K::DropDown,    T::ItemIndex,  F::None,        E::Any,         C::NoItems },
    { F::ComboBoxDynDevSV,             "ComboBoxDynDevSV",             P::DeviceVariables, K::DropDown,    T::ItemIndex,  F::None,        E::Any,         C::NoItems },
    { F::ComboBoxDynDevTV,             "ComboBoxDynDevTV",             P::DeviceVariables, K::DropDown,    T::ItemIndex,  F::None,        E::Any,         C::NoItems },
    { F::ComboBoxDynDevQV,             "ComboBoxDynDevQV",             P::DeviceVariables, K::DropDown,    T::ItemIndex,  F::None,        E::Any,         C::NoItems },
    // Others
    { F::MaskEditOldPasscode,          "MaskEditOldPasscode",          P::Others,          K::Edit,        T::Passcode,   F::None,        E::IntPositiv,  C::Empty },
    { F::MaskEditNewPasscode1,         "MaskEditNewPasscode1",         P::Others,          K::Edit,        T::Passcode,   F::None,        E::IntPositiv,  C::Empty },
    { F::MaskEditNewPasscode2,         "MaskEditNewPasscode2",         P::Others,          K::Edit,        T::Passcode,   F::None,        E::IntPositiv,  C::Empty },
    { F::MaskEditPasswcodeProtectionCode, "MaskEditPasswcodeProtectionCode", P::Others,    K::Edit,        T::None,       F::None,        E::IntPositiv,  C::Empty },
    { F::CheckBoxProtectionMode,       "CheckBoxProtectionMode",       P::Others,          K::CheckBox,    T::Checked,    F::None,        E::Any,         C::Unchecked },
    { F::CheckBoxEnableDV0,            "CheckBoxEnableDV0",            P::Others,          K::CheckBox,    T::None,       F::None,        E::Any,         C::DisabledChecked },
    { F::CheckBoxEnableDV1,            "CheckBoxEnableDV1",            P::Others,          K::CheckBox,    T::EnableFlag, F::None,        E::Any,         C::DisabledUnchecked },
    { F::CheckBoxEnableDV2,            "CheckBoxEnableDV2",            P::Others,          K::CheckBox,    T::EnableFlag, F::None,        E::Any,         C::DisabledUnchecked },
    { F::CheckBoxEnableDV3,            "CheckBoxEnableDV3",            P::Others,          K::CheckBox,    T::EnableFlag, F::None,        E::Any,         C::DisabledUnchecked },
    { F::EditConfigurationChangeCounter, "EditConfigurationChangeCounter", P::Others,      K::Edit,        T::None,       F::None,        E::PackedAscii, C::Empty },
    { F::ButtonRestoreFactoryDefaults, "ButtonRestoreFactoryDefaults", P::Others,          K::Button,      T::None,       F::None,        E::Any,         C::Kept },
    // Diagnostics
    { F::TabDiagnostics,               "TabDiagnostics",               P::Diagnostics,     K::Tab,         T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDeviceIDDiagnostics,      "EditDeviceIDDiagnostics",      P::Diagnostics,     K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    { F::AdvEditFirmwareVersion,       "AdvEditFirmwareVersion",       P::Diagnostics,     K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::LabelDV0Diagnostics,          "LabelDV0Diagnostics",          P::Diagnostics,     K::Label,       T::None,       F::None,        E::Any,         C::Shown },
    { F::EditDV0ValueDiagnostic,       "EditDV0ValueDiagnostic",       P::Diagnostics,     K::Edit,        T::None,       F::None,        E::Any,         C::EmptyShown },
    { F::LabelDV0UnitDiagnostics,      "LabelDV0UnitDiagnostics",      P::Diagnostics,     K::Label,       T::None,       F::None,        E::Any,         C::EmptyShown },
    { F::LabelDV1Diagnostics,          "LabelDV1Diagnostics",          P::Diagnostics,     K::Label,       T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDV1ValueDiagnostic,       "EditDV1ValueDiagnostic",       P::Diagnostics,     K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::LabelDV1UnitDiagnostics,      "LabelDV1UnitDiagnostics",      P::Diagnostics,     K::Label,       T::None,       F::None,        E::Any,         C::Empty },
    { F::LabelDV3Diagnostics,          "LabelDV3Diagnostics",          P::Diagnostics,     K::Label,       T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDV3ValueDiagnostic,       "EditDV3ValueDiagnostic",       P::Diagnostics,     K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::LabelDV3UnitDiagnostics,      "LabelDV3UnitDiagnostics",      P::Diagnostics,     K::Label,       T::None,       F::None,        E::Any,         C::Empty },
    { F::LabelHeadTubeTemp,            "LabelHeadTubeTemp",            P::Diagnostics,     K::Label,       T::None,       F::None,        E::Any,         C::Kept },
    { F::AdvEditHeadTemp,              "AdvEditHeadTemp",              P::Diagnostics,     K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::AdvEditTubeTemp,              "AdvEditTubeTemp",              P::Diagnostics,     K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::LabelQualityQuotient,         "LabelQualityQuotient",         P::Diagnostics,     K::Label,       T::None,       F::None,        E::Any,         C::Kept },
    { F::AdvProgressBarQualityQuotient, "AdvProgressBarQualityQuotient", P::Diagnostics,   K::ProgressBar, T::None,       F::None,        E::Any,         C::HalfProgress },
    { F::LabelStartLevelDampingLength, "LabelStartLevelDampingLength", P::Diagnostics,     K::Label,       T::None,       F::None,        E::Any,         C::Kept },
    { F::AdvEditStartLevel,            "AdvEditStartLevel",            P::Diagnostics,     K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::AdvEditDampingLength,         "AdvEditDampingLength",         P::Diagnostics,     K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::LabelPulseDurationHeight,     "LabelPulseDurationHeight",     P::Diagnostics,     K::Label,       T::None,       F::None,        E::Any,         C::Kept },
    { F::AdvEditPulseDuration,         "AdvEditPulseDuration",         P::Diagnostics,     K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::AdvEditPulseHeight,           "AdvEditPulseHeight",           P::Diagnostics,     K::Edit,        T::None,       F::None,        E::Any,         C::Empty },
    { F::TimerDiagnostics,             "TimerDiagnostics",             P::Diagnostics,     K::Timer,       T::None,       F::None,        E::Any,         C::Kept },
    // Below the tabs
    { F::LabelUnplugWarning,           "LabelUnplugWarning",           P::Outside,         K::Label,       T::None,       F::None,        E::Any,         C::Kept },
    // Device status window
    { F::CheckBoxSuccess,              "CheckBoxSuccess",              P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxColdStart,            "CheckBoxColdStart",            P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxConfigurationChanged, "CheckBoxConfigurationChanged", P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxDeviceMalfunction,    "CheckBoxDeviceMalfunction",    P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxPriVarOutOfLimit,     "CheckBoxPriVarOutOfLimit",     P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxNonPriVarOutOfLimit,  "CheckBoxNonPriVarOutOfLimit",  P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxLoopCurrentFixed,     "CheckBoxLoopCurrentFixed",     P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxLoopCurrentSaturated, "CheckBoxLoopCurrentSaturated", P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxMoreStatusAvailable,  "CheckBoxMoreStatusAvailable",  P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxHARTParaError,        "CheckBoxHARTParaError",        P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxMeasureError,         "CheckBoxMeasureError",         P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxTransParaError,       "CheckBoxTransParaError",       P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxErrorCountError,      "CheckBoxErrorCountError",      P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxLowVoltageError,      "CheckBoxLowVoltageError",      P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    { F::CheckBoxDryWarning,           "CheckBoxDryWarning",           P::Outside,         K::CheckBox,    T::None,       F::None,        E::Any,         C::Kept },
    // Loop test window
    { F::ComboBoxLoopTest,             "ComboBoxLoopTest",             P::Outside,         K::DropDown,    T::None,       F::None,        E::Any,         C::Kept },
    { F::EditFixedAt,                  "EditFixedAt",                  P::Outside,         K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    // Direct command window
    { F::EditAnswerCommand,            "EditAnswerCommand",            P::Outside,         K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    { F::EditAnswerAddress,            "EditAnswerAddress",            P::Outside,         K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    { F::MemoAnswerData,               "MemoAnswerData",               P::Outside,         K::Memo,        T::None,       F::None,        E::Any,         C::Kept },
    { F::EditResponseCode,             "EditResponseCode",             P::Outside,         K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    { F::EditDeviceStatus,             "EditDeviceStatus",             P::Outside,         K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
    { F::EditAnswerCheckSum,           "EditAnswerCheckSum",           P::Outside,         K::Edit,        T::None,       F::None,        E::Any,         C::Kept },
};
// clang-format on

constexpr int FieldCount = int(TField::Count) - 1;
static_assert(sizeof(Table) / sizeof(Table[0]) == FieldCount, "one row per field");

const TDeviceVariableFields DeviceVariables[4] = {
    { F::GroupBoxDV0, F::EditDV0Value, F::ComboBoxDV0Unit, F::LabelDV0Offset, F::EditDV0Offset, F::LabelDV0OffsetUnit,
      F::EditDV0Damping, F::CheckBoxEnableDV0, F::LabelDV0Diagnostics, F::EditDV0ValueDiagnostic, F::LabelDV0UnitDiagnostics },
    { F::GroupBoxDV1, F::EditDV1Value, F::ComboBoxDV1Unit, F::LabelDV1Offset, F::EditDV1Offset, F::LabelDV1OffsetUnit,
      F::EditDV1Damping, F::CheckBoxEnableDV1, F::LabelDV1Diagnostics, F::EditDV1ValueDiagnostic, F::LabelDV1UnitDiagnostics },
    { F::GroupBoxDV2, F::EditDV2Value, F::ComboBoxDV2Unit, F::None, F::None, F::None, F::None, F::CheckBoxEnableDV2, F::None,
      F::None, F::None },
    { F::GroupBoxDV3, F::EditDV3Value, F::ComboBoxDV3Unit, F::None, F::None, F::None, F::None, F::CheckBoxEnableDV3,
      F::LabelDV3Diagnostics, F::EditDV3ValueDiagnostic, F::LabelDV3UnitDiagnostics },
};

constexpr bool RowsInEnumerationOrder()
{
    for (int i = 0; i < FieldCount; ++i) {
        if (int(Table[i].Id) != i + 1)
            return false;
    }
    return true;
}
// So a field's row is found by its value.
static_assert(RowsInEnumerationOrder(), "rows in the order of TField");

} // namespace

const TFieldSpec& FieldSpec(TField field)
{
    const int row = int(field) - 1;
    if (row < 0 || row >= FieldCount)
        throw Exception(QStringLiteral("Field %1 is not in the field table.").arg(int(field)));
    return Table[row];
}

QString FieldName(TField field)
{
    return QString::fromLatin1(FieldSpec(field).Name);
}

std::vector<TField> FieldsOf(TPage page)
{
    std::vector<TField> fields;
    for (const TFieldSpec& spec : Table) {
        if (spec.Page == page)
            fields.push_back(spec.Id);
    }
    return fields;
}

std::vector<TField> AllFields()
{
    std::vector<TField> fields;
    for (const TFieldSpec& spec : Table)
        fields.push_back(spec.Id);
    return fields;
}

QStringList FieldChoices(TField field)
{
    const QStringList lengths = { "feet", "meters", "inches", "centimeters", "millimeters" };
    switch (field) {
    case F::ComboBoxPollingAddress: {
        QStringList addresses;
        for (int address = 0; address <= 15; ++address)
            addresses << QString::number(address);
        return addresses;
    }
    case F::ComboBoxPVAlarmSelection: return { "high (21,5 mA)", "low (3,6 mA)" };
    case F::ComboBoxDV0Unit:
    case F::ComboBoxDV1Unit:
    case F::ComboBoxDV3Unit: return lengths;
    case F::ComboBoxDV2Unit: return { QString::fromLatin1("\xb0" "C"), QString::fromLatin1("\xb0" "F") };
    default: return {};
    }
}

const TDeviceVariableFields& DeviceVariableFields(int deviceVariable)
{
    if (deviceVariable < 0 || deviceVariable > 3)
        throw Exception(QStringLiteral("Device variable %1 does not exist.").arg(deviceVariable));
    return DeviceVariables[deviceVariable];
}

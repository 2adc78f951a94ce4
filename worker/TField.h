#pragma once

// The tabs of the main window, in the order the window shows them. Fields of
// the other windows (device status, loop test, direct command) lie Outside.
enum class TPage { Identification, AnalogOutput, DeviceVariables, Maintenance, Others, Diagnostics, Outside };

constexpr int PageCount = int(TPage::Outside);

// Every control a device job or the change tracking reaches, by the name the
// field table gives it (the control's object name). None stands for a field
// a device variable does not have.
enum class TField {
    None,
    // Identification
    ComboBoxPollingAddress, CheckBoxLoopCurrentMode,
    EditManufacturerID, EditDeviceCode, EditDeviceID, EditUniversalCmdRev, EditDeviceRev, EditFirmwareRev, EditHardwareRev,
    EditTag, EditLongTag, EditDescriptor, EditMessage, EditDate, EditFinalAssemblyNo,
    // Analog Output
    GroupBoxPV, EditPrimaryVariableValue, LabelPrimaryVariableUnit, EditLoopCurrent, EditPercentOfRange,
    EditPVUpperRangeValue, LabelPVUpperRangeUnit, EditPVLowerRangeValue, LabelPVLowerRangeUnit, ComboBoxPVAlarmSelection,
    // Device Variables
    GroupBoxDV0, EditDV0Value, ComboBoxDV0Unit, LabelDV0Offset, EditDV0Offset, LabelDV0OffsetUnit, EditDV0Damping,
    GroupBoxDV1, EditDV1Value, ComboBoxDV1Unit, LabelDV1Offset, EditDV1Offset, LabelDV1OffsetUnit, EditDV1Damping,
    GroupBoxDV2, EditDV2Value, ComboBoxDV2Unit,
    GroupBoxDV3, EditDV3Value, ComboBoxDV3Unit,
    ComboBoxDynDevPV, ComboBoxDynDevSV, ComboBoxDynDevTV, ComboBoxDynDevQV,
    // Others
    MaskEditOldPasscode, MaskEditNewPasscode1, MaskEditNewPasscode2, MaskEditPasswcodeProtectionCode, CheckBoxProtectionMode,
    CheckBoxEnableDV0, CheckBoxEnableDV1, CheckBoxEnableDV2, CheckBoxEnableDV3,
    EditConfigurationChangeCounter, ButtonRestoreFactoryDefaults,
    // Diagnostics
    TabDiagnostics, EditDeviceIDDiagnostics, AdvEditFirmwareVersion,
    LabelDV0Diagnostics, EditDV0ValueDiagnostic, LabelDV0UnitDiagnostics,
    LabelDV1Diagnostics, EditDV1ValueDiagnostic, LabelDV1UnitDiagnostics,
    LabelDV3Diagnostics, EditDV3ValueDiagnostic, LabelDV3UnitDiagnostics,
    LabelHeadTubeTemp, AdvEditHeadTemp, AdvEditTubeTemp, LabelQualityQuotient, AdvProgressBarQualityQuotient,
    LabelStartLevelDampingLength, AdvEditStartLevel, AdvEditDampingLength, LabelPulseDurationHeight, AdvEditPulseDuration,
    AdvEditPulseHeight, TimerDiagnostics,
    // Below the tabs
    LabelUnplugWarning,
    // Device status window
    CheckBoxSuccess, CheckBoxColdStart, CheckBoxConfigurationChanged, CheckBoxDeviceMalfunction, CheckBoxPriVarOutOfLimit,
    CheckBoxNonPriVarOutOfLimit, CheckBoxLoopCurrentFixed, CheckBoxLoopCurrentSaturated, CheckBoxMoreStatusAvailable,
    CheckBoxHARTParaError, CheckBoxMeasureError, CheckBoxTransParaError, CheckBoxErrorCountError, CheckBoxLowVoltageError,
    CheckBoxDryWarning,
    // Loop test window
    ComboBoxLoopTest, EditFixedAt,
    // Direct command window
    EditAnswerCommand, EditAnswerAddress, MemoAnswerData, EditResponseCode, EditDeviceStatus, EditAnswerCheckSum,
    Count
};

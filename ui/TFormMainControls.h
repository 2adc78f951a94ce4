#pragma once

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class QWidget;
class TLevelProgressBar;

// The controls of the main window, built once with their names, captions,
// tooltips and initial states. Every control carries its name as objectName;
// those the jobs reach take it from the field table, where the window's
// field view finds them.
struct TFormMainControls
{
    void Build(QMainWindow* window);

    // Tab control and pages, in page-index order.
    QTabWidget* PageControl;
    QWidget* TabIdentification;
    QWidget* TabAnalogOutput;
    QWidget* TabDeviceVariables;
    QWidget* TabMaintenance;
    QWidget* TabOthers;
    QWidget* TabDiagnostics;

    // Tab 0, Identification.
    QComboBox* ComboBoxPollingAddress;
    QCheckBox* CheckBoxLoopCurrentMode;
    QGroupBox* GroupBoxDeviceInfo;
    QLineEdit* EditManufacturerID;
    QLineEdit* EditDeviceCode;
    QLineEdit* EditDeviceID;
    QLineEdit* EditUniversalCmdRev;
    QLineEdit* EditDeviceRev;
    QLineEdit* EditFirmwareRev;
    QLineEdit* EditHardwareRev;
    QGroupBox* GroupBoxIdentiInfo;
    QLineEdit* EditTag;
    QLineEdit* EditLongTag;
    QLineEdit* EditDescriptor;
    QLineEdit* EditMessage;
    QLineEdit* EditDate;
    QLineEdit* EditFinalAssemblyNo;

    // Tab 1, Analog Output.
    QGroupBox* GroupBoxPV;
    QLineEdit* EditPrimaryVariableValue;
    QLabel* LabelPrimaryVariableUnit;
    QLineEdit* EditLoopCurrent;
    QLineEdit* EditPercentOfRange;
    QLineEdit* EditPVUpperRangeValue;
    QLabel* LabelPVUpperRangeUnit;
    QLineEdit* EditPVLowerRangeValue;
    QLabel* LabelPVLowerRangeUnit;
    QComboBox* ComboBoxPVAlarmSelection;
    QGroupBox* GroupBoxTakeCurrentPVValueAs;
    QPushButton* ButtonSetFloaterPVUpperRange;
    QPushButton* ButtonSetFloaterPVLowerRange;

    // Tab 2, Device Variables.
    QGroupBox* GroupBoxDV0;
    QLineEdit* EditDV0Value;
    QComboBox* ComboBoxDV0Unit;
    QLabel* LabelDV0Offset;
    QLineEdit* EditDV0Offset;
    QLabel* LabelDV0OffsetUnit;
    QLabel* LabelDV0Damping;
    QLineEdit* EditDV0Damping;
    QLabel* LabelDV0DampingUnit;
    QGroupBox* GroupBoxDV1;
    QLineEdit* EditDV1Value;
    QComboBox* ComboBoxDV1Unit;
    QLabel* LabelDV1Offset;
    QLineEdit* EditDV1Offset;
    QLabel* LabelDV1OffsetUnit;
    QLabel* LabelDV1Damping;
    QLineEdit* EditDV1Damping;
    QLabel* LabelDV1DampingUnit;
    QGroupBox* GroupBoxDV2;
    QLineEdit* EditDV2Value;
    QComboBox* ComboBoxDV2Unit;
    QGroupBox* GroupBoxDV3;
    QLineEdit* EditDV3Value;
    QComboBox* ComboBoxDV3Unit;
    QGroupBox* GroupBoxMapping;
    QComboBox* ComboBoxDynDevPV;
    QComboBox* ComboBoxDynDevSV;
    QComboBox* ComboBoxDynDevTV;
    QComboBox* ComboBoxDynDevQV;

    // Tab 3, Maintenance.
    QPushButton* ButtonLoopTest;
    QPushButton* ButtonDATrim;

    // Tab 4, Others.
    QGroupBox* GroupBoxPassordChange;
    QLineEdit* MaskEditOldPasscode;
    QLineEdit* MaskEditNewPasscode1;
    QLineEdit* MaskEditNewPasscode2;
    QGroupBox* GroupBoxchangeProtectionMode;
    QLineEdit* MaskEditPasswcodeProtectionCode;
    QCheckBox* CheckBoxProtectionMode;
    QGroupBox* GroupBoxEnableDeviceVariables;
    QCheckBox* CheckBoxEnableDV0;
    QCheckBox* CheckBoxEnableDV1;
    QCheckBox* CheckBoxEnableDV2;
    QCheckBox* CheckBoxEnableDV3;
    QGroupBox* GroupBoxConfigurationChangeCounter;
    QLineEdit* EditConfigurationChangeCounter;
    QPushButton* ButtonConfigChangedReset;
    QPushButton* ButtonRestoreFactoryDefaults;

    // Tab 5, Diagnostics.
    QLineEdit* EditDeviceIDDiagnostics;
    QLineEdit* AdvEditFirmwareVersion;
    QLabel* LabelDiagnosticsFirmwareHint;
    QLabel* LabelDV0Diagnostics;
    QLineEdit* EditDV0ValueDiagnostic;
    QLabel* LabelDV0UnitDiagnostics;
    QLabel* LabelDV1Diagnostics;
    QLineEdit* EditDV1ValueDiagnostic;
    QLabel* LabelDV1UnitDiagnostics;
    QLabel* LabelDV3Diagnostics;
    QLineEdit* EditDV3ValueDiagnostic;
    QLabel* LabelDV3UnitDiagnostics;
    QLabel* LabelHeadTubeTemp;
    QLineEdit* AdvEditHeadTemp;
    QLineEdit* AdvEditTubeTemp;
    QLabel* LabelQualityQuotient;
    TLevelProgressBar* AdvProgressBarQualityQuotient;
    QLabel* LabelStartLevelDampingLength;
    QLineEdit* AdvEditStartLevel;
    QLineEdit* AdvEditDampingLength;
    QLabel* LabelPulseDurationHeight;
    QLineEdit* AdvEditPulseDuration;
    QLineEdit* AdvEditPulseHeight;

    // Below the tabs.
    QPushButton* ButtonRefresh;
    QPushButton* ButtonSave;
    QLabel* LabelUnplugWarning;
    QPushButton* ButtonTestDevice;
    QPushButton* ButtonDirectCMD;

    // Status bar: the indicator square and panel 1.
    QStatusBar* LMDStatusBar;
    QFrame* LMDPanelStatusIndicator;
    QLabel* StatusPanel1;

    // Menus.
    QMenu* MenuProgram;
    QAction* MenuLoadConfig;
    QAction* MenuSaveConfigAs;
    QAction* MenuExit;
    QMenu* MenuDevice;
    QAction* MenuRescan;
    QAction* MenuPortSelection;
    QMenu* MenuSettings;
    QAction* MenuSettingsMultiDrop;
    QMenu* MenuSettingsAutoRefresh;
    QActionGroup* AutoRefreshChoices;
    QAction* MenuSettingsAutoRefreshDisabled;
    QAction* MenuSettingsAutoRefreshSec5;
    QAction* MenuSettingsAutoRefreshSec10;
    QAction* MenuSettingsAutoRefreshSec30;
    QMenu* MenuService;
    QAction* MenuFrameTrace;
    QAction* MenuSaveTraceAs;
    QAction* About;

    // Non-visual parts.
    QTimer* TimerRefresh;
    QTimer* TimerDiagnostics;
};

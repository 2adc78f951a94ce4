#include "ui/TFormMainControls.h"

#include "ui/TLevelProgressBar.h"
#include "ui/UControlFactory.h"
#include "worker/TFieldTable.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString PasscodeHint = QStringLiteral("Valid Passcode between 0 and 65535");

QLineEdit* PasscodeEdit(const QString& name)
{
    auto* edit = Named(new QLineEdit, name);
    edit->setEchoMode(QLineEdit::Password);
    edit->setToolTip(PasscodeHint);
    return edit;
}

QLabel* UnitLabel(const QString& name, const QString& text = QStringLiteral("unit"))
{
    return Named(new QLabel(text), name);
}

// The group of a device variable measured in a length: value, unit, offset
// and damping; its controls are named after the variable (FieldName(TField::EditDV0Offset)).
struct LengthVariable
{
    QGroupBox* group;
    QLineEdit* value;
    QComboBox* unit;
    QLabel* offsetCaption;
    QLineEdit* offset;
    QLabel* offsetUnit;
    QLabel* dampingCaption;
    QLineEdit* damping;
    QLabel* dampingUnit;
};

LengthVariable BuildLengthVariable(int number, const QString& title)
{
    const QString dv = QStringLiteral("DV%1").arg(number);
    const TDeviceVariableFields& fields = DeviceVariableFields(number);
    LengthVariable v;
    v.group = Group(FieldName(fields.Group), title);
    v.value = DisplayEdit(FieldName(fields.Value));
    v.unit = DropDown(FieldName(fields.Unit), FieldChoices(fields.Unit));
    v.offsetCaption = Named(Caption(QStringLiteral("Offset")), FieldName(fields.OffsetCaption));
    v.offset = NumericEdit(FieldName(fields.Offset));
    v.offsetUnit = UnitLabel(FieldName(fields.OffsetUnit));
    v.dampingCaption = Named(Caption(QStringLiteral("Damping")), QStringLiteral("Label%1Damping").arg(dv));
    v.damping = NumericEdit(FieldName(fields.Damping));
    v.dampingUnit = UnitLabel(QStringLiteral("Label%1DampingUnit").arg(dv), QStringLiteral("seconds"));

    auto* grid = new QGridLayout(v.group);
    Row(grid, Caption(QStringLiteral("Value")), v.value, v.unit);
    Row(grid, v.offsetCaption, v.offset, v.offsetUnit);
    Row(grid, v.dampingCaption, v.damping, v.dampingUnit);
    return v;
}

QWidget* Page(QTabWidget* tabs, const QString& name, const QString& caption)
{
    auto* page = Named(new QWidget, name);
    tabs->addTab(page, caption);
    return page;
}

QAction* MenuItem(QMenu* menu, const QString& name, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

QTimer* Timer(QObject* owner, const QString& name, int interval)
{
    auto* timer = Named(new QTimer(owner), name);
    timer->setInterval(interval);
    return timer;
}

} // namespace

void TFormMainControls::Build(QMainWindow* window)
{
    PageControl = Named(new QTabWidget, "PageControl");
    PageControl->setEnabled(false);

    // Tab 0, Identification.
    TabIdentification = Page(PageControl, "TabIdentification", QStringLiteral("Identification"));
    ComboBoxPollingAddress = DropDown(FieldName(TField::ComboBoxPollingAddress), FieldChoices(TField::ComboBoxPollingAddress));
    ComboBoxPollingAddress->setMaxVisibleItems(16);
    CheckBoxLoopCurrentMode = Check(FieldName(TField::CheckBoxLoopCurrentMode), QStringLiteral("Loop Current Mode"));

    GroupBoxDeviceInfo = Group("GroupBoxDeviceInfo", QStringLiteral(" Device Information "));
    auto* deviceInfo = new QGridLayout(GroupBoxDeviceInfo);
    Row(deviceInfo, Caption(QStringLiteral("Manufacturer ID")), EditManufacturerID = ReadOnlyEdit(FieldName(TField::EditManufacturerID)));
    Row(deviceInfo, Caption(QStringLiteral("Device Code")), EditDeviceCode = ReadOnlyEdit(FieldName(TField::EditDeviceCode)));
    Row(deviceInfo, Caption(QStringLiteral("Device ID")), EditDeviceID = ReadOnlyEdit(FieldName(TField::EditDeviceID)));
    Row(deviceInfo, Caption(QStringLiteral("Universal Cmd. Rev.")), EditUniversalCmdRev = ReadOnlyEdit(FieldName(TField::EditUniversalCmdRev)));
    Row(deviceInfo, Caption(QStringLiteral("Device Rev.")), EditDeviceRev = ReadOnlyEdit(FieldName(TField::EditDeviceRev)));
    Row(deviceInfo, Caption(QStringLiteral("Firmware Rev.")), EditFirmwareRev = ReadOnlyEdit(FieldName(TField::EditFirmwareRev)));
    Row(deviceInfo, Caption(QStringLiteral("Hardware Rev.")), EditHardwareRev = ReadOnlyEdit(FieldName(TField::EditHardwareRev)));

    GroupBoxIdentiInfo = Group("GroupBoxIdentiInfo", QStringLiteral(" Identification Information "));
    auto* identiInfo = new QGridLayout(GroupBoxIdentiInfo);
    Row(identiInfo, Caption(QStringLiteral("Tag")), EditTag = TextEdit(FieldName(TField::EditTag), 8));
    Row(identiInfo, Caption(QStringLiteral("Long Tag")), EditLongTag = TextEdit(FieldName(TField::EditLongTag), 32));
    Row(identiInfo, Caption(QStringLiteral("Descriptor")), EditDescriptor = TextEdit(FieldName(TField::EditDescriptor), 16));
    Row(identiInfo, Caption(QStringLiteral("Message")), EditMessage = TextEdit(FieldName(TField::EditMessage), 32));
    Row(identiInfo, Caption(QStringLiteral("Date")), EditDate = TextEdit(FieldName(TField::EditDate), 10));
    Row(identiInfo, Caption(QStringLiteral("Final Assem. No.")), EditFinalAssemblyNo = TextEdit(FieldName(TField::EditFinalAssemblyNo), 32));
    identiInfo->setRowStretch(identiInfo->rowCount(), 1);
    EditMessage->setMinimumWidth(EditMessage->fontMetrics().horizontalAdvance(QString(33, QLatin1Char('W'))) * 2 / 3);

    auto* loop = new QHBoxLayout;
    loop->addWidget(Caption(QStringLiteral("Polling Address")));
    loop->addWidget(ComboBoxPollingAddress);
    loop->addSpacing(16);
    loop->addWidget(CheckBoxLoopCurrentMode);
    loop->addStretch();
    auto* identification = new QGridLayout(TabIdentification);
    identification->addLayout(loop, 0, 0, 1, 2);
    identification->addWidget(GroupBoxDeviceInfo, 1, 0);
    identification->addWidget(GroupBoxIdentiInfo, 1, 1);
    identification->setColumnStretch(1, 1);

    // Tab 1, Analog Output.
    TabAnalogOutput = Page(PageControl, "TabAnalogOutput", QStringLiteral("Analog Output"));
    GroupBoxPV = Group(FieldName(TField::GroupBoxPV), QStringLiteral(" PV "));
    auto* pv = new QGridLayout(GroupBoxPV);
    Row(pv, Caption(QStringLiteral("Primary Variable (PV)")), EditPrimaryVariableValue = DisplayEdit(FieldName(TField::EditPrimaryVariableValue), QString()),
        LabelPrimaryVariableUnit = UnitLabel(FieldName(TField::LabelPrimaryVariableUnit)));
    Row(pv, Caption(QStringLiteral("Loop Current")), EditLoopCurrent = DisplayEdit(FieldName(TField::EditLoopCurrent), QString()), Caption(QStringLiteral("mA")));
    Row(pv, Caption(QStringLiteral("Percent Of Range")), EditPercentOfRange = DisplayEdit(FieldName(TField::EditPercentOfRange), QString()), Caption(QStringLiteral("%")));
    Row(pv, Caption(QStringLiteral("PV Upper Range Value")), EditPVUpperRangeValue = NumericEdit(FieldName(TField::EditPVUpperRangeValue)),
        LabelPVUpperRangeUnit = UnitLabel(FieldName(TField::LabelPVUpperRangeUnit)));
    Row(pv, Caption(QStringLiteral("PV Lower Range Value")), EditPVLowerRangeValue = NumericEdit(FieldName(TField::EditPVLowerRangeValue)),
        LabelPVLowerRangeUnit = UnitLabel(FieldName(TField::LabelPVLowerRangeUnit)));
    Row(pv, Caption(QStringLiteral("PV Alarm Selection")),
        ComboBoxPVAlarmSelection = DropDown(FieldName(TField::ComboBoxPVAlarmSelection), FieldChoices(TField::ComboBoxPVAlarmSelection)));
    pv->setColumnMinimumWidth(2, GroupBoxPV->fontMetrics().horizontalAdvance(QStringLiteral("feet in sixteenths")));

    GroupBoxTakeCurrentPVValueAs = Group("GroupBoxTakeCurrentPVValueAs", QStringLiteral(" Take current PV Value as "));
    auto* floater = new QVBoxLayout(GroupBoxTakeCurrentPVValueAs);
    floater->addWidget(ButtonSetFloaterPVUpperRange = Button("ButtonSetFloaterPVUpperRange", QStringLiteral("PV Upper Range")));
    floater->addWidget(ButtonSetFloaterPVLowerRange = Button("ButtonSetFloaterPVLowerRange", QStringLiteral("PV Lower Range")));
    floater->addStretch();

    auto* analog = new QHBoxLayout(TabAnalogOutput);
    analog->addWidget(GroupBoxPV, 1);
    analog->addWidget(GroupBoxTakeCurrentPVValueAs, 0, Qt::AlignTop);

    // Tab 2, Device Variables.
    TabDeviceVariables = Page(PageControl, "TabDeviceVariables", QStringLiteral("Device Variables "));
    const LengthVariable dv0 = BuildLengthVariable(0, QStringLiteral(" Float 1 - Device Variable 0 "));
    GroupBoxDV0 = dv0.group;
    EditDV0Value = dv0.value;
    ComboBoxDV0Unit = dv0.unit;
    LabelDV0Offset = dv0.offsetCaption;
    EditDV0Offset = dv0.offset;
    LabelDV0OffsetUnit = dv0.offsetUnit;
    LabelDV0Damping = dv0.dampingCaption;
    EditDV0Damping = dv0.damping;
    LabelDV0DampingUnit = dv0.dampingUnit;
    const LengthVariable dv1 = BuildLengthVariable(1, QStringLiteral(" Float 2 - Device Variable 1 "));
    GroupBoxDV1 = dv1.group;
    EditDV1Value = dv1.value;
    ComboBoxDV1Unit = dv1.unit;
    LabelDV1Offset = dv1.offsetCaption;
    EditDV1Offset = dv1.offset;
    LabelDV1OffsetUnit = dv1.offsetUnit;
    LabelDV1Damping = dv1.dampingCaption;
    EditDV1Damping = dv1.damping;
    LabelDV1DampingUnit = dv1.dampingUnit;
    GroupBoxDV1->hide();

    GroupBoxDV2 = Group(FieldName(TField::GroupBoxDV2), QStringLiteral(" Temperature - Device Variable 2 "));
    auto* dv2 = new QGridLayout(GroupBoxDV2);
    Row(dv2, Caption(QStringLiteral("Value")), EditDV2Value = DisplayEdit(FieldName(TField::EditDV2Value)),
        ComboBoxDV2Unit = DropDown(FieldName(TField::ComboBoxDV2Unit), FieldChoices(TField::ComboBoxDV2Unit)));
    GroupBoxDV2->hide();
    GroupBoxDV3 = Group(FieldName(TField::GroupBoxDV3), QStringLiteral(" Interface Layer - Device Variable 3 "));
    auto* dv3 = new QGridLayout(GroupBoxDV3);
    Row(dv3, Caption(QStringLiteral("Value")), EditDV3Value = DisplayEdit(FieldName(TField::EditDV3Value)), ComboBoxDV3Unit = DropDown(FieldName(TField::ComboBoxDV3Unit), FieldChoices(TField::ComboBoxDV3Unit)));
    GroupBoxDV3->hide();

    GroupBoxMapping = Group("GroupBoxMapping", QStringLiteral(" Dynamic Variables Mapping "));
    auto* mapping = new QGridLayout(GroupBoxMapping);
    Row(mapping, Caption(QStringLiteral("PV")), ComboBoxDynDevPV = DropDown(FieldName(TField::ComboBoxDynDevPV), {}));
    Row(mapping, Caption(QStringLiteral("SV")), ComboBoxDynDevSV = DropDown(FieldName(TField::ComboBoxDynDevSV), {}));
    Row(mapping, Caption(QStringLiteral("TV")), ComboBoxDynDevTV = DropDown(FieldName(TField::ComboBoxDynDevTV), {}));
    Row(mapping, Caption(QStringLiteral("QV")), ComboBoxDynDevQV = DropDown(FieldName(TField::ComboBoxDynDevQV), {}));
    for (QComboBox* combo : { ComboBoxDynDevPV, ComboBoxDynDevSV, ComboBoxDynDevTV, ComboBoxDynDevQV })
        combo->setMinimumContentsLength(8);

    auto* variables = new QGridLayout(TabDeviceVariables);
    variables->addWidget(GroupBoxDV0, 0, 0);
    variables->addWidget(GroupBoxDV1, 1, 0);
    variables->addWidget(GroupBoxDV2, 0, 1);
    variables->addWidget(GroupBoxDV3, 1, 1);
    variables->addWidget(GroupBoxMapping, 0, 2, 2, 1, Qt::AlignTop);
    variables->setRowStretch(2, 1);

    // Tab 3, Maintenance.
    TabMaintenance = Page(PageControl, "TabMaintenance", QStringLiteral("Maintenance"));
    auto* maintenance = new QVBoxLayout(TabMaintenance);
    maintenance->addWidget(ButtonLoopTest = Button("ButtonLoopTest", QStringLiteral("Start Loop Test...")), 0, Qt::AlignLeft);
    maintenance->addWidget(ButtonDATrim = Button("ButtonDATrim", QStringLiteral("Start D/A Trim...")), 0, Qt::AlignLeft);
    maintenance->addStretch();

    // Tab 4, Others.
    TabOthers = Page(PageControl, "TabOthers", QStringLiteral("Others"));
    GroupBoxPassordChange = Group("GroupBoxPassordChange", QStringLiteral(" Change Passcode "));
    auto* passcode = new QGridLayout(GroupBoxPassordChange);
    Row(passcode, Caption(QStringLiteral("Old Passcode")), MaskEditOldPasscode = PasscodeEdit(FieldName(TField::MaskEditOldPasscode)));
    Row(passcode, Caption(QStringLiteral("New Passcode")), MaskEditNewPasscode1 = PasscodeEdit(FieldName(TField::MaskEditNewPasscode1)));
    Row(passcode, Caption(QStringLiteral("Verify Passcode")), MaskEditNewPasscode2 = PasscodeEdit(FieldName(TField::MaskEditNewPasscode2)));

    GroupBoxchangeProtectionMode = Group("GroupBoxchangeProtectionMode", QStringLiteral(" Change Protection Mode "));
    auto* protection = new QGridLayout(GroupBoxchangeProtectionMode);
    Row(protection, Caption(QStringLiteral("Passcode")), MaskEditPasswcodeProtectionCode = PasscodeEdit(FieldName(TField::MaskEditPasswcodeProtectionCode)));
    protection->addWidget(CheckBoxProtectionMode = Check(FieldName(TField::CheckBoxProtectionMode), QStringLiteral("Enabled")), protection->rowCount(), 1);

    GroupBoxEnableDeviceVariables = Group("GroupBoxEnableDeviceVariables", QStringLiteral(" Enable Device Variables "));
    auto* enable = new QVBoxLayout(GroupBoxEnableDeviceVariables);
    enable->addWidget(CheckBoxEnableDV0 = Check(FieldName(TField::CheckBoxEnableDV0), QStringLiteral("DV0 (Float 1)")));
    enable->addWidget(CheckBoxEnableDV1 = Check(FieldName(TField::CheckBoxEnableDV1), QStringLiteral("DV1 (Float 2)")));
    enable->addWidget(CheckBoxEnableDV2 = Check(FieldName(TField::CheckBoxEnableDV2), QStringLiteral("DV2 (Temperature)")));
    enable->addWidget(CheckBoxEnableDV3 = Check(FieldName(TField::CheckBoxEnableDV3), QStringLiteral("DV3 (Interface Layer)")));
    CheckBoxEnableDV0->setChecked(true);
    CheckBoxEnableDV0->setEnabled(false);
    CheckBoxEnableDV2->setEnabled(false);

    GroupBoxConfigurationChangeCounter = Group("GroupBoxConfigurationChangeCounter", QStringLiteral(" Configuration Change Counter "));
    auto* counter = new QGridLayout(GroupBoxConfigurationChangeCounter);
    Row(counter, Caption(QStringLiteral("Configuration Change Counter")), EditConfigurationChangeCounter = ReadOnlyEdit(FieldName(TField::EditConfigurationChangeCounter)));
    EditConfigurationChangeCounter->setMaxLength(8);
    counter->addWidget(ButtonConfigChangedReset = Button("ButtonConfigChangedReset", QStringLiteral("Reset Configuration Changed Flag")),
                       counter->rowCount(), 0, 1, 2);
    ButtonRestoreFactoryDefaults = Button(FieldName(TField::ButtonRestoreFactoryDefaults), QStringLiteral("Restore Factory Defaults"));

    auto* others = new QGridLayout(TabOthers);
    others->addWidget(GroupBoxPassordChange, 0, 0);
    others->addWidget(GroupBoxchangeProtectionMode, 1, 0);
    others->addWidget(GroupBoxEnableDeviceVariables, 0, 1);
    others->addWidget(GroupBoxConfigurationChangeCounter, 1, 1);
    others->addWidget(ButtonRestoreFactoryDefaults, 2, 1, Qt::AlignRight);
    others->setRowStretch(3, 1);

    // Tab 5, Diagnostics.
    TabDiagnostics = Page(PageControl, FieldName(TField::TabDiagnostics), QStringLiteral("Diagnostics"));
    auto* diagnostics = new QGridLayout(TabDiagnostics);
    const auto diagnosticsRow = [diagnostics](QLabel* caption, QWidget* first, QWidget* second) {
        const int row = diagnostics->rowCount();
        diagnostics->addWidget(caption, row, 0);
        if (second) {
            diagnostics->addWidget(first, row, 1);
            diagnostics->addWidget(second, row, 2);
        } else {
            diagnostics->addWidget(first, row, 1, 1, 2);
        }
    };
    diagnosticsRow(Caption(QStringLiteral("Device ID")), EditDeviceIDDiagnostics = ReadOnlyEdit(FieldName(TField::EditDeviceIDDiagnostics)), nullptr);
    diagnosticsRow(Caption(QStringLiteral("Firmware Version")), AdvEditFirmwareVersion = ReadOnlyEdit(FieldName(TField::AdvEditFirmwareVersion)), nullptr);
    diagnosticsRow(LabelDV0Diagnostics = Named(Caption(QStringLiteral("Floater 1 - DV 0")), FieldName(TField::LabelDV0Diagnostics)),
                   EditDV0ValueDiagnostic = ReadOnlyEdit(FieldName(TField::EditDV0ValueDiagnostic)), LabelDV0UnitDiagnostics = UnitLabel(FieldName(TField::LabelDV0UnitDiagnostics), QString()));
    diagnosticsRow(LabelDV1Diagnostics = Named(Caption(QStringLiteral("Floater 2 - DV 1")), FieldName(TField::LabelDV1Diagnostics)),
                   EditDV1ValueDiagnostic = ReadOnlyEdit(FieldName(TField::EditDV1ValueDiagnostic)), LabelDV1UnitDiagnostics = UnitLabel(FieldName(TField::LabelDV1UnitDiagnostics), QString()));
    diagnosticsRow(LabelDV3Diagnostics = Named(Caption(QStringLiteral("Interface Layer - DV 3")), FieldName(TField::LabelDV3Diagnostics)),
                   EditDV3ValueDiagnostic = ReadOnlyEdit(FieldName(TField::EditDV3ValueDiagnostic)), LabelDV3UnitDiagnostics = UnitLabel(FieldName(TField::LabelDV3UnitDiagnostics), QString()));
    diagnosticsRow(LabelHeadTubeTemp = Named(Caption(QString::fromLatin1("Head Temp. (\xb0" "C) / Tube Temp. (\xb0" "C)")), FieldName(TField::LabelHeadTubeTemp)),
                   AdvEditHeadTemp = ReadOnlyEdit(FieldName(TField::AdvEditHeadTemp)), AdvEditTubeTemp = ReadOnlyEdit(FieldName(TField::AdvEditTubeTemp)));
    AdvProgressBarQualityQuotient = Named(new TLevelProgressBar, FieldName(TField::AdvProgressBarQualityQuotient));
    AdvProgressBarQualityQuotient->setRange(0, 100);
    AdvProgressBarQualityQuotient->setValue(50);
    diagnosticsRow(LabelQualityQuotient = Named(Caption(QStringLiteral("Quality Quotient")), FieldName(TField::LabelQualityQuotient)),
                   AdvProgressBarQualityQuotient, nullptr);
    diagnosticsRow(LabelStartLevelDampingLength = Named(Caption(QStringLiteral("Start Level (V) / Damping Length (mm)")), FieldName(TField::LabelStartLevelDampingLength)),
                   AdvEditStartLevel = ReadOnlyEdit(FieldName(TField::AdvEditStartLevel)), AdvEditDampingLength = ReadOnlyEdit(FieldName(TField::AdvEditDampingLength)));
    diagnosticsRow(LabelPulseDurationHeight = Named(Caption(QString::fromLatin1("Pulse Duration (\xb5sec) / Pulse Height")), FieldName(TField::LabelPulseDurationHeight)),
                   AdvEditPulseDuration = ReadOnlyEdit(FieldName(TField::AdvEditPulseDuration)), AdvEditPulseHeight = ReadOnlyEdit(FieldName(TField::AdvEditPulseHeight)));
    LabelDiagnosticsFirmwareHint = Named(new QLabel(QStringLiteral("This tab is disabled because the \nfirmware revision is less then 3.")),
                                         "LabelDiagnosticsFirmwareHint");
    QFont hintFont = LabelDiagnosticsFirmwareHint->font();
    hintFont.setPointSizeF(hintFont.pointSizeF() * 1.5);
    hintFont.setBold(true);
    LabelDiagnosticsFirmwareHint->setFont(hintFont);
    LabelDiagnosticsFirmwareHint->setAlignment(Qt::AlignCenter);
    // It explains the disabled tab it sits on, so it must not look disabled itself.
    QPalette hintPalette = LabelDiagnosticsFirmwareHint->palette();
    hintPalette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(160, 0, 0));
    hintPalette.setColor(QPalette::Active, QPalette::WindowText, QColor(160, 0, 0));
    hintPalette.setColor(QPalette::Inactive, QPalette::WindowText, QColor(160, 0, 0));
    LabelDiagnosticsFirmwareHint->setPalette(hintPalette);
    LabelDiagnosticsFirmwareHint->hide();
    diagnostics->addWidget(LabelDiagnosticsFirmwareHint, diagnostics->rowCount(), 0, 1, 3);
    diagnostics->setRowStretch(diagnostics->rowCount(), 1);
    for (QLineEdit* edit : { AdvEditHeadTemp, AdvEditTubeTemp, AdvEditStartLevel, AdvEditDampingLength, AdvEditPulseDuration,
                             AdvEditPulseHeight, EditDV0ValueDiagnostic, EditDV1ValueDiagnostic, EditDV3ValueDiagnostic })
        edit->setAlignment(Qt::AlignRight);

    // Below the tabs.
    ButtonRefresh = Button("ButtonRefresh", QStringLiteral("Refresh"));
    ButtonSave = Button("ButtonSave", QStringLiteral("Save"));
    ButtonRefresh->setEnabled(false);
    ButtonSave->setEnabled(false);
    LabelUnplugWarning = Named(new QLabel(QStringLiteral("Warning! Please do not de-energise \nthe device for at least 10s.")), FieldName(TField::LabelUnplugWarning));
    QPalette warning = LabelUnplugWarning->palette();
    warning.setColor(QPalette::WindowText, Qt::red);
    LabelUnplugWarning->setPalette(warning);
    LabelUnplugWarning->hide();
    ButtonTestDevice = Button("ButtonTestDevice", QStringLiteral("Test Device"));
    ButtonDirectCMD = Button("ButtonDirectCMD", QStringLiteral("Direct CMD"));
    ButtonTestDevice->hide();
    ButtonDirectCMD->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonRefresh);
    buttons->addWidget(ButtonSave);
    buttons->addSpacing(12);
    buttons->addWidget(LabelUnplugWarning);
    buttons->addStretch();
    buttons->addWidget(ButtonTestDevice);
    buttons->addWidget(ButtonDirectCMD);

    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->addWidget(PageControl);
    column->addLayout(buttons);
    // The warning comes and goes: keep its room so the window does not jump.
    const int warningHeight = LabelUnplugWarning->sizeHint().height();
    for (QPushButton* button : { ButtonRefresh, ButtonSave, ButtonTestDevice, ButtonDirectCMD })
        button->setMinimumHeight(std::max(button->sizeHint().height(), warningHeight));
    window->setCentralWidget(central);

    // Status bar.
    LMDStatusBar = Named(new QStatusBar, "LMDStatusBar");
    LMDStatusBar->setSizeGripEnabled(false);
    LMDStatusBar->setToolTip(QStringLiteral("Response Code - double click for device status"));
    LMDPanelStatusIndicator = Named(new QFrame, "LMDPanelStatusIndicator");
    LMDPanelStatusIndicator->setFixedSize(13, 13);
    LMDPanelStatusIndicator->setFrameShape(QFrame::Box);
    LMDPanelStatusIndicator->setAutoFillBackground(true);
    LMDPanelStatusIndicator->setToolTip(QStringLiteral("Device Status - double click for more information"));
    StatusPanel1 = Named(new QLabel(QStringLiteral("KORVAL Meridal")), "StatusPanel1");
    StatusPanel1->setToolTip(LMDStatusBar->toolTip());
    LMDStatusBar->addWidget(LMDPanelStatusIndicator);
    LMDStatusBar->addWidget(StatusPanel1, 1);
    window->setStatusBar(LMDStatusBar);

    // Menus.
    QMenuBar* menus = window->menuBar();
    menus->setObjectName(QStringLiteral("MainMenu"));
    MenuProgram = Named(menus->addMenu(QStringLiteral("Program")), "MenuProgram");
    MenuLoadConfig = MenuItem(MenuProgram, "MenuLoadConfig", QStringLiteral("Load Config..."));
    MenuSaveConfigAs = MenuItem(MenuProgram, "MenuSaveConfigAs", QStringLiteral("Save Config As..."));
    MenuProgram->addSeparator();
    MenuExit = MenuItem(MenuProgram, "MenuExit", QStringLiteral("Exit"));
    MenuDevice = Named(menus->addMenu(QStringLiteral("Device")), "MenuDevice");
    MenuRescan = MenuItem(MenuDevice, "MenuRescan", QStringLiteral("Rescan"));
    MenuPortSelection = MenuItem(MenuDevice, "MenuPortSelection", QStringLiteral("COM Port"));
    MenuSettings = Named(menus->addMenu(QStringLiteral("Settings")), "MenuSettings");
    MenuSettingsMultiDrop = MenuItem(MenuSettings, "MenuSettingsMultiDrop", QStringLiteral("Multidrop"));
    MenuSettingsMultiDrop->setCheckable(true);
    MenuSettingsAutoRefresh = Named(MenuSettings->addMenu(QStringLiteral("Auto Refresh")), "MenuSettingsAutoRefresh");
    AutoRefreshChoices = new QActionGroup(window);
    MenuSettingsAutoRefreshDisabled = MenuItem(MenuSettingsAutoRefresh, "MenuSettingsAutoRefreshDisabled", QStringLiteral("Disabled"));
    MenuSettingsAutoRefreshSec5 = MenuItem(MenuSettingsAutoRefresh, "MenuSettingsAutoRefreshSec5", QStringLiteral("5 sec"));
    MenuSettingsAutoRefreshSec10 = MenuItem(MenuSettingsAutoRefresh, "MenuSettingsAutoRefreshSec10", QStringLiteral("10 sec"));
    MenuSettingsAutoRefreshSec30 = MenuItem(MenuSettingsAutoRefresh, "MenuSettingsAutoRefreshSec30", QStringLiteral("30 sec"));
    for (QAction* choice : { MenuSettingsAutoRefreshDisabled, MenuSettingsAutoRefreshSec5, MenuSettingsAutoRefreshSec10, MenuSettingsAutoRefreshSec30 }) {
        choice->setCheckable(true);
        AutoRefreshChoices->addAction(choice);
    }
    // Service staff only (working mode "dev").
    MenuService = Named(menus->addMenu(QStringLiteral("Service")), "MenuService");
    MenuFrameTrace = MenuItem(MenuService, "MenuFrameTrace", QStringLiteral("Frame Trace"));
    MenuFrameTrace->setCheckable(true);
    MenuSaveTraceAs = MenuItem(MenuService, "MenuSaveTraceAs", QStringLiteral("Save Trace As..."));
    MenuService->menuAction()->setVisible(false);
    QMenu* help = menus->addMenu(QStringLiteral("?"));
    About = MenuItem(help, "About", QStringLiteral("About..."));

    TimerRefresh = Timer(window, "TimerRefresh", 5000);
    TimerDiagnostics = Timer(window, FieldName(TField::TimerDiagnostics), 2000);
}

#include "ui/TFormMain.h"

#include "commands/UResponseCodes.h"
#include "link/TComPort.h"
#include "ui/TConfigFileDialogs.h"
#include "ui/TEntryFilter.h"
#include "ui/TFormAbout.h"
#include "ui/TFormCOMPortChooser.h"
#include "ui/TFormDeviceStatus.h"
#include "ui/TFormDirectCommand.h"
#include "ui/TFormLoopTest.h"
#include "ui/TFormMultidropLifeList.h"
#include "ui/TFormProtokoll.h"
#include "ui/TFrameTrace.h"
#include "ui/TLevelProgressBar.h"
#include "ui/TMessageDialog.h"
#include "ui/TQuestionDialogs.h"
#include "ui/TRegistryTool.h"
#include "ui/TTaskDialog.h"
#include "ui/UFormPosition.h"
#include "ui/UStatusColors.h"
#include "util/StringTools.h"
#include "util/UPresentation.h"
#include "worker/TConfigJobs.h"
#include "worker/TFamilyJobs.h"
#include "worker/TFieldTable.h"
#include "worker/TMaintenanceJobs.h"
#include "worker/TProductionTest.h"
#include "worker/TReadJobs.h"
#include "worker/TTabJobs.h"
#include "worker/TThreadMeridal.h"
#include "worker/TWriteJobs.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTime>
#include <QTimer>

namespace {

// Asked before offsets or the D/A trim change what production calibrated.
const QString CalibrationQuestion =
    QStringLiteral("This function will affect the sensor calibration done during the production process.\r\rDo you want to continue?");

const QString SettingsKey = QStringLiteral("Settings");
const QString FormsKey = QStringLiteral("Forms");
const QString PortInUseMessage = QStringLiteral("COM port is already open.\r\rBe sure that the port is available and press Device > Rescan.");
const QString NoDeviceSelectedMessage = QStringLiteral("No supported HART device selected. See Device > Life List");
const QString TabNotReadMessage = QStringLiteral("Not all values of this tab could be read from the device; saving would "
                                                 "write the ones shown in their place.\r\rPress Refresh, then enter the "
                                                 "changes again.");

// A stored position, or the fallback when it lies beyond the screen.
int PositionWithin(int stored, int screenExtent, int fallback)
{
    return stored >= screenExtent ? fallback : stored;
}

} // namespace

TFormMain::TFormMain(const TPlaces& places, QWidget* parent)
    : QMainWindow(parent)
    , ini(places.IniPath)
    , registryBasePath(places.RegistryBasePath)
{
    setObjectName(QStringLiteral("FormMain"));
    c.Build(this);
    tracking = std::make_unique<TChangeTracking>(this, c.ButtonSave, c.PageControl, [this] { return Idle; });
    connectHandlers();
    fixWindowSize();
    FormCreate();
}

// The window does not resize. Its size is taken with every control shown
// that the device family, the working mode or a device answer may show.
void TFormMain::fixWindowSize()
{
    const QList<QWidget*> sometimesShown = { c.GroupBoxDV1, c.GroupBoxDV2, c.GroupBoxDV3, c.ButtonTestDevice, c.ButtonDirectCMD,
                                             c.LabelUnplugWarning, static_cast<QWidget*>(c.LabelDiagnosticsFirmwareHint) };
    for (QWidget* control : sometimesShown)
        control->setVisible(true);
    setFixedSize(sizeHint());
    for (QWidget* control : sometimesShown)
        control->setVisible(false);
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
}

TFormMain::~TFormMain()
{
    StopDeviceThread();
}

void TFormMain::StopDeviceThread()
{
    if (!DeviceThread)
        return;
    frameTrace->Attach(nullptr);
    DeviceThread->Shutdown();
    delete DeviceThread;
    DeviceThread = nullptr;
}

// --- Start-up ---

void TFormMain::FormCreate()
{
    settings = std::make_unique<TRegistryTool>(registryBasePath);
    messageDialog = std::make_unique<TMessageDialog>();
    questions = std::make_unique<TQuestionDialogs>(this, *messageDialog);
    configFiles = std::make_unique<TConfigFileDialogs>(this, *settings, *messageDialog);
    frameTrace = new TFrameTrace(this, *messageDialog);
    connect(c.MenuFrameTrace, &QAction::toggled, frameTrace, &TFrameTrace::SetOn);
    connect(frameTrace, &TFrameTrace::TurnedOff, c.MenuFrameTrace, [this] { c.MenuFrameTrace->setChecked(false); });
    connect(c.MenuSaveTraceAs, &QAction::triggered, frameTrace, &TFrameTrace::SaveAs);
    messageDialog->SetTitle(QApplication::applicationName());
    applyStoredAutoRefresh();
    readAttemptCount();
    const QString prefix = ini.ReadString(SettingsKey, QStringLiteral("FilePrefix"), QStringLiteral("HART-Dev"));
    FileNamePrefix = prefix.isEmpty() ? QString() : prefix + QLatin1Char(' ');
    MultidropMode = settings->ReadSetting(SettingsKey, QStringLiteral("Multidrop"), QStringLiteral("0")) == QLatin1String("1");
    c.MenuSettingsMultiDrop->setChecked(MultidropMode);
    applyWorkingMode();
}

void TFormMain::applyStoredAutoRefresh()
{
    const int seconds = settings->ReadIntSetting(SettingsKey, QStringLiteral("AutoRefresh"), 0);
    const QHash<int, QAction*> choices = {
        { 0, c.MenuSettingsAutoRefreshDisabled }, { 5, c.MenuSettingsAutoRefreshSec5 },
        { 10, c.MenuSettingsAutoRefreshSec10 }, { 30, c.MenuSettingsAutoRefreshSec30 },
    };
    if (QAction* choice = choices.value(seconds)) {
        MenuSettingsAutoRefreshClick(choice);
        return;
    }
    // Another stored period only shows "Disabled"; the value is kept.
    c.MenuSettingsAutoRefreshDisabled->setChecked(true);
    AutoRefreshOff = true;
}

void TFormMain::readAttemptCount()
{
    AttemptCount = ini.ReadInteger(SettingsKey, QStringLiteral("NumberOfAttempts"), 3);
    if (AttemptCount >= 1)
        return;
    messageDialog->ShowInfoCaption(QStringLiteral("\"NumberOfAttempts\" in Section \"Settings\" less than 1.\rDefault value 3 will be set."),
                                   QStringLiteral("Meridal - Ini-File"));
    AttemptCount = 3;
}

void TFormMain::applyWorkingMode()
{
    const QString domain = ini.ReadString(QStringLiteral("KORVAL"), QStringLiteral("domain"), QString());
    c.ButtonDirectCMD->setVisible(domain == QLatin1String("dev"));
    c.ButtonTestDevice->setVisible(domain == QLatin1String("prod"));
    c.MenuService->menuAction()->setVisible(domain == QLatin1String("dev"));
}

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shown)
        return;
    shown = true;
    // Start-up continues inside the event loop, so that it may end the program.
    QMetaObject::invokeMethod(this, &TFormMain::FormShow, Qt::QueuedConnection);
}

void TFormMain::FormShow()
{
    ConnectDevice();
    if (closing)
        return;
    // From here on the window stands where the user expects it, so closing
    // stores its place; a program ended before (no port chosen) stores none.
    layoutRestored = true;
    try {
        setWindowTitle(QApplication::applicationName() + QStringLiteral(" V") + QStringLiteral(MERIDAL_VERSION) + captionNote);
        restorePositions();
    } catch (const std::exception&) {
        // A caption or position that cannot be restored is no reason to stop.
    }
}

void TFormMain::restorePositions()
{
    const QSize screen = this->screen() ? this->screen()->geometry().size() : QSize(1024, 768);
    const auto position = [&](const QString& name, const QString& defaultText, int extent, int fallback) {
        bool ok = false;
        const int stored = settings->ReadSetting(FormsKey, name, defaultText).toInt(&ok);
        if (!ok)
            throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(name));
        return PositionWithin(stored, extent, fallback);
    };
    const int top = position(QStringLiteral("FormMain.Top"), QStringLiteral("100"), screen.height(), 100);
    const int left = position(QStringLiteral("FormMain.Left"), QStringLiteral("150"), screen.width(), 150);
    PlaceWindow(*this, QPoint(left, top));
    if (!windows.DeviceStatus)
        return;
    const int statusTop = position(QStringLiteral("FormDeviceStatus.Top"), QStringLiteral("110"), screen.height(), 100);
    const int statusLeft = position(QStringLiteral("FormDeviceStatus.Left"), QStringLiteral("160"), screen.width(), 150);
    PlaceWindow(*windows.DeviceStatus, QPoint(statusLeft, statusTop));
    if (settings->ReadSetting(FormsKey, QStringLiteral("FormDeviceStatus.Shown"), QStringLiteral("0")) == QLatin1String("1"))
        windows.DeviceStatus->show();
}

void TFormMain::ConnectDevice()
{
    int comNumber = settings->ReadIntSetting(SettingsKey, QStringLiteral("COM"), -1);
    if (comNumber == -1 || !windows.COMPortChooser->PortPresent(comNumber)) {
        try {
            comNumber = windows.COMPortChooser->Choose(20, -1);
        } catch (const Exception& e) {
            messageDialog->ShowError(e.Message() + QStringLiteral("\r\rProgram will be terminated."));
            endProgram();
            return;
        }
        if (comNumber == -1) {
            messageDialog->ShowInfo(QStringLiteral("No COM port was selected.\r\rProgram will be terminated."));
            endProgram();
            return;
        }
    }
    try {
        createDeviceThread(comNumber);
    } catch (const EAlreadyOpen&) {
        messageDialog->ShowError(PortInUseMessage);
        c.ButtonSave->setEnabled(false);
        c.PageControl->setEnabled(false);
        return;
    } catch (const Exception& e) {
        messageDialog->ShowError(e.Message());
        return;
    }
    try {
        DeviceThread->Device->CheckManufacturer = c.ButtonDirectCMD->isHidden();
        DeviceThread->Device->Attempts = static_cast<quint32>(AttemptCount);
        DeviceThread->ConfigSeparator = ini.ReadString(SettingsKey, QStringLiteral("ConfigSeparator"), QStringLiteral(";"));
        if (MultidropMode) {
            c.MenuRescan->setText(QStringLiteral("Life List"));
            showLifeList();
        } else {
            startJob([thread = DeviceThread] { TReadJobs(*thread).JobIdentifySearch(); });
        }
    } catch (const Exception& e) {
        messageDialog->ShowError(e.Message());
    }
}

void TFormMain::createDeviceThread(int comNumber)
{
    DeviceThread = new TThreadMeridal(false, comNumber, *this, settings.get());
    frameTrace->Attach(DeviceThread->Device.get());
}

void TFormMain::endProgram()
{
    closing = true;
    QCoreApplication::quit();
}

// A port lost with its modem (unplugged) is opened again once it is back.
bool TFormMain::reopenLostPort()
{
    TComPort& port = DeviceThread->Device->AComPort();
    if (port.IsOpen())
        return true;
    try {
        DeviceThread->ChangeComPort(port.PortNumber());
        return true;
    } catch (const Exception& e) {
        showError(e.Message());
        return false;
    }
}

bool TFormMain::portOpen() const
{
    return DeviceThread && DeviceThread->Device && DeviceThread->Device->AComPort().IsOpen();
}

bool TFormMain::reportBusy()
{
    if (!DeviceThread || DeviceThread->Suspended())
        return false;
    c.StatusPanel1->setText(QStringLiteral("Device busy"));
    return true;
}

void TFormMain::startJob(std::function<void()> job)
{
    DeviceThread->StartJob(std::move(job));
}

void TFormMain::startTabJob(void (*job)(TThreadMeridal& thread))
{
    startJob([job, thread = DeviceThread] { job(*thread); });
}

void TFormMain::showLifeList()
{
    TFormMultidropLifeList* lifeList = windows.MultidropLifeList;
    if (lifeList->exec() == QDialog::Accepted) {
        lifeList->DeviceSelected = true;
        ButtonRefreshClick();
    } else if (!lifeList->DeviceSelected) {
        c.StatusPanel1->setText(NoDeviceSelectedMessage);
    }
}

// --- Commands ---

void TFormMain::ButtonRefreshClick()
{
    c.TimerDiagnostics->stop();
    windows.Protokoll->close();
    if (MultidropMode && !windows.MultidropLifeList->DeviceSelected)
        return;
    if (!DeviceThread) {
        ConnectDevice();
        return;
    }
    if (reportBusy())
        return;
    Idle = false;
    const TPage page = TPage(c.PageControl->currentIndex());
    ClearTab(page);
    c.ButtonRefresh->setEnabled(true);
    c.ButtonTestDevice->setEnabled(true);
    if (page == TPage::Maintenance)
        c.ButtonRefresh->setEnabled(false);
    if (page == TPage::Diagnostics) {
        c.ButtonTestDevice->setEnabled(false);
        c.LabelDiagnosticsFirmwareHint->setVisible(!c.TabDiagnostics->isEnabled());
        if (!c.TabDiagnostics->isEnabled())
            return;
        c.ButtonRefresh->setEnabled(false);
    }
    if (const auto read = TabJobs(page).Read)
        startTabJob(read);
}

void TFormMain::ButtonSaveClick()
{
    if (!DeviceThread)
        return;
    windows.Protokoll->close();
    const TPage page = TPage(c.PageControl->currentIndex());
    // Its placeholders would go out beside the user's entries.
    if (!tracking->TabReadCompletely(int(page))) {
        messageDialog->ShowInfo(TabNotReadMessage);
        return;
    }
    if (page == TPage::DeviceVariables && !ConfirmOffsetChange())
        return;
    const auto save = TabJobs(page).Save;
    if (!save)
        throw Exception(QStringLiteral("Unknown tab selected"));
    startTabJob(save);
}

// The offsets were set when the probe was calibrated in production; firmware
// revision 5 keeps that calibration apart from them.
bool TFormMain::ConfirmOffsetChange()
{
    if (c.EditFirmwareRev->text() == QLatin1String("5"))
        return true;
    if (!tracking->IsModified(c.EditDV0Offset) && !tracking->IsModified(c.EditDV1Offset))
        return true;
    return messageDialog->AskYesNo(CalibrationQuestion);
}

void TFormMain::ButtonSetFloaterPVUpperRangeClick()
{
    if (DeviceThread)
        startJob([thread = DeviceThread] { TWriteJobs(*thread).JobSetFloaterUpper(); });
}

void TFormMain::ButtonSetFloaterPVLowerRangeClick()
{
    if (DeviceThread)
        startJob([thread = DeviceThread] { TWriteJobs(*thread).JobSetFloaterLower(); });
}

void TFormMain::MenuRescanClick()
{
    if (!DeviceThread) {
        ConnectDevice();
        return;
    }
    if (reportBusy() || !reopenLostPort())
        return;
    Idle = false;
    showFirstTab();
    if (MultidropMode) {
        showLifeList();
        return;
    }
    ClearTab(TPage::Identification);
    startJob([thread = DeviceThread] { TReadJobs(*thread).JobIdentifySearch(); });
}

void TFormMain::showFirstTab()
{
    // A switch made by the program is no tab change of the user's.
    const QSignalBlocker blocker(c.PageControl);
    c.PageControl->setCurrentIndex(int(TPage::Identification));
    visiblePage = TPage::Identification;
}

void TFormMain::MenuPortSelectionClick()
{
    if (reportBusy())
        return;
    try {
        const int stored = settings->ReadIntSetting(SettingsKey, QStringLiteral("COM"), -1);
        const int chosen = windows.COMPortChooser->Choose(20, stored);
        // A timer may have started a job while the chooser was open.
        if (chosen == -1 || reportBusy())
            return;
        if (DeviceThread)
            DeviceThread->ChangeComPort(chosen);
        settings->WriteIntSetting(SettingsKey, QStringLiteral("COM"), chosen);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    }
}

void TFormMain::MenuSettingsAutoRefreshClick(QAction* choice)
{
    choice->setChecked(true);
    AutoRefreshOff = choice == c.MenuSettingsAutoRefreshDisabled;
    const QHash<QAction*, int> intervals = {
        { c.MenuSettingsAutoRefreshDisabled, 0 }, { c.MenuSettingsAutoRefreshSec5, 5000 },
        { c.MenuSettingsAutoRefreshSec10, 10000 }, { c.MenuSettingsAutoRefreshSec30, 30000 },
    };
    const int interval = intervals.value(choice);
    if (AutoRefreshOff) {
        c.TimerRefresh->stop();
    } else {
        c.TimerRefresh->setInterval(interval);
        c.TimerRefresh->start();
    }
    settings->WriteIntSetting(SettingsKey, QStringLiteral("AutoRefresh"), interval / 1000);
}

void TFormMain::MenuSettingsMultiDropClick()
{
    MultidropMode = c.MenuSettingsMultiDrop->isChecked();
    settings->WriteSetting(SettingsKey, QStringLiteral("Multidrop"), MultidropMode ? QStringLiteral("1") : QStringLiteral("0"));
    c.MenuRescan->setText(MultidropMode ? QStringLiteral("Life List") : QStringLiteral("Rescan"));
}

// Every tracked control it clears shows its normal colour and takes the
// placeholder as its baseline: when the read that follows fails, an edit
// thrown away by Refresh must not come back as a different write.
void TFormMain::ClearTab(TPage page)
{
    tracking->ForgetTabRead(int(page));
    for (TField field : FieldsOf(page))
        clearField(field);
}

void TFormMain::clearField(TField field)
{
    const TFieldSpec& spec = FieldSpec(field);
    QWidget* control = Fields().Widget(field);
    auto* edit = qobject_cast<QLineEdit*>(control);
    auto* combo = qobject_cast<QComboBox*>(control);
    auto* box = qobject_cast<QCheckBox*>(control);
    switch (spec.Cleared) {
    case TCleared::Kept: return;
    case TCleared::Empty: Fields().SetText(field, QString()); break;
    case TCleared::Zero: edit->setText(QStringLiteral("0")); break;
    case TCleared::FirstItem: combo->setCurrentIndex(0); break;
    case TCleared::Millimeters: combo->setCurrentIndex(4); break;
    case TCleared::NoItems: combo->clear(); break;
    case TCleared::Unchecked: box->setChecked(false); break;
    case TCleared::DisabledChecked:
    case TCleared::DisabledUnchecked:
        box->setEnabled(false);
        box->setChecked(spec.Cleared == TCleared::DisabledChecked);
        break;
    case TCleared::HalfProgress: Fields().SetProgress(field, 50); break;
    case TCleared::Shown: control->show(); break;
    case TCleared::EmptyShown:
        Fields().SetText(field, QString());
        control->show();
        break;
    }
    if (spec.Tracking != TTracking::None)
        tracking->ResetControl(control);
}

// --- Maintenance ---

void TFormMain::ButtonDirectCMDClick()
{
    windows.DirectCommand->exec();
}

void TFormMain::ButtonLoopTestClick()
{
    if (!DeviceThread)
        return;
    if (!messageDialog->AskYesNo(QStringLiteral("It is strongly recommended to remove the HART device from automatic "
                                                "process control when doing the Loop Test!\r\rDo you want to continue?")))
        return;
    windows.Protokoll->close();
    // The user watches "Loop Current Fixed" there while the dialog is open.
    const bool statusShown = windows.DeviceStatus->isVisible();
    windows.DeviceStatus->show();
    connect(windows.LoopTest, &QDialog::finished, this, [this, statusShown] { windows.DeviceStatus->setVisible(statusShown); },
            Qt::SingleShotConnection);
    windows.LoopTest->open();
}

void TFormMain::ButtonDATrimClick()
{
    if (!DeviceThread)
        return;
    if (!messageDialog->AskYesNo(CalibrationQuestion)
        || !messageDialog->AskYesNo(QStringLiteral("Please connect a reference meter to the current loop.\rIt is strongly "
                                                   "recommended to remove the HART device from automatic process control "
                                                   "when doing the D/A trim!\r\rDo you want to continue?")))
        return;
    windows.Protokoll->close();
    startJob([thread = DeviceThread] { TMaintenanceJobs(*thread).JobDATrim(); });
}

void TFormMain::ButtonRestoreFactoryDefaultsClick()
{
    if (!DeviceThread || !confirmRestoreFactoryDefaults())
        return;
    showFirstTab();
    startJob([thread = DeviceThread] { TMaintenanceJobs(*thread).JobRestoreFactoryDefaults(); });
}

bool TFormMain::confirmRestoreFactoryDefaults()
{
    constexpr int RestoreResult = 100;
    TTaskDialog dialog(this);
    dialog.SetTitle(QApplication::applicationName());
    dialog.SetInstruction(QStringLiteral("WARNING!"));
    dialog.SetContent(QStringLiteral("All the user configuration settings will be deleted. It is strongly recommended to "
                                     "save the current configuration (menu \"Program\" >  \"Save Config As...\").\r\n\r\n"
                                     "Do you like to proceed?\r\n"));
    dialog.SetIcon(TTaskDialog::TIcon::Question);
    dialog.AddButton(QStringLiteral("Restore"), RestoreResult);
    dialog.AddButton(QStringLiteral("Cancel"), TTaskDialog::CancelResult);
    // A stray Enter must not delete the user's configuration.
    dialog.SetDefaultButton(TTaskDialog::CancelResult);
    return dialog.Execute() == RestoreResult;
}

void TFormMain::ButtonConfigChangedResetClick()
{
    if (DeviceThread)
        startJob([thread = DeviceThread] { TMaintenanceJobs(*thread).JobResetConfigChanged(); });
}

// --- Configuration files ---

void TFormMain::MenuSaveConfigAsClick()
{
    saveConfigAs(false);
}

void TFormMain::ButtonTestDeviceClick()
{
    saveConfigAs(true);
}

// Named after the probe and the moment, so that saves never collide:
// "HART-Dev 1193046_20261209 140509.csv".
void TFormMain::saveConfigAs(bool productionTest)
{
    if (!configFileCommandPossible())
        return;
    const QString suggestedName = FileNamePrefix + c.EditDeviceID->text() + QLatin1Char('_')
        + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QLatin1Char(' ')
        + LongTimeText(QTime::currentTime()).remove(QLatin1Char(':')) + QStringLiteral(".csv");
    const QString path = configFiles->ChooseSaveFile(suggestedName);
    if (path.isEmpty())
        return;
    showFirstTab();
    DeviceThread->ConfigFileName = path;
    if (productionTest)
        startJob([thread = DeviceThread] { TProductionTest(*thread).JobProductionTest(); });
    else
        startJob([thread = DeviceThread] { TConfigJobs(*thread).JobSaveConfig(); });
}

void TFormMain::MenuLoadConfigClick()
{
    if (!configFileCommandPossible())
        return;
    const QString path = configFiles->ChooseLoadFile();
    if (path.isEmpty())
        return;
    showFirstTab();
    DeviceThread->ConfigFileName = path;
    startJob([thread = DeviceThread] { TConfigJobs(*thread).JobLoadConfig(); });
}

// Files are written from, and loaded into, a device identified in this run.
bool TFormMain::configFileCommandPossible()
{
    if (!DeviceThread) {
        messageDialog->ShowInfo(QStringLiteral("No HART device was found. Rescan and try again."));
        return false;
    }
    return DeviceThread->Identified;
}

// --- Tabs and timers ---

bool TFormMain::PageControlChanging(int leaving)
{
    if (!tracking->TabModified(leaving) || TPage(leaving) == TPage::Identification)
        return true;
    return messageDialog->AskYesNo(QStringLiteral("Entries have been modified.\r\rDo you want to discard changes?"));
}

void TFormMain::onPageChanged(int index)
{
    if (TPage(index) == visiblePage)
        return;
    const int leaving = int(visiblePage);
    {
        // Ask while the tab being left is still the one shown.
        const QSignalBlocker blocker(c.PageControl);
        c.PageControl->setCurrentIndex(leaving);
    }
    if (!PageControlChanging(leaving))
        return;
    {
        const QSignalBlocker blocker(c.PageControl);
        c.PageControl->setCurrentIndex(index);
    }
    visiblePage = TPage(index);
    PageControlChange();
}

void TFormMain::PageControlChange()
{
    if (visiblePage != TPage::Identification) {
        runShowingErrors(&TFormMain::ButtonRefreshClick);
        return;
    }
    c.ButtonSave->setEnabled(tracking->TabModified(int(TPage::Identification)));
    c.ButtonRefresh->setEnabled(true);
}

void TFormMain::TimerRefreshTimer()
{
    // A lost port was reported by the job that met it; the timer does not
    // repeat the message every period.
    if (!c.ButtonRefresh->isEnabled() || !portOpen() || !DeviceThread->Suspended() || tracking->TabModified())
        return;
    if (const auto refresh = TabJobs(visiblePage).AutoRefresh)
        startTabJob(refresh);
}

void TFormMain::TimerDiagnosticsTimer()
{
    c.TimerDiagnostics->stop();
    if (visiblePage != TPage::Diagnostics || !portOpen())
        return;
    if (DeviceThread->Suspended())
        startJob([thread = DeviceThread] { TFamilyJobs(*thread).JobRefreshDiagnostics(); });
    else
        c.TimerDiagnostics->start();
}

// --- Status display ---

void TFormMain::ShowAnswerStatus(TComportHART*, const TDeviceStatus& status)
{
    if (!DeviceThread || !DeviceThread->Device)
        return;
    if (!status.CommError) {
        c.StatusPanel1->setText(ResponseCodeText(status.ResponseCode, status.Command));
        if (status.ResponseCode == 7)
            c.LabelUnplugWarning->hide();
    }
    QPalette palette = c.LMDPanelStatusIndicator->palette();
    palette.setColor(QPalette::Window, DeviceStatusColor(status.DeviceStatus));
    c.LMDPanelStatusIndicator->setPalette(palette);
    windows.DeviceStatus->ShowStatus(status);
}

void TFormMain::EditManufacturerIDChange()
{
    if (StartsTextCI(c.EditManufacturerID->text(), QStringLiteral("227")))
        c.EditManufacturerID->setToolTip(QStringLiteral("KORVAL GmbH"));
}

void TFormMain::EditDeviceCodeChange()
{
    const QString text = c.EditDeviceCode->text();
    if (text.isEmpty())
        c.EditDeviceCode->setToolTip(QString());
    else if (text.startsWith(QLatin1String("128")))
        c.EditDeviceCode->setToolTip(QStringLiteral("TIVERN"));
    else if (text.startsWith(QLatin1String("129")))
        c.EditDeviceCode->setToolTip(QStringLiteral("CALDEROS"));
}

// --- The device thread's view ---

QList<QWidget*> TFormMain::forms()
{
    QList<QWidget*> forms { this };
    for (QWidget* form : { static_cast<QWidget*>(windows.DeviceStatus), static_cast<QWidget*>(windows.LoopTest),
                           static_cast<QWidget*>(windows.DirectCommand), static_cast<QWidget*>(windows.MultidropLifeList) }) {
        if (form)
            forms << form;
    }
    return forms;
}

TWindowFields& TFormMain::Fields()
{
    if (!windowFields)
        windowFields = std::make_unique<TWindowFields>(forms(), *tracking);
    return *windowFields;
}

void TFormMain::ShowStatus(const QString& text)
{
    c.StatusPanel1->setText(text);
}

void TFormMain::LockUI()
{
    Idle = false;
    // Disabling the tab control takes the keyboard focus away; it comes back
    // after the job, so that typing goes on where it was.
    QWidget* focused = QApplication::focusWidget();
    focusBeforeJob = focused && isAncestorOf(focused) ? focused : nullptr;
    enableDeviceMenu(false);
    c.PageControl->setEnabled(false);
    c.ButtonRefresh->setEnabled(false);
    c.ButtonSave->setEnabled(false);
    c.MenuSaveConfigAs->setEnabled(false);
    c.MenuLoadConfig->setEnabled(false);
    c.ButtonTestDevice->setEnabled(false);
    c.TimerRefresh->stop();
}

void TFormMain::UnlockUI(bool deviceKnown, bool refreshAllowed)
{
    if (windows.MultidropLifeList)
        windows.MultidropLifeList->JobEnded();
    if (windows.LoopTest)
        windows.LoopTest->JobEnded();
    Idle = true;
    enableDeviceMenu(true);
    if (!deviceKnown)
        return;
    c.PageControl->setEnabled(true);
    c.ButtonRefresh->setEnabled(refreshAllowed && TPage(c.PageControl->currentIndex()) != TPage::Diagnostics);
    c.ButtonSave->setEnabled(tracking->TabModified());
    if (!AutoRefreshOff)
        c.TimerRefresh->start();
    if (!windows.Protokoll->IsEmpty())
        windows.Protokoll->ShowBelow(this);
    c.MenuSaveConfigAs->setEnabled(true);
    c.MenuLoadConfig->setEnabled(true);
    c.ButtonTestDevice->setEnabled(true);
    if (focusBeforeJob && focusBeforeJob->isEnabled() && focusBeforeJob->isVisible())
        focusBeforeJob->setFocus(Qt::OtherFocusReason);
}

// Each item, not only the menu: a popup already open when a timer starts a
// job stays usable otherwise.
void TFormMain::enableDeviceMenu(bool on)
{
    for (QAction* item : { c.MenuDevice->menuAction(), c.MenuRescan, c.MenuPortSelection })
        item->setEnabled(on);
}

void TFormMain::AddResponseLogLine(const QString& line)
{
    windows.Protokoll->AddLine(line);
}

bool TFormMain::ResponseLogContains(const QString& text)
{
    return windows.Protokoll->Contains(text);
}

QStringList TFormMain::ResponseLogLines()
{
    return windows.Protokoll->Lines();
}

void TFormMain::ClearResponseLog()
{
    windows.Protokoll->Clear();
}

void TFormMain::OpenQuestion(const TQuestion& question, std::function<void(const TAnswer&)> answered)
{
    questions->Open(question, std::move(answered));
}

void TFormMain::CancelQuestion()
{
    questions->Cancel();
}

void TFormMain::SetLifeListAddress(int row)
{
    if (windows.MultidropLifeList)
        windows.MultidropLifeList->SetHighlightedRow(row);
}

// --- Shutdown and window events ---

void TFormMain::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
    // Closing the main window ends the program, also while a window without
    // a parent (the device status window) is still open.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TFormMain::FormClose()
{
    closing = true;
    c.TimerRefresh->stop();
    StopDeviceThread();
    // Without the device thread it closes at once, keeping its place.
    if (windows.LoopTest && windows.LoopTest->isVisible())
        windows.LoopTest->reject();
    if (layoutRestored)
        storePositions();
}

void TFormMain::storePositions()
{
    settings->WriteIntSetting(FormsKey, QStringLiteral("FormMain.Top"), WindowPlace(*this).y());
    settings->WriteIntSetting(FormsKey, QStringLiteral("FormMain.Left"), WindowPlace(*this).x());
    if (!windows.DeviceStatus)
        return;
    settings->WriteIntSetting(FormsKey, QStringLiteral("FormDeviceStatus.Top"), WindowPlace(*windows.DeviceStatus).y());
    settings->WriteIntSetting(FormsKey, QStringLiteral("FormDeviceStatus.Left"), WindowPlace(*windows.DeviceStatus).x());
    settings->WriteSetting(FormsKey, QStringLiteral("FormDeviceStatus.Shown"),
                           windows.DeviceStatus->isVisible() ? QStringLiteral("1") : QStringLiteral("0"));
}

void TFormMain::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (isVisible() && windows.Protokoll)
        windows.Protokoll->PlaceBelow(this);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick
        && (watched == c.LMDStatusBar || watched == c.LMDPanelStatusIndicator || watched == c.StatusPanel1)) {
        windows.DeviceStatus->show();
        windows.DeviceStatus->raise();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::showError(const QString& message)
{
    messageDialog->ShowError(message);
}

void TFormMain::runShowingErrors(void (TFormMain::*handler)())
{
    try {
        (this->*handler)();
    } catch (const Exception& e) {
        showError(e.Message());
    }
}

void TFormMain::checkControlChange(QObject* control)
{
    try {
        tracking->CheckControlChange(control);
    } catch (const Exception& e) {
        showError(e.Message());
    }
}

void TFormMain::connectHandlers()
{
    connect(c.ButtonRefresh, &QPushButton::clicked, this, [this] { runShowingErrors(&TFormMain::ButtonRefreshClick); });
    connect(c.ButtonSave, &QPushButton::clicked, this, [this] { runShowingErrors(&TFormMain::ButtonSaveClick); });
    connect(c.ButtonSetFloaterPVUpperRange, &QPushButton::clicked, this, &TFormMain::ButtonSetFloaterPVUpperRangeClick);
    connect(c.ButtonSetFloaterPVLowerRange, &QPushButton::clicked, this, &TFormMain::ButtonSetFloaterPVLowerRangeClick);
    connect(c.MenuRescan, &QAction::triggered, this, &TFormMain::MenuRescanClick);
    connect(c.MenuPortSelection, &QAction::triggered, this, &TFormMain::MenuPortSelectionClick);
    connect(c.AutoRefreshChoices, &QActionGroup::triggered, this, &TFormMain::MenuSettingsAutoRefreshClick);
    connect(c.MenuSettingsMultiDrop, &QAction::triggered, this, &TFormMain::MenuSettingsMultiDropClick);
    connect(c.MenuExit, &QAction::triggered, this, &QWidget::close);
    connect(c.About, &QAction::triggered, this, [this] {
        TFormAbout about(this);
        about.exec();
    });
    connect(c.PageControl, &QTabWidget::currentChanged, this, &TFormMain::onPageChanged);
    connect(c.ButtonLoopTest, &QPushButton::clicked, this, &TFormMain::ButtonLoopTestClick);
    connect(c.ButtonDATrim, &QPushButton::clicked, this, &TFormMain::ButtonDATrimClick);
    connect(c.ButtonRestoreFactoryDefaults, &QPushButton::clicked, this, &TFormMain::ButtonRestoreFactoryDefaultsClick);
    connect(c.ButtonConfigChangedReset, &QPushButton::clicked, this, &TFormMain::ButtonConfigChangedResetClick);
    connect(c.MenuSaveConfigAs, &QAction::triggered, this, &TFormMain::MenuSaveConfigAsClick);
    connect(c.MenuLoadConfig, &QAction::triggered, this, &TFormMain::MenuLoadConfigClick);
    connect(c.ButtonTestDevice, &QPushButton::clicked, this, &TFormMain::ButtonTestDeviceClick);
    connect(c.ButtonDirectCMD, &QPushButton::clicked, this, &TFormMain::ButtonDirectCMDClick);
    connect(c.TimerRefresh, &QTimer::timeout, this, &TFormMain::TimerRefreshTimer);
    connect(c.TimerDiagnostics, &QTimer::timeout, this, &TFormMain::TimerDiagnosticsTimer);
    connect(c.EditManufacturerID, &QLineEdit::textChanged, this, &TFormMain::EditManufacturerIDChange);
    connect(c.EditDeviceCode, &QLineEdit::textChanged, this, &TFormMain::EditDeviceCodeChange);
    for (QObject* part : { static_cast<QObject*>(c.LMDStatusBar), static_cast<QObject*>(c.LMDPanelStatusIndicator),
                           static_cast<QObject*>(c.StatusPanel1) })
        part->installEventFilter(this);

    // Change tracking and entry filters: every field of a tab that is
    // tracked or takes entries. Edits count only while Refresh is enabled.
    for (TField field : AllFields()) {
        const TFieldSpec& spec = FieldSpec(field);
        if (spec.Page == TPage::Outside || (spec.Tracking == TTracking::None && spec.Entry == TEntry::Any))
            continue;
        QObject* control = TWindowFields::Find({ this }, field);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            connect(edit, &QLineEdit::textChanged, this, [this, edit] {
                if (c.ButtonRefresh->isEnabled())
                    checkControlChange(edit);
            });
            if (spec.Entry != TEntry::Any)
                TEntryFilter::Install(edit, spec.Entry);
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            connect(combo, qOverload<int>(&QComboBox::currentIndexChanged), this, [this, combo] { checkControlChange(combo); });
        } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
            connect(box, &QCheckBox::toggled, this, [this, box] { checkControlChange(box); });
        }
    }
}

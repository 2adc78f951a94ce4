#pragma once

#include "ui/TChangeTracking.h"
#include "ui/TFormMainControls.h"
#include "ui/TWindowFields.h"
#include "util/TIniFile.h"
#include "worker/TDeviceWindow.h"
#include "worker/TField.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class TConfigFileDialogs;
class TFormCOMPortChooser;
class TFormDeviceStatus;
class TFormDirectCommand;
class TFrameTrace;
class TFormLoopTest;
class TFormMultidropLifeList;
class TFormProtokoll;
class TMessageDialog;
class TQuestionDialogs;
class TRegistryTool;
class TThreadMeridal;

// The main window: the user's whole view of the connected transmitter. It
// owns the settings store, the message dialog and the device thread, turns
// every command into a device job and shows every answer's status; it never
// talks to the device itself.
class TFormMain : public QMainWindow, public TDeviceWindow
{
    Q_OBJECT

public:
    struct TPlaces
    {
        QString RegistryBasePath = QStringLiteral("\\Software\\KORVAL\\Meridal");
        QString IniPath;        // KORVALMeridal.ini, see UIniLocation
    };

    // The windows created after the main window, which it shows and positions.
    struct TCompanions
    {
        TFormDeviceStatus* DeviceStatus = nullptr;
        TFormCOMPortChooser* COMPortChooser = nullptr;
        TFormProtokoll* Protokoll = nullptr;
        TFormLoopTest* LoopTest = nullptr;
        TFormDirectCommand* DirectCommand = nullptr;
        TFormMultidropLifeList* MultidropLifeList = nullptr;
    };

    // Creation: reads the settings (FormCreate).
    explicit TFormMain(const TPlaces& places, QWidget* parent = nullptr);
    ~TFormMain() override;

    // The fields of these windows are found again from now on.
    void SetCompanions(const TCompanions& companions)
    {
        windows = companions;
        windowFields.reset();
    }
    // Appended to the caption, e.g. to tell that the probe is simulated.
    void SetCaptionNote(const QString& note) { captionNote = note; }
    TRegistryTool& Settings() { return *settings; }
    TMessageDialog& Messages() { return *messageDialog; }
    TFormMainControls& Controls() { return c; }

    // Choose or check the COM port, create the device thread, start the first
    // identification. Run at start and by Refresh and Rescan without a thread.
    void ConnectDevice();
    // Ends a running job at its next step, closes the port, frees the thread.
    void StopDeviceThread();

    void ButtonRefreshClick();
    void ButtonSaveClick();
    void ButtonSetFloaterPVUpperRangeClick();
    void ButtonSetFloaterPVLowerRangeClick();
    void MenuRescanClick();
    void MenuPortSelectionClick();
    void MenuSettingsAutoRefreshClick(QAction* choice);
    void MenuSettingsMultiDropClick();
    // Clears the tab's fields as the field table says, for a new read.
    void ClearTab(TPage page);
    void ButtonLoopTestClick();
    void ButtonDATrimClick();
    void ButtonRestoreFactoryDefaultsClick();
    void ButtonConfigChangedResetClick();
    void MenuSaveConfigAsClick();
    void MenuLoadConfigClick();
    void ButtonTestDeviceClick();
    void ButtonDirectCMDClick();
    // The frame trace of working mode "dev".
    TFrameTrace& FrameTrace() { return *frameTrace; }

    // --- The device thread's view of the windows ---
    TWindowFields& Fields() override;
    void LockUI() override;
    void UnlockUI(bool deviceKnown, bool refreshAllowed) override;
    void ShowAnswerStatus(TComportHART* sender, const TDeviceStatus& status) override;
    void ShowStatus(const QString& text) override;
    void AddResponseLogLine(const QString& line) override;
    bool ResponseLogContains(const QString& text) override;
    QStringList ResponseLogLines() override;
    void ClearResponseLog() override;
    void OpenQuestion(const TQuestion& question, std::function<void(const TAnswer&)> answered) override;
    void CancelQuestion() override;
    void SetLifeListAddress(int row) override;

    bool Idle = false;
    int AttemptCount = 3;
    QString FileNamePrefix;
    bool MultidropMode = false;
    bool AutoRefreshOff = true;
    // The program was told to end (no port chosen at start, or closing).
    bool Terminating() const { return closing; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void connectHandlers();
    void fixWindowSize();
    void applyStoredAutoRefresh();
    void readAttemptCount();
    void applyWorkingMode();
    void restorePositions();
    void storePositions();
    void createDeviceThread(int comNumber);
    // "Device busy" in the status bar while a job runs.
    bool reportBusy();
    bool reopenLostPort();
    bool portOpen() const;
    void enableDeviceMenu(bool on);
    void startJob(std::function<void()> job);
    // A tab's job from its row of the tab table; none is an unknown tab.
    void startTabJob(void (*job)(TThreadMeridal& thread));
    // The main window and the windows it shows, whose controls the fields are.
    QList<QWidget*> forms();
    void clearField(TField field);
    // The Identification tab, shown by the program, not chosen by the user.
    void showFirstTab();
    bool confirmRestoreFactoryDefaults();
    void showLifeList();
    // The save flow; the production test saves its snapshots the same way.
    void saveConfigAs(bool productionTest);
    bool configFileCommandPossible();
    void endProgram();

    bool ConfirmOffsetChange();
    bool PageControlChanging(int leaving);
    void PageControlChange();
    void onPageChanged(int index);
    void TimerRefreshTimer();
    void TimerDiagnosticsTimer();
    void EditManufacturerIDChange();
    void EditDeviceCodeChange();
    void checkControlChange(QObject* control);
    void showError(const QString& message);
    // An event handler whose error is shown in the error box.
    void runShowingErrors(void (TFormMain::*handler)());

    TFormMainControls c;
    TIniFile ini;
    std::unique_ptr<TRegistryTool> settings;
    std::unique_ptr<TMessageDialog> messageDialog;
    std::unique_ptr<TChangeTracking> tracking;
    std::unique_ptr<TConfigFileDialogs> configFiles;
    TFrameTrace* frameTrace = nullptr;
    TCompanions windows;
    QString registryBasePath;
    TPage visiblePage = TPage::Identification;
    bool shown = false;
    bool layoutRestored = false;
    bool closing = false;
    QString captionNote;
    QPointer<QWidget> focusBeforeJob;
    std::unique_ptr<TWindowFields> windowFields;
    std::unique_ptr<TQuestionDialogs> questions;
};

#pragma once

#include "commands/TComportHART.h"
#include "worker/TLifeListAnswer.h"
#include "worker/TThreadBasis.h"

#include <QHash>
#include <QTimer>

#include <functional>
#include <memory>

class QEventLoop;
class TDeviceWindow;
class TSettingsWriter;

// The one device thread. It owns the command layer and runs one job per
// resume: lock the window, run the job, remember the port once a device has
// been identified, unlock the window, park again.
//
// Construction, the GUI-side operations and Shutdown run on the GUI thread;
// the command layer is created there too, so its port and timers belong to
// the GUI thread's event loop, which therefore must never wait for this one.
class TThreadMeridal : public TThreadBasis, public TSearchWorker
{
    Q_OBJECT

public:
    using Job = std::function<void()>;
    using DeviceFactory = std::function<std::unique_ptr<TComportHART>()>;

    static constexpr int CreationAttempts = 4;
    static constexpr int CreationRetryDelayMs = 2000;
    static constexpr int UnplugWarningMs = 14000;

    // Opens COM comNumber for the command layer (up to four attempts, 2 s
    // apart); the last failure propagates. The thread starts parked unless
    // `start` is set.
    TThreadMeridal(bool start, int comNumber, TDeviceWindow& window, TSettingsWriter* settings,
                   std::function<QDialog*(TThreadBasis&)> onException, QObject* parent = nullptr);
    // The same over a command layer made by `createDevice` (tests).
    TThreadMeridal(bool start, const DeviceFactory& createDevice, TDeviceWindow& window, TSettingsWriter* settings,
                   std::function<QDialog*(TThreadBasis&)> onException, QObject* parent = nullptr);
    ~TThreadMeridal() override;

    // --- GUI thread ---
    // Stores the job and resumes the thread; refused (false) unless idle. A
    // stop requested of an earlier job does not reach this one.
    bool StartJob(Job job);
    void ChangeComPort(int comNumber);
    // Identifies the device at a polling address, on the GUI thread while idle.
    bool SelectDevice(int pollingAddress);
    // Ends the thread: an open question is cancelled, a running job stops at
    // its next step or transaction boundary while the GUI keeps serving its
    // synchronized calls; a loop current left fixed is released (one
    // attempt); then the port is closed and the command layer freed.
    void Shutdown();

    // --- Command-layer callbacks (on the thread of the command) ---
    void HandleDeviceStatus(TComportHART* sender, const TDeviceStatus& status);
    void HandleWriteCommand(TComportHART* sender);
    void UnplugTimerTimer();
    QTimer& UnplugTimer() { return unplugTimer; }

    // --- Synchronized operations of the device thread ---
    void SetStatusText(const QString& text) override;
    void SyncSetEditText(QObject* control, const QString& text);
    QString SyncGetText(QObject* control);
    bool SyncGetChecked(QObject* control);
    // Whether the user may change the control once the window is unlocked.
    bool SyncGetEnabled(QObject* control);
    void SyncSetCheckedAccepted(QObject* control, bool checked);
    void SyncSetItemIndexAccepted(QObject* control, int index);
    // Modified means the control shows another colour than its normal one.
    bool SyncIsModified(QObject* control);
    void SyncAcceptValue(QObject* control);
    // Every tracked control of the visible tab, read completely or not.
    void SyncAcceptTab(bool complete);
    void SyncSetProgress(QObject* control, int position);
    void AddDynamicVariableChoice(const QString& name);
    void AddResponseLogLine(const QString& line);
    bool ResponseLogContains(const QString& text);
    QStringList ResponseLogLines();
    void ClearResponseLog();
    // Yes/No warning with "Do you want to continue?" appended; 6 is Yes.
    int AskContinue(const QString& message);
    int AskZeroRetry(const QString& content) override;
    void SetLifeListAddress(int row);
    // Hands one row of a life-list job to LifeListRowHandler.
    void DeliverLifeListRow(const TLifeListAnswer& row);

    // A control of the windows by its object name; raises when none has it.
    QObject* Control(const QString& name) const;

    // --- Hand-over fields: written by windows only while the thread is idle ---
    QString StatusText;
    int LifeListAddress = 255;
    std::unique_ptr<TComportHART> Device;
    bool BoolResult = false;
    bool RefreshAllowed = true;
    bool Identified = false;
    QByteArray DirectCommandRequest;
    TComportHART* StatusDevice = nullptr;
    TDeviceStatus LastStatus;
    float PVUpperLimit = 0;
    float PVLowerLimit = 0;
    QString ConfigFileName;
    QString ConfigSeparator = QStringLiteral(";");
    std::function<void(const TLifeListAnswer& row)> LifeListRowHandler;
    int ZeroRetryResult = 0;
    TArrayLifeListAnswer LifeListAnswers;

signals:
    // A step name or message was shown in the status panel (GUI thread).
    void StatusTextShown(const QString& text);

protected:
    void run() override;

private:
    void indexControls();
    void connectDevice();
    void runPass();
    void runJob();
    void storeComNumber();
    void unlockUI();
    void reportFailure(std::exception_ptr error);
    void waitUntilFinished();
    void releaseFixedCurrent();

    TDeviceWindow& window;
    TSettingsWriter* settings;
    QObject* statusPanel = nullptr;
    QHash<QString, QObject*> controls;
    QTimer unplugTimer;
    Job job;
    bool shutDown = false;
    QEventLoop* endOfThreadLoop = nullptr;
};

// The program's device thread; empty before it is created and after shutdown.
extern TThreadMeridal* DeviceThread;

#pragma once

#include "commands/TComportHART.h"
#include "worker/TLifeListAnswer.h"
#include "worker/TThreadBasis.h"

#include <QTimer>

#include <functional>
#include <memory>

class QEventLoop;
class TDeviceView;
class TDeviceWindow;
class TSettingsWriter;
class TSynchronizedView;

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
    // `start` is set. The jobs see the window through synchronized calls; a
    // failed job's error is shown as the window's question.
    TThreadMeridal(bool start, int comNumber, TDeviceWindow& window, TSettingsWriter* settings, QObject* parent = nullptr);
    // The same over a command layer made by `createDevice` (tests).
    TThreadMeridal(bool start, const DeviceFactory& createDevice, TDeviceWindow& window, TSettingsWriter* settings,
                   QObject* parent = nullptr);
    // Without a window: the jobs see `view` (an in-memory one), nothing is
    // locked or shown around them, a failed job leaves its error in
    // LastException. The thread starts parked.
    TThreadMeridal(const DeviceFactory& createDevice, TDeviceView& view);
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

    // --- The jobs' view of the windows ---
    TDeviceView& View() { return *view; }
    void SetStatusText(const QString& text) override;
    int AskZeroRetry(const QString& content) override;

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
    TArrayLifeListAnswer LifeListAnswers;

signals:
    // A step name or message was shown in the status panel (GUI thread).
    void StatusTextShown(const QString& text);

protected:
    void run() override;

private:
    void connectDevice();
    void runPass();
    void runJob();
    void storeComNumber();
    void unlockUI();
    void reportFailure(std::exception_ptr error);
    void waitUntilFinished();
    void releaseFixedCurrent();

    TDeviceWindow* window = nullptr;
    TSettingsWriter* settings = nullptr;
    std::unique_ptr<TSynchronizedView> windowView;
    TDeviceView* view = nullptr;
    QTimer unplugTimer;
    Job job;
    bool shutDown = false;
    QEventLoop* endOfThreadLoop = nullptr;
};

// The program's device thread; empty before it is created and after shutdown.
extern TThreadMeridal* DeviceThread;

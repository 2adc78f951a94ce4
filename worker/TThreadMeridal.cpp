#include "worker/TThreadMeridal.h"

#include "commands/UResponseCodes.h"
#include "worker/TDeviceWindow.h"
#include "worker/TFieldView.h"
#include "worker/TSettingsWriter.h"
#include "worker/TSynchronizedView.h"

#include <QEventLoop>

TThreadMeridal* DeviceThread = nullptr;

namespace {

// Waits on the GUI thread without freezing its painting; user input waits too,
// so that nothing is started twice meanwhile.
void WaitKeepingEventsRunning(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

std::unique_ptr<TComportHART> CreateWithRetries(const TThreadMeridal::DeviceFactory& createDevice)
{
    for (int attempt = 1;; ++attempt) {
        try {
            return createDevice();
        } catch (const std::exception&) {
            if (attempt == TThreadMeridal::CreationAttempts)
                throw;
        }
        WaitKeepingEventsRunning(TThreadMeridal::CreationRetryDelayMs);
    }
}

} // namespace

TThreadMeridal::TThreadMeridal(bool start, int comNumber, TDeviceWindow& window, TSettingsWriter* settings, QObject* parent)
    : TThreadMeridal(start, [comNumber] { return std::make_unique<TComportHART>(comNumber); }, window, settings, parent)
{
}

TThreadMeridal::TThreadMeridal(bool start, const DeviceFactory& createDevice, TDeviceWindow& window,
                               TSettingsWriter* settings, QObject* parent)
    : TThreadBasis(parent)
    , Device(CreateWithRetries(createDevice))
    , window(&window)
    , settings(settings)
    , windowView(std::make_unique<TSynchronizedView>(*this, window))
    , view(windowView.get())
{
    connectDevice();
    unplugTimer.setSingleShot(true);
    unplugTimer.setTimerType(Qt::PreciseTimer);
    unplugTimer.setInterval(UnplugWarningMs);
    connect(&unplugTimer, &QTimer::timeout, this, &TThreadMeridal::UnplugTimerTimer);
    view->SetLifeListAddress(255);
    QThread::start();
    if (start)
        Resume();
}

TThreadMeridal::TThreadMeridal(const DeviceFactory& createDevice, TDeviceView& view)
    : Device(CreateWithRetries(createDevice))
    , view(&view)
{
    connectDevice();
    QThread::start();
}

TThreadMeridal::~TThreadMeridal()
{
    Shutdown();
}

void TThreadMeridal::connectDevice()
{
    Device->OnDeviceStatus = [this](TComportHART* sender, const TDeviceStatus& status) { HandleDeviceStatus(sender, status); };
    Device->OnWriteCommand = [this](TComportHART* sender) { HandleWriteCommand(sender); };
    // A transaction is a step boundary too: shutdown need not wait for it.
    Device->SetInterruptCheck([this] { CheckTerminated(); });
}

// --- The pass loop ---

void TThreadMeridal::run()
{
    if (AwaitResume()) {
        SetStatusText(QStringLiteral("Thread started"));
        Identified = false;
        do {
            runPass();
        } while (Park());
    }
    guiCalls.Post([this] {
        if (endOfThreadLoop)
            endOfThreadLoop->quit();
    });
}

// Lock, job, port memory, unlock. A failed job is reported and the window
// unlocked all the same; the port is remembered also after a job that failed
// once a device had been identified on it. Terminate ends the pass silently.
void TThreadMeridal::runPass()
{
    try {
        if (window)
            Synchronize([this] { window->LockUI(); });
        RefreshAllowed = true;
        runJob();
    } catch (const ETerminateException&) {
        return;
    } catch (const EAbortException&) {
        ClearAborted();
    } catch (...) {
        reportFailure(std::current_exception());
    }
    try {
        storeComNumber();
        unlockUI();
    } catch (const ETerminateException&) {
    } catch (...) {
        reportFailure(std::current_exception());
    }
}

void TThreadMeridal::runJob()
{
    // A job runs once per start: the slot is empty whatever the job does.
    const Job current = std::move(job);
    job = nullptr;
    if (current)
        current();
}

void TThreadMeridal::storeComNumber()
{
    if (settings && Identified)
        settings->WriteSetting(QStringLiteral("Settings"), QStringLiteral("COM"), QString::number(Device->AComPort().PortNumber()));
}

void TThreadMeridal::unlockUI()
{
    if (window)
        Synchronize([this] { window->UnlockUI(Device && !Device->HasNoDevice(), RefreshAllowed); });
}

void TThreadMeridal::reportFailure(std::exception_ptr error)
{
    try {
        SetStatusText(QStringLiteral("Exception arose"));
        LastException = std::move(error);
        // Shown until the user closes it.
        if (window)
            view->Ask({ TQuestion::TKind::Error, LastExceptionMessage(), QString() });
    } catch (const std::exception& e) {
        // The error display itself failed: nothing is left to show it with.
        qWarning("Meridal: an error could not be shown: %s", e.what());
    }
}

// --- GUI-thread operations ---

bool TThreadMeridal::StartJob(Job newJob)
{
    if (!Suspended() || Terminated())
        return false;
    // A job that failed after its Stop was pressed never met the check
    // that clears the request.
    ClearAborted();
    job = std::move(newJob);
    Resume();
    return true;
}

void TThreadMeridal::ChangeComPort(int comNumber)
{
    if (!Device)
        return;
    TComPort& port = Device->AComPort();
    port.Close();
    port.SetPortNumber(comNumber);
    port.Open();
}

bool TThreadMeridal::SelectDevice(int pollingAddress)
{
    Device->PollingAddress = static_cast<quint8>(pollingAddress);
    return Device->ConnectAtPollingAddress(this);
}

void TThreadMeridal::Shutdown()
{
    if (shutDown)
        return;
    shutDown = true;
    unplugTimer.stop();
    Terminate();
    if (window)
        window->CancelQuestion();
    if (Device)
        Device->InterruptWait();
    waitUntilFinished();
    if (Device) {
        releaseFixedCurrent();
        Device->Shutdown();
        Device.reset();
    }
}

// A loop current fixed by a job (loop test, D/A trim) would hold the plant's
// loop at that value after the program has gone: the job cannot release it
// once it has been stopped, so shutdown makes one attempt while the port is
// still open.
void TThreadMeridal::releaseFixedCurrent()
{
    if (!Device->CurrentFixed())
        return;
    Device->SetInterruptCheck({});
    Device->ResumeWaits();
    Device->Attempts = 1;
    try {
        float release = 0.0f;
        Device->SetFixedCurrent(release);
    } catch (const std::exception& e) {
        qWarning("Meridal: the fixed loop current could not be released: %s", e.what());
    }
}

void TThreadMeridal::waitUntilFinished()
{
    // The job still running may wait for a synchronized call: keep serving
    // them until the pass has ended.
    QEventLoop loop;
    endOfThreadLoop = &loop;
    if (!isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    endOfThreadLoop = nullptr;
    Join();
}

// --- Command-layer callbacks ---

// Every refusal and warning of a device goes into the response log, which
// the jobs read to tell what the device did not take.
void TThreadMeridal::HandleDeviceStatus(TComportHART* sender, const TDeviceStatus& status)
{
    LastStatus = status;
    StatusDevice = sender;
    try {
        if (!status.CommError && status.ResponseCode != 0)
            view->AddResponseLogLine(QStringLiteral("Cmd: %1: %2 -> Code %3: %4")
                                         .arg(status.Command)
                                         .arg(status.OperationName)
                                         .arg(status.ResponseCode)
                                         .arg(ResponseCodeText(status.ResponseCode, status.Command)));
        if (window)
            Synchronize([&] { window->ShowAnswerStatus(sender, status); });
    } catch (const std::exception& e) {
        // The answer itself was fine; a failing display must not fail the command.
        qWarning("Meridal: the answer status could not be shown: %s", e.what());
    }
}

void TThreadMeridal::HandleWriteCommand(TComportHART*)
{
    if (!window)
        return;
    Synchronize([&] {
        unplugTimer.stop();
        window->Fields().SetVisible(TField::LabelUnplugWarning, true);
        unplugTimer.start();
    });
}

void TThreadMeridal::UnplugTimerTimer()
{
    unplugTimer.stop();
    if (window)
        window->Fields().SetVisible(TField::LabelUnplugWarning, false);
}

// --- The jobs' view ---

void TThreadMeridal::SetStatusText(const QString& text)
{
    view->ShowStatus(text);
}

int TThreadMeridal::AskZeroRetry(const QString& content)
{
    // A question that cannot be shown any more (shutdown) cancels the search.
    switch (view->Ask({ TQuestion::TKind::ZeroRetry, content, QString() }).Result) {
    case TAnswer::RescanZero: return ZeroRetryRescanZero;
    case TAnswer::ScanOthers: return ZeroRetryScanOthers;
    default: return ZeroRetryCancel;
    }
}

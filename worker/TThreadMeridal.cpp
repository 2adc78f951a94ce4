#include "worker/TThreadMeridal.h"

#include "worker/TDeviceWindow.h"
#include "worker/TSettingsWriter.h"
#include "worker/UControlColors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTextEdit>
#include <QWidget>

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

bool HasItem(const QComboBox* combo, const QString& text)
{
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == text)
            return true;
    }
    return false;
}

} // namespace

TThreadMeridal::TThreadMeridal(bool start, int comNumber, TDeviceWindow& window, TSettingsWriter* settings,
                               std::function<QDialog*(TThreadBasis&)> onException, QObject* parent)
    : TThreadMeridal(start, [comNumber] { return std::make_unique<TComportHART>(comNumber); }, window, settings,
                     std::move(onException), parent)
{
}

TThreadMeridal::TThreadMeridal(bool start, const DeviceFactory& createDevice, TDeviceWindow& window,
                               TSettingsWriter* settings, std::function<QDialog*(TThreadBasis&)> onException, QObject* parent)
    : TThreadBasis(parent)
    , Device(CreateWithRetries(createDevice))
    , window(window)
    , settings(settings)
{
    OnException = std::move(onException);
    connectDevice();
    unplugTimer.setSingleShot(true);
    unplugTimer.setTimerType(Qt::PreciseTimer);
    unplugTimer.setInterval(UnplugWarningMs);
    connect(&unplugTimer, &QTimer::timeout, this, &TThreadMeridal::UnplugTimerTimer);
    statusPanel = window.StatusPanel();
    indexControls();
    SetLifeListAddress(255);
    QThread::start();
    if (start)
        Resume();
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

void TThreadMeridal::indexControls()
{
    for (QWidget* form : window.Forms()) {
        controls.insert(form->objectName(), form);
        for (QObject* child : form->findChildren<QObject*>()) {
            if (!child->objectName().isEmpty() && !controls.contains(child->objectName()))
                controls.insert(child->objectName(), child);
        }
    }
}

QObject* TThreadMeridal::Control(const QString& name) const
{
    QObject* control = controls.value(name);
    if (!control)
        throw Exception(QStringLiteral("Control \"%1\" does not exist.").arg(name));
    return control;
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
        Synchronize([this] { window.LockUI(); });
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
    Synchronize([this] { window.UnlockUI(Device && !Device->HasNoDevice(), RefreshAllowed); });
}

void TThreadMeridal::reportFailure(std::exception_ptr error)
{
    try {
        SetStatusText(QStringLiteral("Exception arose"));
        ReportException(std::move(error));
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
    CancelOpenDialog();
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

void TThreadMeridal::HandleDeviceStatus(TComportHART* sender, const TDeviceStatus& status)
{
    LastStatus = status;
    StatusDevice = sender;
    try {
        Synchronize([&] { window.ShowAnswerStatus(sender, status); });
    } catch (const std::exception& e) {
        // The answer itself was fine; a failing display must not fail the command.
        qWarning("Meridal: the answer status could not be shown: %s", e.what());
    }
}

void TThreadMeridal::HandleWriteCommand(TComportHART*)
{
    QObject* warning = Control(QStringLiteral("LabelUnplugWarning"));
    Synchronize([&] {
        unplugTimer.stop();
        qobject_cast<QWidget*>(warning)->setVisible(true);
        unplugTimer.start();
    });
}

void TThreadMeridal::UnplugTimerTimer()
{
    unplugTimer.stop();
    qobject_cast<QWidget*>(Control(QStringLiteral("LabelUnplugWarning")))->setVisible(false);
}

// --- Synchronized operations ---

void TThreadMeridal::SetStatusText(const QString& text)
{
    Synchronize([&] {
        StatusText = text;
        if (auto* panel = qobject_cast<QLabel*>(statusPanel))
            panel->setText(text);
        emit StatusTextShown(text);
    });
}

void TThreadMeridal::SyncSetEditText(QObject* control, const QString& text)
{
    Synchronize([&] {
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(text);
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
            memo->setPlainText(text);
        else if (auto* rich = qobject_cast<QTextEdit*>(control))
            rich->setPlainText(text);
    });
}

QString TThreadMeridal::SyncGetText(QObject* control)
{
    Synchronize([&] {
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            TextValue = edit->text();
        else if (auto* label = qobject_cast<QLabel*>(control))
            TextValue = label->text();
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
            TextValue = memo->toPlainText();
        else if (auto* rich = qobject_cast<QTextEdit*>(control))
            TextValue = rich->toPlainText();
    });
    return TextValue;
}

bool TThreadMeridal::SyncGetChecked(QObject* control)
{
    Synchronize([&] {
        if (auto* check = qobject_cast<QCheckBox*>(control))
            BoolResult = check->isChecked();
    });
    return BoolResult;
}

// The control's own state: while a job runs the whole tab control is
// disabled, which isEnabled() would report for every control on it.
bool TThreadMeridal::SyncGetEnabled(QObject* control)
{
    Synchronize([&] {
        if (auto* widget = qobject_cast<QWidget*>(control))
            BoolResult = !widget->testAttribute(Qt::WA_ForceDisabled);
    });
    return BoolResult;
}

void TThreadMeridal::SyncSetCheckedAccepted(QObject* control, bool checked)
{
    SyncSetChecked(control, checked);
    SyncAcceptValue(control);
}

void TThreadMeridal::SyncSetItemIndexAccepted(QObject* control, int index)
{
    SyncSetItemIndex(control, index);
    SyncAcceptValue(control);
}

bool TThreadMeridal::SyncIsModified(QObject* control)
{
    Synchronize([&] {
        auto* widget = qobject_cast<QWidget*>(control);
        if (qobject_cast<QLineEdit*>(control) || qobject_cast<QCheckBox*>(control) || qobject_cast<QComboBox*>(control))
            BoolResult = ControlColor(widget) != NormalColor(widget);
    });
    return BoolResult;
}

void TThreadMeridal::SyncAcceptValue(QObject* control)
{
    Synchronize([&] { window.AcceptControlValue(control); });
}

void TThreadMeridal::SyncAcceptTab(bool complete)
{
    Synchronize([&] { window.AcceptTabValues(complete); });
}

void TThreadMeridal::SyncSetProgress(QObject* control, int position)
{
    Synchronize([&] {
        if (auto* bar = qobject_cast<QProgressBar*>(control))
            bar->setValue(position);
    });
}

void TThreadMeridal::AddDynamicVariableChoice(const QString& name)
{
    auto* pv = qobject_cast<QComboBox*>(Control(QStringLiteral("ComboBoxDynDevPV")));
    auto* sv = qobject_cast<QComboBox*>(Control(QStringLiteral("ComboBoxDynDevSV")));
    auto* tv = qobject_cast<QComboBox*>(Control(QStringLiteral("ComboBoxDynDevTV")));
    auto* qv = qobject_cast<QComboBox*>(Control(QStringLiteral("ComboBoxDynDevQV")));
    Synchronize([&] {
        if (HasItem(sv, name))
            return;
        sv->addItem(name);
        tv->addItem(name);
        qv->addItem(name);
        // The primary variable is always mapped to a device variable.
        if (name != QLatin1String("Not Used"))
            pv->addItem(name);
    });
}

void TThreadMeridal::AddResponseLogLine(const QString& line)
{
    Synchronize([&] { window.AddResponseLogLine(line); });
}

bool TThreadMeridal::ResponseLogContains(const QString& text)
{
    Synchronize([&] { BoolResult = window.ResponseLogContains(text); });
    return BoolResult;
}

QStringList TThreadMeridal::ResponseLogLines()
{
    QStringList lines;
    Synchronize([&] { lines = window.ResponseLogLines(); });
    return lines;
}

void TThreadMeridal::ClearResponseLog()
{
    Synchronize([&] { window.ClearResponseLog(); });
}

int TThreadMeridal::AskContinue(const QString& message)
{
    return SyncAskYesNo(message + QStringLiteral("\r\rDo you want to continue?"));
}

int TThreadMeridal::AskZeroRetry(const QString& content)
{
    // A question that cannot be shown any more (shutdown) cancels the search.
    switch (SyncShowDialog([&] { return window.CreateZeroRetryDialog(content); }, 0)) {
    case 100: ZeroRetryResult = ZeroRetryRescanZero; break;
    case 101: ZeroRetryResult = ZeroRetryScanOthers; break;
    default: ZeroRetryResult = ZeroRetryCancel; break;
    }
    return ZeroRetryResult;
}

void TThreadMeridal::SetLifeListAddress(int row)
{
    Synchronize([&] {
        LifeListAddress = row;
        window.SetLifeListAddress(row);
    });
}

void TThreadMeridal::DeliverLifeListRow(const TLifeListAnswer& row)
{
    Synchronize([&] {
        if (LifeListRowHandler)
            LifeListRowHandler(row);
    });
}

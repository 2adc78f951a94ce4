#pragma once

#include "util/Exceptions.h"
#include "util/TQueuedCalls.h"

#include <QColor>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>

class QComboBox;
class QDialog;

// The job ended because the thread ends; never shown.
class ETerminateException : public Exception
{
public:
    using Exception::Exception;
};

// The job was aborted by the user; never shown.
class EAbortException : public Exception
{
public:
    using Exception::Exception;
};

// The program's background worker. It parks between passes and is resumed
// from the GUI thread for one pass at a time; "idle" means parked. Code on the
// worker reaches controls only through the synchronized operations below: each
// runs a small body on the GUI thread, between its events, while the worker
// waits; an exception in the body is raised again on the worker. Called on
// the GUI thread itself, a body runs directly.
//
// Once the thread is terminated the bodies do nothing, except those of
// SyncSetEnabled and the dialogs; a dialog then answers as if cancelled
// without being shown, so that none opens while the program shuts down.
//
// A dialog shown for the worker is opened, not executed: the GUI thread
// keeps running its own event loop while the question is open, so a
// shutdown started meanwhile never waits inside the dialog for the worker
// that waits for the dialog. Shutdown cancels the open dialog instead.
class TThreadBasis : public QThread
{
    Q_OBJECT

public:
    explicit TThreadBasis(QObject* parent = nullptr);
    ~TThreadBasis() override;

    // --- Park / resume, terminate and abort ---
    bool Suspended() const { return suspended; }
    bool Terminated() const { return terminated; }
    // GUI thread: runs one pass. Ignored unless the thread is parked.
    void Resume();
    // Any thread: the next CheckTerminated raises, a parked thread ends.
    virtual void Terminate();
    void CheckTerminated() const;
    // Worker: waits `ms` milliseconds, or raises as soon as the thread is
    // terminated, so that a long wait never delays the program's end.
    void Wait(int ms);
    void Abort() { aborted = true; }
    bool Aborted() const { return aborted; }
    void CheckAborted() const;

    // Shows an exception that ended a job in the box OnException makes (a
    // handler that shows nothing returns none) and waits until it is closed.
    void ReportException(std::exception_ptr error);
    std::function<QDialog*(TThreadBasis& sender)> OnException;
    std::exception_ptr LastException;
    QString LastExceptionMessage() const;

    // --- Synchronized operations ---
    void SyncSetText(QObject* control, const QString& text);
    void SyncAppendText(QObject* control, const QString& text);
    void SyncSetColor(QObject* control, const QColor& color, bool fontColor);
    void SyncSetEnabled(QObject* control, bool enabled);
    void SyncSetVisible(QObject* control, bool visible);
    bool SyncGetVisible(QObject* control);
    void SyncSetCaption(QObject* control, const QString& text);
    void SyncSetHint(QObject* control, const QString& text);
    QString SyncGetComboText(QObject* control);
    int SyncGetItemIndex(QObject* control);
    void SyncSetItemIndex(QObject* control, int index);
    void SyncSetChecked(QObject* control, bool checked);
    void SyncSelectComboItem(QObject* control, const QString& text);
    // 6 for Yes, 7 for No.
    int SyncAskYesNo(const QString& question);
    // True for OK; the edited text is left in TextValue.
    bool SyncInputQuery(const QString& prompt, const QString& defaultText);
    // Shows the dialog that `create` makes (on the GUI thread, modal for the
    // whole application) and returns its result once it is closed; `read`
    // collects what the worker needs from it before it goes. Without a
    // dialog, or once the thread is terminated, the result is `cancelled`.
    int SyncShowDialog(const std::function<QDialog*()>& create, int cancelled,
                       const std::function<void(QDialog&)>& read = {});
    // GUI thread: closes the dialog shown for the worker as if cancelled.
    void CancelOpenDialog();

    static constexpr int ResultYes = 6;
    static constexpr int ResultNo = 7;

    // Result fields of the getters. A getter that meets a control of another
    // kind leaves its field, and so returns what it held before.
    QString TextValue;
    int IntValue = 0;
    bool BoolValue = false;
    int DialogResult = 0;

protected:
    enum class WhenTerminated { Skip, Run };
    // Runs body on the GUI thread and waits for it.
    void Synchronize(const std::function<void()>& body, WhenTerminated rule = WhenTerminated::Skip);

    // Worker: waits while parked; false when terminated. The thread is
    // created parked, so the first call returns on the first Resume.
    bool AwaitResume();
    // Worker: parks after a pass, then waits like AwaitResume.
    bool Park();
    void ClearAborted() { aborted = false; }
    // GUI thread: joins the finished thread.
    void Join();

    // The thread that runs the bodies: the one that created this object.
    bool OnGuiThread() const { return QThread::currentThread() == thread(); }

    // Calls run on the GUI thread (the thread that created this object).
    TQueuedCalls guiCalls;

private:
    std::mutex parkMutex;
    std::condition_variable parkChanged;
    std::atomic<bool> suspended { true };
    std::atomic<bool> terminated { false };
    std::atomic<bool> aborted { false };
    // GUI thread only.
    QPointer<QDialog> openDialog;
};

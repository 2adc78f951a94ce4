#pragma once

#include "util/Exceptions.h"
#include "util/TQueuedCalls.h"

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>

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
// worker reaches the windows only through Synchronize: a small body runs on
// the GUI thread, between its events, while the worker waits.
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

    // The exception that ended the last failed job.
    std::exception_ptr LastException;
    QString LastExceptionMessage() const;

    enum class WhenTerminated { Skip, Run };
    // Runs body on the GUI thread (the thread that created this object) and
    // waits for it; an exception in the body is raised again here. Called on
    // the GUI thread itself, the body runs directly. Once the thread is
    // terminated a body runs only by WhenTerminated::Run.
    void Synchronize(const std::function<void()>& body, WhenTerminated rule = WhenTerminated::Skip);
    // Runs call on the GUI thread between its events, without waiting.
    void PostToGui(std::function<void()> call);
    bool OnGuiThread() const { return QThread::currentThread() == thread(); }

protected:
    // Worker: waits while parked; false when terminated. The thread is
    // created parked, so the first call returns on the first Resume.
    bool AwaitResume();
    // Worker: parks after a pass, then waits like AwaitResume.
    bool Park();
    void ClearAborted() { aborted = false; }
    // GUI thread: joins the finished thread.
    void Join();

    // Calls run on the GUI thread (the thread that created this object).
    TQueuedCalls guiCalls;

private:
    std::mutex parkMutex;
    std::condition_variable parkChanged;
    std::atomic<bool> suspended { true };
    std::atomic<bool> terminated { false };
    std::atomic<bool> aborted { false };
};

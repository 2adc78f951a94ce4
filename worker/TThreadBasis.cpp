#include "worker/TThreadBasis.h"

#include <chrono>
#include <future>

TThreadBasis::TThreadBasis(QObject* parent)
    : QThread(parent)
{
}

TThreadBasis::~TThreadBasis() = default;

void TThreadBasis::Resume()
{
    std::lock_guard<std::mutex> lock(parkMutex);
    if (!suspended)
        return;
    suspended = false;
    parkChanged.notify_all();
}

void TThreadBasis::Terminate()
{
    {
        std::lock_guard<std::mutex> lock(parkMutex);
        terminated = true;
    }
    parkChanged.notify_all();
}

bool TThreadBasis::AwaitResume()
{
    std::unique_lock<std::mutex> lock(parkMutex);
    parkChanged.wait(lock, [this] { return !suspended || terminated; });
    return !terminated;
}

bool TThreadBasis::Park()
{
    {
        std::lock_guard<std::mutex> lock(parkMutex);
        suspended = true;
    }
    return AwaitResume();
}

void TThreadBasis::Join()
{
    wait();
    // Taking the park lock once more orders the thread's passes ahead of what
    // the caller does next in a way race checkers can see (QThread::wait
    // hides its own ordering from them).
    std::lock_guard<std::mutex> lock(parkMutex);
}

void TThreadBasis::CheckTerminated() const
{
    if (terminated)
        throw ETerminateException(QStringLiteral("Thread is terminiated."));
}

void TThreadBasis::Wait(int ms)
{
    {
        std::unique_lock<std::mutex> lock(parkMutex);
        parkChanged.wait_for(lock, std::chrono::milliseconds(ms), [this] { return bool(terminated); });
    }
    CheckTerminated();
}

void TThreadBasis::CheckAborted() const
{
    if (aborted)
        throw EAbortException(QStringLiteral("Thread is aborted."));
}

QString TThreadBasis::LastExceptionMessage() const
{
    if (!LastException)
        return {};
    try {
        std::rethrow_exception(LastException);
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown exception");
    }
}

void TThreadBasis::Synchronize(const std::function<void()>& body, WhenTerminated rule)
{
    const auto guarded = [&] {
        if (rule == WhenTerminated::Skip && terminated)
            return;
        body();
    };
    if (OnGuiThread()) {
        guarded();
        return;
    }
    std::promise<void> done;
    guiCalls.Post([&] {
        try {
            guarded();
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    });
    done.get_future().get();
}

void TThreadBasis::PostToGui(std::function<void()> call)
{
    guiCalls.Post(std::move(call));
}

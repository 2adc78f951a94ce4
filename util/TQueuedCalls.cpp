#include "util/TQueuedCalls.h"

TQueuedCalls::~TQueuedCalls()
{
    // Calls never run are dropped; the lock orders the posters' last writes
    // ahead of the queue's destruction.
    std::lock_guard<std::mutex> lock(mutex);
    calls.clear();
}

void TQueuedCalls::Post(std::function<void()> call)
{
    // Posting the wake-up under the lock keeps this object's destruction,
    // which takes the lock too, behind the last post.
    std::lock_guard<std::mutex> lock(mutex);
    const bool wakeUp = calls.empty();
    calls.push_back(std::move(call));
    if (wakeUp)
        QMetaObject::invokeMethod(this, "runQueued", Qt::QueuedConnection);
}

void TQueuedCalls::runQueued()
{
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (calls.empty())
                return;
            call = std::move(calls.front());
            calls.pop_front();
        }
        call();
    }
}

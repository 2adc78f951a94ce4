#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

// Runs calls posted from any thread on the thread this object lives on, in
// the order they were posted, between that thread's events. The calls travel
// through a queue of our own under a mutex; the event loop only carries a
// wake-up, so what a call captures is handed over in an order that race
// checkers can follow.
class TQueuedCalls : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~TQueuedCalls() override;

    void Post(std::function<void()> call);

private slots:
    void runQueued();

private:
    std::mutex mutex;
    std::deque<std::function<void()>> calls;
};

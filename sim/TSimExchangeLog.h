#pragma once

#include "TSimExchange.h"

#include <QList>

#include <condition_variable>
#include <mutex>

// Every exchange of a bus, readable from any thread while the bus runs.
class TSimExchangeLog
{
public:
    void Add(const TSimExchange& exchange);
    void Clear();
    QList<TSimExchange> Entries() const;

    // Requests with this command addressed to a device, answered or not.
    int RequestCount(int command) const;

    // Waits until RequestCount(command) reaches count; false on time-out.
    bool WaitForRequestCount(int command, int count, int timeoutMs) const;

private:
    int CountLocked(int command) const;

    mutable std::mutex mutex;
    mutable std::condition_variable added;
    QList<TSimExchange> entries;
};

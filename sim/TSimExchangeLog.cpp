#include "TSimExchangeLog.h"

#include <algorithm>
#include <chrono>

void TSimExchangeLog::Add(const TSimExchange& exchange)
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        entries.append(exchange);
    }
    added.notify_all();
}

void TSimExchangeLog::Clear()
{
    const std::lock_guard<std::mutex> lock(mutex);
    entries.clear();
}

QList<TSimExchange> TSimExchangeLog::Entries() const
{
    const std::lock_guard<std::mutex> lock(mutex);
    // A list of its own: an implicitly shared one would let the caller's
    // detach race with the bus thread's next append.
    return QList<TSimExchange>(entries.begin(), entries.end());
}

int TSimExchangeLog::RequestCount(int command) const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return CountLocked(command);
}

bool TSimExchangeLog::WaitForRequestCount(int command, int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(mutex);
    return added.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [&] { return CountLocked(command) >= count; });
}

int TSimExchangeLog::CountLocked(int command) const
{
    return int(std::count_if(entries.begin(), entries.end(), [command](const TSimExchange& exchange) {
        return exchange.Addressed() && exchange.Command == command;
    }));
}

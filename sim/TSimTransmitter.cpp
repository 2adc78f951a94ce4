#include "TSimTransmitter.h"

#include <algorithm>

void TSimTransmitter::SetTiming(bool pace1200Baud, int turnaroundMs)
{
    pace = pace1200Baud;
    turnaround = std::chrono::milliseconds(turnaroundMs);
}

void TSimTransmitter::Send(const QByteArray& bytes, int delayMs, TClock::time_point now)
{
    const TClock::time_point start = std::max(now + turnaround + std::chrono::milliseconds(delayMs), lineFree);
    if (!pace) {
        queue.push_back({start, bytes});
        lineFree = start;
        return;
    }
    for (int i = 0; i < bytes.size(); ++i)
        queue.push_back({start + i * ByteTime, bytes.mid(i, 1)});
    lineFree = start + bytes.size() * ByteTime;
}

std::optional<TSimTransmitter::TClock::time_point> TSimTransmitter::NextDue() const
{
    if (queue.empty())
        return std::nullopt;
    return queue.front().Due;
}

QByteArray TSimTransmitter::TakeDue(TClock::time_point now)
{
    QByteArray due;
    while (!queue.empty() && queue.front().Due <= now) {
        due.append(queue.front().Bytes);
        queue.pop_front();
    }
    return due;
}

#pragma once

#include <QByteArray>

#include <chrono>
#include <deque>
#include <optional>

// Schedules answer bytes on the line: at once by default, or after a
// turnaround delay and paced at 1200 baud (11 bits a byte with start, odd
// parity and stop bit). Answers leave strictly one after the other.
class TSimTransmitter
{
public:
    using TClock = std::chrono::steady_clock;

    void SetTiming(bool pace1200Baud, int turnaroundMs);

    // Queues an answer to start no earlier than the turnaround plus delayMs
    // after now, and not before the previous answer has left.
    void Send(const QByteArray& bytes, int delayMs, TClock::time_point now);

    // When the next byte is due; nothing when the queue is empty.
    std::optional<TClock::time_point> NextDue() const;

    // Removes and returns the bytes due by now.
    QByteArray TakeDue(TClock::time_point now);

private:
    struct TChunk
    {
        TClock::time_point Due;
        QByteArray Bytes;
    };

    static constexpr std::chrono::nanoseconds ByteTime{11'000'000'000LL / 1200};

    bool pace = false;
    std::chrono::milliseconds turnaround{0};
    TClock::time_point lineFree;
    std::deque<TChunk> queue;
};

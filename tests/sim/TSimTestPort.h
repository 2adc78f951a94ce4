#pragma once

#include <QByteArray>
#include <QString>

// The program's end of the simulated line in tests: opens the link path as a
// raw terminal with plain POSIX calls, writes request bytes and reads answer
// bytes with a time-out. It frames answers on its own, knowing nothing of
// the simulator's code.
class TSimTestPort
{
public:
    explicit TSimTestPort(const QString& path);
    ~TSimTestPort();

    TSimTestPort(const TSimTestPort&) = delete;
    TSimTestPort& operator=(const TSimTestPort&) = delete;

    bool IsOpen() const { return fd >= 0; }
    void Close();

    void Write(const QByteArray& bytes);

    // Exactly count bytes, or fewer when nothing more arrives in time.
    QByteArray Read(int count, int timeoutMs = 2000);

    // One answer frame from the first 0xFF through the check byte; bytes
    // before the first 0xFF are dropped. Empty when none arrives in time.
    QByteArray ReadFrame(int timeoutMs = 2000);

    // Everything that arrives within waitMs.
    QByteArray Drain(int waitMs);

    QByteArray Exchange(const QByteArray& request);

    // A long-frame request with its check byte (XOR of delimiter through data).
    static QByteArray LongRequest(const QByteArray& address, int command, const QByteArray& data = {});
    // A short-frame request from the primary master to a polling address.
    static QByteArray ShortRequest(int pollingAddress, int command, const QByteArray& data = {});

private:
    int fd = -1;
};

// Bytes from hex digits; spaces between the bytes are allowed.
QByteArray Hex(const char* digits);

// Upper-case hex digits with a space between the bytes, for readable comparisons.
QByteArray Spaced(const QByteArray& bytes);

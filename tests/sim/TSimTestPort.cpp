#include "TSimTestPort.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

QByteArray WithChecksum(const QByteArray& body)
{
    char sum = 0;
    for (char byte : body)
        sum ^= byte;
    return QByteArray(5, char(0xFF)) + body + sum;
}

} // namespace

QByteArray Hex(const char* digits)
{
    return QByteArray::fromHex(QByteArray(digits).replace(' ', ""));
}

TSimTestPort::TSimTestPort(const QString& path)
{
    fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios settings{};
    if (fd >= 0 && tcgetattr(fd, &settings) == 0) {
        cfmakeraw(&settings);
        cfsetspeed(&settings, B1200);
        settings.c_cflag |= PARENB | PARODD;
        tcsetattr(fd, TCSANOW, &settings);
    }
}

TSimTestPort::~TSimTestPort()
{
    Close();
}

void TSimTestPort::Close()
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void TSimTestPort::Write(const QByteArray& bytes)
{
    [[maybe_unused]] const ssize_t written = ::write(fd, bytes.constData(), size_t(bytes.size()));
}

QByteArray TSimTestPort::Read(int count, int timeoutMs)
{
    using TClock = std::chrono::steady_clock;
    const TClock::time_point deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
    QByteArray bytes;
    while (bytes.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
        pollfd watched{fd, POLLIN, 0};
        if (left <= 0 || ::poll(&watched, 1, int(left)) <= 0)
            break;
        char buffer[256];
        const ssize_t got = ::read(fd, buffer, size_t(std::min<qsizetype>(count - bytes.size(), sizeof buffer)));
        if (got > 0)
            bytes.append(buffer, int(got));
    }
    return bytes;
}

// Preambles, delimiter, address (1 or 5 bytes by bit 7 of the delimiter),
// command, byte count, data, check byte.
QByteArray TSimTestPort::ReadFrame(int timeoutMs)
{
    QByteArray frame;
    for (QByteArray byte = Read(1, timeoutMs); !byte.isEmpty(); byte = Read(1, timeoutMs)) {
        if (frame.isEmpty() && byte[0] != char(0xFF))
            continue;
        frame.append(byte);
        if (byte[0] != char(0xFF))
            break;
    }
    if (frame.isEmpty())
        return frame;
    const int addressLength = (quint8(frame.back()) & 0x80) ? 5 : 1;
    frame.append(Read(addressLength + 2, timeoutMs));
    if (frame.size() < 2)
        return frame;
    const int byteCount = quint8(frame.back());
    return frame + Read(byteCount + 1, timeoutMs);
}

QByteArray TSimTestPort::Drain(int waitMs)
{
    return Read(4096, waitMs);
}

QByteArray TSimTestPort::Exchange(const QByteArray& request)
{
    Write(request);
    return ReadFrame();
}

QByteArray TSimTestPort::LongRequest(const QByteArray& address, int command, const QByteArray& data)
{
    return WithChecksum(char(0x82) + address + char(command) + char(data.size()) + data);
}

QByteArray TSimTestPort::ShortRequest(int pollingAddress, int command, const QByteArray& data)
{
    return WithChecksum(QByteArray(1, char(0x02)) + char(0x80 | pollingAddress) + char(command) + char(data.size())
                        + data);
}

QByteArray Spaced(const QByteArray& bytes)
{
    return bytes.toHex(' ').toUpper();
}

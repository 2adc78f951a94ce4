#include "PtyPair.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair(const QString& linkPath)
    : linkPath(linkPath)
{
    masterFd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (masterFd < 0 || ::grantpt(masterFd) != 0 || ::unlockpt(masterFd) != 0)
        throw std::runtime_error("cannot create a pseudo-terminal");
    const char* slaveName = ::ptsname(masterFd);
    // Holding the slave open keeps the master readable while the program
    // closes and reopens its side; raw mode keeps every byte as it is.
    slaveFd = ::open(slaveName, O_RDWR | O_NOCTTY);
    termios raw {};
    ::tcgetattr(slaveFd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slaveFd, TCSANOW, &raw);
    QFile::remove(linkPath);
    if (::symlink(slaveName, QFile::encodeName(linkPath).constData()) != 0)
        throw std::runtime_error("cannot link the pseudo-terminal");
}

PtyPair::~PtyPair()
{
    QFile::remove(linkPath);
    ::close(slaveFd);
    ::close(masterFd);
}

void PtyPair::WriteToProgram(const QByteArray& bytes)
{
    if (::write(masterFd, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size())
        throw std::runtime_error("cannot write to the pseudo-terminal");
}

QByteArray PtyPair::ReadFromProgram(int count, int timeoutMs)
{
    QByteArray received;
    pollfd pfd { masterFd, POLLIN, 0 };
    while (received.size() < count && ::poll(&pfd, 1, timeoutMs) > 0) {
        char buffer[256];
        const ssize_t n = ::read(masterFd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        received.append(buffer, static_cast<int>(n));
    }
    return received;
}

#include "PtyPair.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair(const QString& linkPath)
    : linkPath(linkPath)
{
    PlugIn();
}

PtyPair::~PtyPair()
{
    QFile::remove(linkPath);
    closeTerminal();
}

void PtyPair::PlugIn()
{
    closeTerminal();
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

void PtyPair::Unplug()
{
    closeTerminal();
}

void PtyPair::closeTerminal()
{
    if (slaveFd >= 0)
        ::close(slaveFd);
    if (masterFd >= 0)
        ::close(masterFd);
    slaveFd = -1;
    masterFd = -1;
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

int PtyPair::WaitingForProgram() const
{
    int waiting = 0;
    if (::ioctl(slaveFd, FIONREAD, &waiting) != 0)
        throw std::runtime_error("cannot count the bytes waiting in the pseudo-terminal");
    return waiting;
}

#include "TSimPseudoTerminal.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

TSimPseudoTerminal::TSimPseudoTerminal(const QString& linkPath) : linkPath(linkPath)
{
    OpenMaster();
    OpenSlave();
    CreateLink();
}

TSimPseudoTerminal::~TSimPseudoTerminal()
{
    // Leave a link alone that meanwhile points elsewhere (another simulator took the path).
    if (QFileInfo(linkPath).symLinkTarget() == slavePath)
        QFile::remove(linkPath);
    Close();
}

void TSimPseudoTerminal::OpenMaster()
{
    masterFd = posix_openpt(O_RDWR | O_NOCTTY);
    if (masterFd < 0 || grantpt(masterFd) != 0 || unlockpt(masterFd) != 0)
        Fail(QStringLiteral("open the pseudo-terminal"));
    char name[128];
    if (ptsname_r(masterFd, name, sizeof name) != 0)
        Fail(QStringLiteral("name the pseudo-terminal"));
    slavePath = QString::fromLocal8Bit(name);
    // A full buffer (nobody reading the port) must not stall the bus.
    if (fcntl(masterFd, F_SETFL, fcntl(masterFd, F_GETFL) | O_NONBLOCK) != 0)
        Fail(QStringLiteral("make the pseudo-terminal non-blocking"));
}

void TSimPseudoTerminal::OpenSlave()
{
    slaveFd = ::open(slavePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    termios settings{};
    if (slaveFd < 0 || tcgetattr(slaveFd, &settings) != 0)
        Fail(QStringLiteral("open ") + slavePath);
    // Raw from the start: no echo, no line editing, every byte passes unchanged.
    cfmakeraw(&settings);
    if (tcsetattr(slaveFd, TCSANOW, &settings) != 0)
        Fail(QStringLiteral("set raw mode on ") + slavePath);
}

void TSimPseudoTerminal::CreateLink()
{
    const QFileInfo existing(linkPath);
    if (existing.isSymLink())
        QFile::remove(linkPath);
    else if (existing.exists()) {
        errno = EEXIST;
        Fail(QStringLiteral("replace ") + linkPath + QStringLiteral(", which is not a symbolic link,"));
    }
    if (::symlink(slavePath.toLocal8Bit().constData(), linkPath.toLocal8Bit().constData()) != 0)
        Fail(QStringLiteral("create the link ") + linkPath);
}

void TSimPseudoTerminal::Fail(const QString& step)
{
    const QString reason = QString::fromLocal8Bit(std::strerror(errno));
    Close();
    throw std::runtime_error(QStringLiteral("Cannot %1: %2").arg(step, reason).toStdString());
}

void TSimPseudoTerminal::Close()
{
    for (int* fd : {&slaveFd, &masterFd}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

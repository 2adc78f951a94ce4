#include "ui/TTerminationSignals.h"

#include "util/Exceptions.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int Handled[] = { SIGTERM, SIGHUP, SIGINT };

// Written by the signal handler, which may do nothing but write a byte.
std::atomic<int> WakeUpWriteEnd { -1 };

void OnSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(WakeUpWriteEnd.load(), &byte, 1);
    errno = savedErrno;
}

void SetHandler(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : Handled)
        ::sigaction(signalNumber, &action, nullptr);
}

} // namespace

TTerminationSignals::TTerminationSignals(QObject* parent)
    : QObject(parent)
{
    if (::pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0)
        throw Exception(QStringLiteral("The program cannot watch for the end of the session."));
    WakeUpWriteEnd = wakeUp[1];
    notifier = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TTerminationSignals::takeSignal);
    SetHandler(OnSignal);
}

TTerminationSignals::~TTerminationSignals()
{
    SetHandler(SIG_DFL);
    WakeUpWriteEnd = -1;
    delete notifier;
    ::close(wakeUp[0]);
    ::close(wakeUp[1]);
}

void TTerminationSignals::takeSignal()
{
    char bytes[16];
    while (::read(wakeUp[0], bytes, sizeof bytes) > 0) {
    }
    emit Received();
}

#include "ui/TDemoMode.h"

#include "link/TComPortNames.h"
#include "util/Exceptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace {

constexpr int StartTimeoutMs = 10000;

} // namespace

const QString TDemoMode::RegistryBasePath = QStringLiteral("\\Software\\KORVAL\\Meridal Demo");
const QString TDemoMode::CaptionNote = QStringLiteral(" [Demo: simulated probe]");

QString TDemoMode::SimulatorBesideProgram()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("meridal-sim"));
}

TDemoMode::TDemoMode(const QString& program)
    : linkPath(QDir::temp().filePath(QStringLiteral("meridal-demo-%1").arg(QCoreApplication::applicationPid())))
{
    simulator.setProgram(program);
    simulator.setArguments({ QStringLiteral("--link"), linkPath });
#ifdef Q_OS_LINUX
    // The simulator ends with the program, also when the program is killed
    // and never reaches its destructor.
    const pid_t programPid = ::getpid();
    simulator.setChildProcessModifier([programPid] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != programPid)
            ::_exit(1);
    });
#endif
    simulator.setReadChannel(QProcess::StandardError);
    simulator.start();
    if (!simulator.waitForStarted(StartTimeoutMs))
        throw Exception(QStringLiteral("The demo needs the simulator %1: %2").arg(program, simulator.errorString()));

    // The simulator reports on its error channel once its link is ready.
    if (!simulator.waitForReadyRead(StartTimeoutMs) || !QFileInfo::exists(linkPath))
        throw Exception(QStringLiteral("The simulator %1 did not start: %2")
                            .arg(program, QString::fromLocal8Bit(simulator.readAllStandardError()).trimmed()));
    TComPortNames::SetOverride(ComNumber, linkPath);
}

TDemoMode::~TDemoMode()
{
    simulator.terminate();
    if (!simulator.waitForFinished(3000))
        simulator.kill();
}

// meridal-sim: simulated HART field devices on a pseudo-terminal, for the
// program's demo mode and for manual testing.

#include "TSimBus.h"
#include "TSimScenario.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <exception>

namespace {

void Print(FILE* stream, const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stream);
    std::fflush(stream);
}

// Blocks SIGINT and SIGTERM in this thread and every thread started later,
// so that only WaitForStopSignal receives them.
sigset_t StopSignals()
{
    sigset_t signalSet;
    sigemptyset(&signalSet);
    sigaddset(&signalSet, SIGINT);
    sigaddset(&signalSet, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signalSet, nullptr);
    return signalSet;
}

void WaitForStopSignal(const sigset_t& signalSet)
{
    int received = 0;
    sigwait(&signalSet, &received);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("meridal-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulates HART field devices (KORVAL TIVERN and CALDEROS probes) behind a pseudo-terminal.\n"
        "Point the program's serial port at the link path. Stops on Ctrl+C (SIGINT) or SIGTERM."));
    parser.addHelpOption();
    const QCommandLineOption link({QStringLiteral("l"), QStringLiteral("link")},
                                  QStringLiteral("Symbolic link to create for the serial port (default: %1)."),
                                  QStringLiteral("path"), QStringLiteral("/tmp/ttyMeridalSim"));
    const QCommandLineOption scenario(
        {QStringLiteral("s"), QStringLiteral("scenario")},
        QStringLiteral("JSON scenario with devices, faults and timing (default: one TIVERN probe at address 0)."),
        QStringLiteral("file"));
    const QCommandLineOption verbose({QStringLiteral("v"), QStringLiteral("verbose")},
                                     QStringLiteral("Print one line per received frame and its answer."));
    parser.addOptions({link, scenario, verbose});
    parser.process(application);

    const sigset_t stopSignals = StopSignals();
    try {
        const TSimScenario setup =
            parser.isSet(scenario) ? TSimScenario::Load(parser.value(scenario)) : TSimScenario::Default();
        TSimBus bus(parser.value(link));
        setup.ApplyTo(bus);
        if (parser.isSet(verbose))
            bus.SetObserver([](const TSimExchange& exchange) { Print(stdout, exchange.Summary()); });
        bus.Start();
        Print(stderr, QStringLiteral("meridal-sim: %1 device(s) on %2 (%3); Ctrl+C stops.")
                          .arg(setup.Devices.size())
                          .arg(bus.LinkPath(), bus.SlavePath()));
        WaitForStopSignal(stopSignals);
    } catch (const std::exception& error) {
        Print(stderr, QStringLiteral("meridal-sim: %1").arg(QString::fromLocal8Bit(error.what())));
        return 1;
    }
    return 0;
}

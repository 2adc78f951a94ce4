// How long the GUI thread's event loop stalls while the real main window
// works a simulated probe on a line paced at 1200 baud. A 1 ms timer on the
// GUI thread probes the loop: the time between two of its ticks beyond the
// 1 ms it asked for is a stall, time in which no paint, click or serial
// notification could be handled (a transaction waits for the latter). The
// program runs through start-up, the identification, the read of every tab,
// a few diagnostics polls and closing; per phase the longest and the
// 99th-percentile stall are printed, and how long the event handler that
// starts the phase took (the click; at start-up, creating and showing the
// windows, which the program itself does before its event loop runs). A
// stall above 16 ms is a frame missed at 60 Hz.
#include "ProgramRig.h"

#include "worker/TField.h"
#include "worker/TThreadMeridal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int TurnaroundMs = 20;
constexpr int PhaseLimitMs = 60000;
constexpr int DiagnosticsCommand = 207;

// Ticks every millisecond on the GUI thread and keeps the lateness of each
// tick; after each tick it asks whether the phase running is done.
class StallProbe
{
public:
    StallProbe()
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
    }

    // Runs `action` inside the event loop, then the loop until `done` holds.
    // False when the phase did not end within the limit.
    bool RunPhase(const std::function<void()>& action, const std::function<bool()>& done)
    {
        QEventLoop loop;
        stalls.clear();
        finished = [&] {
            if (done())
                loop.quit();
        };
        QTimer::singleShot(0, [&] {
            QElapsedTimer handler;
            handler.start();
            action();
            actionMs = handler.nsecsElapsed() / 1e6;
        });
        QTimer::singleShot(PhaseLimitMs, &loop, [&] { loop.exit(1); });
        clock.start();
        lastTickNs = 0;
        timer.start();
        const bool ended = loop.exec() == 0;
        timer.stop();
        phaseMs = clock.elapsed();
        return ended;
    }

    void Print(const char* phase, bool ended) const
    {
        std::vector<double> sorted = stalls;
        std::sort(sorted.begin(), sorted.end());
        const double longest = sorted.empty() ? 0 : sorted.back();
        const double p99 = sorted.empty() ? 0 : sorted[std::size_t(0.99 * double(sorted.size() - 1))];
        std::printf("%-24s %8.2f %8.2f %7zu %8.2f %9.1f%s\n", phase, longest, p99, sorted.size(), actionMs,
                    phaseMs / 1000.0, ended ? "" : "  (did not end)");
    }

private:
    void tick()
    {
        const qint64 now = clock.nsecsElapsed();
        stalls.push_back(std::max(0.0, double(now - lastTickNs) / 1e6 - timer.interval()));
        lastTickNs = now;
        finished();
    }

    QTimer timer;
    QElapsedTimer clock;
    qint64 lastTickNs = 0;
    qint64 phaseMs = 0;
    double actionMs = 0;
    std::vector<double> stalls;
    std::function<void()> finished;
};

// A job that has started and ended again, as the probe sees it tick by tick.
class JobWatch
{
public:
    bool Done()
    {
        const bool idle = DeviceThread && DeviceThread->Suspended();
        started = started || !idle;
        return started && idle;
    }

private:
    bool started = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TMeridalProgram::SetUpApplication();
    const int polls = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    ProgramRig rig;
    rig.Bus().AddDevice(TSimDeviceState::Tivern());
    rig.Bus().SetWireTiming(true, TurnaroundMs);
    rig.Store("Settings", "COM", QString::number(ProgramRig::ComNumber));

    StallProbe probe;
    std::printf("1200 Bd paced answers, turnaround %d ms; event-loop stalls in ms (tick lateness beyond 1 ms)\n",
                TurnaroundMs);
    std::printf("%-24s %8s %8s %7s %8s %9s\n", "phase", "longest", "p99", "ticks", "handler", "phase s");
    const auto phase = [&](const char* name, const std::function<void()>& action, const std::function<bool()>& done) {
        probe.Print(name, probe.RunPhase(action, done));
    };

    phase("start-up", [&] { rig.Start(); }, [] { return DeviceThread && !DeviceThread->Suspended(); });
    phase("identification", [] {}, [] { return DeviceThread->Suspended() && DeviceThread->Identified; });

    const std::vector<std::pair<const char*, TPage>> tabs = {
        { "read tab 1", TPage::AnalogOutput },
        { "read tab 2", TPage::DeviceVariables },
        { "read tab 4", TPage::Others },
        { "read tab 5", TPage::Diagnostics },
    };
    for (const auto& [name, page] : tabs) {
        JobWatch job;
        phase(name, [&rig, page = page] { rig.C().PageControl->setCurrentIndex(int(page)); }, [&job] { return job.Done(); });
    }

    const int pollsBefore = rig.Bus().RequestCount(DiagnosticsCommand);
    const QByteArray pollsName = QByteArrayLiteral("diagnostics, ") + QByteArray::number(polls) + " polls";
    phase(pollsName.constData(), [] {}, [&] {
        return rig.Bus().RequestCount(DiagnosticsCommand) >= pollsBefore + polls && DeviceThread->Suspended();
    });

    JobWatch refresh;
    phase("tab 0 and Refresh",
          [&rig] {
              rig.C().PageControl->setCurrentIndex(int(TPage::Identification));
              rig.C().ButtonRefresh->click();
          },
          [&refresh] { return refresh.Done(); });

    phase("closing", [&rig] { rig.Main().close(); }, [] { return !DeviceThread; });
    return 0;
}

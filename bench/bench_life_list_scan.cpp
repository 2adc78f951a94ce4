// What a life-list scan costs on the real windows against a multidrop bus of
// three probes and thirteen silent addresses, answers paced at 1200 baud,
// with the attempts a technician has by default (3). Per address the time
// from its row being marked to the next row's (the last: to the list being
// idle) is set against the floor the protocol gives: a silent address costs
// its command-0 time-out once per attempt; a probe its four answers (command
// 0, 13, 1, 2), each the device's turnaround, its bytes as the simulator
// paces them (the first at the end of the turnaround, each further one 11
// bits later) and the 200 ms end-of-answer silence. The request's own line
// time is left out: a pseudo-terminal delivers it at once.
#include "LifeListRig.h"

#include "ui/TFormMultidropLifeList.h"
#include "worker/TThreadMeridal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>

namespace {

constexpr int TurnaroundMs = 20;
constexpr int AttemptsByDefault = 3;
constexpr double PollingTimeoutMs = 1000.0;
constexpr double SilenceMs = 200.0;
constexpr double ByteTimeMs = 11.0 * 1000.0 / 1200.0;
constexpr std::array<int, 3> ProbeAddresses = { 2, 7, 12 };

using PerAddress = std::array<double, 16>;

// Runs the GUI thread's event loop (a sleep would hold back the serial
// notifications the transactions wait for) and calls `tick` every
// millisecond until `done` holds.
void RunUntil(const std::function<bool()>& done, const std::function<void()>& tick = {})
{
    QEventLoop loop;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (tick)
            tick();
        if (done())
            loop.quit();
    });
    poll.start();
    loop.exec();
}

bool Idle(LifeListRig& list)
{
    return list.Button("ButtonRescan")->text() == QLatin1String("Rescan") && list.Button("ButtonClose")->isEnabled()
           && DeviceThread->Suspended();
}

int MarkedAddress(LifeListRig& list)
{
    for (int address = 0; address < 16; ++address) {
        if (list.Grid()->item(address, 0)->background().color() == QColor(255, 255, 0))
            return address;
    }
    return -1;
}

// One scan started by "Rescan": the measured time of each address.
PerAddress MeasureScan(LifeListRig& list)
{
    PerAddress started {};
    started.fill(-1);
    QElapsedTimer clock;
    list.Button("ButtonRescan")->click();
    clock.start();
    RunUntil([&] { return Idle(list); },
             [&] {
                 const int marked = MarkedAddress(list);
                 if (marked >= 0 && started[marked] < 0)
                     started[marked] = clock.nsecsElapsed() / 1e6;
             });
    const double end = clock.nsecsElapsed() / 1e6;
    PerAddress measured {};
    for (int address = 0; address < 16; ++address)
        measured[address] = (address < 15 ? started[address + 1] : end) - started[address];
    return measured;
}

// The floor of each address from what went over the bus.
PerAddress FloorOf(const QList<TSimExchange>& log)
{
    PerAddress floor {};
    int address = 0;
    for (const TSimExchange& exchange : log) {
        if (!exchange.LongFrame && exchange.Command == 0)
            address = quint8(exchange.Request.at(exchange.Request.indexOf(char(0x02)) + 1)) & 0x3F;
        floor[address] += exchange.Answered ? TurnaroundMs + (exchange.Answer.size() - 1) * ByteTimeMs + SilenceMs
                                            : PollingTimeoutMs;
    }
    return floor;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TMeridalProgram::SetUpApplication();
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 1;

    LifeListRig list(QByteArray {});
    for (const int address : ProbeAddresses)
        list.Bus().AddDevice(LifeListRig::At(TSimDeviceState::Tivern(), address, 0x000100 + address));
    list.Bus().SetWireTiming(true, TurnaroundMs);

    PerAddress measured {};
    PerAddress floor {};
    const bool ran = list.AtStart([&] {
        // The scan the window starts when it opens is stopped at its first
        // address; the measured ones are started by "Rescan".
        list.Button("ButtonRescan")->click();
        RunUntil([&] { return Idle(list); });
        for (int round = 0; round < rounds; ++round) {
            list.Bus().ClearLog();
            const PerAddress scan = MeasureScan(list);
            const PerAddress scanFloor = FloorOf(list.Bus().Log());
            for (int address = 0; address < 16; ++address) {
                measured[address] += scan[address] / rounds;
                floor[address] += scanFloor[address] / rounds;
            }
        }
        list.Button("ButtonClose")->click();
    });
    if (!ran) {
        std::fprintf(stderr, "the life list did not run\n");
        return 1;
    }

    std::printf("life-list scan, 1200 Bd paced answers, turnaround %d ms, %d attempts, %d round(s)\n", TurnaroundMs,
                AttemptsByDefault, rounds);
    std::printf("%-8s %-7s %10s %10s %7s\n", "address", "device", "measured", "floor", "ratio");
    double probes[2] = {};
    double silent[2] = {};
    for (int address = 0; address < 16; ++address) {
        const bool probe = std::find(ProbeAddresses.begin(), ProbeAddresses.end(), address) != ProbeAddresses.end();
        std::printf("%-8d %-7s %10.1f %10.1f %7.3f\n", address, probe ? "probe" : "silent", measured[address], floor[address],
                    measured[address] / floor[address]);
        double* sums = probe ? probes : silent;
        sums[0] += measured[address];
        sums[1] += floor[address];
    }
    std::printf("%-16s %10.1f %10.1f %7.3f\n", "probes", probes[0], probes[1], probes[0] / probes[1]);
    std::printf("%-16s %10.1f %10.1f %7.3f\n", "silent", silent[0], silent[1], silent[0] / silent[1]);
    std::printf("%-16s %10.1f %10.1f %7.3f\n", "scan", probes[0] + silent[0], probes[1] + silent[1],
                (probes[0] + silent[0]) / (probes[1] + silent[1]));
    return 0;
}

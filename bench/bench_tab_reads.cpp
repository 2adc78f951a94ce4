// What one full read of every tab costs against a simulated probe on a line
// paced at 1200 baud: per command and in total, the measured time next to
// the protocol's floor (request and answer bytes at 11 bits each, the
// device's turnaround and the 200 ms end-of-answer silence) and their ratio.
// A pseudo-terminal delivers the request at once, so the last column also
// gives the ratio to the floor without the request's line time: what the
// program itself adds.
#include "commands/TComportHART.h"
#include "link/TComPortNames.h"

#include "TSimBus.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int BenchComNumber = 91;
constexpr int TurnaroundMs = 20;
constexpr double SilenceMs = 200.0;
constexpr double ByteTimeMs = 11.0 * 1000.0 / 1200.0;

struct TabRead
{
    int command;
    std::function<void(TComportHART&)> run;
};

// The reads of the Identification, Analog Output, Device Variables, Others,
// Diagnostics and firmware views, in the order the jobs issue them.
std::vector<TabRead> TabReads()
{
    static float value;
    static float other;
    static QString text;
    static QString otherText;
    static QDate date;
    static quint8 byte;
    static quint8 bytes[4];
    static bool flag;
    static qint32 number;
    static TDeviceVariable variables[4];
    static TDiagnosticsData diagnostics;
    static TFirmware firmware;
    return {
        { 7, [](TComportHART& h) { h.ReadPollingAddress(byte, flag); } },
        { 13, [](TComportHART& h) { h.ReadTagDescriptorDate(text, otherText, date); } },
        { 20, [](TComportHART& h) { h.ReadLongTag(text); } },
        { 12, [](TComportHART& h) { h.ReadMessage(text); } },
        { 16, [](TComportHART& h) { h.ReadFinalAssemblyNumber(number); } },
        { 50, [](TComportHART& h) { h.ReadVariableAssignments(bytes[0], bytes[1], bytes[2], bytes[3]); } },
        { 1, [](TComportHART& h) { h.ReadPrimaryValue(value, text); } },
        { 14, [](TComportHART& h) { h.ReadPVLimits(text, value, other); } },
        { 2, [](TComportHART& h) { h.ReadLoopCurrent(value, other); } },
        { 15, [](TComportHART& h) { h.ReadPVRange(byte, value, other, text); } },
        { 33, [](TComportHART& h) { h.ReadDeviceVariables(variables[0], variables[1], variables[2], variables[3]); } },
        { 206, [](TComportHART& h) { h.ReadOffset(0, text, value); } },
        { 54, [](TComportHART& h) { h.ReadDampingValue(0, value); } },
        { 201, [](TComportHART& h) { h.ReadProtectionMode(flag); } },
        { 210, [](TComportHART& h) { h.ReadDeviceVariableEnable(); } },
        { 207, [](TComportHART& h) { h.ReadDiagnostics(diagnostics); } },
        { 208, [](TComportHART& h) { h.ReadFirmwareVersion(firmware); } },
    };
}

struct Row
{
    int command = 0;
    double measuredMs = 0;
    double floorMs = 0;
    int requestBytes = 0;
    int answerBytes = 0;
};

double FloorMs(int requestBytes, int answerBytes)
{
    return (requestBytes + answerBytes) * ByteTimeMs + TurnaroundMs + SilenceMs;
}

void Print(const char* name, const Row& row, int rounds)
{
    const double measured = row.measuredMs / rounds;
    const double floor = row.floorMs / rounds;
    const double answerFloor = floor - row.requestBytes * ByteTimeMs;
    std::printf("%-8s %5d %6d %10.1f %10.1f %7.3f %10.3f\n", name, row.requestBytes, row.answerBytes, measured, floor,
                measured / floor, measured / answerFloor);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    TSimBus bus(QDir::temp().filePath(QStringLiteral("meridal-bench-tabs-%1").arg(QCoreApplication::applicationPid())));
    bus.AddDevice(TSimDeviceState::Tivern());
    bus.SetWireTiming(true, TurnaroundMs);
    bus.Start();
    TComPortNames::SetOverride(BenchComNumber, bus.LinkPath());
    TComportHART hart(BenchComNumber);
    hart.ConnectAtPollingAddress(nullptr);

    const std::vector<TabRead> reads = TabReads();
    std::vector<Row> rows(reads.size());
    QElapsedTimer clock;
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < reads.size(); ++i) {
            bus.ClearLog();
            clock.start();
            reads[i].run(hart);
            const double ms = clock.nsecsElapsed() / 1e6;
            const TSimExchange exchange = bus.Log().last();
            rows[i].command = reads[i].command;
            rows[i].requestBytes = int(exchange.Request.size());
            rows[i].answerBytes = int(exchange.Answer.size());
            rows[i].measuredMs += ms;
            rows[i].floorMs += FloorMs(rows[i].requestBytes, rows[i].answerBytes);
        }
    }

    std::printf("1200 Bd paced answers, turnaround %d ms, %d round(s); times are per read\n", TurnaroundMs, rounds);
    std::printf("%-8s %5s %6s %10s %10s %7s %10s\n", "command", "req B", "ans B", "measured", "floor", "ratio",
                "no-request");
    Row total;
    const Row* worst = &rows.front();
    for (const Row& row : rows) {
        Print(QByteArray::number(row.command).constData(), row, rounds);
        total.requestBytes += row.requestBytes;
        total.answerBytes += row.answerBytes;
        total.measuredMs += row.measuredMs;
        total.floorMs += row.floorMs;
        if (row.measuredMs / row.floorMs > worst->measuredMs / worst->floorMs)
            worst = &row;
    }
    Print("total", total, rounds);
    std::printf("worst ratio: command %d\n", worst->command);
    return 0;
}

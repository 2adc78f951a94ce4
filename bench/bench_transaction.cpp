// Overhead of one link-layer transaction over a pseudo-terminal: the time a
// transaction takes beyond the 200 ms end-of-answer silence and the bytes'
// own line time. The responder answers at once, or paces its answer at
// 1200 baud like a real line, after the frame has arrived.
#include "HexBytes.h"
#include "PtyPair.h"

#include "link/TComPortNames.h"
#include "link/TComportHARTBasis.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

const QByteArray Request = Hex("FF FF FF FF FF 82 A6 80 01 23 45 01 00 C2");
const QByteArray Answer = Hex("FF FF FF FF FF 86 A6 80 01 23 45 01 07 00 00 2D 41 20 00 00 8D");

constexpr double SilenceMs = 200.0;
constexpr double ByteTimeMs = 11.0 * 1000.0 / 1200.0;
constexpr int BenchComNumber = 90;

void Respond(PtyPair& pty, bool paced, const std::atomic<bool>& stop)
{
    while (!stop) {
        if (pty.ReadFromProgram(Request.size(), 100).size() < Request.size())
            continue;
        if (!paced) {
            pty.WriteToProgram(Answer);
            continue;
        }
        // A byte is there once its last bit has left the line.
        for (const char b : Answer) {
            std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int>(ByteTimeMs * 1000)));
            pty.WriteToProgram(QByteArray(1, b));
        }
    }
}

void Measure(TComportHARTBasis& link, PtyPair& pty, bool paced, int rounds)
{
    std::atomic<bool> stop { false };
    std::thread responder(Respond, std::ref(pty), paced, std::cref(stop));
    QElapsedTimer clock;
    double totalMs = 0;
    double worstMs = 0;
    for (int i = 0; i < rounds; ++i) {
        THARTFrame answer;
        clock.start();
        link.SendRequest(Request, 2000, answer);
        const double ms = clock.nsecsElapsed() / 1e6;
        totalMs += ms;
        worstMs = std::max(worstMs, ms);
    }
    stop = true;
    responder.join();

    // On a pseudo-terminal the request leaves at once; only a paced answer
    // takes line time.
    const double floorMs = SilenceMs + (paced ? Answer.size() * ByteTimeMs : 0.0);
    const double meanMs = totalMs / rounds;
    std::printf("%-22s %6d %10.1f %10.1f %10.1f %10.1f\n", paced ? "answer paced 1200 Bd" : "answer at once",
                rounds, meanMs, worstMs, floorMs, meanMs - floorMs);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 20;

    PtyPair pty(QDir::temp().filePath(QStringLiteral("meridal-bench-%1").arg(QCoreApplication::applicationPid())));
    TComPortNames::SetOverride(BenchComNumber, pty.LinkPath());
    TComportHARTBasis link(BenchComNumber, 1200);

    std::printf("%-22s %6s %10s %10s %10s %10s\n", "case", "rounds", "mean ms", "worst ms", "floor ms", "overhead");
    Measure(link, pty, false, rounds);
    Measure(link, pty, true, rounds);
    return 0;
}

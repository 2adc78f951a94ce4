// The transaction engine against a scripted in-process port.
#include "HexBytes.h"
#include "ScriptedPort.h"

#include "link/TComportHARTBasis.h"

#include <QtEndian>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <thread>

namespace {

const QByteArray Request = Hex("FF FF FF FF FF 82 A6 80 01 23 45 01 00 C2");
// Command 1 answer: status 00 00, unit 45 (meters), 10.0.
const QByteArray GoodAnswer = Hex("FF FF FF FF FF 86 A6 80 01 23 45 01 07 00 00 2D 41 20 00 00 8D");
const QByteArray BadChecksum = Hex("FF FF FF FF FF 86 A6 80 01 23 45 01 07 00 00 2D 41 20 00 00 8E");
const QByteArray BurstAnswer = Hex("FF FF FF FF FF 81 A6 80 01 23 45 01 07 00 00 2D 41 20 00 00 8D");
const QByteArray CommErrorD0 = Hex("FF FF FF FF FF 86 A6 80 01 23 45 01 02 D0 00 14");
const QByteArray CommError80 = Hex("FF FF FF FF FF 86 A6 80 01 23 45 01 02 80 00 44");
const QByteArray NoStatusBytes = Hex("FF FF FF FF FF 86 A6 80 01 23 45 01 00 C6");

const QString TimeoutMessage = QStringLiteral("Timeout: HART device does not respond");

// Answer time-out of the tests: longer than the 200 ms end-of-answer silence.
constexpr int TimeoutMs = 400;

// A transaction engine over a scripted port, which the fixture keeps a hand on.
struct Link
{
    Link()
    {
        auto scripted = std::make_unique<ScriptedPort>();
        port = scripted.get();
        basis = std::make_unique<TComportHARTBasis>(std::move(scripted));
    }

    THARTFrame Send(const QByteArray& request = Request)
    {
        THARTFrame answer;
        basis->SendRequest(request, TimeoutMs, answer);
        return answer;
    }

    // The message of what Send raises; fails the test when it raises nothing.
    QString Failure(const QByteArray& request = Request)
    {
        try {
            Send(request);
        } catch (const Exception& e) {
            return e.Message();
        }
        return QStringLiteral("<no exception>");
    }

    ScriptedPort* port;
    std::unique_ptr<TComportHARTBasis> basis;
};

// A command-1 answer with status 00 00 followed by the given payload.
QByteArray PayloadAnswer(const QByteArray& payload)
{
    QByteArray head = Hex("86 A6 80 01 23 45 01") + char(2 + payload.size()) + Hex("00 00") + payload;
    char check = 0;
    for (const char b : head)
        check = static_cast<char>(check ^ b);
    return Hex("FF FF FF FF FF") + head + check;
}

// The four bytes a device sends for this single, most significant first.
QByteArray BitsSentFor(float value)
{
    quint32 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray bytes(4, '\0');
    qToBigEndian(bits, bytes.data());
    return bytes;
}

} // namespace

class TestTransactionEngine : public QObject
{
    Q_OBJECT

private slots:
    void construction()
    {
        auto scripted = std::make_unique<ScriptedPort>();
        ScriptedPort* port = scripted.get();
        port->Preload(Hex("FF FF 06 80 00 00 86"));
        TComportHARTBasis basis(std::move(scripted));
        QVERIFY(port->IsOpen());
        QCOMPARE(port->Waiting(), 0);            // stale input is discarded
        QCOMPARE(basis.Attempts, 3u);
        QCOMPARE(basis.DefaultTimeout, 900);
    }

    void openFailurePropagates()
    {
        auto scripted = std::make_unique<ScriptedPort>();
        scripted->FailOpenWith([] { throw EAlreadyOpen(QStringLiteral("COM3 is already open.")); });
        QVERIFY_THROWS_EXCEPTION(EAlreadyOpen, TComportHARTBasis basis(std::move(scripted)));
    }

    void goodAnswerIsReturned()
    {
        Link link;
        link.port->QueueAnswer(GoodAnswer);
        const THARTFrame answer = link.Send();
        QCOMPARE(link.port->Written, QList<QByteArray> { Request });
        QCOMPARE(answer.Command, 1);
        QCOMPARE(answer.Data, Hex("00 00 2D 41 20 00 00"));
        QCOMPARE(answer.PreambleCount, 5u);
    }

    void answerInPiecesIsCollected()
    {
        Link link;
        link.port->QueueReply({ { 5, GoodAnswer.left(8) }, { 60, GoodAnswer.mid(8, 5) }, { 120, GoodAnswer.mid(13) } });
        QCOMPARE(link.Send().Data, Hex("00 00 2D 41 20 00 00"));
    }

    void threeTimeoutsRaiseAfterThreeTransmissions()
    {
        Link link;
        QCOMPARE(link.Failure(), TimeoutMessage);
        QCOMPARE(link.port->Written.size(), 3);
        QVERIFY_THROWS_EXCEPTION(ETimeoutException, link.Send());
    }

    void timeoutThenGoodAnswer()
    {
        Link link;
        link.port->QueueSilence();
        link.port->QueueAnswer(GoodAnswer);
        QCOMPARE(link.Send().Command, 1);
        QCOMPARE(link.port->Written.size(), 2);
    }

    void singleAttemptTransmitsOnce()
    {
        Link link;
        link.basis->Attempts = 1;
        QCOMPARE(link.Failure(), TimeoutMessage);
        QCOMPARE(link.port->Written.size(), 1);
    }

    void malformedTwiceThenGood()
    {
        Link link;
        link.port->QueueAnswer(BadChecksum);
        link.port->QueueAnswer(BurstAnswer);
        link.port->QueueAnswer(GoodAnswer);
        QCOMPARE(link.Send().Command, 1);
        QCOMPARE(link.port->Written.size(), 3);
    }

    void malformedEveryTimeRaisesTheLastMessage()
    {
        Link link;
        link.port->QueueAnswer(BadChecksum);
        link.port->QueueAnswer(BadChecksum);
        link.port->QueueAnswer(BurstAnswer);
        QCOMPARE(link.Failure(), QString("answer inconsistent (delimiter invalid)"));
        QCOMPARE(link.port->Written.size(), 3);
    }

    void communicationErrorLinesInBitOrder()
    {
        Link link;
        for (int i = 0; i < 3; ++i)
            link.port->QueueAnswer(CommErrorD0);
        QCOMPARE(link.Failure(), QString("The following communication error(s) occurred:"
                                         "\r\n  0x40 Vertical Parity Error"
                                         "\r\n  0x10 Framing Error"));
        QCOMPARE(link.port->Written.size(), 3);
    }

    void communicationErrorWithoutDetailBits()
    {
        Link link;
        for (int i = 0; i < 3; ++i)
            link.port->QueueAnswer(CommError80);
        QCOMPARE(link.Failure(), QString("The following communication error(s) occurred:"));
    }

    void communicationErrorIsRetried()
    {
        Link link;
        link.port->QueueAnswer(CommErrorD0);
        link.port->QueueAnswer(GoodAnswer);
        QCOMPARE(link.Send().Command, 1);
        QCOMPARE(link.port->Written.size(), 2);
    }

    void answerWithoutStatusBytesIsAFailedAttempt()
    {
        Link link;
        link.port->QueueAnswer(NoStatusBytes);
        link.port->QueueAnswer(GoodAnswer);
        QCOMPARE(link.Send().Command, 1);

        for (int i = 0; i < 3; ++i)
            link.port->QueueAnswer(NoStatusBytes);
        QCOMPARE(link.Failure(), QString("answer inconsistent (byte count less than 2)"));
    }

    void answerCutOffBeforeItsChecksumIsAFailedAttempt()
    {
        // Device A3 80 A3 00 00: the head of its command-1 answer XORs to 0,
        // so the answer ending right after its byte count still checks 0.
        const QByteArray request = Hex("FF FF FF FF FF 82 A3 80 A3 00 00 01 00 03");
        const QByteArray cutOff = Hex("FF FF FF FF FF 86 A3 80 A3 00 00 01 07");
        const QByteArray good = Hex("FF FF FF FF FF 86 A3 80 A3 00 00 01 07 00 00 2D 41 20 00 00 4C");
        Link link;
        link.port->QueueAnswer(cutOff);
        link.port->QueueAnswer(cutOff);
        link.port->QueueAnswer(good);
        QCOMPARE(link.Send(request).Data, Hex("00 00 2D 41 20 00 00"));
        QCOMPARE(link.port->Written.size(), 3);

        for (int i = 0; i < 3; ++i)
            link.port->QueueAnswer(cutOff);
        QCOMPARE(link.Failure(request), QString("answer inconsistent (checksum incorrect)"));
        QCOMPARE(link.port->Written.size(), 6);
    }

    void noiseBeforePreambleNeverReachesTheParser()
    {
        Link link;
        QString trace;
        link.basis->SetTraceSink([&trace](const QString& text) { trace += text; });
        link.port->QueueReply({ { 5, Hex("12 34 00 56") }, { 30, GoodAnswer } });
        QCOMPARE(link.Send().PreambleCount, 5u);
        QVERIFY(trace.contains(QStringLiteral("Answer (pure): Length: %1\r\nFF FF").arg(GoodAnswer.size())));
    }

    void noiseAloneTimesOut()
    {
        Link link;
        link.basis->Attempts = 1;
        link.port->QueueReply({ { 5, Hex("12 34 00 56") }, { 100, Hex("00 7E") } });
        QCOMPARE(link.Failure(), TimeoutMessage);
    }

    void lateBytesAreNotTakenForTheNextAnswer()
    {
        Link link;
        link.basis->Attempts = 1;
        // A second copy of the answer arrives after the first was complete.
        link.port->QueueReply({ { 5, GoodAnswer }, { 320, GoodAnswer } });
        QCOMPARE(link.Send().Command, 1);
        QTRY_COMPARE(link.port->Waiting(), GoodAnswer.size());   // left unread
        link.port->QueueSilence();
        QCOMPARE(link.Failure(), TimeoutMessage);
    }

    void answerStillArrivingAtTheTimeoutCountsAsTimeout()
    {
        Link link;
        link.basis->Attempts = 1;
        // Pieces keep coming until 10 ms before the time-out, so the 200 ms
        // of silence cannot pass in time.
        link.port->QueueReply({ { 5, GoodAnswer.left(6) }, { 150, GoodAnswer.mid(6, 6) },
                                { 295, GoodAnswer.mid(12, 6) }, { 390, GoodAnswer.mid(18) } });
        QCOMPARE(link.Failure(), TimeoutMessage);
    }

    void integersFromTheAnswer()
    {
        Link link;
        link.port->QueueAnswer(PayloadAnswer(Hex("01 02 FF FF")));
        link.Send();
        QCOMPARE(link.basis->getIntFromAnswer(2, 2), 258);
        QCOMPARE(link.basis->getIntFromAnswer(4, 2), 0xFFFF);    // no sign extension below 4 bytes
        QCOMPARE(link.basis->getIntFromAnswer(2, 4), 0x0102FFFF);
        link.port->QueueAnswer(PayloadAnswer(Hex("FF FF FF FF")));
        link.Send();
        QCOMPARE(link.basis->getIntFromAnswer(2, 4), -1);
        QVERIFY_THROWS_EXCEPTION(EInconsistentException, link.basis->getIntFromAnswer(4, 4));
        QVERIFY_THROWS_EXCEPTION(EConvertError, link.basis->getIntFromAnswer(2, 5));
    }

    // Only 7F followed by 90 or more is HART's not-a-number mark; every other
    // pattern, an IEEE infinity or NaN included, is returned as it stands.
    void singlesAndTheNotANumberMark()
    {
        struct Row
        {
            const char* bytes;
            bool notANumber;
        };
        const Row rows[] = {
            { "41 20 00 00", false },       // 10.0
            { "7F 80 00 00", false },       // +infinity
            { "7F 8F FF FF", false },       // the last pattern below the mark
            { "7F 90 00 00", true },
            { "7F A0 00 00", true },        // the mark HART devices send
            { "FF A0 00 00", false },       // sign bit set: an IEEE NaN, not the mark
        };
        QByteArray payload;
        for (const Row& row : rows)
            payload += Hex(row.bytes);
        Link link;
        link.port->QueueAnswer(PayloadAnswer(payload));
        link.Send();

        int position = 2;
        for (const Row& row : rows) {
            try {
                const float value = link.basis->getSingleFromAnswer(position);
                QVERIFY2(!row.notANumber, row.bytes);
                QCOMPARE(Spaced(BitsSentFor(value)), QString(row.bytes));
            } catch (const EConvertError& e) {
                QVERIFY2(row.notANumber, row.bytes);
                QCOMPARE(e.Message(), QString("Not a Number"));
                QVERIFY(IsNotANumber(e));
            }
            position += 4;
        }
        const int lastByte = static_cast<int>(link.basis->Answer().Data.size()) - 1;
        QVERIFY_THROWS_EXCEPTION(EInconsistentException, link.basis->getSingleFromAnswer(lastByte - 2));
    }

    void traceFormat()
    {
        Link link;
        QString trace;
        link.basis->SetTraceSink([&trace](const QString& text) { trace += text; });
        link.port->QueueAnswer(Hex("FF FF 06 80 00 02 00 40 C4"));
        link.Send();
        QCOMPARE(trace, QString(
            "############################ Tx Length: 14\r\n"
            "FF FF FF FF FF 82 A6 80 01 23 45 01 00 C2 \r\n"
            "############################ Answer: \r\n"
            "praeamblesCount: 2\r\n"
            "delimiter______: 0x06\r\n"
            "address________: 0: 0x80\r\n"
            "command________: 0x00\r\n"
            "DataLength_____: 0x2\r\n"
            "Data___________: 0: 0x00 \r\n"
            "                 1: 0x40 \r\n"
            "CheckSum_______: 0xC4\r\n"
            "############################ Answer (pure): Length: 9\r\n"
            "FF FF 06 80 00 02 00 40 C4 \r\n"
            "Exiting by data received\r\n"));
    }

    void traceOfAFrameCutShortShowsTheUnsetCommand()
    {
        Link link;
        link.basis->Attempts = 1;
        QString trace;
        link.basis->SetTraceSink([&trace](const QString& text) { trace += text; });
        link.port->QueueAnswer(Hex("FF FF 86 A6"));
        QCOMPARE(link.Failure(), QString("answer inconsistent (checksum incorrect)"));
        QVERIFY(trace.contains(QStringLiteral("command________: 0xFFFFFFFF\r\n")));
        QVERIFY(trace.contains(QStringLiteral("Data___________: CheckSum_______: 0x00\r\n")));
    }

    void transmissionFailureReachesTheCaller()
    {
        Link link;
        link.port->Close();
        QCOMPARE(link.Failure(), QString("port is not open"));
    }

    // The device thread's way: the transaction runs on another thread while
    // the owning thread keeps serving the port and the timers.
    void transactionFromAnotherThread()
    {
        Link link;
        link.port->QueueSilence();
        link.port->QueueAnswer(GoodAnswer);
        THARTFrame answer;
        std::atomic<bool> done { false };
        std::thread caller([&] {
            link.basis->SendRequest(Request, TimeoutMs, answer);
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
        caller.join();
        QCOMPARE(answer.Data, Hex("00 00 2D 41 20 00 00"));
        QCOMPARE(link.port->Written.size(), 2);
    }

    void timeoutFromAnotherThread()
    {
        Link link;
        link.basis->Attempts = 2;
        QString failure;
        std::atomic<bool> done { false };
        std::thread caller([&] {
            try {
                THARTFrame answer;
                link.basis->SendRequest(Request, TimeoutMs, answer);
            } catch (const ETimeoutException& e) {
                failure = e.Message();
            }
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
        caller.join();
        QCOMPARE(failure, TimeoutMessage);
        QCOMPARE(link.port->Written.size(), 2);
    }

    void interruptedWaitEndsTheTransaction()
    {
        struct Stopped {};
        Link link;
        std::atomic<bool> stopping { false };
        link.basis->SetInterruptCheck([&stopping] { if (stopping) throw Stopped {}; });
        std::atomic<bool> stopped { false };
        std::thread caller([&] {
            try {
                THARTFrame answer;
                link.basis->SendRequest(Request, 120000, answer);
            } catch (const Stopped&) {
                stopped = true;
            }
        });
        QTRY_COMPARE(link.port->Written.size(), 1);
        stopping = true;
        link.basis->InterruptWait();
        QTRY_VERIFY_WITH_TIMEOUT(stopped, 10000);
        caller.join();
        QCOMPARE(link.port->Written.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTransactionEngine)
#include "test_transaction_engine.moc"

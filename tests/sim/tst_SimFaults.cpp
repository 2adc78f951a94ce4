// Fault injection: every fault appears exactly on the requests it targets,
// and only there.

#include "TSimTestBench.h"

#include <QtTest>

Q_DECLARE_METATYPE(TSimFault)
Q_DECLARE_METATYPE(TSimFault::TKind)

namespace {

using K = TSimFault::TKind;

const QByteArray Primary = Hex("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 00 2D 3F A0 00 00 1C");
const QByteArray LoopCurrent = Hex("FF FF FF FF FF 86 A3 80 0A 0B 0C 02 0A 00 00 41 2A AA AB 42 26 AA AB AF");

// Command 16 to the CALDEROS probe at address 1 closes every sequence: what
// arrives before its answer is all the bus answered to the requests before it.
const QByteArray Marker = Hex("FF FF FF FF FF 86 A3 81 0D 0E 0F 10 05 00 00 00 03 E9 57");

QByteArray AnswersTo(TSimTestBench& bench, const QList<QByteArray>& requests)
{
    for (const QByteArray& request : requests)
        bench.Port().Write(request);
    bench.Port().Write(TSimTestPort::LongRequest(CalderosAddress, 16));
    QByteArray received;
    while (!received.endsWith(Marker)) {
        const QByteArray more = bench.Port().Read(1);
        if (more.isEmpty())
            return received + "(no marker)";
        received += more;
    }
    return received.chopped(Marker.size());
}

QByteArray Request(int command, const QByteArray& data = {})
{
    return TSimTestPort::LongRequest(TivernAddress, command, data);
}

// Field device status bytes of the next count long-frame answers.
QByteArray StatusBytes(TSimTestBench& bench, int count)
{
    QByteArray statuses;
    for (int i = 0; i < count; ++i)
        statuses += bench.Port().ReadFrame().mid(14, 1);
    return statuses;
}

} // namespace

class TestSimFaults : public QObject
{
    Q_OBJECT

private slots:
    void AnswerIsShapedAsAsked_data()
    {
        QTest::addColumn<TSimFault::TKind>("kind");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("faulty");  // the answer to the first request
        QTest::addColumn<QByteArray>("regular"); // the answer to the second, same request

        const QByteArray fan = Hex("12 34 56");
        const QByteArray fanWritten = Hex("FF FF FF FF FF 86 A3 80 0A 0B 0C 13 05 00 40 12 34 56 8E");
        QTest::newRow("noise") << K::Noise << 3 << 1 << QByteArray() << Hex("00 55 AA") + Primary << Primary;
        QTest::newRow("wrong checksum") << K::WrongChecksum << 0 << 1 << QByteArray()
                                        << Hex("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 00 2D 3F A0 00 00 E3")
                                        << Primary;
        QTest::newRow("truncated") << K::Truncated << 3 << 1 << QByteArray()
                                   << Hex("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 00 2D 3F A0") << Primary;
        QTest::newRow("trailing bytes") << K::TrailingBytes << 3 << 1 << QByteArray() << Primary + Hex("00 00 00")
                                        << Primary;
        QTest::newRow("communication error") << K::CommunicationError << 0xD0 << 19 << fan
                                             << Hex("FF FF FF FF FF 86 A3 80 0A 0B 0C 13 02 D0 00 69") << fanWritten;
        QTest::newRow("byte count shorter")
            << K::ByteCount << -2 << 1 << QByteArray()
            << Hex("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 05 00 00 2D 3F A0 1E") << Primary;
        QTest::newRow("byte count longer")
            << K::ByteCount << 2 << 1 << QByteArray()
            << Hex("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 09 00 00 2D 3F A0 00 00 00 00 12") << Primary;
        QTest::newRow("not a number") << K::NotANumber << 1 << 1 << QByteArray()
                                      << Hex("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 00 2D 7F A0 00 00 5C")
                                      << Primary;
        QTest::newRow("not a number past the payload") << K::NotANumber << 2 << 1 << QByteArray() << Primary
                                                       << Primary;
        QTest::newRow("response code") << K::ResponseCode << 32 << 19 << fan
                                       << Hex("FF FF FF FF FF 86 A3 80 0A 0B 0C 13 02 20 00 99") << fanWritten;
        QTest::newRow("device status") << K::DeviceStatus << 0x80 << 1 << QByteArray()
                                       << Hex("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 80 2D 3F A0 00 00 9C")
                                       << Primary;
    }

    void AnswerIsShapedAsAsked()
    {
        QFETCH(TSimFault::TKind, kind);
        QFETCH(int, value);
        QFETCH(int, command);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, faulty);
        QFETCH(QByteArray, regular);
        TSimTestBench bench(TwoProbes());
        bench.Bus().AddFault(TSimFault(kind).OnDevice(0).OnCommand(command).OnRequest(1).WithValue(value));
        QCOMPARE(Spaced(AnswersTo(bench, {Request(command, data), Request(command, data)})), Spaced(faulty + regular));

        const QList<TSimExchange> log = bench.Bus().Log();
        QCOMPARE(log[0].Faults, QStringList{TSimFault(kind).Name()});
        QVERIFY(log[1].Faults.isEmpty());
    }

    // Faults that stop the request before the device leave it undone.
    void RefusedRequestsAreNotCarriedOut_data()
    {
        QTest::addColumn<TSimFault::TKind>("kind");
        QTest::addColumn<bool>("answered");
        QTest::newRow("no answer") << K::NoAnswer << false;
        QTest::newRow("communication error") << K::CommunicationError << true;
        QTest::newRow("response code") << K::ResponseCode << true;
    }

    void RefusedRequestsAreNotCarriedOut()
    {
        QFETCH(TSimFault::TKind, kind);
        QFETCH(bool, answered);
        TSimTestBench bench(TwoProbes());
        bench.Bus().AddFault(TSimFault(kind).OnCommand(19));
        AnswersTo(bench, {Request(19, Hex("12 34 56"))});
        QCOMPARE(bench.Bus().Device(0).Configuration.FinalAssemblyNumber, quint32(1001));
        QCOMPARE(bench.Bus().Device(0).ConfigurationChangeCounter, quint16(0));
        const TSimExchange exchange = bench.Bus().Log().first();
        QVERIFY(!exchange.Executed);
        QCOMPARE(exchange.Answered, answered);
    }

    void CorruptedAnswersStillCarryOutTheRequest()
    {
        TSimTestBench bench(TwoProbes());
        bench.Bus().AddFault(TSimFault(K::WrongChecksum).OnCommand(19));
        bench.Bus().AddFault(TSimFault(K::Truncated).OnCommand(19));
        AnswersTo(bench, {Request(19, Hex("12 34 56"))});
        QCOMPARE(bench.Bus().Device(0).Configuration.FinalAssemblyNumber, quint32(0x123456));
        QVERIFY(bench.Bus().Log().first().Executed);
    }

    void NoAnswerOnTheNthRequestOnly()
    {
        TSimTestBench bench(TwoProbes());
        bench.Bus().AddFault(TSimFault(K::NoAnswer).OnDevice(0).OnCommand(1).OnRequest(2));
        QCOMPARE(Spaced(AnswersTo(bench, {Request(1), Request(1), Request(1)})), Spaced(Primary + Primary));
        const QList<TSimExchange> log = bench.Bus().Log();
        QCOMPARE(log.size(), 4);
        QVERIFY(log[0].Answered && !log[1].Answered && log[2].Answered);
        QCOMPARE(log[1].Faults, QStringList{QStringLiteral("no-answer")});
        QCOMPARE(bench.Bus().RequestCount(1), 3);
    }

    void FaultsCombineOnOneRequest()
    {
        TSimTestBench bench(TwoProbes());
        bench.Bus().AddFault(TSimFault(K::NotANumber).OnCommand(1).WithValue(1));
        bench.Bus().AddFault(TSimFault(K::DeviceStatus).OnCommand(1));
        bench.Bus().AddFault(TSimFault(K::Noise).OnCommand(1).WithValue(3));
        QCOMPARE(Spaced(AnswersTo(bench, {Request(1)})),
                 QByteArray("00 55 AA FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 80 2D 7F A0 00 00 DC"));
        QCOMPARE(bench.Bus().Log().first().Faults,
                 (QStringList{QStringLiteral("nan"), QStringLiteral("device-status"), QStringLiteral("noise")}));
    }

    void TriggerSelectsTheRequests_data()
    {
        QTest::addColumn<TSimFault>("fault");
        QTest::addColumn<QByteArray>("statuses");
        const TSimFault status = TSimFault(K::DeviceStatus).OnDevice(0).OnCommand(1);
        QTest::newRow("second only") << TSimFault(status).OnRequest(2) << Hex("00 80 00 00");
        QTest::newRow("from the third on") << TSimFault(status).FromRequest(3) << Hex("00 00 80 80");
        QTest::newRow("every request") << status << Hex("80 80 80 80");
    }

    void TriggerSelectsTheRequests()
    {
        QFETCH(TSimFault, fault);
        QFETCH(QByteArray, statuses);
        TSimTestBench bench(TwoProbes());
        bench.Bus().AddFault(fault);
        for (int i = 0; i < 4; ++i)
            bench.Port().Write(Request(1));
        QCOMPARE(Spaced(StatusBytes(bench, 4)), Spaced(statuses));
    }

    void OnlyTargetedRequestsAreCounted()
    {
        TSimTestBench bench(TwoProbes());
        bench.Bus().AddFault(TSimFault(K::DeviceStatus).OnDevice(0).OnCommand(1).OnRequest(2));
        bench.Port().Write(Request(1));
        bench.Port().Write(Request(2));
        bench.Port().Write(TSimTestPort::LongRequest(CalderosAddress, 1));
        bench.Port().Write(TSimTestPort::LongRequest(Hex("A3 80 0A 0B 0D"), 1)); // nobody's
        bench.Port().Write(Request(1));
        QCOMPARE(Spaced(StatusBytes(bench, 4)), QByteArray("00 00 00 80"));
    }

    void FaultForAnyDeviceAndCommandCountsThemAll()
    {
        TSimTestBench bench(TwoProbes());
        bench.Bus().AddFault(TSimFault(K::DeviceStatus).FromRequest(2));
        bench.Port().Write(Request(1));
        bench.Port().Write(TSimTestPort::LongRequest(CalderosAddress, 1));
        bench.Port().Write(Request(2));
        QCOMPARE(Spaced(StatusBytes(bench, 3)), QByteArray("00 80 80"));
    }

    void DeviceDisappearsFromTheNthRequestOn()
    {
        TSimTestBench bench(TwoProbes());
        bench.Bus().AddFault(TSimFault::Disappear(0, 3));
        QCOMPARE(Spaced(AnswersTo(bench, {Request(1), Request(2), Request(1), Request(0),
                                          TSimTestPort::ShortRequest(0, 0), Request(2)})),
                 Spaced(Primary + LoopCurrent));
        QCOMPARE(bench.Bus().RequestCount(1), 2);
        QCOMPARE(bench.Bus().Log().last().Answered, true); // the CALDEROS probe still answers
    }

    void ClearedFaultsNoLongerApply()
    {
        TSimTestBench bench(TwoProbes());
        bench.Bus().AddFault(TSimFault(K::NoAnswer).OnDevice(0));
        QCOMPARE(AnswersTo(bench, {Request(1)}), QByteArray());
        bench.Bus().ClearFaults();
        QCOMPARE(Spaced(AnswersTo(bench, {Request(1)})), Spaced(Primary));
    }

    // The answer is late for a master that waits 100 ms, and it still comes.
    void DelayedAnswerComesAfterTheMasterGaveUp()
    {
        TSimTestBench bench(TwoProbes());
        bench.Bus().AddFault(TSimFault(K::Delay).OnCommand(1).OnRequest(1).WithValue(300));
        bench.Port().Write(Request(1));
        QVERIFY(bench.Bus().WaitForRequestCount(1, 1, 2000));
        QCOMPARE(bench.Port().ReadFrame(100), QByteArray());
        QCOMPARE(Spaced(bench.Port().ReadFrame()), Spaced(Primary));
        QCOMPARE(bench.Bus().Log().first().Faults, QStringList{QStringLiteral("delay")});
        QCOMPARE(Spaced(AnswersTo(bench, {Request(1)})), Spaced(Primary));
    }

    void KindsHaveNamesForScenarios()
    {
        for (K kind : {K::NoAnswer, K::Noise, K::WrongChecksum, K::Truncated, K::TrailingBytes,
                       K::CommunicationError, K::ByteCount, K::NotANumber, K::ResponseCode, K::DeviceStatus,
                       K::Delay})
            QCOMPARE(TSimFault::KindNamed(TSimFault(kind).Name()), std::optional<K>(kind));
        QCOMPARE(TSimFault::KindNamed(QStringLiteral("gremlins")), std::optional<K>());
    }
};

QTEST_GUILESS_MAIN(TestSimFaults)
#include "tst_SimFaults.moc"

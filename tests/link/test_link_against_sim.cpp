// The link layer over a real pseudo-terminal against the simulated devices:
// each fault the simulator injects meets the outcome the link layer promises.
#include "HexBytes.h"

#include "commands/TComportHART.h"
#include "link/TComPortNames.h"
#include "TSimBus.h"

#include <QtTest>

namespace {

constexpr int ComNumber = 50;
constexpr int TimeoutMs = 500;

// A TIVERN probe at polling address 0 on a simulated bus, and the link layer
// on the bus's port, already addressed to the probe.
struct Loop
{
    Loop()
        : bus(QDir::temp().filePath(QStringLiteral("meridal-link-sim-%1").arg(QCoreApplication::applicationPid())))
    {
        probe = TSimDeviceState::Tivern();
        bus.AddDevice(probe);
        bus.Start();
        TComPortNames::SetOverride(ComNumber, bus.LinkPath());
        hart = std::make_unique<TComportHART>(ComNumber);
        hart->ManufacturerID = probe.ManufacturerId;
        hart->DeviceTypeCode = probe.DeviceType;
        hart->DeviceID = static_cast<qint32>(probe.DeviceId);
        hart->BuildLongAddress();
    }

    // Command 1, read primary value.
    THARTFrame ReadPrimaryValue()
    {
        THARTFrame answer;
        hart->SendRequest(hart->BuildLongFrame(Hex("01 00")), TimeoutMs, answer);
        return answer;
    }

    QString Failure()
    {
        try {
            ReadPrimaryValue();
        } catch (const Exception& e) {
            return e.Message();
        }
        return QStringLiteral("<no exception>");
    }

    void Fault(TSimFault fault) { bus.AddFault(fault.OnCommand(1)); }

    TSimBus bus;
    TSimDeviceState probe;
    std::unique_ptr<TComportHART> hart;
};

using Kind = TSimFault::TKind;

} // namespace

class TestLinkAgainstSim : public QObject
{
    Q_OBJECT

private slots:
    void shortFrameFindsTheProbe()
    {
        Loop loop;
        THARTFrame answer;
        loop.hart->SendRequest(loop.hart->BuildShortFrame0(0), TimeoutMs, answer);
        QCOMPARE(answer.Command, 0);
        QCOMPARE(answer.Address, Hex("80"));
        QCOMPARE(static_cast<quint8>(answer.Data.at(2)), quint8(254));
        QCOMPARE(static_cast<quint8>(answer.Data.at(3)), quint8(227));
    }

    void longFrameReadsThePrimaryValue()
    {
        Loop loop;
        const THARTFrame answer = loop.ReadPrimaryValue();
        QCOMPARE(answer.Command, 1);
        QCOMPARE(answer.ByteCount, 7u);
        QCOMPARE(answer.Address, loop.hart->LongAddressPrefix.mid(6));
        QCOMPARE(loop.bus.RequestCount(1), 1);
    }

    void silenceIsRetriedThenReported()
    {
        Loop loop;
        loop.Fault(TSimFault(Kind::NoAnswer).OnRequest(1));
        QCOMPARE(loop.ReadPrimaryValue().Command, 1);
        QCOMPARE(loop.bus.RequestCount(1), 2);

        loop.Fault(TSimFault(Kind::NoAnswer));
        loop.bus.ClearLog();
        QCOMPARE(loop.Failure(), QString("Timeout: HART device does not respond"));
        QCOMPARE(loop.bus.RequestCount(1), 3);
    }

    void noiseAndTrailingBytesDoNotDisturb()
    {
        Loop loop;
        loop.Fault(TSimFault(Kind::Noise).WithValue(6));
        loop.Fault(TSimFault(Kind::TrailingBytes).WithValue(4));
        QCOMPARE(loop.ReadPrimaryValue().ByteCount, 7u);
        QCOMPARE(loop.bus.RequestCount(1), 1);
    }

    void malformedAnswersAreRetried()
    {
        Loop loop;
        loop.Fault(TSimFault(Kind::WrongChecksum).OnRequest(1));
        loop.Fault(TSimFault(Kind::Truncated).OnRequest(2));
        QCOMPARE(loop.ReadPrimaryValue().Command, 1);
        QCOMPARE(loop.bus.RequestCount(1), 3);
    }

    void malformedEveryTime()
    {
        Loop loop;
        loop.Fault(TSimFault(Kind::WrongChecksum));
        QCOMPARE(loop.Failure(), QString("answer inconsistent (checksum incorrect)"));
        QCOMPARE(loop.bus.RequestCount(1), 3);
    }

    void communicationErrorEveryTime()
    {
        Loop loop;
        loop.Fault(TSimFault(Kind::CommunicationError).WithValue(0xD0));
        QCOMPARE(loop.Failure(), QString("The following communication error(s) occurred:"
                                         "\r\n  0x40 Vertical Parity Error\r\n  0x10 Framing Error"));
        QCOMPARE(loop.bus.RequestCount(1), 3);
    }

    void unexpectedByteCountIsStillAFrame()
    {
        Loop loop;
        loop.Fault(TSimFault(Kind::ByteCount).WithValue(-2));
        QCOMPARE(loop.ReadPrimaryValue().ByteCount, 5u);
    }

    void notANumberReachesTheExtractor()
    {
        Loop loop;
        loop.Fault(TSimFault(Kind::NotANumber).WithValue(1));
        loop.ReadPrimaryValue();
        try {
            loop.hart->getSingleFromAnswer(3);
            QFAIL("a NaN value was returned");
        } catch (const EConvertError& e) {
            QCOMPARE(e.Message(), QString("Not a Number"));
        }
    }

    void lateAnswerCountsAsTimeoutAndIsNotTakenLater()
    {
        Loop loop;
        loop.hart->Attempts = 1;
        loop.Fault(TSimFault(Kind::Delay).WithValue(TimeoutMs + 300).OnRequest(1));
        QSignalSpy arriving(&loop.hart->AComPort(), &TComPort::TriggerAvail);
        QCOMPARE(loop.Failure(), QString("Timeout: HART device does not respond"));
        // The late answer to command 1 arrives and waits unread in the port.
        const int lateAnswerSize = static_cast<int>(loop.bus.Log().constLast().Answer.size());
        QTRY_VERIFY_WITH_TIMEOUT(!arriving.isEmpty() && arriving.constLast().at(0).toInt() == lateAnswerSize, 10000);

        THARTFrame answer;
        loop.hart->SendRequest(loop.hart->BuildLongFrame(Hex("02 00")), TimeoutMs, answer);
        QCOMPARE(answer.Command, 2);
        QCOMPARE(answer.ByteCount, 10u);
    }

    void deviceThatDisappears()
    {
        Loop loop;
        loop.hart->Attempts = 1;
        loop.bus.AddFault(TSimFault::Disappear(0, 2));
        QCOMPARE(loop.ReadPrimaryValue().Command, 1);
        QCOMPARE(loop.Failure(), QString("Timeout: HART device does not respond"));
    }
};

QTEST_GUILESS_MAIN(TestLinkAgainstSim)
#include "test_link_against_sim.moc"

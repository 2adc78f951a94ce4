// The simulated loop: addressing, framing on the line, several devices, the
// link on the file system, wire timing and the exchange log.

#include "TSimTestBench.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

namespace {

const QByteArray TivernPrimary = "FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 00 2D 3F A0 00 00 1C";
const QByteArray CalderosPrimary = "FF FF FF FF FF 86 A3 81 0D 0E 0F 01 07 00 00 2D 40 00 00 00 C3";
const QByteArray ForeignPrimary = "FF FF FF FF FF 86 A6 80 01 23 45 01 07 00 00 2D 3F 80 00 00 53";

} // namespace

class TestSimBus : public QObject
{
    Q_OBJECT

private slots:
    void ShortFrameCommandZeroFindsEachDeviceByPollingAddress()
    {
        TSimTestBench bench({TSimDeviceState::Tivern(), At(TSimDeviceState::Calderos(), 3),
                             At(TSimDeviceState::Foreign(), 5)});
        TSimTestPort& port = bench.Port();
        QCOMPARE(Spaced(port.Exchange(TSimTestPort::ShortRequest(0, 0))),
                 QByteArray("FF FF FF FF FF 06 80 00 0E 00 00 FE E3 80 05 05 01 03 28 00 0A 0B 0C 32"));
        QCOMPARE(Spaced(port.Exchange(TSimTestPort::ShortRequest(3, 0))),
                 QByteArray("FF FF FF FF FF 06 83 00 0E 00 00 FE E3 81 05 05 01 03 28 00 0D 0E 0F 31"));
        QCOMPARE(Spaced(port.Exchange(TSimTestPort::ShortRequest(5, 0))),
                 QByteArray("FF FF FF FF FF 06 85 00 0E 00 00 FE 26 80 05 05 01 02 28 00 01 23 45 99"));
    }

    // A silent request is followed by one that is answered: the first answer
    // to arrive must be the second one's.
    void EmptyAddressAndOtherShortCommandsStaySilent()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        TSimTestPort& port = bench.Port();
        port.Write(TSimTestPort::ShortRequest(4, 0));
        port.Write(TSimTestPort::ShortRequest(0, 1));
        port.Write(TSimTestPort::LongRequest(TivernAddress, 1));
        QCOMPARE(Spaced(port.ReadFrame()), TivernPrimary);
        QCOMPARE(bench.Bus().RequestCount(0), 0);
        QCOMPARE(bench.Bus().RequestCount(1), 1);
    }

    void LongFrameFindsEachDeviceByUniqueAddress()
    {
        TSimTestBench bench({TSimDeviceState::Tivern(), At(TSimDeviceState::Calderos(), 1),
                             At(TSimDeviceState::Foreign(), 2)});
        QCOMPARE(Spaced(bench.Ask(ForeignAddress, 1)), ForeignPrimary);
        QCOMPARE(Spaced(bench.Ask(CalderosAddress, 1)), CalderosPrimary);
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 1)), TivernPrimary);
    }

    void LongFrameForAnotherDeviceStaysSilent()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        TSimTestPort& port = bench.Port();
        port.Write(TSimTestPort::LongRequest(Hex("A3 80 0A 0B 0D"), 1)); // other device ID
        port.Write(TSimTestPort::LongRequest(Hex("A3 81 0A 0B 0C"), 1)); // other device type
        port.Write(TSimTestPort::LongRequest(Hex("A6 80 0A 0B 0C"), 1)); // other manufacturer
        port.Write(TSimTestPort::LongRequest(TivernAddress, 1));
        QCOMPARE(Spaced(port.ReadFrame()), TivernPrimary);
        const QList<TSimExchange> log = bench.Bus().Log();
        QCOMPARE(log.size(), 4);
        for (int i = 0; i < 3; ++i)
            QVERIFY(!log[i].Addressed() && !log[i].Answered);
    }

    void AnswerEchoesTheMasterBitAndClearsTheBurstBit()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(Hex("23 80 0A 0B 0C"), 1)),
                 QByteArray("FF FF FF FF FF 86 23 80 0A 0B 0C 01 07 00 00 2D 3F A0 00 00 9C"));
        QCOMPARE(Spaced(bench.Ask(Hex("E3 80 0A 0B 0C"), 1)), TivernPrimary);
    }

    void GarbageAndBadChecksumsAreIgnored()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        TSimTestPort& port = bench.Port();
        port.Write(Hex("00 13 37 FF 42 FF FF 06 80 00 00 86"));
        QByteArray corrupted = TSimTestPort::LongRequest(TivernAddress, 1);
        corrupted[corrupted.size() - 1] = char(corrupted.back() ^ 0x01);
        port.Write(corrupted);
        port.Write(TSimTestPort::LongRequest(TivernAddress, 1));
        QCOMPARE(Spaced(port.ReadFrame()), TivernPrimary);

        const QList<TSimExchange> log = bench.Bus().Log();
        QCOMPARE(log.size(), 2);
        QVERIFY(!log[0].ChecksumValid);
        QVERIFY(!log[0].Addressed() && !log[0].Answered && !log[0].Executed);
        QVERIFY(log[1].ChecksumValid && log[1].Answered);
    }

    void RequestCutShortIsDroppedAfterAGap()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        TSimTestPort& port = bench.Port();
        port.Write(TSimTestPort::LongRequest(TivernAddress, 17, QByteArray(24, '\0')).left(16));
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 1)), TivernPrimary);
        QCOMPARE(bench.Bus().Log().size(), 1);
    }

    void DevicesAreAddedRemovedAndUnique()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, bench.Bus().AddDevice(TSimDeviceState::Calderos()));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, bench.Bus().AddDevice(At(TSimDeviceState::Tivern(7), 4)));
        bench.Bus().AddDevice(At(TSimDeviceState::Calderos(), 15));
        QCOMPARE(bench.Bus().Devices().size(), 2);
        QCOMPARE(bench.Bus().Device(15).DeviceType, quint8(0x81));
        QCOMPARE(Spaced(bench.Ask(CalderosAddress, 1)), CalderosPrimary);

        bench.Bus().RemoveDevice(0);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, bench.Bus().Device(0));
        bench.Port().Write(TSimTestPort::LongRequest(TivernAddress, 1));
        QCOMPARE(Spaced(bench.Ask(CalderosAddress, 1)), CalderosPrimary);
        QCOMPARE(bench.Bus().Log().first().Addressed(), true);
        QCOMPARE(bench.Bus().Log().at(1).Addressed(), false);
    }

    void ModifiedStateIsWhatTheDeviceAnswers()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        bench.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.Variables[0].Value = 2.5; });
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 1)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 00 2D 40 20 00 00 E3"));
        QCOMPARE(bench.Bus().Device(0).Variables[0].Value, 2.5);
    }

    void LinkPointsAtTheTerminalWhileTheBusLives()
    {
        QTemporaryDir folder;
        const QString link = folder.filePath(QStringLiteral("ttyHART"));
        {
            TSimBus bus(link);
            QCOMPARE(QFileInfo(link).symLinkTarget(), bus.SlavePath());
            QCOMPARE(bus.LinkPath(), link);
        }
        QVERIFY(!QFileInfo(link).isSymLink());
    }

    void StaleLinkIsReplacedButOtherFilesAreNot()
    {
        QTemporaryDir folder;
        const QString link = folder.filePath(QStringLiteral("ttyHART"));
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("gone")), link));
        {
            TSimBus bus(link);
            QCOMPARE(QFileInfo(link).symLinkTarget(), bus.SlavePath());
        }
        const QString file = folder.filePath(QStringLiteral("plain"));
        QFile plain(file);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, TSimBus bus(file));
        QVERIFY(QFileInfo(file).isFile());
    }

    void PortMayBeClosedAndOpenedAgain()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        bench.Port().Close();
        TSimTestPort reopened(bench.Bus().LinkPath());
        QVERIFY(reopened.IsOpen());
        QCOMPARE(Spaced(reopened.Exchange(TSimTestPort::LongRequest(TivernAddress, 1))), TivernPrimary);
    }

    void PacedAnswersArriveWholeAndInOrder()
    {
        TSimTestBench bench(TwoProbes());
        bench.Bus().SetWireTiming(true, 10);
        TSimTestPort& port = bench.Port();
        port.Write(TSimTestPort::LongRequest(TivernAddress, 1));
        port.Write(TSimTestPort::LongRequest(CalderosAddress, 1));
        QCOMPARE(Spaced(port.ReadFrame()), TivernPrimary);
        QCOMPARE(Spaced(port.ReadFrame()), CalderosPrimary);
    }

    void LogRecordsRequestsAndAnswers()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        const QByteArray request = TSimTestPort::LongRequest(TivernAddress, 33, Hex("00 02"));
        const QByteArray answer = bench.Port().Exchange(request);
        bench.Ask(TivernAddress, 1);
        bench.Ask(TivernAddress, 1);

        const QList<TSimExchange> log = bench.Bus().Log();
        QCOMPARE(log.size(), 3);
        QCOMPARE(Spaced(log[0].Request), Spaced(request));
        QCOMPARE(log[0].Command, 33);
        QCOMPARE(Spaced(log[0].Data), QByteArray("00 02"));
        QVERIFY(log[0].LongFrame && log[0].ChecksumValid && log[0].Executed && log[0].Answered);
        QCOMPARE(log[0].PollingAddress, 0);
        QCOMPARE(Spaced(log[0].Answer), Spaced(answer));
        QVERIFY(log[0].Faults.isEmpty());
        QCOMPARE(bench.Bus().RequestCount(1), 2);
        QCOMPARE(bench.Bus().RequestCount(33), 1);
        QCOMPARE(bench.Bus().RequestCount(18), 0);
        QVERIFY(bench.Bus().WaitForRequestCount(1, 2, 1000));
        QVERIFY(!bench.Bus().WaitForRequestCount(1, 3, 50));

        bench.Bus().ClearLog();
        QVERIFY(bench.Bus().Log().isEmpty());
        QCOMPARE(bench.Bus().RequestCount(1), 0);
    }

    void SummaryDescribesOneExchange()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        bench.Ask(TivernAddress, 1);
        QCOMPARE(bench.Bus().Log().first().Summary(),
                 QStringLiteral("rx FF FF FF FF FF 82 A3 80 0A 0B 0C 01 00 AD  cmd 1 dev 0  tx ") + TivernPrimary);
    }

    void ObserverSeesEveryExchange()
    {
        QTemporaryDir folder;
        TSimBus bus(folder.filePath(QStringLiteral("ttyHART")));
        bus.AddDevice(TSimDeviceState::Tivern());
        std::atomic<int> seen{0};
        bus.SetObserver([&seen](const TSimExchange&) { ++seen; });
        bus.Start();
        TSimTestPort port(bus.LinkPath());
        port.Exchange(TSimTestPort::LongRequest(TivernAddress, 1));
        port.Exchange(TSimTestPort::ShortRequest(0, 0));
        bus.Stop();
        QCOMPARE(seen.load(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSimBus)
#include "tst_SimBus.moc"

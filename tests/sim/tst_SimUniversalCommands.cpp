// Universal commands of the simulated probes, answers byte for byte.

#include "TSimTestBench.h"
#include "TSimTestPort.h"

#include <QtTest>

class TestSimUniversalCommands : public QObject
{
    Q_OBJECT

private slots:
    void IdentifierLayoutFollowsTheUniversalRevision_data()
    {
        QTest::addColumn<int>("revision");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("rev 5: 12 payload bytes")
            << 5 << QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 00 0E 00 00 FE E3 80 05 05 01 03 28 00 0A 0B 0C 1C");
        QTest::newRow("rev 6: preambles, variables, counter, extended status")
            << 6
            << QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 00 13 00 00 FE E3 80 05 06 01 03 28 00 0A 0B 0C "
                          "05 04 00 00 00 03");
        QTest::newRow("rev 7: expanded type E380, manufacturer, distributor, profile")
            << 7
            << QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 00 18 00 00 FE E3 80 05 07 01 03 28 00 0A 0B 0C "
                          "05 04 00 00 00 00 E3 00 E3 01 08");
    }

    void IdentifierLayoutFollowsTheUniversalRevision()
    {
        QFETCH(int, revision);
        QFETCH(QByteArray, answer);
        TSimTestBench bench({TSimDeviceState::Tivern(revision)});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 0)), answer);
    }

    void PrimaryVariableAndLoopCurrentFollowThePvAndRange()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 1)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 00 2D 3F A0 00 00 1C"));
        bench.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.Variables[0].Value = 0.75; });
        // 0.75 m in 0-3 m: 25 % and 8 mA.
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 2)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 02 0A 00 00 41 00 00 00 41 C8 00 00 68"));
    }

    void StatusAndLoopCurrentFollowTheProcess_data()
    {
        QTest::addColumn<double>("interfaceLayer");
        QTest::addColumn<double>("primary");
        QTest::addColumn<bool>("malfunction");
        QTest::addColumn<int>("alarmSelection");
        QTest::addColumn<bool>("loopCurrentMode");
        QTest::addColumn<QByteArray>("statusAndCurrent");
        QTest::newRow("in range") << 0.5 << 1.5 << false << 0 << true << Hex("00 41 40 00 00");
        QTest::newRow("non-PV out of limits") << 7.0 << 1.5 << false << 0 << true << Hex("02 41 40 00 00");
        QTest::newRow("PV out of limits, saturated") << 0.5 << 7.0 << false << 0 << true << Hex("05 41 A4 00 00");
        QTest::newRow("PV below range, saturated") << 0.5 << -0.5 << false << 0 << true << Hex("05 40 73 33 33");
        QTest::newRow("malfunction, high alarm") << 0.5 << 1.5 << true << 0 << true << Hex("80 41 AC 00 00");
        QTest::newRow("malfunction, low alarm") << 0.5 << 1.5 << true << 1 << true << Hex("80 40 66 66 66");
        QTest::newRow("multidrop") << 0.5 << 1.5 << false << 0 << false << Hex("08 40 80 00 00");
    }

    void StatusAndLoopCurrentFollowTheProcess()
    {
        QFETCH(double, interfaceLayer);
        QFETCH(double, primary);
        QFETCH(bool, malfunction);
        QFETCH(int, alarmSelection);
        QFETCH(bool, loopCurrentMode);
        QFETCH(QByteArray, statusAndCurrent);
        TSimDeviceState device = TSimDeviceState::Tivern();
        device.Variables[3].Value = interfaceLayer;
        device.Variables[0].Value = primary;
        device.Malfunction = malfunction;
        device.Configuration.AlarmSelection = quint8(alarmSelection);
        device.LoopCurrentMode = loopCurrentMode;
        TSimTestBench bench({device});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 2).mid(14, 5)), Spaced(statusAndCurrent));
    }

    void PvMappedToNothingReadsNotUsed()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        bench.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.Configuration.Mapping[0] = 250; });
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 1).mid(12)), QByteArray("07 00 00 FA 7F A0 00 00 8B"));
        QCOMPARE(bench.Ask(TivernAddress, 14).mid(12, 7), Hex("12 00 00 0A 0B 0C FA"));
        QCOMPARE(bench.Ask(TivernAddress, 15).mid(12, 6), Hex("14 00 00 00 00 FA"));
        QCOMPARE(bench.Ask(TivernAddress, 36).mid(12, 2), Hex("02 09"));
    }

    void PollingAddressAndLoopCurrentModeAreWrittenAndRead()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 6, Hex("05 00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 06 04 00 48 05 00 E7"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 7)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 07 04 00 48 05 00 E6"));
        QCOMPARE(bench.Bus().Device(5).LoopCurrentMode, false);

        // Polling now finds it at 5 only.
        TSimTestPort& port = bench.Port();
        port.Write(TSimTestPort::ShortRequest(0, 0));
        port.Write(TSimTestPort::ShortRequest(5, 0));
        QCOMPARE(Spaced(port.ReadFrame().mid(5, 2)), QByteArray("06 85"));
        QCOMPARE(bench.Bus().RequestCount(0), 1);
    }

    void PollingAddressOutsideTheRevisionsRangeIsRefused()
    {
        TSimTestBench bench({TSimDeviceState::Tivern(5)});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 6, Hex("10 00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 06 02 02 00 AE"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 6, Hex("01 02"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 06 02 0C 00 A0"));
        QCOMPARE(bench.Bus().Device(0).ConfigurationChangeCounter, quint16(0));

        bench.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.UniversalRevision = 7; });
        QCOMPARE(bench.Ask(TivernAddress, 6, Hex("3F 00"))[13], char(0x00));
        QCOMPARE(bench.Bus().Device(63).PollingAddress, 63);
    }

    void PollingAddressWithoutModeByteDrivesTheLoopOnlyAtZero()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        bench.Ask(TivernAddress, 6, Hex("03"));
        QCOMPARE(bench.Bus().Device(3).LoopCurrentMode, false);
        bench.Ask(TivernAddress, 6, Hex("00"));
        QCOMPARE(bench.Bus().Device(0).LoopCurrentMode, true);
    }

    void MessageIsWrittenAndReadInPackedAscii()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 12)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0C 1A 00 00 18 C3 C1 52 03 05 58 53 20 51 20 4E 4C D2 "
                            "54 50 54 A0 82 08 20 82 08 20 8A"));
        const QByteArray hello = Hex("20 53 0C 3E 08 20 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20");
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 17, hello)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 11 1A 00 40 20 53 0C 3E 08 20 82 08 20 82 08 20 82 08 "
                            "20 82 08 20 82 08 20 82 08 20 8A"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 12)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0C 1A 00 40 20 53 0C 3E 08 20 82 08 20 82 08 20 82 08 "
                            "20 82 08 20 82 08 20 82 08 20 97"));
        QCOMPARE(bench.Bus().Device(0).Configuration.Message, QByteArray("HELLO").leftJustified(32, ' '));
    }

    void TagDescriptorAndDateAreWrittenAndRead()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 13)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0D 17 00 00 50 95 85 48 E8 20 30 55 85 32 04 12 3C 21 "
                            "60 82 08 20 01 03 7C 1F"));
        // LT-101, TANK 7, 24.12.2010
        const QByteArray written = Hex("31 4B 71 C3 18 20 50 13 8B 83 78 20 82 08 20 82 08 20 18 0C 6E");
        const QByteArray echo = "FF FF FF FF FF 86 A3 80 0A 0B 0C 12 17 00 40 31 4B 71 C3 18 20 50 13 8B 83 78 20 82 "
                                "08 20 82 08 20 18 0C 6E 74";
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 18, written)), echo);
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 13).mid(15, 21)), Spaced(written));

        const TSimConfiguration stored = bench.Bus().Device(0).Configuration;
        QCOMPARE(stored.Tag, QByteArray("LT-101  "));
        QCOMPARE(stored.Descriptor, QByteArray("TANK 7          "));
        QCOMPARE(stored.Date, QDate(2010, 12, 24));
    }

    void InvalidDateIsRefusedAndNothingIsWritten()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QByteArray written = Hex("31 4B 71 C3 18 20 50 13 8B 83 78 20 82 08 20 82 08 20 1F 02 6E"); // 31 February
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 18, written)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 12 02 09 00 B1"));
        QCOMPARE(bench.Bus().Device(0).Configuration.Tag, QByteArray("TIVERN  "));
        QVERIFY(!bench.Bus().Device(0).ConfigurationChanged);
    }

    void LimitsAndOutputInformationDescribeThePv()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 14)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0E 12 00 00 0A 0B 0C 2D 40 C0 00 00 00 00 00 00 3D 4C "
                            "CC CD 64"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 15)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0F 14 00 00 00 00 2D 40 40 00 00 00 00 00 00 3F 80 00 "
                            "00 00 E3 00 C2"));
    }

    void FinalAssemblyNumberIsWrittenAndRead()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 16)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 10 05 00 00 00 03 E9 57"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 19, Hex("12 34 56"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 13 05 00 40 12 34 56 8E"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 16).mid(15, 3)), QByteArray("12 34 56"));
    }

    void LongTagIsWrittenAndReadAsPlainBytes()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 20)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 14 22 00 00 54 49 56 45 52 4E 20 6C 65 76 65 6C 20 70 "
                            "72 6F 62 65 00 00 00 00 00 00 00 00 00 00 00 00 00 00 90"));
        const QByteArray tag = QByteArray("Tank 7 north, \xB0" "C").leftJustified(32, '\0');
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 22, tag)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 16 22 00 40 54 61 6E 6B 20 37 20 6E 6F 72 74 68 2C 20 "
                            "B0 43 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 4B"));
        QCOMPARE(bench.Ask(TivernAddress, 20).mid(15, 32), tag);
    }

    void ConfigurationChangeIsFlaggedCountedAndReset()
    {
        TSimTestBench bench({TSimDeviceState::Tivern(6)});
        bench.Ask(TivernAddress, 19, Hex("00 00 01"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 0)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 00 13 00 40 FE E3 80 05 06 01 03 28 00 0A 0B 0C "
                            "05 04 00 01 00 42"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 38)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 26 04 00 00 00 01 8B"));
        QCOMPARE(bench.Ask(TivernAddress, 1)[14], char(0x00)); // status: configuration changed is clear
        const TSimDeviceState device = bench.Bus().Device(0);
        QVERIFY(!device.ConfigurationChanged);
        QCOMPARE(device.ConfigurationChangeCounter, quint16(1));
    }

    void ReadsAndRefusedWritesChangeNoConfiguration()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        for (int command : {0, 1, 2, 7, 12, 13, 14, 15, 16, 20, 48})
            QCOMPARE(bench.Ask(TivernAddress, command).mid(13, 2), Hex("00 00"));
        bench.Ask(TivernAddress, 19, Hex("01"));
        QCOMPARE(bench.Bus().Device(0).ConfigurationChangeCounter, quint16(0));
        QVERIFY(!bench.Bus().Device(0).ConfigurationChanged);
    }

    void RevisionSevenResetNeedsTheCounterTheMasterSaw()
    {
        TSimTestBench bench({TSimDeviceState::Tivern(7)});
        bench.Ask(TivernAddress, 19, Hex("00 00 01"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 38)), QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 26 02 05 40 C9"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 38, Hex("00 02"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 26 02 09 40 C5"));
        QVERIFY(bench.Bus().Device(0).ConfigurationChanged);
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 38, Hex("00 01")).mid(13, 4)), QByteArray("00 00 00 01"));
        QVERIFY(!bench.Bus().Device(0).ConfigurationChanged);
    }

    void AdditionalStatusIsAnnouncedAndRead()
    {
        TSimDeviceState calderos = At(TSimDeviceState::Calderos(6), 1);
        calderos.AdditionalStatus = 0x21;
        TSimTestBench bench({TSimDeviceState::Tivern(5), calderos});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 48).mid(12, 8)), QByteArray("08 00 00 00 00 00 00 00"));
        bench.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.AdditionalStatus = 0x21; });
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 1)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 10 2D 3F A0 00 00 0C"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 48)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 30 08 00 10 21 00 00 00 00 00 A1"));
        QCOMPARE(Spaced(bench.Ask(CalderosAddress, 48).mid(11, 13)),
                 QByteArray("30 0B 00 10 21 00 00 00 00 00 00 00 00"));
        // Bits 6 and 7 are no additional-status flags.
        bench.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.AdditionalStatus = 0xC0; });
        QCOMPARE(bench.Ask(TivernAddress, 1)[14], char(0x00)); // status
    }

    void ColdStartIsReportedInTheFirstAnswerOnly()
    {
        TSimDeviceState device = TSimDeviceState::Tivern();
        device.ColdStart = true;
        TSimTestBench bench({device});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 1)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 20 2D 3F A0 00 00 3C"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 1)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 00 2D 3F A0 00 00 1C"));
    }

    void UnknownCommandsAndShortRequestsAreRefused()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 3)), QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 03 02 40 00 E9"));
        for (int command : {4, 9, 11, 21, 34, 44, 59, 123, 203, 212, 255})
            QCOMPARE(bench.Ask(TivernAddress, command).mid(13, 2), Hex("40 00"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 17, QByteArray(23, '\0'))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 11 02 05 00 BE"));
    }
};

QTEST_GUILESS_MAIN(TestSimUniversalCommands)
#include "tst_SimUniversalCommands.moc"

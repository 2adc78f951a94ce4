// The maker's commands: protection and passcode, factory defaults, offsets,
// diagnostics, firmware and device-variable enable; which devices have them.

#include "TSimTestBench.h"

#include <QtTest>

Q_DECLARE_METATYPE(TSimDeviceState)

class TestSimMakerCommands : public QObject
{
    Q_OBJECT

private slots:
    void ProtectionIsSwitchedWithThePasscode()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 201)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C C9 03 00 00 00 62"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 200, Hex("01 00 00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C C8 03 00 40 01 22"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 201)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C C9 03 00 40 01 23"));
        QCOMPARE(bench.Ask(TivernAddress, 15).mid(30, 1), Hex("01")); // write protect code of command 15

        QCOMPARE(Spaced(bench.Ask(TivernAddress, 200, Hex("00 12 34"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C C8 02 1D 40 3F"));
        QVERIFY(bench.Bus().Device(0).WriteProtected);
        QCOMPARE(bench.Ask(TivernAddress, 200, Hex("00 00 00")).mid(13, 3), Hex("00 40 00"));
        QVERIFY(!bench.Bus().Device(0).WriteProtected);
    }

    void WrongPasscodeIsAnsweredWith29()
    {
        TSimDeviceState device = TSimDeviceState::Tivern();
        device.Passcode = 0x1234;
        TSimTestBench bench({device});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 200, Hex("01 00 00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C C8 02 1D 00 7F"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 204, Hex("00 00 43 21"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C CC 02 1D 00 7B"));
        QCOMPARE(bench.Bus().Device(0).Passcode, quint16(0x1234));
        QVERIFY(!bench.Bus().Device(0).WriteProtected);
        QCOMPARE(bench.Ask(TivernAddress, 200, Hex("01")).mid(12, 2), Hex("02 05"));
        QCOMPARE(bench.Ask(TivernAddress, 200, Hex("02 12 34")).mid(12, 2), Hex("02 02"));
    }

    void PasscodeIsChangedWithTheOldOneEvenWhileProtected()
    {
        TSimDeviceState device = TSimDeviceState::Tivern();
        device.WriteProtected = true;
        TSimTestBench bench({device});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 204, Hex("00 00 12 34"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C CC 02 00 40 26"));
        QCOMPARE(bench.Ask(TivernAddress, 200, Hex("00 00 00")).mid(13, 1), Hex("1D"));
        QCOMPARE(bench.Ask(TivernAddress, 200, Hex("00 12 34")).mid(13, 1), Hex("00"));
        QVERIFY(!bench.Bus().Device(0).WriteProtected);
    }

    void EveryWriteIsRefusedWhileProtected_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("answer"); // after FF FF FF FF FF 86 A3 80 0A 0B 0C
        const QByteArray spaces = Hex("82 08 20 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20");
        QTest::newRow("6") << 6 << Hex("00 01") << QByteArray("06 02 07 00 AB");
        QTest::newRow("17") << 17 << spaces << QByteArray("11 02 07 00 BC");
        QTest::newRow("18") << 18 << spaces.left(18) + Hex("01 01 7C") << QByteArray("12 02 07 00 BF");
        QTest::newRow("19") << 19 << Hex("00 00 01") << QByteArray("13 02 07 00 BE");
        QTest::newRow("22") << 22 << QByteArray(32, '\0') << QByteArray("16 02 07 00 BB");
        QTest::newRow("35") << 35 << Hex("2D 40 A0 00 00 3F 80 00 00") << QByteArray("23 02 07 00 8E");
        QTest::newRow("36") << 36 << QByteArray() << QByteArray("24 02 07 00 89");
        QTest::newRow("37") << 37 << QByteArray() << QByteArray("25 02 07 00 88");
        QTest::newRow("40") << 40 << Hex("41 40 00 00") << QByteArray("28 02 07 00 85");
        QTest::newRow("45") << 45 << Hex("40 80 00 00") << QByteArray("2D 02 07 00 80");
        QTest::newRow("46") << 46 << Hex("41 A0 00 00") << QByteArray("2E 02 07 00 83");
        QTest::newRow("51") << 51 << Hex("01 00 02 03") << QByteArray("33 02 07 00 9E");
        QTest::newRow("53") << 53 << Hex("00 31") << QByteArray("35 02 07 00 98");
        QTest::newRow("55") << 55 << Hex("00 40 00 00 00") << QByteArray("37 02 07 00 9A");
        QTest::newRow("122") << 122 << Hex("E3 80 0A 0B 0C") << QByteArray("7A 02 07 00 D7");
        QTest::newRow("202") << 202 << Hex("01") << QByteArray("CA 02 07 00 67");
        QTest::newRow("205") << 205 << Hex("00 2D 3F 00 00 00") << QByteArray("CD 02 07 00 60");
        QTest::newRow("209") << 209 << Hex("01 00") << QByteArray("D1 02 07 00 7C");
        QTest::newRow("211") << 211 << QByteArray() << QByteArray("D3 02 07 00 7E");
    }

    void EveryWriteIsRefusedWhileProtected()
    {
        QFETCH(int, command);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, answer);
        TSimDeviceState device = TSimDeviceState::Tivern();
        device.WriteProtected = true;
        device.Configuration.FinalAssemblyNumber = 77; // differs from the factory defaults
        TSimTestBench bench({device});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, command, data)), "FF FF FF FF FF 86 A3 80 0A 0B 0C " + answer);

        const TSimDeviceState after = bench.Bus().Device(0);
        QCOMPARE(after.ConfigurationChangeCounter, quint16(0));
        QVERIFY(!after.ConfigurationChanged && !after.FixedCurrentMode);
        QCOMPARE(after.PollingAddress, 0);
        QCOMPARE(after.Configuration.FinalAssemblyNumber, quint32(77));
        QCOMPARE(after.FactoryDefaults.FinalAssemblyNumber, quint32(1001));
        QCOMPARE(after.Configuration.Mapping[0], quint8(0));
        QCOMPARE(after.Configuration.Variables[1].Enabled, true);
    }

    void ReadsNeedNoWriteAccess()
    {
        TSimDeviceState device = TSimDeviceState::Tivern();
        device.WriteProtected = true;
        TSimTestBench bench({device});
        for (int command : {0, 1, 2, 7, 12, 13, 14, 15, 16, 20, 38, 48, 50, 201, 207, 208})
            QCOMPARE(bench.Ask(TivernAddress, command).mid(13, 1), Hex("00"));
        for (int command : {33, 54, 206, 210})
            QCOMPARE(bench.Ask(TivernAddress, command, Hex("00")).mid(13, 1), Hex("00"));
    }

    void AlarmSelectionIsWrittenAndShownInCommand15()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 202, Hex("01"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C CA 03 00 40 01 20"));
        QCOMPARE(bench.Ask(TivernAddress, 15).mid(15, 1), Hex("01"));
        QCOMPARE(bench.Ask(TivernAddress, 202, Hex("02")).mid(12, 2), Hex("02 02"));
        QCOMPARE(bench.Bus().Device(0).Configuration.AlarmSelection, quint8(1));
    }

    void FactoryDefaultsAreStoredAndRestored()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        bench.Ask(TivernAddress, 19, Hex("12 34 56"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 122, Hex("E3 80 0A 0B 0C"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 7A 02 00 40 90"));
        bench.Ask(TivernAddress, 19, Hex("00 00 01"));
        bench.Ask(TivernAddress, 53, Hex("00 31"));
        QCOMPARE(bench.Ask(TivernAddress, 211).mid(11, 4), Hex("D3 02 00 40"));
        QCOMPARE(bench.Ask(TivernAddress, 16).mid(15, 3), Hex("12 34 56"));
        QCOMPARE(bench.Ask(TivernAddress, 1).mid(15, 1), Hex("2D")); // meters again
        QCOMPARE(bench.Bus().Device(0).ConfigurationChangeCounter, quint16(4));
    }

    void FactoryDefaultsGoOnlyIntoTheNamedDevice()
    {
        TSimTestBench bench(TwoProbes());
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 122, Hex("E3 81 0A 0B 0C"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 7A 02 02 00 D2"));
        QCOMPARE(bench.Ask(TivernAddress, 122, Hex("E3 80 0A 0B 0D")).mid(13, 1), Hex("02"));
        QCOMPARE(bench.Ask(TivernAddress, 122, Hex("E3 80 0A 0B")).mid(13, 1), Hex("05"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 122, Hex("E3 80 0A 0B 0C"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 7A 02 00 00 D0"));
        QCOMPARE(Spaced(bench.Ask(CalderosAddress, 122, Hex("E3 81 0D 0E 0F"))),
                 QByteArray("FF FF FF FF FF 86 A3 81 0D 0E 0F 7A 02 00 00 D0"));
        QCOMPARE(bench.Bus().Device(0).ConfigurationChangeCounter, quint16(0));
    }

    void OffsetsShiftTheFloatVariables()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 206, Hex("01"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C CE 08 00 00 01 2D 00 00 00 00 42"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 205, Hex("00 2D 3F 00 00 00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C CD 08 00 40 00 2D 3F 00 00 00 3F"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 206, Hex("00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C CE 08 00 40 00 2D 3F 00 00 00 3C"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 33, Hex("00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 21 08 00 40 00 2D 3F E0 00 00 33"));
        // 500 mm is the same offset.
        bench.Ask(TivernAddress, 205, Hex("00 31 43 FA 00 00"));
        QCOMPARE(bench.Ask(TivernAddress, 206, Hex("00")).mid(15, 6), Hex("00 2D 3F 00 00 00"));
    }

    void OffsetsExistForDv0AndDv1Only()
    {
        TSimTestBench bench(TwoProbes());
        QCOMPARE(bench.Ask(TivernAddress, 205, Hex("02 20 3F 00 00 00")).mid(12, 2), Hex("02 02"));
        QCOMPARE(bench.Ask(TivernAddress, 206, Hex("03")).mid(12, 2), Hex("02 02"));
        QCOMPARE(bench.Ask(CalderosAddress, 206, Hex("01")).mid(12, 2), Hex("02 02"));
        QCOMPARE(bench.Ask(TivernAddress, 205, Hex("00 20 3F 00 00 00")).mid(12, 2), Hex("02 0C"));
        QCOMPARE(bench.Ask(TivernAddress, 205, Hex("00 2D 3F")).mid(12, 2), Hex("02 05"));
        QCOMPARE(bench.Bus().Device(0).Configuration.Variables[0].Offset, 0.0);
    }

    void DiagnosticsAndFirmwareVersion()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 207)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C CF 14 00 00 CC 80 00 FA 28 B4 45 FA 00 00 41 BC 00 00 "
                            "41 A8 00 00 F2"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 208)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C D0 05 00 00 03 01 00 7F"));
        bench.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.Diagnostics.DampingLength = 0x1234; });
        QCOMPARE(bench.Ask(TivernAddress, 207).mid(17, 2), Hex("12 34"));
    }

    void DeviceVariablesAreEnabledAndDisabled()
    {
        TSimTestBench bench(TwoProbes());
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 210, Hex("00 01 02 03"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C D2 0A 00 00 00 01 01 01 02 01 03 01 70"));
        QCOMPARE(Spaced(bench.Ask(CalderosAddress, 210, Hex("00 01 02 03"))),
                 QByteArray("FF FF FF FF FF 86 A3 81 0D 0E 0F D2 0A 00 00 00 01 01 FA 02 FA 03 FA 8B"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 209, Hex("01 00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C D1 04 00 40 01 00 3C"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 210, Hex("00 01 02 03"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C D2 0A 00 40 00 01 01 00 02 01 03 01 31"));
        // A disabled variable still has its unit but measures nothing.
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 33, Hex("01"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 21 08 00 40 01 2D 7F A0 00 00 32"));
        bench.Ask(TivernAddress, 209, Hex("01 01"));
        QCOMPARE(bench.Ask(TivernAddress, 33, Hex("01")).mid(17, 4), Hex("3F 40 00 00"));
    }

    void OnlySwitchableVariablesAreEnabledOrDisabled()
    {
        TSimTestBench bench(TwoProbes());
        QCOMPARE(bench.Ask(TivernAddress, 209, Hex("00 00")).mid(12, 2), Hex("02 02"));
        QCOMPARE(bench.Ask(TivernAddress, 209, Hex("02 00")).mid(12, 2), Hex("02 02"));
        QCOMPARE(bench.Ask(TivernAddress, 209, Hex("03 02")).mid(12, 2), Hex("02 02"));
        QCOMPARE(bench.Ask(CalderosAddress, 209, Hex("01 01")).mid(12, 2), Hex("02 02"));
        QCOMPARE(bench.Ask(TivernAddress, 209, Hex("03")).mid(12, 2), Hex("02 05"));
        QCOMPARE(bench.Ask(TivernAddress, 209, Hex("03 00")).mid(12, 2), Hex("04 00"));
    }

    void CommandsDependOnDeviceAndFirmware_data()
    {
        QTest::addColumn<TSimDeviceState>("device");
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QList<int>>("missing");
        QTest::addColumn<QList<int>>("present");
        const QList<int> maker{122, 200, 201, 202, 204, 205, 206, 207, 208, 209, 210, 211};
        QTest::newRow("TIVERN firmware 3") << TSimDeviceState::Tivern(5, 3) << TivernAddress << QList<int>{} << maker;
        QTest::newRow("TIVERN firmware 2") << TSimDeviceState::Tivern(5, 2) << TivernAddress
                                           << QList<int>{207, 208, 209, 210, 211}
                                           << QList<int>{122, 200, 201, 202, 204, 205, 206};
        QTest::newRow("CALDEROS firmware 2") << TSimDeviceState::Calderos(5, 2) << CalderosAddress << QList<int>{207}
                                             << QList<int>{122, 201, 206, 208, 210, 211};
        QTest::newRow("other manufacturer") << TSimDeviceState::Foreign() << ForeignAddress << maker
                                            << QList<int>{0, 1, 33, 50, 54};
    }

    // Requests carry enough bytes for every command, so that 64 can only mean "not implemented".
    void CommandsDependOnDeviceAndFirmware()
    {
        QFETCH(TSimDeviceState, device);
        QFETCH(QByteArray, address);
        QFETCH(QList<int>, missing);
        QFETCH(QList<int>, present);
        TSimTestBench bench({device});
        const QByteArray data = Hex("00 00 00 00 00 00");
        for (int command : missing)
            QCOMPARE(bench.Ask(address, command, data).mid(12, 2), Hex("02 40"));
        for (int command : present)
            QVERIFY(bench.Ask(address, command, data).mid(13, 1) != Hex("40"));
    }
};

QTEST_GUILESS_MAIN(TestSimMakerCommands)
#include "tst_SimMakerCommands.moc"

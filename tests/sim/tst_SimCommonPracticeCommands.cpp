// Common-practice commands of the simulated probes, answers byte for byte.

#include "TSimTestBench.h"

#include <QtTest>

namespace {

void SetPrimary(TSimTestBench& bench, double value)
{
    bench.Bus().ModifyDevice(0, [value](TSimDeviceState& device) { device.Variables[0].Value = value; });
}

} // namespace

class TestSimCommonPracticeCommands : public QObject
{
    Q_OBJECT

private slots:
    void DeviceVariablesOfBothProbes()
    {
        TSimTestBench bench(TwoProbes());
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 33, Hex("00 01 02 03"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 21 1A 00 00 00 2D 3F A0 00 00 01 2D 3F 40 00 00 02 20 "
                            "41 AC 00 00 03 2D 3F 00 00 00 AC"));
        QCOMPARE(Spaced(bench.Ask(CalderosAddress, 33, Hex("00 01 02 03"))),
                 QByteArray("FF FF FF FF FF 86 A3 81 0D 0E 0F 21 1A 00 00 00 2D 40 00 00 00 01 FA 7F A0 00 00 02 FA "
                            "7F A0 00 00 03 FA 7F A0 00 00 DB"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 33, Hex("02"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 21 08 00 00 02 20 41 AC 00 00 4E"));
        QCOMPARE(bench.Ask(TivernAddress, 33, Hex("00 04")).mid(12, 3), Hex("02 02 00"));
        QCOMPARE(bench.Ask(TivernAddress, 33).mid(12, 3), Hex("02 05 00"));
    }

    void UnitsChangeConvertsValuesLimitsAndRange()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 53, Hex("00 31"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 35 04 00 40 00 31 E8"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 53, Hex("02 21"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 35 04 00 40 02 21 FA"));
        // 1.25 m = 1250 mm, 21.5 °C = 70.7 °F
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 33, Hex("00 02"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 21 0E 00 40 00 31 44 9C 40 00 02 21 42 8D 66 66 82"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 14)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0E 12 00 40 0A 0B 0C 31 45 BB 80 00 00 00 00 00 42 48 "
                            "00 00 BC"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 15)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0F 14 00 40 00 00 31 45 3B 80 00 00 00 00 00 3F 80 00 "
                            "00 00 E3 00 60"));
        QCOMPARE(bench.Bus().Device(0).ConfigurationChangeCounter, quint16(2));
    }

    void UnitsOfTheWrongQuantityOrVariableAreRefused()
    {
        TSimTestBench bench(TwoProbes());
        const QByteArray invalidVariable = "FF FF FF FF FF 86 A3 80 0A 0B 0C 35 02 0B 00 94";
        const QByteArray invalidUnits = "FF FF FF FF FF 86 A3 80 0A 0B 0C 35 02 0C 00 93";
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 53, Hex("02 2D"))), invalidUnits);
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 53, Hex("00 20"))), invalidUnits);
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 53, Hex("00 2E"))), invalidUnits);
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 53, Hex("04 2D"))), invalidVariable);
        QCOMPARE(bench.Ask(CalderosAddress, 53, Hex("01 2D")).mid(13, 1), Hex("0B"));
        QCOMPARE(bench.Ask(TivernAddress, 53, Hex("00")).mid(13, 1), Hex("05"));
        QCOMPARE(bench.Bus().Device(0).Configuration.Variables[0].Unit, quint8(45));
    }

    void VariableInformationFollowsTheUniversalRevision()
    {
        TSimTestBench bench({TSimDeviceState::Tivern(5)});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 54, Hex("00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 36 19 00 00 00 0A 0B 0C 2D 40 C0 00 00 00 00 00 00 3F "
                            "80 00 00 3D 4C CC CD 45 FA 57"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 54, Hex("02"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 36 19 00 00 02 0A 0B 0C 20 42 FA 00 00 C2 20 00 00 3F "
                            "80 00 00 3F 80 00 00 40 FA 48"));
        QCOMPARE(bench.Ask(TivernAddress, 54, Hex("04")).mid(12, 3), Hex("02 02 00"));

        bench.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.UniversalRevision = 7; });
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 54, Hex("00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 36 1D 00 00 00 0A 0B 0C 2D 40 C0 00 00 00 00 00 00 3F "
                            "80 00 00 3D 4C CC CD 45 FA 00 00 7D 00 2E"));
    }

    void DampingIsWrittenPerVariable()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 55, Hex("01 40 20 00 00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 37 07 00 40 01 40 20 00 00 B9"));
        QCOMPARE(bench.Ask(TivernAddress, 54, Hex("01")).mid(28, 4), Hex("40 20 00 00"));
        QCOMPARE(bench.Ask(TivernAddress, 54, Hex("00")).mid(28, 4), Hex("3F 80 00 00"));
        QCOMPARE(bench.Ask(TivernAddress, 55, Hex("01 BF 80 00 00")).mid(13, 1), Hex("04")); // -1 s
        QCOMPARE(bench.Ask(TivernAddress, 55, Hex("01 42 74 00 00")).mid(13, 1), Hex("03")); // 61 s
        QCOMPARE(bench.Ask(TivernAddress, 55, Hex("04 3F 80 00 00")).mid(13, 1), Hex("02"));
        QCOMPARE(bench.Ask(TivernAddress, 55, Hex("01 3F 80 00")).mid(13, 1), Hex("05"));
        QCOMPARE(bench.Bus().Device(0).Configuration.Variables[1].Damping, 2.5f);
        QCOMPARE(bench.Bus().Device(0).ConfigurationChangeCounter, quint16(1));
    }

    void RangeValuesAreWrittenInAnyLengthUnit()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 35, Hex("2D 40 A0 00 00 3F 80 00 00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 23 0B 00 40 2D 40 A0 00 00 3F 80 00 00 B2"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 15)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0F 14 00 40 00 00 2D 40 A0 00 00 3F 80 00 00 3F 80 00 "
                            "00 00 E3 00 DD"));
        // 10 ft to 0 ft, read back in meters: 3.048 m.
        bench.Ask(TivernAddress, 35, Hex("2C 41 20 00 00 00 00 00 00"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 15)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0F 14 00 40 00 00 2D 40 43 12 6F 00 00 00 00 3F 80 00 "
                            "00 00 E3 00 FC"));
        // The upper transducer limit as a master reads it in feet is accepted.
        QCOMPARE(bench.Ask(TivernAddress, 35, Hex("2C 41 9D 7A F6 00 00 00 00")).mid(13, 1), Hex("00"));
    }

    void RangeValuesOutsideTheLimitsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer");
        const QByteArray refused = "FF FF FF FF FF 86 A3 80 0A 0B 0C 23 02 ";
        QTest::newRow("9: lower above upper limit") << Hex("2D 40 E0 00 00 40 E0 00 00") << refused + "09 00 80";
        QTest::newRow("10: lower below lower limit") << Hex("2D 40 40 00 00 BF 80 00 00") << refused + "0A 00 83";
        QTest::newRow("11: upper above upper limit") << Hex("2D 40 E0 00 00 00 00 00 00") << refused + "0B 00 82";
        QTest::newRow("12: upper below lower limit") << Hex("2D BF 80 00 00 00 00 00 00") << refused + "0C 00 85";
        QTest::newRow("29: no span") << Hex("2D 3F 80 00 00 3F 80 00 00") << refused + "1D 00 94";
        QTest::newRow("2: units of a temperature") << Hex("20 40 40 00 00 00 00 00 00") << refused + "02 00 8B";
    }

    void RangeValuesOutsideTheLimitsAreRefused()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, answer);
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 35, request)), answer);
        QCOMPARE(bench.Bus().Device(0).Configuration.UpperRangeValue, 3.0);
        QVERIFY(!bench.Bus().Device(0).ConfigurationChanged);
    }

    void NarrowRangeIsWrittenWithAWarning()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        // 1.0-1.02 m: the PV of 1.25 m now drives the loop into saturation (0x04).
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 35, Hex("2D 3F 82 8F 5C 3F 80 00 00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 23 0B 0E 44 2D 3F 82 8F 5C 3F 80 00 00 36"));
        QCOMPARE(float(bench.Bus().Device(0).Configuration.UpperRangeValue), 1.02f);
    }

    void UpperRangeValueFromTheFloater()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 36)), QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 24 02 00 40 CE"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 15)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0F 14 00 40 00 00 2D 3F A0 00 00 00 00 00 00 3F 80 00 "
                            "00 00 E3 00 1D"));
    }

    void FloaterOutsideTheLimitsOrAtTheOtherEndIsRefused()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        SetPrimary(bench, 7.0);
        QCOMPARE(bench.Ask(TivernAddress, 36).mid(12, 2), Hex("02 09"));
        QCOMPARE(bench.Ask(TivernAddress, 37).mid(12, 2), Hex("02 09"));
        SetPrimary(bench, -1.0);
        QCOMPARE(bench.Ask(TivernAddress, 36).mid(12, 2), Hex("02 0A"));
        SetPrimary(bench, 0.0);
        QCOMPARE(bench.Ask(TivernAddress, 36).mid(12, 2), Hex("02 1D"));
        bench.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.Configuration.LowerRangeValue = 1.23; });
        SetPrimary(bench, 1.25);
        QCOMPARE(bench.Ask(TivernAddress, 36).mid(12, 2), Hex("02 0E")); // written, span too small
        QCOMPARE(bench.Bus().Device(0).Configuration.UpperRangeValue, 1.25);
    }

    void LowerRangeValueFromTheFloaterKeepsTheSpan()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 37)), QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 25 02 00 40 CF"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 15)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0F 14 00 40 00 00 2D 40 88 00 00 3F A0 00 00 3F 80 00 "
                            "00 00 E3 00 D5"));
        SetPrimary(bench, 4.0);
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 37)), QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 25 02 0E 40 C1"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 15)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0F 14 00 40 00 00 2D 40 C0 00 00 40 80 00 00 3F 80 00 "
                            "00 00 E3 00 C2"));
    }

    void FixedCurrentModeIsEnteredAndLeft()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 40, Hex("41 40 00 00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 28 06 00 08 41 40 00 00 8F"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 2)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 02 0A 00 08 41 40 00 00 42 48 00 00 A3"));
        QCOMPARE(bench.Ask(TivernAddress, 48).mid(13, 2), Hex("00 08")); // "Loop Current Fixed"
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 40, Hex("00 00 00 00"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 28 06 00 00 00 00 00 00 86"));
        QVERIFY(!bench.Bus().Device(0).FixedCurrentMode);
        QCOMPARE(bench.Bus().Device(0).ConfigurationChangeCounter, quint16(0));
    }

    void FixedCurrentOutsideTheOutputRangeOrInMultidropIsRefused()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(bench.Ask(TivernAddress, 40, Hex("41 C8 00 00")).mid(12, 2), Hex("02 03")); // 25 mA
        QCOMPARE(bench.Ask(TivernAddress, 40, Hex("3F 80 00 00")).mid(12, 2), Hex("02 04")); // 1 mA
        QCOMPARE(bench.Ask(TivernAddress, 40, Hex("40 66 66 66")).mid(12, 2), Hex("06 00"));  // 3.6 mA
        QCOMPARE(bench.Ask(TivernAddress, 40, Hex("41 AC 00 00")).mid(12, 2), Hex("06 00"));  // 21.5 mA
        bench.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.LoopCurrentMode = false; });
        QCOMPARE(bench.Ask(TivernAddress, 40, Hex("41 40 00 00")).mid(12, 2), Hex("02 0B"));
    }

    void LoopCurrentIsTrimmedAtBothEnds()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        QCOMPARE(bench.Ask(TivernAddress, 45, Hex("40 83 33 33")).mid(12, 2), Hex("02 09")); // not fixed
        bench.Ask(TivernAddress, 40, Hex("40 80 00 00"));                                  // 4 mA
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 45, Hex("40 83 33 33"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 2D 06 00 48 40 83 33 33 08"));
        QCOMPARE(bench.Ask(TivernAddress, 46, Hex("41 9F 33 33")).mid(12, 2), Hex("02 09")); // fixed at 4, not 20
        bench.Ask(TivernAddress, 40, Hex("41 A0 00 00"));                                  // 20 mA
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 46, Hex("41 9F 33 33"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 2E 06 00 48 41 9F 33 33 16"));
        const TSimConfiguration trimmed = bench.Bus().Device(0).Configuration;
        QCOMPARE(trimmed.DacZeroTrim, 4.0f - 4.1f);
        QCOMPARE(trimmed.DacGainTrim, 20.0f - 19.9f);
        QCOMPARE(bench.Bus().Device(0).ConfigurationChangeCounter, quint16(2));
    }

    void TrimReadingFarFromTheTrimPointIsRefused()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        bench.Ask(TivernAddress, 40, Hex("40 80 00 00"));
        QCOMPARE(bench.Ask(TivernAddress, 45, Hex("40 B0 00 00")).mid(12, 2), Hex("02 03")); // 5.5 mA
        QCOMPARE(bench.Ask(TivernAddress, 45, Hex("40 20 00 00")).mid(12, 2), Hex("02 04")); // 2.5 mA
        bench.Bus().ModifyDevice(0, [](TSimDeviceState& device) { device.LoopCurrentMode = false; });
        QCOMPARE(bench.Ask(TivernAddress, 45, Hex("40 80 00 00")).mid(12, 2), Hex("02 0B"));
        QCOMPARE(bench.Bus().Device(0).Configuration.DacZeroTrim, 0.0f);
    }

    void DynamicVariablesAreMapped()
    {
        TSimTestBench bench(TwoProbes());
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 50)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 32 06 00 00 00 01 02 03 9C"));
        QCOMPARE(Spaced(bench.Ask(CalderosAddress, 50)),
                 QByteArray("FF FF FF FF FF 86 A3 81 0D 0E 0F 32 06 00 00 00 FA FA FA 66"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 51, Hex("03 00 FA FA"))),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 33 06 00 40 03 00 FA FA DE"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 1)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 01 07 00 40 2D 3F 00 00 00 FC"));
    }

    void MappingToAnotherQuantityTakesItsLimitsAsRange()
    {
        TSimTestBench bench({TSimDeviceState::Tivern()});
        bench.Ask(TivernAddress, 51, Hex("02"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 15)),
                 QByteArray("FF FF FF FF FF 86 A3 80 0A 0B 0C 0F 14 00 40 00 00 20 42 FA 00 00 C2 20 00 00 3F 80 00 "
                            "00 00 E3 00 D5"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 50).mid(15, 4)), QByteArray("02 01 02 03"));
    }

    void MappingToNoVariableIsRefused()
    {
        TSimTestBench bench(TwoProbes());
        QCOMPARE(bench.Ask(TivernAddress, 51, Hex("FA 01 02 03")).mid(12, 2), Hex("02 02"));
        QCOMPARE(bench.Ask(TivernAddress, 51, Hex("00 04 02 03")).mid(12, 2), Hex("02 02"));
        QCOMPARE(bench.Ask(CalderosAddress, 51, Hex("00 01 FA FA")).mid(12, 2), Hex("02 02"));
        QCOMPARE(bench.Ask(TivernAddress, 51).mid(12, 2), Hex("02 05"));
        QCOMPARE(bench.Bus().Device(0).Configuration.Mapping, (std::array<quint8, 4>{0, 1, 2, 3}));
    }
};

QTEST_GUILESS_MAIN(TestSimCommonPracticeCommands)
#include "tst_SimCommonPracticeCommands.moc"

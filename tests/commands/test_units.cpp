// Units codes and the device-variable names of the probe families.
#include "commands/UUnits.h"
#include "util/ErrorMessage.h"

#include <QtTest>

namespace {

const QString DegreeCelsius = QString::fromLatin1("\xB0" "C");
const QString DegreeFahrenheit = QString::fromLatin1("\xB0" "F");

} // namespace

class TestUnits : public QObject
{
    Q_OBJECT

private slots:
    void unitTable_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("32") << 32 << DegreeCelsius;
        QTest::newRow("33") << 33 << DegreeFahrenheit;
        QTest::newRow("44") << 44 << "feet";
        QTest::newRow("45") << 45 << "meters";
        QTest::newRow("47") << 47 << "inches";
        QTest::newRow("48") << 48 << "centimeters";
        QTest::newRow("49") << 49 << "millimeters";
        QTest::newRow("151") << 151 << "feet in sixteenths";
    }

    void unitTable()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        QCOMPARE(UnitName(code), name);
        QCOMPARE(UnitCode(name), code);
    }

    void degreeSignIsOneLatin1Byte()
    {
        QCOMPARE(UnitName(32).toLatin1(), QByteArray("\xB0" "C"));
    }

    void unknownUnits()
    {
        QCOMPARE(UnitName(46), QString("unknown"));
        QCOMPARE(UnitName(250), QString("unknown"));
        QCOMPARE(ErrorMessage<Exception>([] { UnitCode("Meters"); }), QString("Unknown unit \"Meters\""));
        QCOMPARE(ErrorMessage<Exception>([] { UnitCode("unknown"); }), QString("Unknown unit \"unknown\""));
        QCOMPARE(ErrorMessage<Exception>([] { UnitCode("meters "); }), QString("Unknown unit \"meters \""));
    }

    void deviceVariableNames_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("shortName");
        QTest::addColumn<QString>("longName");
        QTest::newRow("TIVERN 0") << 1 << 0 << "Float 1" << " Float 1 - Device Variable 0 ";
        QTest::newRow("TIVERN 1") << 1 << 1 << "Float 2" << " Float 2 - Device Variable 1 ";
        QTest::newRow("TIVERN 2") << 1 << 2 << "Temperature" << " Temperature - Device Variable 2 ";
        QTest::newRow("TIVERN 3") << 1 << 3 << "Interface Layer" << " Interface Layer - Device Variable 3 ";
        QTest::newRow("TIVERN 250") << 1 << 250 << "Not Used" << "Not Used";
        QTest::newRow("TIVERN 7") << 1 << 7 << "Unknown Device Variable number: 7" << "Unknown Device Variable number: 7";
        QTest::newRow("CALDEROS 0") << 2 << 0 << "Level" << " Level - Device Variable 0 ";
        QTest::newRow("CALDEROS 1") << 2 << 1 << "Not Used" << "Not Used";
        QTest::newRow("CALDEROS 2") << 2 << 2 << "Not Used" << "Not Used";
        QTest::newRow("CALDEROS 3") << 2 << 3 << "Not Used" << "Not Used";
        QTest::newRow("CALDEROS 250") << 2 << 250 << "Not Used" << "Not Used";
        QTest::newRow("CALDEROS 7") << 2 << 7 << "Unknown Device Variable number: 7" << "Unknown Device Variable number: 7";
        QTest::newRow("other family") << 0 << 0 << "" << "";
        QTest::newRow("other family 250") << 0 << 250 << "" << "";
    }

    void deviceVariableNames()
    {
        QFETCH(int, family);
        QFETCH(int, code);
        QFETCH(QString, shortName);
        QFETCH(QString, longName);
        QCOMPARE(DeviceVariableName(family, code, true), shortName);
        QCOMPARE(DeviceVariableName(family, code, false), longName);
    }

    void namedMappingTexts_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("TIVERN 0") << 1 << 0 << "mapped to Float 1 - Device Variable 0 ";
        QTest::newRow("TIVERN 1") << 1 << 1 << "mapped to Float 2 - Device Variable 1 ";
        QTest::newRow("TIVERN 2") << 1 << 2 << "mapped to Temperature - Device Variable 2 ";
        QTest::newRow("TIVERN 3") << 1 << 3 << "mapped to Interface Layer - Device Variable 3 ";
        QTest::newRow("TIVERN 250") << 1 << 250 << "Not Used";
        QTest::newRow("TIVERN 4") << 1 << 4 << "Unknown Device Variable number: 4";
        QTest::newRow("CALDEROS 0") << 2 << 0 << "mapped to Level - Device Variable 0";
        QTest::newRow("CALDEROS 1") << 2 << 1 << "Unknown Device Variable number: 1";
        QTest::newRow("CALDEROS 3") << 2 << 3 << "Unknown Device Variable number: 3";
        QTest::newRow("CALDEROS 250") << 2 << 250 << "Not Used";
        QTest::newRow("CALDEROS 9") << 2 << 9 << "Unknown Device Variable number: 9";
        QTest::newRow("other family") << 0 << 0 << "";
        QTest::newRow("other family 250") << 0 << 250 << "";
    }

    void namedMappingTexts()
    {
        QFETCH(int, family);
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(MappingText(family, code, true), text);
    }

    // The short mapping texts are what configuration files store; they do
    // not depend on the family and turn back into the same codes.
    void shortMappingTextsRoundTrip()
    {
        for (const int family : { 0, 1, 2 }) {
            for (const int code : { 0, 1, 2, 3, 250 })
                QCOMPARE(DeviceVariableCode(MappingText(family, code, false)), code);
            QCOMPARE(MappingText(family, 3, false), QString("DV3"));
            QCOMPARE(MappingText(family, 250, false), QString("Not Used"));
            QCOMPARE(MappingText(family, 4, false), QString("Unknown Device Variable number: 4"));
        }
    }

    void deviceVariableCodesIgnoreCase()
    {
        QCOMPARE(DeviceVariableCode("DV2"), 2);
        QCOMPARE(DeviceVariableCode("dv0"), 0);
        QCOMPARE(DeviceVariableCode("Dv3"), 3);
        QCOMPARE(DeviceVariableCode("Not Used"), 250);
        QCOMPARE(DeviceVariableCode("NOT USED"), 250);
    }

    void unknownDeviceVariableTexts()
    {
        QCOMPARE(ErrorMessage<Exception>([] { DeviceVariableCode("DV4"); }), QString("Unknown Device Variable \"DV4\""));
        QCOMPARE(ErrorMessage<Exception>([] { DeviceVariableCode(" dv1"); }), QString("Unknown Device Variable \" dv1\""));
        QCOMPARE(ErrorMessage<Exception>([] { DeviceVariableCode(""); }), QString("Unknown Device Variable \"\""));
    }
};

QTEST_GUILESS_MAIN(TestUnits)
#include "test_units.moc"

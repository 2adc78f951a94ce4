// The configuration file on its own: how lines are split into key and value,
// how values are written, and what each key line of a load does to the
// device, with the message of every refusal.
#include "RecordingConfigDevice.h"

#include "config/TConfigLoader.h"
#include "config/TConfigWriter.h"
#include "config/UConfigText.h"
#include "config/UConfigValues.h"
#include "util/UPresentation.h"

#include <QBuffer>
#include <QLocale>
#include <QTemporaryFile>
#include <QtTest>

class TestConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        QLocale::setDefault(QLocale::c());
    }

    void entries_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("key line") << "Tag;LEVEL" << ";" << "tag" << "LEVEL";
        QTest::newRow("blanks and letter case") << "  POLLING address \t;  3 " << ";" << "polling address" << "3";
        QTest::newRow("separator in the value") << "Message;A;B" << ";" << "message" << "A;B";
        QTest::newRow("longer separator") << "Message::A::B" << "::" << "message" << "A::B";
        QTest::newRow("no separator") << "Identification" << ";" << "identification" << "";
        QTest::newRow("empty value") << "Tag;" << ";" << "tag" << "";
        QTest::newRow("only A-Z lowered") << QString::fromUtf8("\u00C4ND;x") << ";" << QString::fromUtf8("\u00C4nd") << "x";
    }

    void entries()
    {
        QFETCH(QString, line);
        QFETCH(QString, separator);
        const TConfigEntry entry = ConfigEntry(line, separator);
        QTEST(entry.Key, "key");
        QTEST(entry.Value, "value");
    }

    // Windows-1252 and CR LF on every platform; a lone LF ends a line too.
    void bytesOfTheFile()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        TConfigWriter out(file, QStringLiteral(";"));
        out.Line(QStringLiteral("Device Variables"));
        out.KeyValue(QStringLiteral("DV2 Unit"), QString::fromUtf8("\u00B0C"));
        out.KeyBool(QStringLiteral("Protection Mode"), true);
        out.Begin(QStringLiteral("Test:  "));
        out.Line(QStringLiteral("fertig"));
        file.seek(0);
        QCOMPARE(file.readAll(), QByteArray("Device Variables\r\nDV2 Unit;\xB0" "C\r\nProtection Mode;true\r\nTest:  fertig\r\n"));

        QCOMPARE(ConfigFileLines("a\r\nb\nc\r\n\r\n\xB0"),
                 (QStringList { "a", "b", "c", "", QString::fromUtf8("\u00B0") }));
    }

    void valuesUnderADecimalComma()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(NumberWithUnitText(1500.0f, QStringLiteral("millimeters")), QString("1500,000 millimeters"));
        QCOMPARE(DampingText(2.5f), QString("2,500 seconds"));
        const TNumberWithUnit offset = NumberWithUnitValue(QStringLiteral("1,5 feet in sixteenths"));
        QCOMPARE(offset.Number, 1.5f);
        QCOMPARE(offset.Unit, QString("feet in sixteenths"));
    }

    // One or a few file lines each: the device operations they cause, in
    // order, and the response log lines of what was refused.
    void load_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("log");
        using L = QStringList;
        const L none;

        QTest::newRow("blanks and any letter case") << QByteArray("  POLLING address  ;  3  \r\n")
                                                    << L { "ChangePollingAddress 3" } << none;
        QTest::newRow("address 16 refused, next line applied")
            << QByteArray("Polling Address;16\r\nMessage;NEXT\r\n") << L { "WriteMessage NEXT" }
            << L { "Polling Address greater than 15" };
        QTest::newRow("address below 0") << QByteArray("Polling Address;-1") << none << L { "Polling Address less than 0" };
        QTest::newRow("address no number") << QByteArray("Polling Address;x") << none << L { "'x' is not a valid integer value" };
        QTest::newRow("loop current mode") << QByteArray("Loop Current Mode;TRUE\r\nLoop Current Mode;yes")
                                           << L { "ChangeLoopCurrentMode true" } << L { "Loop Current Mode invalid" };
        QTest::newRow("tag, descriptor, date, lone LF")
            << QByteArray("Tag;T1\nDescriptor;EAST TANK\nDate;14.03.2025\nDate;31.02.2025\n")
            << L { "WriteTag T1", "WriteDescriptor EAST TANK", "WriteDate 2025-03-14" } << L { "Date invalid " };
        QTest::newRow("message with the separator") << QByteArray("Message;A;B") << L { "WriteMessage A;B" } << none;
        QTest::newRow("final assembly number") << QByteArray("Final Assem. No.;4711")
                                               << L { "WriteFinalAssemblyNumber 4711" } << none;
        QTest::newRow("upper range with unit") << QByteArray("PV Upper Range;4.500 centimeters")
                                               << L { "ReadPVLimits", "ReadPVRange", "WritePVRange centimeters 4.500 0.500" } << none;
        QTest::newRow("lower range keeps the unit") << QByteArray("PV Lower Range;0.25")
                                                    << L { "ReadPVLimits", "ReadPVRange", "WritePVRange meters 5.000 0.250" } << none;
        QTest::newRow("upper range at the limit") << QByteArray("PV Upper Range;6.000 meters")
                                                  << L { "ReadPVLimits", "ReadPVRange", "WritePVRange meters 6.000 0.500" } << none;
        QTest::newRow("upper range above the limit") << QByteArray("PV Upper Range;6.001 meters") << L { "ReadPVLimits" }
                                                     << L { "PV Upper Range is greater than maximum (6.000)" };
        QTest::newRow("lower range below the limit") << QByteArray("PV Lower Range;-0.1") << L { "ReadPVLimits" }
                                                     << L { "PV Lower Range is less than minimum (0.000)" };
        QTest::newRow("range no number") << QByteArray("PV Upper Range;high") << none
                                         << L { "'high' is not a valid floating point value" };
        QTest::newRow("alarm selections")
            << QByteArray("PV Alarm Selection;LOW (3.6 mA)\r\nPV Alarm Selection;high (21,5 mA)\r\nPV Alarm Selection;unknown")
            << L { "WriteAlarmSelection 1", "WriteAlarmSelection 0" } << L { "Alarm Selection invalid" };
        QTest::newRow("enable flags") << QByteArray("DV1 enabled;TRUE\r\nDV3 enabled;maybe")
                                      << L { "WriteDeviceVariableEnable 1 true" } << L { "DV3 enabled value invalid" };
        QTest::newRow("variable 4") << QByteArray("DV4 Unit;meters") << none << L { "dv4 unit invalid: Key not 0, 1, 2 or 3" };
        QTest::newRow("variable no digit") << QByteArray("DVx Unit;meters") << none
                                           << L { "dvx unit invalid: 'x' is not a valid integer value" };
        QTest::newRow("unit in Windows-1252") << QByteArray("DV2 Unit;\xB0" "C")
                                              << L { QString::fromUtf8("WriteDeviceVariableUnits 2 \u00B0C") } << none;
        QTest::newRow("offset with a unit of blanks") << QByteArray("DV0 Offset;1.500 Feet in Sixteenths")
                                                      << L { "WriteOffset 0 feet in sixteenths 1.500" } << none;
        QTest::newRow("offset keeps the unit") << QByteArray("DV1 Offset;-2.5")
                                               << L { "ReadOffsetUnit 1", "WriteOffset 1 meters -2.500" } << none;
        QTest::newRow("no offset for DV2") << QByteArray("DV2 Offset;1.0 meters\r\nDV3 Damping;2") << none << none;
        QTest::newRow("damping") << QByteArray("DV0 Damping;2.500 seconds\r\nDV1 Damping;fast")
                                 << L { "WriteDampingValue 0 2.500" }
                                 << L { "dv1 damping invalid: 'fast' is not a valid floating point value" };
        QTest::newRow("PV Not Used") << QByteArray("PV;Not Used") << none << L { "PV could not be \"Not Used\"" };
        QTest::newRow("PV not used, lower case")
            << QByteArray("PV;not used") << L { "ReadVariableAssignments", "WriteVariableAssignments 250 1 2 3" } << none;
        QTest::newRow("QV replaced alone") << QByteArray("QV;dv0")
                                           << L { "ReadVariableAssignments", "WriteVariableAssignments 0 1 2 0" } << none;
        QTest::newRow("unknown variable") << QByteArray("SV;DV7") << none << L { "Unknown Device Variable \"DV7\"" };
        QTest::newRow("protection last, with the fixed passcode")
            << QByteArray("Protection Mode;TRUE\r\nProtection Mode;on\r\nDV1 enabled;false")
            << L { "WriteDeviceVariableEnable 1 false", "WriteProtectionMode 0 true" } << L { "Protection Mode invalid" };
        QTest::newRow("lines that carry no setting")
            << QByteArray("HART Device Configuration\r\n\r\nIdentification\r\nSaveDate;01.02.2026 10:00:00\r\n"
                          "Manufacturer ID;227 (0xE3)\r\nSensor Upper Range;6.000 meters\r\nResponse Code(s)\r\n"
                          "Cmd: 18 Response: In Write Protect Mode\r\n;orphan value\r\nLast Device Status\r\nSuccess;true\r\n")
            << none << none;
    }

    void load()
    {
        QFETCH(QByteArray, file);
        RecordingConfigDevice device;
        TConfigLoader(device, QStringLiteral(";")).Load(file);
        QTEST(device.Calls, "calls");
        QTEST(device.Log, "log");
    }

    // The device's failure is the line's message; the load goes on.
    void deviceFailures()
    {
        RecordingConfigDevice device;
        device.FailOn = { { "WriteLongTag", "Long Tag: 33 characters\r\nare too many" },
                          { "WriteDeviceVariableUnits", "No answer" },
                          { "ChangePollingAddress", "No answer" } };
        TConfigLoader(device, QStringLiteral(";"))
            .Load("Long Tag;x\r\nDV0 Unit;meters\r\nPolling Address;2\r\nTag;T\r\n");
        QCOMPARE(device.Log, (QStringList { "Long Tag: Long Tag: 33 charactersare too many", "dv0 unit invalid: No answer",
                                           "No answer" }));
        QCOMPARE(device.Calls, QStringList { "WriteTag T" });
        QCOMPARE(device.Statuses.first(), QString("Processing key \"long tag\""));
    }

    // A file written with the separator "," under a decimal comma.
    void commaSeparatorAndDecimalComma()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        RecordingConfigDevice device;
        TConfigLoader(device, QStringLiteral(",")).Load("Message,A,B\r\nDV0 Damping,2,500 seconds\r\n");
        QCOMPARE(device.Calls, (QStringList { "WriteMessage A,B", "WriteDampingValue 0 2.500" }));
        QCOMPARE(device.Log, QStringList());
    }
};

QTEST_GUILESS_MAIN(TestConfigFile)
#include "test_config_file.moc"

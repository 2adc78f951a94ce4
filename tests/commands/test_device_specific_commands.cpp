// The maker's own commands: write protection and passcode, alarm selection,
// offsets, diagnostics, firmware, device-variable enables and factory defaults.
#include "CommandFixture.h"
#include "util/ErrorMessage.h"

#include <QtTest>

using namespace fixture;

class TestDeviceSpecificCommands : public QObject
{
    Q_OBJECT

private slots:
    void writeProtectionMode_data()
    {
        QTest::addColumn<bool>("protect");
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("echo");
        QTest::addColumn<bool>("protectAfter");
        QTest::newRow("protect") << true << "C8 03 01 30 39" << "00 00 01" << true;
        QTest::newRow("release") << false << "C8 03 00 30 39" << "00 00 00" << false;
        QTest::newRow("echo other than 1") << true << "C8 03 01 30 39" << "00 00 02" << false;
    }

    void writeProtectionMode()
    {
        QFETCH(bool, protect);
        QFETCH(QString, request);
        QFETCH(QString, echo);
        QFETCH(bool, protectAfter);
        Device device;
        device.Answers(200, echo.toLatin1().data());
        device.hart->WriteProtectionMode(12345, protect);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request(request.toLatin1().data()) });
        QCOMPARE(protect, protectAfter);
        QCOMPARE(device.Events, (QStringList { "status 200", "write" }));
        QCOMPARE(device.LastStatus().OperationName, QString("Write Protection Mode"));
    }

    void wrongPasscodeIsReportedNotRaised()
    {
        Device device;
        bool protect = false;
        device.Answers(200, "1D 00");
        device.hart->WriteProtectionMode(0xFFFF, protect);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("C8 03 00 FF FF") });
        QCOMPARE(device.hart->ResponseCodeText(200), QString("Passcode Wrong"));
        QCOMPARE(protect, false);
    }

    void readProtectionMode()
    {
        Device device;
        bool protect = false;
        device.Answers(201, "00 00 01");
        device.hart->ReadProtectionMode(protect);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("C9 00") });
        QCOMPARE(protect, true);
        QCOMPARE(device.LastStatus().OperationName, QString("Read Protection Mode"));
    }

    void writeAlarmSelection()
    {
        Device device;
        quint8 alarm = 1;
        device.Answers(202, "00 00 00");
        device.hart->WriteAlarmSelection(alarm);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("CA 01 01") });
        QCOMPARE(alarm, quint8(0));
        QCOMPARE(device.LastStatus().OperationName, QString("Write Alarm Selection"));
    }

    // Only the low 16 bits of each passcode are sent.
    void changePasscode()
    {
        Device device;
        device.Answers(204, "1D 00");
        device.hart->ChangePasscode(0x1234, 0x1ABCD);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("CC 04 12 34 AB CD") });
        QCOMPARE(device.Events, (QStringList { "write", "status 204" }));
        QCOMPARE(device.LastStatus().OperationName, QString("Change Passcode"));
        QCOMPARE(device.hart->ResponseCodeText(204), QString("Old Passcode Wrong"));
    }

    void writeOffset()
    {
        Device device;
        QString unit = "millimeters";
        float offset = 2.5f;
        device.Answers(205, "08 00 01 30 40 00 00 00");
        device.hart->WriteOffset(1, unit, offset);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("CD 06 01 31 40 20 00 00") });
        QCOMPARE(unit, QString("centimeters"));
        QCOMPARE(offset, 2.0f);
        QCOMPARE(device.LastStatus().OperationName, QString("Write Offset (DV1)"));
        QCOMPARE(device.hart->ResponseCodeText(205), QString("Warning: Set To Nearest Possible Value"));
    }

    void offsetEchoMustNameTheVariable()
    {
        Device device;
        QString unit = "millimeters";
        float offset = 2.5f;
        device.Answers(205, "00 00 00 31 40 20 00 00");
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteOffset(1, unit, offset); }),
                 QString("Write Device Variable Offset: device does not respond correct Device Variable number"));
        device.Answers(206, "00 00 00 31 40 20 00 00");
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->ReadOffset(1, unit, offset); }),
                 QString("Read Device Variable Offset: device does not respond correct Device Variable number"));
        QVERIFY(device.Events.isEmpty());
        QCOMPARE(unit, QString("millimeters"));
    }

    void offsetArgumentsAndValues()
    {
        Device device;
        QString unit = "mm";
        float offset = 0;
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteOffset(0, unit, offset); }), QString("Unknown unit \"mm\""));
        QVERIFY(device.port->Written.isEmpty());

        device.Answers(206, "00 00 00 31 7F A0 00 00");
        QCOMPARE(ErrorMessage<EConvertError>([&] { device.hart->ReadOffset(0, unit, offset); }), QString("Not a Number"));
        QVERIFY(device.Events.isEmpty());
    }

    void readOffset()
    {
        Device device;
        QString unit;
        float offset = 0;
        device.Answers(206, "00 00 00 2D BF 00 00 00");
        device.hart->ReadOffset(0, unit, offset);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("CE 01 00") });
        QCOMPARE(unit, QString("meters"));
        QCOMPARE(offset, -0.5f);
        QCOMPARE(device.LastStatus().OperationName, QString("Read Offset (DV0)"));
    }

    void readDiagnostics()
    {
        Device device;
        TDiagnosticsData data;
        device.Answers(207, "00 00 C8 80 01 2C 32 64 44 7A 00 00 41 C8 00 00 41 A0 00 00");
        device.hart->ReadDiagnostics(data);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("CF 00") });
        QCOMPARE(data.QualityQuotient, quint8(200));
        QCOMPARE(data.StartLevel, quint8(128));
        QCOMPARE(data.DampingLength, quint16(300));
        QCOMPARE(data.PulseDuration, quint8(50));
        QCOMPARE(data.PulseHeight, quint8(100));
        QCOMPARE(data.PulseTimeBase, 1000.0f);
        QCOMPARE(data.HeadTemperature, 25.0f);
        QCOMPARE(data.TubeTemperature, 20.0f);
        QVERIFY(!data.TimeBaseIsNaN && !data.HeadTempIsNaN && !data.TubeTempIsNaN);
        QCOMPARE(device.LastStatus().OperationName, QString("Read Diagnostics Data"));

        // A head temperature that is not a number keeps its value; the rest is read.
        device.Answers(207, "00 00 C8 80 01 2C 32 64 44 7A 00 00 7F A0 00 00 41 B0 00 00");
        device.hart->ReadDiagnostics(data);
        QVERIFY(data.HeadTempIsNaN);
        QCOMPARE(data.HeadTemperature, 25.0f);
        QVERIFY(!data.TubeTempIsNaN);
        QCOMPARE(data.TubeTemperature, 22.0f);

        device.Answers(207, "00 00 C8 80 01 2C 32 64 44 7A 00 00 41 C8 00 00 41 A0 00 00 00");
        device.hart->ReadDiagnostics(data);
        QVERIFY(data.HeadTempIsNaN);                    // 21 bytes: nothing decoded
        QCOMPARE(device.Events.size(), 3);
    }

    void readFirmwareVersion()
    {
        Device device;
        TFirmware firmware;
        device.Answers(208, "00 00 02 0A 03");
        device.hart->ReadFirmwareVersion(firmware);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("D0 00") });
        QCOMPARE(firmware.VersionText, QString("2.10.3"));
        QCOMPARE(firmware.VersionBytes, Hex("02 0A 03"));
        QCOMPARE(device.LastStatus().OperationName, QString("Read Firmware Version"));
    }

    void writeDeviceVariableEnable()
    {
        Device device;
        device.Answers(209, "00 00 03 00");
        device.Answers(209, "00 00 01 01");
        device.hart->WriteDeviceVariableEnable(3, false);
        device.hart->WriteDeviceVariableEnable(1, true);
        QCOMPARE(device.port->Written, (QList<QByteArray> { Request("D1 02 03 00"), Request("D1 02 01 01") }));
        QCOMPARE(device.Statuses[0].OperationName, QString("Write Device Variable Enable (3)"));
        QCOMPARE(device.Statuses[1].OperationName, QString("Write Device Variable Enable (1)"));
    }

    void readDeviceVariableEnable()
    {
        Device device;
        device.Answers(210, "00 00 00 01 01 00 02 FA 03 01");
        QCOMPARE(device.hart->ReadDeviceVariableEnable(), (std::array<quint8, 4> { 1, 0, 250, 1 }));
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("D2 04 00 01 02 03") });
        QCOMPARE(device.LastStatus().OperationName, QString("Read Device Variable Enable"));

        device.Answers(210, "40 00");
        QCOMPARE(device.hart->ReadDeviceVariableEnable(), (std::array<quint8, 4> { 0, 0, 0, 0 }));
        QCOMPARE(device.hart->ResponseCodeText(210), QString("Command Not Implemented"));
    }

    void restoreFactoryDefaults()
    {
        Device device;
        device.Answers(211, "00 00");
        device.hart->RestoreFactoryDefaults();
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("D3 00") });
        QCOMPARE(device.LastStatus().OperationName, QString("Restore Factory Defaults"));
    }

    void storeFactoryDefaultsNamesTheFamily_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("commandBytes");
        QTest::newRow("TIVERN") << 1 << "7A 05 E3 80 0A 0B 0C";
        QTest::newRow("CALDEROS") << 2 << "7A 05 E3 81 0A 0B 0C";
        QTest::newRow("other") << 0 << "7A 05 E3 81 0A 0B 0C";
    }

    void storeFactoryDefaultsNamesTheFamily()
    {
        QFETCH(int, family);
        QFETCH(QString, commandBytes);
        Device device;
        device.hart->SetDeviceFamily(quint8(family));
        device.Answers(122, "00 00");
        device.hart->StoreFactoryDefaults(0x7F0A0B0C);          // only 24 bits are sent
        QCOMPARE(Spaced(device.port->Written.first().mid(11, 7)), commandBytes);
        QCOMPARE(device.LastStatus().OperationName, QString("Store Factory Defaults"));
    }
};

QTEST_GUILESS_MAIN(TestDeviceSpecificCommands)
#include "test_device_specific_commands.moc"

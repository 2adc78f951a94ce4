// Status reporting: the record of the last answer, the additional status of
// command 48, and the order in which each operation tells its owner about a
// configuration write and the answer's status.
#include "CommandFixture.h"
#include "util/ErrorMessage.h"

#include <QtTest>

#include <functional>
#include <vector>

using namespace fixture;

namespace {

float Value = 0;
quint8 Byte = 0, Byte2 = 0, Byte3 = 0, Byte4 = 0;
bool Flag = false;
QString Text;
QDate Date;
qint32 Number = 0;
quint16 Counter = 0;
TDeviceVariable Slot0, Slot1, Slot2, Slot3;

// One operation, a well-formed answer to it and what its owner must hear.
struct Case
{
    const char* name;
    std::function<void(TComportHART&)> call;
    quint8 command;
    const char* answer;
    QStringList events;
};

QStringList Read(int command) { return { QStringLiteral("status %1").arg(command) }; }
QStringList Written(int command) { return { QStringLiteral("write"), QStringLiteral("status %1").arg(command) }; }

const char* const DampingAnswer = "00 00 01 00 31 00 00 00 00 00 00 00 00 00 00 3F 80 00 00 00 00 00 00 00 00";
const char* const TagDescriptorDateAnswer = "00 00 50 11 F1 82 08 20 50 13 8B 83 38 0C 15 61 4C 82 08 20 18 0C 6E";
const char* const MessageAnswer = "00 00 20 53 0C 3E 08 20 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20";
const char* const LongTagAnswer = "00 00 41 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
const char* const DeviceVariablesAnswer = "00 00 00 31 3F 80 00 00 01 31 3F 80 00 00 02 20 3F 80 00 00 03 31 3F 80 00 00";

const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases {
        { "1 ReadPrimaryValue", [](TComportHART& h) { h.ReadPrimaryValue(Value, Text); }, 1, "00 00 2D 41 20 00 00", Read(1) },
        { "2 ReadLoopCurrent", [](TComportHART& h) { h.ReadLoopCurrent(Value, Value); }, 2, "00 00 41 80 00 00 42 48 00 00", Read(2) },
        { "7 ReadPollingAddress", [](TComportHART& h) { h.ReadPollingAddress(Byte, Flag); }, 7, "00 00 00 01", Read(7) },
        { "12 ReadMessage", [](TComportHART& h) { h.ReadMessage(Text); }, 12, MessageAnswer, Read(12) },
        { "13 ReadTagDescriptorDate", [](TComportHART& h) { h.ReadTagDescriptorDate(Text, Text, Date); }, 13, TagDescriptorDateAnswer, Read(13) },
        { "14 ReadPVLimits", [](TComportHART& h) { h.ReadPVLimits(Text, Value, Value); }, 14, "00 00 00 00 00 31 44 7A 00 00 00 00 00 00 41 20 00 00", Read(14) },
        { "15 ReadPVRange", [](TComportHART& h) { h.ReadPVRange(Byte, Value, Value, Text); }, 15, "00 00 01 00 2D 40 A0 00 00 3F 80 00 00 00 00 00 00 00 FA 00", Read(15) },
        { "16 ReadFinalAssemblyNumber", [](TComportHART& h) { h.ReadFinalAssemblyNumber(Number); }, 16, "00 00 12 34 56", Read(16) },
        { "20 ReadLongTag", [](TComportHART& h) { h.ReadLongTag(Text); }, 20, LongTagAnswer, Read(20) },
        { "33 ReadDeviceVariables", [](TComportHART& h) { h.ReadDeviceVariables(Slot0, Slot1, Slot2, Slot3); }, 33, DeviceVariablesAnswer, Read(33) },
        { "50 ReadVariableAssignments", [](TComportHART& h) { h.ReadVariableAssignments(Byte, Byte2, Byte3, Byte4); }, 50, "00 00 00 01 02 03", Read(50) },
        { "54 ReadDampingValue", [](TComportHART& h) { h.ReadDampingValue(1, Value); }, 54, DampingAnswer, Read(54) },
        { "201 ReadProtectionMode", [](TComportHART& h) { h.ReadProtectionMode(Flag); }, 201, "00 00 01", Read(201) },
        { "206 ReadOffset", [](TComportHART& h) { h.ReadOffset(1, Text, Value); }, 206, "00 00 01 31 40 20 00 00", Read(206) },
        { "207 ReadDiagnostics", [](TComportHART& h) { TDiagnosticsData d; h.ReadDiagnostics(d); }, 207, "00 00 01 02 03 04 05 06 3F 80 00 00 3F 80 00 00 3F 80 00 00", Read(207) },
        { "208 ReadFirmwareVersion", [](TComportHART& h) { TFirmware f; h.ReadFirmwareVersion(f); }, 208, "00 00 02 0A 03", Read(208) },
        { "210 ReadDeviceVariableEnable", [](TComportHART& h) { h.ReadDeviceVariableEnable(); }, 210, "00 00 00 01 01 00 02 FA 03 01", Read(210) },
        { "0 ReadUniqueIdentifier", [](TComportHART& h) { h.ReadUniqueIdentifier(); }, 0, "00 00 FE E3 80 05 05 01 03 08 00 01 23 45", Read(0) },
        { "0 ReadConfigChangeCounter", [](TComportHART& h) { h.ReadConfigChangeCounter(Counter); }, 0, "00 00 FE E3 80 05 07 01 03 08 00 01 23 45 00 00 00 07", Read(0) },
        { "40 SetFixedCurrent", [](TComportHART& h) { Value = 4; h.SetFixedCurrent(Value); }, 40, "00 00 40 80 00 00", Read(40) },
        { "Direct Command", [](TComportHART& h) { THARTFrame a; h.SendDirectCommand(Request("26 00"), 1200, a); }, 38, "00 00 00 07", Read(38) },

        { "6 WritePollingAddress", [](TComportHART& h) { Byte = 0; h.WritePollingAddress(Byte, Flag); }, 6, "00 00 00 01", Written(6) },
        { "17 WriteMessage", [](TComportHART& h) { Text = "HELLO"; h.WriteMessage(Text); }, 17, MessageAnswer, Written(17) },
        { "18 WriteTagDescriptorDate", [](TComportHART& h) { Text = "TAG1"; Date = QDate(2010, 12, 24); h.WriteTagDescriptorDate(Text, Text, Date); }, 18, TagDescriptorDateAnswer, Written(18) },
        { "19 WriteFinalAssemblyNumber", [](TComportHART& h) { Number = 5; h.WriteFinalAssemblyNumber(Number); }, 19, "00 00 00 00 05", Written(19) },
        { "22 WriteLongTag", [](TComportHART& h) { Text = "A"; h.WriteLongTag(Text); }, 22, LongTagAnswer, Written(22) },
        { "35 WritePVRange", [](TComportHART& h) { Text = "meters"; h.WritePVRange(Text, Value, Value); }, 35, "00 00 2D 40 A0 00 00 3F 80 00 00", Written(35) },
        { "36 SetUpperRangeFromFloater", [](TComportHART& h) { h.SetUpperRangeFromFloater(); }, 36, "00 00", Written(36) },
        { "37 SetLowerRangeFromFloater", [](TComportHART& h) { h.SetLowerRangeFromFloater(); }, 37, "00 00", Written(37) },
        { "38 ResetConfigChangedFlag", [](TComportHART& h) { h.ResetConfigChangedFlag(Counter); }, 38, "00 00 00 07", Written(38) },
        { "45 TrimLoopCurrentZero", [](TComportHART& h) { h.TrimLoopCurrentZero(Value); }, 45, "00 00 40 80 00 00", Written(45) },
        { "46 TrimLoopCurrentGain", [](TComportHART& h) { h.TrimLoopCurrentGain(Value); }, 46, "00 00 41 A0 00 00", Written(46) },
        { "51 WriteVariableAssignments", [](TComportHART& h) { h.WriteVariableAssignments(Byte, Byte2, Byte3, Byte4); }, 51, "00 00 00 01 02 03", Written(51) },
        { "53 WriteDeviceVariableUnits", [](TComportHART& h) { Text = "meters"; h.WriteDeviceVariableUnits(0, Text); }, 53, "00 00 00 2D", Written(53) },
        { "55 WriteDampingValue", [](TComportHART& h) { h.WriteDampingValue(0, Value); }, 55, "00 00 00 3F 80 00 00", Written(55) },
        { "202 WriteAlarmSelection", [](TComportHART& h) { h.WriteAlarmSelection(Byte); }, 202, "00 00 01", Written(202) },
        { "204 ChangePasscode", [](TComportHART& h) { h.ChangePasscode(1, 2); }, 204, "00 00", Written(204) },
        { "205 WriteOffset", [](TComportHART& h) { Text = "meters"; h.WriteOffset(0, Text, Value); }, 205, "00 00 00 2D 40 20 00 00", Written(205) },
        { "209 WriteDeviceVariableEnable", [](TComportHART& h) { h.WriteDeviceVariableEnable(1, true); }, 209, "00 00 01 01", Written(209) },
        { "211 RestoreFactoryDefaults", [](TComportHART& h) { h.RestoreFactoryDefaults(); }, 211, "00 00", Written(211) },
        { "122 StoreFactoryDefaults", [](TComportHART& h) { h.StoreFactoryDefaults(0x0A0B0C); }, 122, "00 00", Written(122) },

        { "200 WriteProtectionMode", [](TComportHART& h) { h.WriteProtectionMode(1234, Flag); }, 200, "00 00 01", { "status 200", "write" } },
    };
    return cases;
}

} // namespace

class TestStatus : public QObject
{
    Q_OBJECT

private slots:
    void moreStatusAvailableReadsTheAdditionalStatusOnce()
    {
        Device device;
        device.Answers(1, "00 50 2D 41 20 00 00");
        // The additional-status answer again says "more status": no second read.
        device.Answers(48, "00 50 21 00 00 00 00 00");
        float value = 0;
        QString unit;
        device.hart->ReadPrimaryValue(value, unit);

        QCOMPARE(device.port->Written, (QList<QByteArray> { Request("01 00"), Request("30 00") }));
        QCOMPARE(device.Events, QStringList { "status 1" });
        const TDeviceStatus& status = device.LastStatus();
        QCOMPARE(status.Command, quint8(1));
        QCOMPARE(status.OperationName, QString("Read Primary Value"));
        QCOMPARE(status.ResponseCode, quint8(0));
        QCOMPARE(status.CommError, false);
        QCOMPARE(status.DeviceStatus, quint8(0x50));
        QVERIFY(status.HARTParameterError);
        QVERIFY(!status.TransmitterParameterError);
        QVERIFY(!status.MeasurementError);
        QVERIFY(!status.ErrorCounterError);
        QVERIFY(!status.LowVoltageError);
        QVERIFY(status.DryWarning);
        QCOMPARE(device.hart->Status.OperationName, QString("Read Primary Value"));
    }

    void additionalStatusFlagsFollowTheirBits_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QList<bool>>("flags");
        QTest::newRow("bit 0") << "00 10 01" << QList<bool> { true, false, false, false, false, false };
        QTest::newRow("bit 1") << "00 10 02" << QList<bool> { false, true, false, false, false, false };
        QTest::newRow("bit 2") << "00 10 04" << QList<bool> { false, false, true, false, false, false };
        QTest::newRow("bit 3") << "00 10 08" << QList<bool> { false, false, false, true, false, false };
        QTest::newRow("bit 4") << "00 10 10" << QList<bool> { false, false, false, false, true, false };
        QTest::newRow("bit 5") << "00 10 20" << QList<bool> { false, false, false, false, false, true };
        QTest::newRow("bits 6, 7 and later bytes mean nothing") << "00 10 C0 FF" << QList<bool> { false, false, false, false, false, false };
        QTest::newRow("no payload byte") << "00 10" << QList<bool> { false, false, false, false, false, false };
    }

    void additionalStatusFlagsFollowTheirBits()
    {
        QFETCH(QString, answer);
        QFETCH(QList<bool>, flags);
        Device device;
        device.Answers(48, answer.toLatin1().constData());
        TDeviceStatus status;
        status.DryWarning = true;
        device.hart->ReadAdditionalStatus(status);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("30 00") });
        const QList<bool> actual { status.HARTParameterError, status.TransmitterParameterError, status.MeasurementError,
                                   status.ErrorCounterError, status.LowVoltageError, status.DryWarning };
        QCOMPARE(actual, flags);
        QVERIFY(device.Events.isEmpty());
    }

    void withoutMoreStatusTheFlagsAreCleared()
    {
        Device device;
        device.hart->Status.HARTParameterError = true;
        device.hart->Status.DryWarning = true;
        device.Answers(1, "00 40 2D 41 20 00 00");
        float value = 0;
        QString unit;
        device.hart->ReadPrimaryValue(value, unit);
        QCOMPARE(device.port->Written.size(), 1);
        QCOMPARE(device.LastStatus().DeviceStatus, quint8(0x40));
        QVERIFY(!device.LastStatus().HARTParameterError);
        QVERIFY(!device.LastStatus().DryWarning);
    }

    void failedAdditionalStatusReadPropagatesWithoutReport()
    {
        Device device;
        device.Answers(1, "00 10 2D 41 20 00 00");
        device.port->QueueSilence();
        float value = 0;
        QString unit;
        QCOMPARE(ErrorMessage<ETimeoutException>([&] { device.hart->ReadPrimaryValue(value, unit); }),
                 QString("Timeout: HART device does not respond"));
        QVERIFY(device.Events.isEmpty());
    }

    void responseCodesAreReportedNotRaised()
    {
        Device device;
        device.Answers(1, "05 00");
        float value = 7.5f;
        QString unit = "unit";
        device.hart->ReadPrimaryValue(value, unit);
        QCOMPARE(value, 7.5f);
        QCOMPARE(unit, QString("unit"));
        QCOMPARE(device.Events, QStringList { "status 1" });
        QCOMPARE(device.LastStatus().ResponseCode, quint8(5));
        QCOMPARE(device.LastStatus().OperationName, QString("Read Primary Value"));
        QCOMPARE(device.hart->ResponseCodeText(device.LastStatus().Command), QString("Too Few Data Bytes Received"));
    }

    // A write is notified whatever the device answered.
    void refusedWriteIsStillNotified()
    {
        Device device;
        device.Answers(35, "07 00");
        QString unit = "meters";
        float upper = 5;
        float lower = 1;
        device.hart->WritePVRange(unit, upper, lower);
        QCOMPARE(device.Events, (QStringList { "write", "status 35" }));
        QCOMPARE(device.hart->ResponseCodeText(35), QString("In Write Protect Mode"));
        QCOMPARE(upper, 5.0f);
    }

    // A device that refuses a command may still send a full answer, echoing
    // the request: an error code confirms no value, whatever the answer holds.
    // Nor does an answer without error that is a value's byte short (one
    // that an operation rejects as malformed confirms nothing either).
    void refusalsConfirmNoValues_data()
    {
        ownerHearsEachOperationInOrder_data();
    }

    void refusalsConfirmNoValues()
    {
        QFETCH(int, index);
        const Case& c = Cases()[std::size_t(index)];
        QList<QByteArray> answers { Hex("20") + Hex(c.answer).mid(1) };
        if (Hex(c.answer).size() > 2)
            answers << Hex(c.answer).chopped(1);
        for (const QByteArray& answer : answers) {
            Device device;
            device.port->QueueAnswer(Answer(c.command, answer));
            try {
                c.call(*device.hart);
            } catch (const EInconsistentException&) {
                continue;
            }
            QVERIFY2(!device.hart->ValuesConfirmed(), answer.toHex(' ').constData());
        }
    }

    // A warning is no refusal: the values are the device's.
    void warningsConfirmValues()
    {
        Device device;
        device.Answers(15, "08 00 01 00 2D 40 A0 00 00 3F 80 00 00 00 00 00 00 00 FA 00");
        quint8 alarm = 0;
        float upper = 0, lower = 0;
        QString unit;
        device.hart->ReadPVRange(alarm, upper, lower, unit);
        QVERIFY(device.hart->ValuesConfirmed());
        QCOMPARE(upper, 5.0f);
    }

    void ownerHearsEachOperationInOrder_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < Cases().size(); ++i)
            QTest::newRow(Cases()[i].name) << int(i);
    }

    void ownerHearsEachOperationInOrder()
    {
        QFETCH(int, index);
        const Case& c = Cases()[std::size_t(index)];
        Device device;
        device.Answers(c.command, c.answer);
        c.call(*device.hart);
        QCOMPARE(device.Events, c.events);
        QCOMPARE(device.port->Written.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestStatus)
#include "test_status.moc"

// The universal and common-practice commands: request bytes, decoding of
// the answer, argument checks and device-variable echoes.
#include "CommandFixture.h"
#include "util/ErrorMessage.h"

#include <QtTest>

using namespace fixture;

namespace {

const QString NotANumber = QStringLiteral("Not a Number");

// "HELLO" and "HELLO WORLD", each padded with blanks to 32 characters, packed.
const char* const PackedHello = "20 53 0C 3E 08 20 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20";
const char* const PackedHelloWorld = "20 53 0C 3E 05 CF 48 C1 20 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20";
// "TAG1    ", "TANK 3 LEVEL    ", 24 December 2010.
const char* const TagDescriptorDate = "50 11 F1 82 08 20 50 13 8B 83 38 0C 15 61 4C 82 08 20 18 0C 6E";
// "NEWTAG  " and "NEW DESCRIPTION ".
const char* const PackedNewTag = "38 55 D4 04 78 20";
const char* const PackedNewDescription = "38 55 E0 10 54 C3 48 94 14 24 F3 A0";

QByteArray AnswerData(const char* statusBytes, const char* payload)
{
    return Hex(statusBytes) + Hex(payload);
}

QString Padded(const QString& text, int length)
{
    return text.leftJustified(length, QLatin1Char(' '));
}

const QString PackedASCIIHint = QStringLiteral(" has no packed ASCII code (packed ASCII holds blank, digits, "
                                               "upper-case letters and the signs !\"#$%&'()*+,-./:;<=>?@[\\]^_)");

// A write of one text field, as a window or the configuration file starts it.
using TextWrite = void (*)(TComportHART&, QString&);

void WriteMessage(TComportHART& hart, QString& text)
{
    hart.WriteMessage(text);
}

void WriteTag(TComportHART& hart, QString& text)
{
    QString descriptor = "D";
    QDate date(2010, 12, 24);
    hart.WriteTagDescriptorDate(text, descriptor, date);
}

void WriteDescriptor(TComportHART& hart, QString& text)
{
    QString tag = "T";
    QDate date(2010, 12, 24);
    hart.WriteTagDescriptorDate(tag, text, date);
}

void WriteLongTag(TComportHART& hart, QString& text)
{
    hart.WriteLongTag(text);
}

} // namespace

Q_DECLARE_METATYPE(TextWrite)

class TestUniversalCommands : public QObject
{
    Q_OBJECT

private slots:
    // --- Reads ---

    void readPrimaryValue()
    {
        Device device;
        float value = 0;
        QString unit;
        device.Answers(1, "00 00 2D 41 20 00 00");
        device.hart->ReadPrimaryValue(value, unit);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("01 00") });
        QCOMPARE(value, 10.0f);
        QCOMPARE(unit, QString("meters"));
        QCOMPARE(device.LastStatus().OperationName, QString("Read Primary Value"));

        device.Answers(1, "00 00 2E 41 20 00 00 00");         // one byte too many
        value = 1;
        device.hart->ReadPrimaryValue(value, unit);
        QCOMPARE(value, 1.0f);
        QCOMPARE(unit, QString("meters"));
        QCOMPARE(device.Events.size(), 2);
    }

    // Values are taken in answer order, so those before the bad one stay.
    void notANumberStopsAReadWithoutReport()
    {
        Device device;
        float current = 0;
        float percent = 33;
        device.Answers(2, "00 00 41 80 00 00 7F A0 00 00");
        QCOMPARE(ErrorMessage<EConvertError>([&] { device.hart->ReadLoopCurrent(current, percent); }), NotANumber);
        QCOMPARE(current, 16.0f);
        QCOMPARE(percent, 33.0f);
        QVERIFY(device.Events.isEmpty());

        QString unit;
        float upper = 0;
        float lower = -1;
        device.Answers(14, "00 00 00 00 00 31 44 7A 00 00 7F A0 00 00 41 20 00 00");
        QCOMPARE(ErrorMessage<EConvertError>([&] { device.hart->ReadPVLimits(unit, upper, lower); }), NotANumber);
        QCOMPARE(upper, 1000.0f);
        QCOMPARE(lower, -1.0f);
    }

    void readLoopCurrent()
    {
        Device device;
        float current = 0;
        float percent = 0;
        device.Answers(2, "00 00 41 80 00 00 42 48 00 00");
        device.hart->ReadLoopCurrent(current, percent);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("02 00") });
        QCOMPARE(current, 16.0f);
        QCOMPARE(percent, 50.0f);
        QCOMPARE(device.LastStatus().OperationName, QString("Read Loop Current/Percent Of Range"));
    }

    // At least four bytes; the burst-mode bit of the address is dropped.
    void readPollingAddress()
    {
        Device device;
        quint8 address = 0;
        bool mode = false;
        device.Answers(7, "00 00 85 01");
        device.hart->ReadPollingAddress(address, mode);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("07 00") });
        QCOMPARE(address, quint8(5));
        QCOMPARE(mode, true);
        QCOMPARE(device.LastStatus().OperationName, QString("Read Polling Address/Loop Current Mode"));

        device.Answers(7, "00 00 03 02 00");
        device.hart->ReadPollingAddress(address, mode);
        QCOMPARE(address, quint8(3));
        QCOMPARE(mode, false);

        device.Answers(7, "00 00 09");
        device.hart->ReadPollingAddress(address, mode);
        QCOMPARE(address, quint8(3));
    }

    void readMessage()
    {
        Device device;
        QString text;
        device.port->QueueAnswer(Answer(12, AnswerData("00 00", PackedHelloWorld)));
        device.hart->ReadMessage(text);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("0C 00") });
        QCOMPARE(text, Padded("HELLO WORLD", 32));
        QCOMPARE(device.LastStatus().OperationName, QString("Read Message"));
    }

    void readTagDescriptorDate()
    {
        Device device;
        QString tag;
        QString descriptor;
        QDate date;
        device.port->QueueAnswer(Answer(13, AnswerData("00 00", TagDescriptorDate)));
        device.hart->ReadTagDescriptorDate(tag, descriptor, date);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("0D 00") });
        QCOMPARE(tag, QString("TAG1    "));
        QCOMPARE(descriptor, QString("TANK 3 LEVEL    "));
        QCOMPARE(date, QDate(2010, 12, 24));
        QCOMPARE(device.LastStatus().OperationName, QString("Read Tag/Descriptor/Date"));
    }

    void dateOutsideTheCalendarIsAConversionError_data()
    {
        QTest::addColumn<QString>("dayMonthYear");
        QTest::addColumn<QString>("message");
        QTest::newRow("day 0") << "00 0C 6E" << "Invalid date (day 0, month 12, year 2010)";
        QTest::newRow("month 0") << "18 00 6E" << "Invalid date (day 24, month 0, year 2010)";
        QTest::newRow("month 13") << "18 0D 6E" << "Invalid date (day 24, month 13, year 2010)";
        QTest::newRow("31 April") << "1F 04 00" << "Invalid date (day 31, month 4, year 1900)";
    }

    void dateOutsideTheCalendarIsAConversionError()
    {
        QFETCH(QString, dayMonthYear);
        QFETCH(QString, message);
        Device device;
        QString tag;
        QString descriptor;
        QDate date(2000, 1, 1);
        const QByteArray data = Hex("00 00 50 11 F1 82 08 20 50 13 8B 83 38 0C 15 61 4C 82 08 20") + Hex(dayMonthYear.toLatin1().constData());
        device.port->QueueAnswer(Answer(13, data));
        QCOMPARE(ErrorMessage<EConvertError>([&] { device.hart->ReadTagDescriptorDate(tag, descriptor, date); }), message);
        QCOMPARE(date, QDate(2000, 1, 1));
        QVERIFY(device.Events.isEmpty());
    }

    void readPVLimits()
    {
        Device device;
        QString unit;
        float upper = 0;
        float lower = 1;
        device.Answers(14, "00 00 00 00 00 31 44 7A 00 00 00 00 00 00 41 20 00 00");
        device.hart->ReadPVLimits(unit, upper, lower);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("0E 00") });
        QCOMPARE(unit, QString("millimeters"));
        QCOMPARE(upper, 1000.0f);
        QCOMPARE(lower, 0.0f);
        QCOMPARE(device.LastStatus().OperationName, QString("Read PV Limits"));
    }

    void readPVRange()
    {
        Device device;
        quint8 alarm = 0;
        float upper = 0;
        float lower = 0;
        QString unit;
        device.Answers(15, "00 00 01 00 2D 40 A0 00 00 3F 80 00 00 00 00 00 00 00 FA 00");
        device.hart->ReadPVRange(alarm, upper, lower, unit);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("0F 00") });
        QCOMPARE(alarm, quint8(1));
        QCOMPARE(unit, QString("meters"));
        QCOMPARE(upper, 5.0f);
        QCOMPARE(lower, 1.0f);
        QCOMPARE(device.LastStatus().OperationName, QString("Reas Alarm Selection/PV Range Values"));
    }

    void readFinalAssemblyNumber()
    {
        Device device;
        qint32 number = 0;
        device.Answers(16, "00 00 12 34 56");
        device.hart->ReadFinalAssemblyNumber(number);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("10 00") });
        QCOMPARE(number, 0x123456);
        QCOMPARE(device.LastStatus().OperationName, QString("Read Final Assem. No."));
    }

    // 8-bit characters, shown up to the first zero byte of the padding.
    void readLongTag()
    {
        Device device;
        QString text;
        const QByteArray tag = QByteArray("Long \xB0Tag") + QByteArray(2, '\0') + QByteArray("AB");
        device.port->QueueAnswer(Answer(20, Hex("00 00") + tag.leftJustified(32, '\0')));
        device.hart->ReadLongTag(text);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("14 00") });
        QCOMPARE(text, QString::fromLatin1("Long \xB0Tag"));
        QCOMPARE(device.LastStatus().OperationName, QString("Read Long Tag"));

        const QByteArray full("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
        device.port->QueueAnswer(Answer(20, Hex("00 00") + full));
        device.hart->ReadLongTag(text);
        QCOMPARE(text, QString::fromLatin1(full));
    }

    void readDeviceVariables()
    {
        Device device;
        TDeviceVariable dv0, dv1, dv2, dv3;
        device.Answers(33, "00 00"
                           " 00 31 40 20 00 00"       // DV0 2.5 millimeters
                           " 01 FA 3F 80 00 00"       // DV1 not used
                           " 02 20 41 C8 00 00"       // DV2 25 °C
                           " 03 31 7F A0 00 00");     // DV3 not a number
        device.hart->ReadDeviceVariables(dv0, dv1, dv2, dv3);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("21 04 00 01 02 03") });
        QCOMPARE(device.LastStatus().OperationName, QString("Read Device Variables"));

        QVERIFY(dv0.Valid);
        QCOMPARE(dv0.Value, 2.5f);
        QVERIFY(!dv0.IsNaN);
        QCOMPARE(dv0.UnitsCode, quint16(49));
        QCOMPARE(dv0.UnitText, QString("millimeters"));

        QVERIFY(!dv1.Valid);
        QCOMPARE(dv1.UnitsCode, quint16(250));
        QCOMPARE(dv1.UnitText, QString());

        QCOMPARE(dv2.Value, 25.0f);
        QCOMPARE(dv2.UnitText, QString::fromLatin1("\xB0" "C"));

        QVERIFY(dv3.Valid);
        QVERIFY(dv3.IsNaN);
        QCOMPARE(dv3.Value, 0.0f);                  // nothing carried over from DV2
        QCOMPARE(dv3.UnitText, QString("millimeters"));
    }

    // Slots go to the variable their code names; other codes are dropped.
    void deviceVariableSlotsFollowTheirCodes()
    {
        Device device;
        TDeviceVariable dv0, dv1, dv2, dv3;
        dv3.Value = 99;
        device.Answers(33, "00 00 01 2D 3F 80 00 00 00 2D 40 00 00 00 07 2D 40 40 00 00 02 2D 40 80 00 00");
        device.hart->ReadDeviceVariables(dv0, dv1, dv2, dv3);
        QCOMPARE(dv0.Value, 2.0f);
        QCOMPARE(dv1.Value, 1.0f);
        QCOMPARE(dv2.Value, 4.0f);
        QCOMPARE(dv3.Value, 99.0f);
        QVERIFY(!dv3.Valid);
    }

    void readVariableAssignments()
    {
        Device device;
        quint8 pv = 9, sv = 9, tv = 9, qv = 9;
        device.Answers(50, "00 00 00 01 02 FA");
        device.hart->ReadVariableAssignments(pv, sv, tv, qv);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("32 00") });
        QCOMPARE((QList<int> { pv, sv, tv, qv }), (QList<int> { 0, 1, 2, 250 }));
        QCOMPARE(device.LastStatus().OperationName, QString("Read Dynamic Variable Assignments"));
    }

    void readDampingValue()
    {
        Device device;
        float damping = 0;
        device.Answers(54, "00 00 02 00 31 00 00 00 00 00 00 00 00 00 00 40 A0 00 00 00 00 00 00 00 00");
        device.hart->ReadDampingValue(2, damping);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("36 01 02") });
        QCOMPARE(damping, 5.0f);
        QCOMPARE(device.LastStatus().OperationName, QString("Read Damping Value (DV2)"));

        // Not a number: the damping stays and the status is reported.
        device.Answers(54, "00 00 02 00 31 00 00 00 00 00 00 00 00 00 00 7F A0 00 00 00 00 00 00 00 00");
        device.hart->ReadDampingValue(2, damping);
        QCOMPARE(damping, 5.0f);
        QCOMPARE(device.Events.size(), 2);
    }

    void dampingAnswerLengthFollowsTheUniversalRevision()
    {
        Device device;
        device.hart->UniversalRevision = 7;
        float damping = 0;
        device.Answers(54, "00 00 01 00 31 00 00 00 00 00 00 00 00 00 00 40 A0 00 00 00 00 00 00 00 00");
        device.hart->ReadDampingValue(1, damping);
        QCOMPARE(damping, 0.0f);
        device.Answers(54, "00 00 01 00 31 00 00 00 00 00 00 00 00 00 00 40 A0 00 00 00 00 00 00 00 00 00 00 00 00");
        device.hart->ReadDampingValue(1, damping);
        QCOMPARE(damping, 5.0f);
    }

    void dampingEchoMustNameTheVariable()
    {
        Device device;
        float damping = 0;
        device.Answers(54, "00 00 03 00 31 00 00 00 00 00 00 00 00 00 00 40 A0 00 00 00 00 00 00 00 00");
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->ReadDampingValue(2, damping); }),
                 QString("Read Device Variable Information: device does not respond correct Device Variable number"));
        QVERIFY(device.Events.isEmpty());
    }

    // A slow device answers within the longer time-outs of some commands.
    void slowAnswersWithinLongerTimeouts()
    {
        Device device;
        float damping = 0;
        device.port->QueueAnswer(Answer(54, "00 00 01 00 31 00 00 00 00 00 00 00 00 00 00 40 A0 00 00 00 00 00 00 00 00"), 1300);
        device.hart->ReadDampingValue(1, damping);
        QCOMPARE(damping, 5.0f);

        quint8 pv = 9, sv = 9, tv = 9, qv = 9;
        device.port->QueueAnswer(Answer(50, "00 00 00 01 02 03"), 800);
        device.hart->ReadVariableAssignments(pv, sv, tv, qv);
        QCOMPARE(qv, quint8(3));

        float current = 4;
        device.port->QueueAnswer(Answer(45, "00 00 40 80 A3 D7"), 800);
        device.hart->TrimLoopCurrentZero(current);
        QCOMPARE(current, 4.02f);
    }

    // --- Writes ---

    void writePollingAddress()
    {
        Device device;
        quint8 address = 5;
        bool mode = true;
        device.Answers(6, "00 00 85 00");
        device.hart->WritePollingAddress(address, mode);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("06 02 05 01") });
        QCOMPARE(address, quint8(5));
        QCOMPARE(mode, false);
        QCOMPARE(device.LastStatus().OperationName, QString("Write Polling Address/Loop Current Mode"));

        mode = false;
        device.Answers(6, "02 00");
        device.hart->WritePollingAddress(address, mode);
        QCOMPARE(device.port->Written.last(), Request("06 02 05 00"));
        QCOMPARE(device.hart->ResponseCodeText(6), QString("Invalid Poll Address Selection"));
    }

    void writeMessagePadsWithBlanks()
    {
        Device device;
        QString text = "HELLO";
        device.Answers(17, "07 00");
        device.hart->WriteMessage(text);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request(Hex("11 18") + Hex(PackedHello)) });
        QCOMPARE(text, Padded("HELLO", 32));
        QCOMPARE(device.LastStatus().OperationName, QString("Write Message"));

        device.port->QueueAnswer(Answer(17, AnswerData("00 00", PackedHelloWorld)));
        device.hart->WriteMessage(text);
        QCOMPARE(text, Padded("HELLO WORLD", 32));
    }

    void tooLongTextsAreRefusedBeforeSending()
    {
        Device device;
        QString message(33, QLatin1Char('A'));
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteMessage(message); }),
                 QString("Write Message: the message has more than 32 characters"));
        QCOMPARE(message, QString(33, QLatin1Char('A')));
        QString longTag(33, QLatin1Char('A'));
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteLongTag(longTag); }),
                 QString("Write Long Tag: the long tag has more than 32 characters"));
        QVERIFY(device.port->Written.isEmpty());
        QVERIFY(device.Events.isEmpty());
    }

    // The check sits in the operations, since the configuration file and the
    // direct command window hand over text that no key filter has seen.
    void textsWithoutACodeAreRefusedBeforeSending_data()
    {
        QTest::addColumn<TextWrite>("write");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("message, lower case") << &WriteMessage << 17 << "HELLo" << "Write Message: the character \"o\" (U+006F)" + PackedASCIIHint;
        QTest::newRow("message, euro sign") << &WriteMessage << 17 << QStringLiteral("\u20ACABC") << QStringLiteral("Write Message: the character \"\u20AC\" (U+20AC)") + PackedASCIIHint;
        QTest::newRow("tag") << &WriteTag << 18 << "tag1" << "Write Tag: the character \"t\" (U+0074)" + PackedASCIIHint;
        QTest::newRow("descriptor") << &WriteDescriptor << 18 << QStringLiteral("TANK \u00B0C") << QStringLiteral("Write Descriptor: the character \"\u00B0\" (U+00B0)") + PackedASCIIHint;
        QTest::newRow("long tag") << &WriteLongTag << 22 << QStringLiteral("Tank \u03A9") << QStringLiteral("Write Long Tag: the character \"\u03A9\" (U+03A9) has no Windows-1252 code");
    }

    void textsWithoutACodeAreRefusedBeforeSending()
    {
        QFETCH(TextWrite, write);
        QFETCH(int, command);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Device device;
        device.Answers(quint8(command), "07 00");       // an answer, should a request go out
        const QString given = text;
        QCOMPARE(ErrorMessage<Exception>([&] { write(*device.hart, text); }), message);
        QVERIFY(device.port->Written.isEmpty());
        QCOMPARE(text, given);
    }

    // Bytes 0x80-0x9F are the code page's signs, not control characters.
    void longTagTravelsInWindows1252()
    {
        Device device;
        QString text = QStringLiteral("\u20AC \u0160");             // euro sign, S caron
        device.port->QueueAnswer(Answer(22, Hex("00 00 9F 20 89").leftJustified(34, '\0')));
        device.hart->WriteLongTag(text);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request(Hex("16 20 80 20 8A").leftJustified(34, '\0')) });
        QCOMPARE(text, QStringLiteral("\u0178 \u2030"));            // Y diaeresis, per mille
    }

    void writeTagDescriptorDate()
    {
        Device device;
        QString tag = "NEWTAG";
        QString descriptor = "NEW DESCRIPTION";
        QDate date(2010, 12, 24);
        device.port->QueueAnswer(Answer(18, AnswerData("00 00", TagDescriptorDate)));
        device.hart->WriteTagDescriptorDate(tag, descriptor, date);
        const QByteArray data = Hex("12 15") + Hex(PackedNewTag) + Hex(PackedNewDescription) + Hex("18 0C 6E");
        QCOMPARE(device.port->Written, QList<QByteArray> { Request(data) });
        QCOMPARE(tag, QString("TAG1    "));                   // the device's echo
        QCOMPARE(descriptor, QString("TANK 3 LEVEL    "));
        QCOMPARE(date, QDate(2010, 12, 24));
        QCOMPARE(device.LastStatus().OperationName, QString("Write Tag/Descriptor/Date"));
    }

    void tagDescriptorDateArePaddedEvenWhenRefused()
    {
        Device device;
        QString tag = "NEWTAG";
        QString descriptor = "NEW DESCRIPTION";
        QDate date(2010, 12, 24);
        device.Answers(18, "07 00");
        device.hart->WriteTagDescriptorDate(tag, descriptor, date);
        QCOMPARE(tag, QString("NEWTAG  "));
        QCOMPARE(descriptor, QString("NEW DESCRIPTION "));
        QCOMPARE(device.hart->ResponseCodeText(18), QString("In Write Protect Mode"));
    }

    void yearLimits_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("yearByte");
        QTest::newRow("1900") << 1900 << "00";
        QTest::newRow("2155") << 2155 << "FF";
    }

    void yearLimits()
    {
        QFETCH(int, year);
        QFETCH(QString, yearByte);
        Device device;
        QString tag = "NEWTAG";
        QString descriptor = "NEW DESCRIPTION";
        QDate date(year, 1, 2);
        device.Answers(18, "07 00");
        device.hart->WriteTagDescriptorDate(tag, descriptor, date);
        QCOMPARE(Spaced(device.port->Written.first().right(4).left(3)), "02 01 " + yearByte);
    }

    void tagDescriptorDateChecks_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("descriptor");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("message");
        QTest::newRow("9-character tag") << "TAG123456" << "D" << QDate(2010, 1, 1) << "Tag is too long";
        QTest::newRow("tag before year") << "TAG123456" << "D" << QDate(1899, 1, 1) << "Tag is too long";
        QTest::newRow("17-character descriptor") << "T" << "DESCRIPTOR1234567" << QDate(2010, 1, 1) << "Descriptor is too long";
        QTest::newRow("1899") << "T" << "D" << QDate(1899, 12, 31) << "Date (year) has to be greater then 1900";
        QTest::newRow("no date") << "T" << "D" << QDate() << "Date (year) has to be greater then 1900";
        QTest::newRow("2156") << "T" << "D" << QDate(2156, 1, 1) << "Date (year) has to be less then 2156";
    }

    void tagDescriptorDateChecks()
    {
        QFETCH(QString, tag);
        QFETCH(QString, descriptor);
        QFETCH(QDate, date);
        QFETCH(QString, message);
        Device device;
        const QString givenTag = tag;
        const QString givenDescriptor = descriptor;
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteTagDescriptorDate(tag, descriptor, date); }), message);
        QVERIFY(device.port->Written.isEmpty());
        QCOMPARE(tag, givenTag);
        QCOMPARE(descriptor, givenDescriptor);
    }

    void writeFinalAssemblyNumber()
    {
        Device device;
        qint32 number = 0x123456;
        device.Answers(19, "00 00 12 34 57");
        device.hart->WriteFinalAssemblyNumber(number);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("13 03 12 34 56") });
        QCOMPARE(number, 0x123457);
        QCOMPARE(device.LastStatus().OperationName, QString("Write Final Assem. No."));

        quint32 largest = 16777215;
        device.Answers(19, "00 00 FF FF FF");
        device.hart->WriteFinalAssemblyNumber(largest);
        QCOMPARE(device.port->Written.last(), Request("13 03 FF FF FF"));
        QCOMPARE(largest, 16777215u);
    }

    void finalAssemblyNumberOutsideThreeBytes()
    {
        Device device;
        qint32 negative = -1;
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteFinalAssemblyNumber(negative); }),
                 QString("Final Assembly Number less than 0"));
        qint32 tooLarge = 16777216;
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteFinalAssemblyNumber(tooLarge); }),
                 QString("Final Assembly Number greater than 16777215"));
        quint32 unsignedTooLarge = 0x80000000u;
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteFinalAssemblyNumber(unsignedTooLarge); }),
                 QString("Final Assembly Number greater than 16777215"));
        QVERIFY(device.port->Written.isEmpty());
        QCOMPARE(tooLarge, 16777216);
    }

    void writeLongTagPadsWithZeros()
    {
        Device device;
        QString text = QString::fromLatin1("Tank \xB0" "7");
        device.port->QueueAnswer(Answer(22, Hex("00 00") + QByteArray("Tank \xB0" "8").leftJustified(32, '\0')));
        device.hart->WriteLongTag(text);
        const QByteArray data = Hex("16 20") + QByteArray("Tank \xB0" "7").leftJustified(32, '\0');
        QCOMPARE(device.port->Written, QList<QByteArray> { Request(data) });
        QCOMPARE(text, QString::fromLatin1("Tank \xB0" "8"));
        QCOMPARE(device.LastStatus().OperationName, QString("Write Long Tag"));
    }

    void writePVRange()
    {
        Device device;
        QString unit = "meters";
        float upper = 5;
        float lower = 1;
        device.Answers(35, "08 00 2C 40 00 00 00 3F 00 00 00");
        device.hart->WritePVRange(unit, upper, lower);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("23 09 2D 40 A0 00 00 3F 80 00 00") });
        QCOMPARE(unit, QString("feet"));
        QCOMPARE(upper, 2.0f);
        QCOMPARE(lower, 0.5f);
        QCOMPARE(device.LastStatus().OperationName, QString("Write PV Ranges"));
        QCOMPARE(device.hart->ResponseCodeText(35), QString("Warning: Set To Nearest Possible Value (Upper or Lower Range Pushed)"));
    }

    void unknownUnitsAreRefusedBeforeSending()
    {
        Device device;
        QString unit = "Meters";
        float value = 1;
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WritePVRange(unit, value, value); }), QString("Unknown unit \"Meters\""));
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteDeviceVariableUnits(0, unit); }), QString("Unknown unit \"Meters\""));
        QVERIFY(device.port->Written.isEmpty());
    }

    void rangeFromFloaterPosition()
    {
        Device device;
        device.Answers(36, "00 00");
        device.Answers(37, "09 00");
        device.hart->SetUpperRangeFromFloater();
        device.hart->SetLowerRangeFromFloater();
        QCOMPARE(device.port->Written, (QList<QByteArray> { Request("24 00"), Request("25 00") }));
        QCOMPARE(device.Statuses[0].OperationName, QString("Set Upper Range (Floater Position)"));
        QCOMPARE(device.Statuses[1].OperationName, QString("Set Lower Range (Floater Position)"));
        QCOMPARE(device.hart->ResponseCodeText(37), QString("Applied Process Too High"));
    }

    void resetConfigChangedFlag_data()
    {
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("request");
        QTest::newRow("revision 5") << 5 << "26 00";
        QTest::newRow("revision 6") << 6 << "26 00";
        QTest::newRow("revision 7") << 7 << "26 02 12 34";
    }

    void resetConfigChangedFlag()
    {
        QFETCH(int, revision);
        QFETCH(QString, request);
        Device device;
        device.hart->UniversalRevision = revision;
        quint16 counter = 0x1234;
        device.Answers(38, "00 00 12 35");
        device.hart->ResetConfigChangedFlag(counter);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request(request.toLatin1().data()) });
        QCOMPARE(counter, quint16(0x1235));
        QCOMPARE(device.LastStatus().OperationName, QString("Reset Configuration Changed Flag"));
    }

    void setFixedCurrent()
    {
        Device device;
        float current = 4;
        device.Answers(40, "00 00 40 80 00 00");
        device.hart->SetFixedCurrent(current);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("28 04 40 80 00 00") });
        QCOMPARE(current, 4.0f);
        QCOMPARE(device.LastStatus().OperationName, QString("Enter/Exit Fixed Current Mode"));

        current = 21.5f;
        device.Answers(40, "0B 00");
        device.hart->SetFixedCurrent(current);
        QCOMPARE(device.port->Written.last(), Request("28 04 41 AC 00 00"));
        QCOMPARE(current, -1.0f);
        QCOMPARE(device.hart->ResponseCodeText(40), QString("Loop Current Not Active (Device in Multidrop Mode)"));

        current = 0;
        device.Answers(40, "00 00 7F A0 00 00");
        QCOMPARE(ErrorMessage<EConvertError>([&] { device.hart->SetFixedCurrent(current); }), NotANumber);
        QCOMPARE(current, -1.0f);
    }

    // What the release at shutdown and the loop test dialog rely on: a loop
    // counts as fixed from the request of a current until the device has
    // confirmed its release; a refused request changes nothing.
    void currentFixedUntilTheReleaseIsConfirmed_data()
    {
        QTest::addColumn<QStringList>("steps");    // "<mA>: <answer data>", or "<mA>: none" for silence
        QTest::addColumn<QList<bool>>("fixed");    // after each step
        const QString fix4 = "4: 00 08 40 80 00 00";
        QTest::newRow("fixed and released") << QStringList { fix4, "0: 00 00 00 00 00 00" } << QList<bool> { true, false };
        QTest::newRow("release refused, busy") << QStringList { fix4, "0: 20 08" } << QList<bool> { true, true };
        QTest::newRow("release refused, echoing 0 mA") << QStringList { fix4, "0: 20 08 00 00 00 00" } << QList<bool> { true, true };
        QTest::newRow("release refused, status not fixed") << QStringList { fix4, "0: 20 00" } << QList<bool> { true, false };
        QTest::newRow("release unanswered") << QStringList { fix4, "0: none" } << QList<bool> { true, true };
        QTest::newRow("release answered 4 mA") << QStringList { fix4, "0: 00 08 40 80 00 00" } << QList<bool> { true, true };
        QTest::newRow("release without the current") << QStringList { fix4, "0: 00 00" } << QList<bool> { true, false };
        QTest::newRow("set refused in multidrop") << QStringList { "4: 0B 08" } << QList<bool> { false };
        QTest::newRow("set unanswered") << QStringList { "4: none" } << QList<bool> { true };
        QTest::newRow("second set refused") << QStringList { fix4, "30: 03 08" } << QList<bool> { true, true };
    }

    void currentFixedUntilTheReleaseIsConfirmed()
    {
        QFETCH(QStringList, steps);
        QFETCH(QList<bool>, fixed);
        Device device;
        QList<bool> flags;
        for (const QString& step : steps) {
            float current = step.section(':', 0, 0).toFloat();
            const QString answer = step.section(": ", 1);
            if (answer == QLatin1String("none"))
                device.port->QueueSilence();
            else
                device.Answers(40, answer.toLatin1().constData());
            try {
                device.hart->SetFixedCurrent(current);
            } catch (const ETimeoutException&) {
            }
            flags << device.hart->CurrentFixed();
        }
        QCOMPARE(flags, fixed);
    }

    void trimLoopCurrent()
    {
        Device device;
        float zero = 4.02f;
        float gain = 19.98f;
        device.Answers(45, "00 00 40 80 00 00");
        device.Answers(46, "00 00 41 A0 00 00");
        device.hart->TrimLoopCurrentZero(zero);
        device.hart->TrimLoopCurrentGain(gain);
        QCOMPARE(device.port->Written, (QList<QByteArray> { Request("2D 04 40 80 A3 D7"), Request("2E 04 41 9F D7 0A") }));
        QCOMPARE(zero, 4.0f);
        QCOMPARE(gain, 20.0f);
        QCOMPARE(device.Statuses[0].OperationName, QString("Trim Loop Current Zero"));
        QCOMPARE(device.Statuses[1].OperationName, QString("Trim Loop Current Gain"));
    }

    void writeVariableAssignments()
    {
        Device device;
        quint8 pv = 0, sv = 1, tv = 2, qv = 3;
        device.Answers(51, "00 00 00 01 02 FA");
        device.hart->WriteVariableAssignments(pv, sv, tv, qv);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("33 04 00 01 02 03") });
        QCOMPARE(qv, quint8(250));
        QCOMPARE(device.LastStatus().OperationName, QString("Write Dynamic Variable Assignments"));
    }

    void writeDeviceVariableUnits()
    {
        Device device;
        QString unit = "millimeters";
        device.Answers(53, "00 00 02 30");
        device.hart->WriteDeviceVariableUnits(2, unit);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("35 02 02 31") });
        QCOMPARE(unit, QString("centimeters"));
        QCOMPARE(device.LastStatus().OperationName, QString("Write Device Variable Units (DV2)"));

        device.Answers(53, "00 00 03 31");
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteDeviceVariableUnits(2, unit); }),
                 QString("Write Device Variable Units: device does not respond correct Device Variable number"));
        QCOMPARE(device.Events.size(), 2);              // nothing for the mismatch
    }

    void writeDampingValue()
    {
        Device device;
        float damping = 2.5f;
        device.Answers(55, "00 00 01 40 00 00 00");
        device.hart->WriteDampingValue(1, damping);
        QCOMPARE(device.port->Written, QList<QByteArray> { Request("37 05 01 40 20 00 00") });
        QCOMPARE(damping, 2.0f);
        QCOMPARE(device.LastStatus().OperationName, QString("Write Damping Value (DV1)"));

        device.Answers(55, "00 00 01 7F A0 00 00");
        device.hart->WriteDampingValue(1, damping);
        QCOMPARE(damping, 2.0f);
        QCOMPARE(device.Events.size(), 4);

        device.Answers(55, "00 00 00 40 00 00 00");
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteDampingValue(1, damping); }),
                 QString("Write Device Variable Damping Value: device does not respond correct Device Variable number"));
        QCOMPARE(device.Events.size(), 4);
    }

    // --- Composite operations ---

    void changeLoopCurrentModeKeepsTheAddress()
    {
        Device device;
        bool mode = true;
        device.Answers(7, "00 00 05 00");
        device.Answers(6, "00 00 05 01");
        device.hart->ChangeLoopCurrentMode(mode);
        QCOMPARE(device.port->Written, (QList<QByteArray> { Request("07 00"), Request("06 02 05 01") }));
        QCOMPARE(mode, true);
        QCOMPARE(device.Events, (QStringList { "status 7", "write", "status 6" }));
    }

    void changePollingAddressKeepsTheMode()
    {
        Device device;
        quint8 address = 3;
        device.Answers(7, "00 00 05 01");
        device.Answers(6, "00 00 03 01");
        device.hart->ChangePollingAddress(address);
        QCOMPARE(device.port->Written, (QList<QByteArray> { Request("07 00"), Request("06 02 03 01") }));
        QCOMPARE(address, quint8(3));
    }

    void writeTagOrDescriptorKeepsTheOtherFields()
    {
        Device device;
        QString tag = "NEWTAG";
        device.port->QueueAnswer(Answer(13, AnswerData("00 00", TagDescriptorDate)));
        device.Answers(18, "00 00");
        device.hart->WriteTagOrDescriptor(tag, true);
        const QByteArray write = Hex("12 15") + Hex(PackedNewTag) + Hex("50 13 8B 83 38 0C 15 61 4C 82 08 20 18 0C 6E");
        QCOMPARE(device.port->Written, (QList<QByteArray> { Request("0D 00"), Request(write) }));
        QCOMPARE(tag, QString("NEWTAG  "));

        QString descriptor = "NEW DESCRIPTION";
        device.port->QueueAnswer(Answer(13, AnswerData("00 00", TagDescriptorDate)));
        device.Answers(18, "00 00");
        device.hart->WriteTagOrDescriptor(descriptor, false);
        const QByteArray descriptorWrite = Hex("12 15 50 11 F1 82 08 20") + Hex(PackedNewDescription) + Hex("18 0C 6E");
        QCOMPARE(device.port->Written.last(), Request(descriptorWrite));
    }

    void writeDateKeepsTagAndDescriptor()
    {
        Device device;
        QDate date(2024, 2, 29);
        device.port->QueueAnswer(Answer(13, AnswerData("00 00", TagDescriptorDate)));
        device.Answers(18, "00 00");
        device.hart->WriteDate(date);
        const QByteArray write = Hex("12 15 50 11 F1 82 08 20 50 13 8B 83 38 0C 15 61 4C 82 08 20 1D 02 7C");
        QCOMPARE(device.port->Written.last(), Request(write));
    }

    // A new probe may hold day and month 0. Tag and descriptor are still
    // written, the stored date going back as it was, and a date can replace it.
    void impossibleStoredDateDoesNotBlockTheWrites()
    {
        Device device;
        const QByteArray storedFields = Hex("50 11 F1 82 08 20 50 13 8B 83 38 0C 15 61 4C 82 08 20");
        const QByteArray answer13 = Hex("00 00") + storedFields + Hex("00 00 6E");
        QString tag = "NEWTAG";
        device.port->QueueAnswer(Answer(13, answer13));
        device.port->QueueAnswer(Answer(18, Hex("00 00") + Hex(PackedNewTag) + storedFields.mid(6) + Hex("00 00 6E")));
        device.hart->WriteTagOrDescriptor(tag, true);
        QCOMPARE(device.port->Written.last(), Request(Hex("12 15") + Hex(PackedNewTag) + storedFields.mid(6) + Hex("00 00 6E")));
        QCOMPARE(tag, QString("NEWTAG  "));

        QDate date(2024, 2, 29);
        device.port->QueueAnswer(Answer(13, answer13));
        device.Answers(18, "00 00");
        device.hart->WriteDate(date);
        QCOMPARE(device.port->Written.last(), Request(Hex("12 15") + storedFields + Hex("1D 02 7C")));
        QCOMPARE(device.port->Written.size(), 4);
    }

    // Without the current fields the write would overwrite the device's
    // settings with guesses; nothing is written.
    void compositeWritesNeedTheCurrentFields()
    {
        Device device;
        bool mode = true;
        device.Answers(7, "20 00");
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->ChangeLoopCurrentMode(mode); }),
                 QString("The device did not report its polling address and loop current mode; nothing was written."));
        quint8 address = 2;
        device.Answers(7, "20 00");
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->ChangePollingAddress(address); }),
                 QString("The device did not report its polling address and loop current mode; nothing was written."));
        QString tag = "NEWTAG";
        device.Answers(13, "20 00");
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteTagOrDescriptor(tag, true); }),
                 QString("The device did not report its tag, descriptor and date; nothing was written."));
        QDate date(2024, 1, 1);
        device.Answers(13, "20 00");
        QCOMPARE(ErrorMessage<Exception>([&] { device.hart->WriteDate(date); }),
                 QString("The device did not report its tag, descriptor and date; nothing was written."));

        QCOMPARE(device.port->Written, (QList<QByteArray> { Request("07 00"), Request("07 00"), Request("0D 00"), Request("0D 00") }));
        QCOMPARE(device.Events, (QStringList { "status 7", "status 7", "status 13", "status 13" }));
    }

    // --- Raw frames ---

    void directCommandIsSentAsBuilt()
    {
        Device device;
        const QByteArray frame = Hex("FF FF FF FF FF FF FF 82 A3 80 01 23 45 03 00") + char(0x82 ^ 0xA3 ^ 0x80 ^ 0x01 ^ 0x23 ^ 0x45 ^ 0x03);
        device.Answers(3, "00 00 41 80 00 00 2D 41 20 00 00");
        THARTFrame answer;
        device.hart->SendDirectCommand(frame, 1200, answer);
        QCOMPARE(device.port->Written, QList<QByteArray> { frame });
        QCOMPARE(answer.Command, 3);
        QCOMPARE(answer.Data, Hex("00 00 41 80 00 00 2D 41 20 00 00"));
        QCOMPARE(device.Events, QStringList { "status 3" });
        QCOMPARE(device.LastStatus().OperationName, QString("Direct Command"));
    }
};

QTEST_GUILESS_MAIN(TestUniversalCommands)
#include "test_universal_commands.moc"

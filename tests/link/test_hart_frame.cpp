// Answer decoding, checksum rule and request builders.
#include "HexBytes.h"
#include "ScriptedPort.h"

#include "commands/TComportHART.h"
#include "link/THARTFrame.h"

#include <QtTest>

namespace {

THARTFrame Decoded(const QByteArray& received)
{
    THARTFrame frame;
    DecodeHARTAnswer(received, frame);
    return frame;
}

// The parser's verdict on a received buffer: empty when it is a good frame.
QString Verdict(const QByteArray& received)
{
    try {
        VerifyHARTChecksum(Decoded(received));
        return {};
    } catch (const EInconsistentException& e) {
        return e.Message();
    }
}

} // namespace

class TestHARTFrame : public QObject
{
    Q_OBJECT

private slots:
    void shortAnswerDecodesField()
    {
        const THARTFrame frame = Decoded(Hex("FF FF 06 80 00 00 86"));
        QCOMPARE(frame.PreambleCount, 2u);
        QCOMPARE(frame.Delimiter, quint8(0x06));
        QCOMPARE(frame.LongFrame, false);
        QCOMPARE(frame.Address, Hex("80"));
        QCOMPARE(frame.Command, 0);
        QCOMPARE(frame.ByteCount, 0u);
        QVERIFY(frame.Data.isEmpty());
        QCOMPARE(frame.Checksum, quint8(0x86));
        QCOMPARE(Verdict(Hex("FF FF 06 80 00 00 86")), QString());
    }

    void longAnswerDecodesAddressAndData()
    {
        // Command 1 answer: status 00 00, unit 45 (meters), 10.0.
        const QByteArray bytes = Hex("FF FF FF FF FF 86 A6 80 01 23 45 01 07 00 00 2D 41 20 00 00 8D");
        const THARTFrame frame = Decoded(bytes);
        QCOMPARE(frame.PreambleCount, 5u);
        QVERIFY(frame.LongFrame);
        QCOMPARE(frame.Address, Hex("A6 80 01 23 45"));
        QCOMPARE(frame.Command, 1);
        QCOMPARE(frame.ByteCount, 7u);
        QCOMPARE(frame.Data, Hex("00 00 2D 41 20 00 00"));
        QCOMPARE(Verdict(bytes), QString());
    }

    void failureMessages_data()
    {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QString>("message");
        QTest::newRow("one preamble") << Hex("FF 06 80 00 00 86") << "answer inconsistent (preamble count less than 2)";
        QTest::newRow("burst short") << Hex("FF FF 01 80 00 00 81") << "answer inconsistent (delimiter invalid)";
        QTest::newRow("burst long") << Hex("FF FF 81 A6 80 01 23 45 00 00 00") << "answer inconsistent (delimiter invalid)";
        QTest::newRow("preambles only") << Hex("FF FF FF FF FF") << "answer inconsistent (framing error)";
        QTest::newRow("wrong check byte") << Hex("FF FF 06 80 00 00 87") << "answer inconsistent (checksum incorrect)";
        QTest::newRow("stops before command") << Hex("FF FF 86 A6 80") << "answer inconsistent (checksum incorrect)";
        QTest::newRow("stops before checksum") << Hex("FF FF 06 80 01 02 00 00") << "answer inconsistent (checksum incorrect)";
    }

    void failureMessages()
    {
        QFETCH(QByteArray, received);
        QFETCH(QString, message);
        QCOMPARE(Verdict(received), message);
    }

    void bytesAfterChecksumAreIgnored()
    {
        const THARTFrame plain = Decoded(Hex("FF FF 06 80 00 00 86"));
        const THARTFrame trailed = Decoded(Hex("FF FF 06 80 00 00 86 12 FF 00"));
        QCOMPARE(trailed.Checksum, plain.Checksum);
        QCOMPARE(trailed.Data, plain.Data);
        QCOMPARE(Verdict(Hex("FF FF 06 80 00 00 86 12 FF 00")), QString());
    }

    void partialFrameStaysDecodedAfterFailure()
    {
        THARTFrame frame;
        QVERIFY_THROWS_EXCEPTION(EInconsistentException, DecodeHARTAnswer(Hex("FF FF 01 80"), frame));
        QCOMPARE(frame.PreambleCount, 2u);
        QCOMPARE(frame.Delimiter, quint8(0x01));
        QCOMPARE(frame.Command, -1);
    }

    void shortCommand0RequestForPollingAddress3()
    {
        TComportHART hart(std::make_unique<ScriptedPort>());
        QCOMPARE(Spaced(hart.BuildShortFrame0(3)), QString("FF FF FF FF FF 02 83 00 00 81"));
        QCOMPARE(Spaced(hart.BuildShortFrame0(0)), QString("FF FF FF FF FF 02 80 00 00 82"));
    }

    void longAddressAndCommand1Request()
    {
        TComportHART hart(std::make_unique<ScriptedPort>());
        hart.ManufacturerID = 0x26;
        hart.DeviceTypeCode = 0x80;
        hart.DeviceID = 0x012345;
        hart.BuildLongAddress();
        QCOMPARE(Spaced(hart.LongAddressPrefix), QString("FF FF FF FF FF 82 A6 80 01 23 45"));
        QCOMPARE(hart.PrefixChecksum, quint8(0xC3));
        QCOMPARE(Spaced(hart.BuildLongFrame(Hex("01 00"))), QString("FF FF FF FF FF 82 A6 80 01 23 45 01 00 C2"));
    }

    void longAddressKeepsOnlyTheLowBitsOfWideIdentities()
    {
        TComportHART hart(std::make_unique<ScriptedPort>());
        hart.ManufacturerID = 0xE3;        // 227: low six bits 0x23
        hart.DeviceTypeCode = 0xE380;      // expanded type: only its low byte is addressed
        hart.DeviceID = 0x7ABCDEF;         // 24 bits are sent
        hart.BuildLongAddress();
        QCOMPARE(Spaced(hart.LongAddressPrefix), QString("FF FF FF FF FF 82 A3 80 AB CD EF"));
    }

    void longFrameWithoutDeviceIsRefused()
    {
        TComportHART hart(std::make_unique<ScriptedPort>());
        QVERIFY(hart.HasNoDevice());
        try {
            hart.BuildLongFrame(Hex("01 00"));
            QFAIL("a frame was built without a device");
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), QString("No HART device was found.\r\rNOTE\rConnect a supported HART device to your HART Modem and\rthe HART Modem to the selected COM port."));
        }
        hart.DeviceID = 1;
        hart.BuildLongAddress();
        QVERIFY(!hart.HasNoDevice());
        hart.ForgetDevice();
        QVERIFY(hart.HasNoDevice());
    }
};

QTEST_GUILESS_MAIN(TestHARTFrame)
#include "test_hart_frame.moc"

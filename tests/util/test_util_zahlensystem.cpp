#include "ErrorMessage.h"

#include "util/UUtilZahlensystem.h"

#include <QTest>

#include <limits>

namespace {

QByteArray Bytes(const char* hex)
{
    return QByteArray::fromHex(hex);
}

const QString BitOutOfRange = QStringLiteral("bit value out of range");

} // namespace

class TestUtilZahlensystem : public QObject
{
    Q_OBJECT

private slots:
    void intToBytes_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("three bytes, most significant first") << 258 << 3 << Bytes("000102");
        QTest::newRow("negative value, two's complement") << -1 << 2 << Bytes("FFFF");
        QTest::newRow("all four bytes") << 0x12345678 << 4 << Bytes("12345678");
        QTest::newRow("one byte keeps the lowest") << 0x12345678 << 1 << Bytes("78");
        QTest::newRow("minimum integer") << std::numeric_limits<qint32>::min() << 4 << Bytes("80000000");
    }
    void intToBytes()
    {
        QFETCH(qint32, value);
        QFETCH(int, count);
        QFETCH(QByteArray, expected);
        QCOMPARE(IntToBytes(value, count), expected);
    }

    void intToBytesRejectsCount_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("0") << 0;
        QTest::newRow("5") << 5;
        QTest::newRow("-1") << -1;
    }
    void intToBytesRejectsCount()
    {
        QFETCH(int, count);
        QCOMPARE(ErrorMessage<EConvertError>([&] { IntToBytes(1, count); }),
                 QStringLiteral("numberOfBytes out of range"));
    }

    void singleToBytes_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("1.0") << 1.0f << Bytes("3F800000");
        QTest::newRow("-2.5") << -2.5f << Bytes("C0200000");
        QTest::newRow("pi") << 3.14159274f << Bytes("40490FDB");
        QTest::newRow("zero") << 0.0f << Bytes("00000000");
        QTest::newRow("infinity") << std::numeric_limits<float>::infinity() << Bytes("7F800000");
    }
    void singleToBytes()
    {
        QFETCH(float, value);
        QFETCH(QByteArray, expected);
        QCOMPARE(SingleToBytes(value), expected);
        // And back: the same value from the same bytes.
        QCOMPARE(BytesToSingle(expected), value);
    }

    void bytesToSingleNeedsFourBytes()
    {
        QCOMPARE(ErrorMessage<EConvertError>([] { BytesToSingle(Bytes("3F8000")); }),
                 QStringLiteral("An IEEE single needs 4 bytes"));
    }

    void bytesToHex()
    {
        QCOMPARE(BytesToHex(Bytes("000AFF7c")), QStringLiteral("000AFF7C"));
        QCOMPARE(BytesToHex(QByteArray()), QString());
    }

    void hexToBytes_data()
    {
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("odd count gets a leading zero") << "abc" << Bytes("0ABC");
        QTest::newRow("single digit") << "7" << Bytes("07");
        QTest::newRow("mixed case") << "0aFf" << Bytes("0AFF");
        QTest::newRow("empty") << "" << QByteArray();
    }
    void hexToBytes()
    {
        QFETCH(QString, hex);
        QFETCH(QByteArray, expected);
        QCOMPARE(HexToBytes(hex), expected);
    }

    void hexToBytesRejectsNonHex_data()
    {
        QTest::addColumn<QString>("hex");
        QTest::newRow("letter beyond F") << "0G";
        QTest::newRow("blank between digits") << "12 3";
        QTest::newRow("sign") << "+1";
        QTest::newRow("C prefix") << "0x12";
        QTest::newRow("non-ASCII letter") << QStringLiteral("\u00C4B");
    }
    void hexToBytesRejectsNonHex()
    {
        QFETCH(QString, hex);
        QCOMPARE(ErrorMessage<EConvertError>([&] { HexToBytes(hex); }),
                 QStringLiteral("'%1' is not a valid hexadecimal number").arg(hex));
    }

    void intToDigits_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("expected");
        QTest::newRow("byte in binary") << 5 << 2 << 8 << "00000101";
        QTest::newRow("zero in binary") << 0 << 2 << 8 << "00000000";
        QTest::newRow("FF") << 255 << 16 << 2 << "FF";
        QTest::newRow("DE") << 0xDE << 16 << 2 << "DE";
        QTest::newRow("high digits dropped") << 0x1AB << 16 << 2 << "AB";
        QTest::newRow("octal, leading zeros") << 7 << 8 << 3 << "007";
        QTest::newRow("largest value") << 65535 << 2 << 16 << "1111111111111111";
        QTest::newRow("width 0") << 10 << 10 << 0 << "";
    }
    void intToDigits()
    {
        QFETCH(int, value);
        QFETCH(int, base);
        QFETCH(int, width);
        QFETCH(QString, expected);
        QCOMPARE(IntToDigits(value, base, width), expected);
    }

    void intToDigitsRejectsArguments_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("base");
        QTest::addColumn<QString>("message");
        QTest::newRow("negative value") << -1 << 2 << "value out of range";
        QTest::newRow("value above 65535") << 65536 << 2 << "value out of range";
        QTest::newRow("base 1") << 5 << 1 << "base out of range";
        QTest::newRow("base 0") << 5 << 0 << "base out of range";
        QTest::newRow("base 17") << 5 << 17 << "base out of range";
    }
    void intToDigitsRejectsArguments()
    {
        QFETCH(int, value);
        QFETCH(int, base);
        QFETCH(QString, message);
        QCOMPARE(ErrorMessage<EConvertError>([&] { IntToDigits(value, base, 8); }), message);
    }

    void binToInt_data()
    {
        QTest::addColumn<QString>("binary");
        QTest::addColumn<int>("expected");
        QTest::newRow("most significant first") << "101" << 5;
        QTest::newRow("spaces skipped") << " 1000 0001 " << 129;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("many leading zeros") << QString(40, '0') + "1" << 1;
        QTest::newRow("largest integer") << QString(31, '1') << std::numeric_limits<int>::max();
    }
    void binToInt()
    {
        QFETCH(QString, binary);
        QFETCH(int, expected);
        QCOMPARE(BinToInt(binary), expected);
    }

    void binToIntRejects_data()
    {
        QTest::addColumn<QString>("binary");
        QTest::addColumn<QString>("message");
        QTest::newRow("digit 2") << "102" << QStringLiteral("keine Bin\u00E4rzahl");
        QTest::newRow("letter") << "1a" << QStringLiteral("keine Bin\u00E4rzahl");
        QTest::newRow("tab is no space") << "\t1" << QStringLiteral("keine Bin\u00E4rzahl");
        QTest::newRow("beyond the integer range") << QString(32, '1') << "binary number too large";
    }
    void binToIntRejects()
    {
        QFETCH(QString, binary);
        QFETCH(QString, message);
        QCOMPARE(ErrorMessage<EConvertError>([&] { BinToInt(binary); }), message);
    }

    void isBitSet()
    {
        QVERIFY(IsBitSet(0x80, 8));
        QVERIFY(!IsBitSet(0x80, 7));
        QVERIFY(IsBitSet(0x01, 1));
        QVERIFY(!IsBitSet(0xFE, 1));
        for (int bitNumber = 1; bitNumber <= 8; ++bitNumber)
            QCOMPARE(IsBitSet(0xA5, bitNumber), bool(0xA5 & (1 << (bitNumber - 1))));
    }

    void isBitSetRejectsBitNumber_data()
    {
        QTest::addColumn<int>("bitNumber");
        QTest::newRow("0") << 0;
        QTest::newRow("9") << 9;
        QTest::newRow("-1") << -1;
    }
    void isBitSetRejectsBitNumber()
    {
        QFETCH(int, bitNumber);
        QCOMPARE(ErrorMessage<Exception>([&] { IsBitSet(0xFF, bitNumber); }), BitOutOfRange);
    }

    void isBinDigitSet()
    {
        QVERIFY(IsBinDigitSet("10000000", 7));
        QVERIFY(!IsBinDigitSet("10000000", 0));
        QVERIFY(IsBinDigitSet("00000001", 0));
        QVERIFY(IsBinDigitSet("00000100", 2));
        QVERIFY(!IsBinDigitSet("11111011", 2));
        QVERIFY(IsBinDigitSet(IntToDigits(0x40, 2, 8), 6));
    }

    void isBinDigitSetRejects()
    {
        QCOMPARE(ErrorMessage<Exception>([] { IsBinDigitSet("11111111", -1); }), BitOutOfRange);
        QCOMPARE(ErrorMessage<Exception>([] { IsBinDigitSet("11111111", 8); }), BitOutOfRange);
        QCOMPARE(ErrorMessage<EConvertError>([] { IsBinDigitSet("1010", 0); }),
                 QStringLiteral("'1010' has fewer than 8 binary digits"));
        QCOMPARE(ErrorMessage<EConvertError>([] { IsBinDigitSet("", 7); }),
                 QStringLiteral("'' has fewer than 8 binary digits"));
    }

    void setBitTo_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("set");
        QTest::addColumn<int>("bit");
        QTest::addColumn<int>("expected");
        QTest::newRow("set bit 0") << 0x00 << true << 0 << 0x01;
        QTest::newRow("set bit 7") << 0x00 << true << 7 << 0x80;
        QTest::newRow("clear bit 7") << 0xFF << false << 7 << 0x7F;
        QTest::newRow("set a set bit") << 0x81 << true << 0 << 0x81;
        QTest::newRow("clear a clear bit") << 0x81 << false << 3 << 0x81;
    }
    void setBitTo()
    {
        QFETCH(int, value);
        QFETCH(bool, set);
        QFETCH(int, bit);
        QFETCH(int, expected);
        QCOMPARE(int(SetBitTo(quint8(value), set, bit)), expected);
    }

    void setBitToRejectsBit_data()
    {
        QTest::addColumn<int>("bit");
        QTest::newRow("-1") << -1;
        QTest::newRow("8") << 8;
        QTest::newRow("32") << 32;
    }
    void setBitToRejectsBit()
    {
        QFETCH(int, bit);
        QCOMPARE(ErrorMessage<Exception>([&] { SetBitTo(0, true, bit); }), BitOutOfRange);
    }

    void packASCII_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("ABCD") << "ABCD" << Bytes("0420C4");
        QTest::newRow("eight blanks") << "        " << Bytes("820820820820");
        QTest::newRow("empty") << "" << QByteArray();
    }
    void packASCII()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(PackASCII(text), expected);
    }

    // Anything outside blank to underscore would go out as another character.
    void packASCIIRefusesCharactersWithoutACode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("character");
        QTest::newRow("lower-case letter") << "ABCd" << "\"d\" (U+0064)";
        QTest::newRow("euro sign") << QStringLiteral("\u20ACABC") << QStringLiteral("\"\u20AC\" (U+20AC)");
        QTest::newRow("grave accent after the underscore") << "AB`C" << "\"`\" (U+0060)";
        QTest::newRow("control character before the blank") << "\tABC" << "\"\t\" (U+0009)";
        QTest::newRow("beyond 16 bits, the length wrong too") << QStringLiteral("\U0001F600A") << QStringLiteral("\"\U0001F600\" (U+1F600)");
    }
    void packASCIIRefusesCharactersWithoutACode()
    {
        QFETCH(QString, text);
        QFETCH(QString, character);
        QCOMPARE(ErrorMessage<EConvertError>([&] { PackASCII(text); }),
                 "the character " + character + " has no packed ASCII code (packed ASCII holds blank, digits, "
                 "upper-case letters and the signs !\"#$%&'()*+,-./:;<=>?@[\\]^_)");
    }

    void packASCIIRejectsLength()
    {
        for (const QString text : {"ABC", "A", "ABCDE"})
            QCOMPARE(ErrorMessage<EConvertError>([&] { PackASCII(text); }),
                     QStringLiteral("length of ascii string"));
    }

    void unpackASCII_data()
    {
        QTest::addColumn<QByteArray>("packed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ABCD") << Bytes("0420C4") << "ABCD";
        QTest::newRow("all zero bits") << Bytes("000000") << "@@@@";
        QTest::newRow("all one bits") << Bytes("FFFFFF") << "????";
        QTest::newRow("signs from 0x21 on") << Bytes("8628E4") << "!\"#$";
        QTest::newRow("empty") << QByteArray() << "";
    }
    void unpackASCII()
    {
        QFETCH(QByteArray, packed);
        QFETCH(QString, expected);
        QCOMPARE(UnpackASCII(packed), expected);
    }

    void unpackASCIIRejectsLength()
    {
        for (const char* hex : {"0102030405", "01", "01020304"})
            QCOMPARE(ErrorMessage<EConvertError>([&] { UnpackASCII(Bytes(hex)); }),
                     QStringLiteral("Length of packed ascii string invalid."));
    }

    void packedASCIIRoundTripsEveryPackableCharacter()
    {
        QString text;
        for (int code = 0x20; code <= 0x5F; ++code)
            text.append(QChar(code));
        const QByteArray packed = PackASCII(text);
        QCOMPARE(packed.size(), 48);
        QCOMPARE(UnpackASCII(packed), text);
    }
};

QTEST_GUILESS_MAIN(TestUtilZahlensystem)
#include "test_util_zahlensystem.moc"

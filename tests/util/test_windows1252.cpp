// Device text in the Windows-1252 code page.
#include "ErrorMessage.h"

#include "util/UWindows1252.h"

#include <QTest>

class TestWindows1252 : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<uint>("code");
        QTest::newRow("ASCII") << 0x41 << 0x41u;
        QTest::newRow("euro sign") << 0x80 << 0x20ACu;
        QTest::newRow("S caron") << 0x8A << 0x160u;
        QTest::newRow("trade mark") << 0x99 << 0x2122u;
        QTest::newRow("Y diaeresis") << 0x9F << 0x178u;
        QTest::newRow("unassigned 0x81") << 0x81 << 0x81u;
        QTest::newRow("unassigned 0x9D") << 0x9D << 0x9Du;
        QTest::newRow("degree sign") << 0xB0 << 0xB0u;
        QTest::newRow("y diaeresis") << 0xFF << 0xFFu;
    }
    void decode()
    {
        QFETCH(int, byte);
        QFETCH(uint, code);
        QCOMPARE(FromWindows1252(QByteArray(1, char(byte))), QString(QChar(code)));
    }

    void everyByteRoundTrips()
    {
        QByteArray bytes;
        for (int byte = 0; byte < 256; ++byte)
            bytes.append(char(byte));
        QCOMPARE(ToWindows1252(FromWindows1252(bytes)), bytes);
    }

    void refusesCharactersWithoutAByte_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("character");
        QTest::newRow("Greek letter") << QStringLiteral("Tank \u03A9") << QStringLiteral("\"\u03A9\" (U+03A9)");
        QTest::newRow("C1 control the code page has a sign for") << QStringLiteral("\u0080") << QStringLiteral("\"\u0080\" (U+0080)");
        QTest::newRow("beyond 16 bits") << QStringLiteral("A\U0001F600") << QStringLiteral("\"\U0001F600\" (U+1F600)");
    }
    void refusesCharactersWithoutAByte()
    {
        QFETCH(QString, text);
        QFETCH(QString, character);
        QCOMPARE(ErrorMessage<EConvertError>([&] { ToWindows1252(text); }),
                 "the character " + character + " has no Windows-1252 code");
    }
};

QTEST_GUILESS_MAIN(TestWindows1252)
#include "test_windows1252.moc"

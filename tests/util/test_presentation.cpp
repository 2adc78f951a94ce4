// Number and date presentation.
#include "util/UConversions.h"
#include "util/UPresentation.h"

#include <QLocale>
#include <QTime>
#include <QtTest>

#include <limits>

class TestPresentation : public QObject
{
    Q_OBJECT

private slots:
    void decimalWithHex()
    {
        QCOMPARE(DecHex(227, 1), QString("227 (0xE3)"));
        QCOMPARE(DecHex(5, 2), QString("5 (0x05)"));
        QCOMPARE(DecHex(128, 2), QString("128 (0x80)"));
        QCOMPARE(DecHex(0xE380, 2), QString("58240 (0xE380)"));
    }

    // Precision 16: up to 16 integer digits the text is fixed-point with the
    // given decimals; wider values switch to scientific notation with 16
    // significant digits.
    void fixedPoint_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three decimals") << "C" << 4.0 << 3 << "4.000";
        QTest::newRow("no grouping") << "en_US" << 1500.0 << 3 << "1500.000";
        QTest::newRow("the 2^32 marker") << "C" << 4294967296.0 << 3 << "4294967296.000";
        QTest::newRow("rounded to the decimals") << "C" << -0.0005 << 3 << "-0.001";
        QTest::newRow("locale separator") << "de_DE" << 1234.5 << 2 << "1234,50";
        QTest::newRow("16 integer digits") << "C" << 9999999999999998.0 << 3 << "9999999999999998.000";
        QTest::newRow("17 integer digits") << "C" << 1e16 << 3 << "1.000000000000000E+16";
        QTest::newRow("1e20") << "C" << 1e20 << 3 << "1.000000000000000E+20";
        QTest::newRow("-1e20") << "C" << -1e20 << 3 << "-1.000000000000000E+20";
        QTest::newRow("1e20, locale separator") << "de_DE" << 1e20 << 3 << "1,000000000000000E+20";
        QTest::newRow("largest single") << "C" << double(std::numeric_limits<float>::max()) << 3 << "3.402823466385289E+38";
        QTest::newRow("+infinity") << "C" << std::numeric_limits<double>::infinity() << 3 << "INF";
        QTest::newRow("-infinity") << "de_DE" << -std::numeric_limits<double>::infinity() << 3 << "-INF";
        QTest::newRow("not a number") << "C" << std::numeric_limits<double>::quiet_NaN() << 3 << "NaN";
    }
    void fixedPoint()
    {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(FormatFixed(value, decimals), expected);
        QLocale::setDefault(QLocale::c());
    }

    // Whatever the locale, a number is ASCII digits and minus with a comma or
    // a point and reads back, and a time of day is ASCII: files hold them in
    // Windows-1252, which has no byte for the locale's own minus sign
    // (U+2212) or digits, or for a Japanese time.
    void numbersAndTimesFitEveryLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("number");
        for (const char* comma : { "de_DE", "sv_SE", "fi_FI", "nb_NO", "lt_LT", "et_EE", "sl_SI", "eu_ES" })
            QTest::newRow(comma) << comma << "-1234,500";
        for (const char* point : { "C", "en_US", "ja_JP", "ko_KR", "ar_SA", "fa_IR" })
            QTest::newRow(point) << point << "-1234.500";
    }

    void numbersAndTimesFitEveryLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, number);
        QLocale::setDefault(QLocale(locale));
        const QString formatted = FormatFixed(-1234.5, 3);
        float readBack = 0;
        const bool read = TryStrToFloat(formatted, readBack);
        const QString time = LongTimeText(QTime(14, 5, 9));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(formatted, number);
        QVERIFY(read);
        QCOMPARE(readBack, -1234.5f);
        // ASCII: ASCII digits, and nothing that Windows-1252 has no byte for.
        QVERIFY2(time.toUtf8() == time.toLatin1() && time.contains(QLatin1String("05")), qPrintable(time));
        // No remains of the time zone, which is not written.
        QVERIFY2(!time.contains(QLatin1String("()")) && time == time.trimmed(), qPrintable(time));
    }

    void floatKeyCharsEndWithTheLocaleSeparator()
    {
        QLocale::setDefault(QLocale(QLocale::German));
        QVERIFY(FloatKeyChars().endsWith(QLatin1Char(',')));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(FloatKeyChars(), QString("\b-0123456789."));
    }

    void shortDateFormat()
    {
        QCOMPARE(QDate(2010, 12, 24).toString(ShortDateFormat()), QString("24.12.2010"));
        QCOMPARE(QDate::fromString(QStringLiteral("03.04.2026"), ShortDateFormat()), QDate(2026, 4, 3));
    }
};

QTEST_GUILESS_MAIN(TestPresentation)
#include "test_presentation.moc"

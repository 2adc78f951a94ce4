// Number and date presentation.
#include "util/UPresentation.h"

#include <QLocale>
#include <QtTest>

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

    void fixedPointUsesTheLocaleSeparator()
    {
        QLocale::setDefault(QLocale::c());
        QCOMPARE(FormatFixed(4.0, 3), QString("4.000"));
        QCOMPARE(FormatFixed(4294967296.0, 3), QString("4294967296.000"));
        QCOMPARE(FormatFixed(-0.0005, 3), QString("-0.001"));
        QLocale::setDefault(QLocale(QLocale::German));
        QCOMPARE(FormatFixed(1234.5, 2), QString("1234,50"));     // no grouping
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

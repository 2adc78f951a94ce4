// Converting what the user typed: the platform's rules and messages.
#include "util/Exceptions.h"
#include "util/UConversions.h"

#include <QLocale>
#include <QtTest>

namespace {

// The converted value as text, or the conversion's message.
QString Converted(const QString& kind, const QString& text)
{
    try {
        if (kind == QLatin1String("int"))
            return QString::number(StrToInt(text));
        if (kind == QLatin1String("hex"))
            return QString::number(HexToUInt32(text));
        if (kind == QLatin1String("float"))
            return QString::number(StrToFloat(text));
        return StrToDate(text).toString(Qt::ISODate);
    } catch (const EConvertError& error) {
        return error.Message();
    }
}

} // namespace

class TestConversions : public QObject
{
    Q_OBJECT

private slots:
    // Each text converts to the number (as text) or fails with the message.
    void conversions_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("integer with blanks") << "C" << "int" << " 42 " << "42";
        QTest::newRow("integer beyond 32 bits") << "C" << "int" << "4294967296" << "'4294967296' is not a valid integer value";
        QTest::newRow("integer, empty") << "C" << "int" << "" << "'' is not a valid integer value";
        QTest::newRow("hex, either case") << "C" << "hex" << "fF" << "255";
        QTest::newRow("hex, all 32 bits") << "C" << "hex" << "FFFFFFFF" << "4294967295";
        QTest::newRow("hex beyond 32 bits") << "C" << "hex" << "100000000" << "'100000000' is not a valid integer value";
        QTest::newRow("hex with prefix") << "C" << "hex" << "0x1F" << "'0x1F' is not a valid integer value";
        QTest::newRow("hex, signed") << "C" << "hex" << "-1" << "'-1' is not a valid integer value";
        QTest::newRow("hex, empty") << "C" << "hex" << "" << "'' is not a valid integer value";
        QTest::newRow("decimal point") << "en_US" << "float" << "1.5" << "1.5";
        // Read as fifteen, a grouped "1,5" would silently write another value.
        QTest::newRow("group separator") << "en_US" << "float" << "1,5" << "'1,5' is not a valid floating point value";
        QTest::newRow("decimal comma") << "de_DE" << "float" << "1,5" << "1.5";
        QTest::newRow("point under a decimal comma") << "de_DE" << "float" << "1.5" << "'1.5' is not a valid floating point value";
        QTest::newRow("two signs") << "C" << "float" << "--1" << "'--1' is not a valid floating point value";
        QTest::newRow("largest float as written") << "C" << "float" << "3.402823466385289E+38" << "3.40282e+38";
        QTest::newRow("beyond a float") << "C" << "float" << "1E+39" << "'1E+39' is not a valid floating point value";
        QTest::newRow("date without leading zeros") << "C" << "date" << "1.2.2024" << "2024-02-01";
        QTest::newRow("impossible date") << "C" << "date" << "31.02.2024" << "'31.02.2024' is not a valid date";
        QTest::newRow("date with slashes") << "C" << "date" << "01/02/2024" << "'01/02/2024' is not a valid date";
    }

    void conversions()
    {
        QFETCH(QString, locale);
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale(locale));
        const QString result = Converted(kind, text);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(result, expected);
    }
};

QTEST_GUILESS_MAIN(TestConversions)
#include "test_conversions.moc"

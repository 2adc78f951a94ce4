#include "util/UPresentation.h"

#include "util/Exceptions.h"
#include "util/UWindows1252.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTime>

#include <cmath>

namespace {

// Fixed-point text shows at most this many digits before the separator; a
// wider value is shown in scientific notation with as many significant digits.
constexpr int Precision = 16;
constexpr double FirstWiderValue = 1e16;

} // namespace

QString ShortDateFormat()
{
    return QStringLiteral("dd.MM.yyyy");
}

QChar DecimalSeparator()
{
    return QLocale().decimalPoint() == QLatin1String(",") ? QLatin1Char(',') : QLatin1Char('.');
}

// The locale's order and separators, with ASCII digits and English AM/PM.
QString LongTimeText(const QTime& time)
{
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    // The time zone goes, with the brackets some locales put around it.
    format.remove(QRegularExpression(QStringLiteral("\\s*\\(?\\bt+\\b\\)?")));
    const QString text = QLocale::c().toString(time, format.trimmed());
    try {
        ToWindows1252(text);
        return text;
    } catch (const EConvertError&) {
        return time.toString(QStringLiteral("HH:mm:ss"));
    }
}

QString StoredDateText(const QByteArray& dayMonthYear)
{
    if (dayMonthYear.size() != 3)
        return QString();
    const int day = quint8(dayMonthYear.at(0));
    const int month = quint8(dayMonthYear.at(1));
    const int year = 1900 + quint8(dayMonthYear.at(2));
    const QChar zero(QLatin1Char('0'));
    return QStringLiteral("%1.%2.%3").arg(day, 2, 10, zero).arg(month, 2, 10, zero).arg(year, 4, 10, zero);
}

QString FloatKeyChars()
{
    return QStringLiteral("\b-0123456789") + DecimalSeparator();
}

// The words for the special values are the program's, not the locale's, so
// that other code can recognise them. The locale gives only the separator:
// its own digits and minus sign (U+2212 in Swedish) have no Windows-1252 byte.
QString FormatFixed(double value, int decimals)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    const QLocale c = QLocale::c();
    QString text = std::abs(value) >= FirstWiderValue ? c.toString(value, 'E', Precision - 1) : c.toString(value, 'f', decimals);
    return text.replace(QLatin1Char('.'), DecimalSeparator());
}

QString NumberWithUnitText(double value, const QString& unit)
{
    return FormatFixed(value, 3) + QLatin1Char(' ') + unit;
}

QString DecHex(quint32 value, int hexDigits)
{
    const QString hex = QStringLiteral("%1").arg(value, hexDigits, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("%1 (0x%2)").arg(value).arg(hex);
}

QString HexByteList(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size() * 3);
    for (const char b : bytes)
        text += QStringLiteral("%1 ").arg(quint8(b), 2, 16, QLatin1Char('0')).toUpper();
    return text;
}

QString DisplayText(const QString& message)
{
    QString text = message;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

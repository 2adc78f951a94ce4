#include "util/UConversions.h"

#include "util/Exceptions.h"
#include "util/UPresentation.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

int StrToInt(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

quint32 HexToUInt32(const QString& text)
{
    static const QString hexDigits = QStringLiteral("0123456789abcdefABCDEF");
    const QString digits = text.trimmed();
    // toUInt alone would also take a "0x" prefix and a sign.
    const bool onlyHexDigits = !digits.isEmpty()
        && std::all_of(digits.begin(), digits.end(), [](QChar c) { return hexDigits.contains(c); });
    bool ok = false;
    const quint32 value = onlyHexDigits ? digits.toUInt(&ok, 16) : 0;
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

namespace {

// Beyond this a value no longer rounds to the largest float: it would become
// infinite. The largest float itself is written with 16 digits, which a
// little exceeds it, and must read back.
constexpr double FloatRoundingLimit = double(std::numeric_limits<float>::max()) + 0x1p103;

} // namespace

float StrToFloat(const QString& text)
{
    float value = 0;
    if (!TryStrToFloat(text, value))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

// The program's own number text (UPresentation): ASCII digits and minus,
// the decimal separator. Group separators are refused: with a decimal point
// "1,5" would otherwise be read as fifteen, with a comma "1.5" as fifteen.
bool TryStrToFloat(const QString& text, float& value)
{
    QString digits = text.trimmed();
    const QChar separator = DecimalSeparator();
    if (separator != QLatin1Char('.')) {
        if (digits.contains(QLatin1Char('.')))
            return false;
        digits.replace(separator, QLatin1Char('.'));
    }
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double number = c.toDouble(digits, &ok);
    if (!ok || !(std::abs(number) < FloatRoundingLimit))
        return false;
    value = float(number);
    return true;
}

QDate StrToDate(const QString& text)
{
    const QDate date = QDate::fromString(text.trimmed(), QStringLiteral("d.M.yyyy"));
    if (!date.isValid())
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    return date;
}

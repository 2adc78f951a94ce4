#include "config/UConfigValues.h"

#include "util/Exceptions.h"
#include "util/UConversions.h"
#include "util/UPresentation.h"

#include <QDateTime>

namespace {

constexpr int HighAlarm = 0;
constexpr int LowAlarm = 1;

} // namespace

QString BoolText(bool flag)
{
    return flag ? QStringLiteral("true") : QStringLiteral("false");
}

bool TryBoolValue(const QString& text, bool& flag)
{
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        flag = true;
    else if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        flag = false;
    else
        return false;
    return true;
}

TNumberWithUnit NumberWithUnitValue(const QString& value)
{
    const int blank = value.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return { StrToFloat(value), QString() };
    return { StrToFloat(value.left(blank)), value.mid(blank + 1).trimmed() };
}

QString DampingText(float seconds)
{
    return FormatFixed(seconds, 3) + QStringLiteral(" seconds");
}

QString AlarmSelectionText(int code)
{
    switch (code) {
    case HighAlarm: return QStringLiteral("high (21,5 mA)");
    case LowAlarm: return QStringLiteral("low (3,6 mA)");
    default: return QStringLiteral("unknown");
    }
}

quint8 AlarmSelectionCode(const QString& value)
{
    const QString text = value.toLower();
    for (const char* low : { "low (3.6 ma)", "low (3,6 ma)", "low" }) {
        if (text == QLatin1String(low))
            return LowAlarm;
    }
    for (const char* high : { "high (21.5 ma)", "high (21,5 ma)", "high" }) {
        if (text == QLatin1String(high))
            return HighAlarm;
    }
    throw Exception(QStringLiteral("Alarm Selection invalid"));
}

QString DateText(const QDate& date)
{
    return date.toString(ShortDateFormat());
}

QString DateTimeText(const QDateTime& moment)
{
    return DateText(moment.date()) + QLatin1Char(' ') + LongTimeText(moment.time());
}

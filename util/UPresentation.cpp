#include "util/UPresentation.h"

#include <QLocale>

QString ShortDateFormat()
{
    return QStringLiteral("dd.MM.yyyy");
}

QString FloatKeyChars()
{
    return QStringLiteral("\b-0123456789") + QLocale().decimalPoint();
}

QString FormatFixed(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

QString DecHex(quint32 value, int hexDigits)
{
    const QString hex = QStringLiteral("%1").arg(value, hexDigits, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("%1 (0x%2)").arg(value).arg(hex);
}

QString DisplayText(const QString& message)
{
    QString text = message;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

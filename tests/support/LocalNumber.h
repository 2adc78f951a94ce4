#pragma once

#include <QLocale>
#include <QString>

// A number as the program shows and reads it on this machine: "1.500" with
// the locale's decimal separator, "1,500" under a decimal comma.
inline QString Local(const char* number)
{
    return QString::fromLatin1(number).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

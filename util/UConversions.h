#pragma once

#include <QDate>
#include <QString>

// Text entered by the user, converted as the platform converts it: decimal
// numbers with the locale's decimal separator, dates as day.month.year with
// points. A text that does not convert raises EConvertError with the
// platform's message, the text quoted in it.

// A decimal integer that fits 32 bits ("'x' is not a valid integer value").
int StrToInt(const QString& text);
// A hexadecimal number of at most 32 bits, digits only ("'x' is not a valid
// integer value").
quint32 HexToUInt32(const QString& text);
// A number a 32-bit float can hold ("'x' is not a valid floating point value").
float StrToFloat(const QString& text);
// The same without the error: false, `value` unchanged, for a text that
// does not convert.
bool TryStrToFloat(const QString& text, float& value);
// Day, month and four-digit year, points between them ("'x' is not a valid date").
QDate StrToDate(const QString& text);

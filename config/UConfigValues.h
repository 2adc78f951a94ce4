#pragma once

#include <QDate>
#include <QString>

class QDateTime;

// How the configuration file writes and reads its values. Numbers use the
// locale's decimal separator, as the windows do, so that a file reads back
// on the machine that wrote it.

QString BoolText(bool flag);
// "true" or "false" in any letter case; false, `flag` unchanged, otherwise.
bool TryBoolValue(const QString& text, bool& flag);

struct TNumberWithUnit
{
    float Number = 0;
    QString Unit;  // empty when the value has no second word
};
// The first blank-separated word as number; the rest of the value, trimmed,
// as unit name, so that "feet in sixteenths" is read whole. Raises the
// conversion error for a first word that is no number.
TNumberWithUnit NumberWithUnitValue(const QString& value);

// Three decimals, then " seconds".
QString DampingText(float seconds);

// "high (21,5 mA)" for alarm code 0, "low (3,6 mA)" for 1, "unknown" otherwise.
QString AlarmSelectionText(int code);
// The codes of the texts above in any letter case, also with a decimal point
// or without the current; raises "Alarm Selection invalid" otherwise.
quint8 AlarmSelectionCode(const QString& value);

// The program's short date format.
QString DateText(const QDate& date);
// The date, a blank, the time of day in the locale's long time format.
QString DateTimeText(const QDateTime& moment);

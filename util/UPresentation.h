#pragma once

#include <QString>

class QTime;

// How the program shows numbers and dates: ASCII digits and minus with the
// locale's decimal separator, dates as day.month.four-digit year, so that
// every text can be written to a Windows-1252 file and read back.

// The locale's decimal separator when it is a comma, a point otherwise (the
// Arabic separator has no Windows-1252 byte).
QChar DecimalSeparator();

// The program-wide short date format (day, month, four-digit year, points).
QString ShortDateFormat();

// A time of day in the locale's long time format, without the time zone
// that Qt's long format adds: "14:05:09" with a 24-hour clock. A format
// whose text Windows-1252 cannot hold (Japanese, Korean) gives hh:mm:ss.
QString LongTimeText(const QTime& time);

// A date as a HART device stores it (day, month, year - 1900) in the short
// date format, also when it is no valid date: a new probe may hold day and
// month 0, and the user sees that rather than an error. Empty without the
// three bytes.
QString StoredDateText(const QByteArray& dayMonthYear);

// Characters a float entry field accepts: backspace, "-", the digits and the
// decimal separator.
QString FloatKeyChars();

// Fixed-point text with `decimals` decimals and the decimal separator, no
// grouping ("1500.000"). Precision 16: a value with more than 16 digits before
// the separator is shown in scientific notation with 16 significant digits
// ("1.000000000000000E+20"); infinities read "INF" and "-INF", a NaN "NaN".
QString FormatFixed(double value, int decimals);

// Three decimals, a blank, the unit name: "1500.000 millimeters".
QString NumberWithUnitText(double value, const QString& unit);

// "227 (0xE3)": decimal, then upper-case hex with at least `hexDigits` digits.
QString DecHex(quint32 value, int hexDigits);

// Each byte as two upper-case hex digits followed by a blank: "FF 02 ".
QString HexByteList(const QByteArray& bytes);

// The system's messages break lines with CR (and CR LF); dialogs want LF.
QString DisplayText(const QString& message);

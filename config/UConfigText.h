#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A configuration file as text: 8-bit Windows-1252 bytes on every platform
// (the degree sign of "°C" is 0xB0), no quoting, every line ended by CR LF.
// A key line is key, separator and value with nothing in between; lines
// without a separator carry no data.

struct TConfigEntry
{
    QString Key;    // trimmed, A-Z in lower case
    QString Value;  // trimmed
};

// One line with its line end, as the file holds it. Raises for a character
// that has no Windows-1252 byte.
QByteArray ConfigLineBytes(const QString& line);

// The lines of a file. A lone LF ends a line as well, so that a file edited
// with a Linux editor reads the same.
QStringList ConfigFileLines(const QByteArray& content);

// Without leading and trailing blanks and control characters.
QString ConfigTrimmed(const QString& text);

// The key is the text before the first separator (the whole line when it has
// none); the value is everything after it, so that a value holding the
// separator (a message "A;B", a decimal comma under the separator ",") comes
// back whole. Empty without a separator.
TConfigEntry ConfigEntry(const QString& line, const QString& separator);

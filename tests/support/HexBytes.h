#pragma once

#include <QByteArray>
#include <QString>

// "FF FF 06 80" -> the bytes; blanks are only for reading.
inline QByteArray Hex(const char* spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

// The bytes as "FF FF 06 80", for readable comparisons.
inline QString Spaced(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

#pragma once

#include <QByteArray>

// HART packed ASCII: four 6-bit characters in three bytes, most significant
// bits first. Only the characters 0x20..0x5F survive the trip; a 6-bit code
// below 0x20 stands for 0x40 + code (the at sign, upper-case letters, ...).
class TSimPackedAscii
{
public:
    // Packs the text, cut or padded with spaces to the given number of
    // characters (a multiple of four).
    static QByteArray Pack(const QByteArray& text, int characters);

    // Unpacks every complete group of three bytes into four characters.
    static QByteArray Unpack(const QByteArray& packed);
};

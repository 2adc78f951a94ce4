#pragma once

// Byte and integer conversions, bit tests, hex and binary digit strings,
// HART packed ASCII and IEEE singles as bytes. Byte strings are QByteArray;
// texts are QString.
// All functions are pure and raise EConvertError (or Exception) on bad input.

#include <QByteArray>
#include <QString>

// The `count` low-order bytes of value, most significant first (count 1-4).
QByteArray IntToBytes(qint32 value, int count);

// The four bytes of the IEEE 754 single, sign/exponent byte first.
QByteArray SingleToBytes(float value);

// The IEEE 754 single of four bytes, sign/exponent byte first.
float BytesToSingle(const QByteArray& fourBytes);

// Two upper-case hex digits per byte, no separators.
QString BytesToHex(const QByteArray& bytes);

// Pairs of hex digits (either case) to bytes; an odd count gets a leading "0".
QByteArray HexToBytes(const QString& hex);

// Exactly `width` digits of value (0-65535) in base 2-16, leading zeros,
// high-order digits that do not fit dropped.
QString IntToDigits(int value, int base, int width);

// Binary digits (most significant first, blanks skipped) to an integer.
int BinToInt(const QString& binary);

// Bit number 1-8: 1 tests the least significant bit, 8 the most significant.
bool IsBitSet(quint8 value, int bitNumber);

// Bit 0-7 of an 8-character binary text: bit 0 is the last character.
bool IsBinDigitSet(const QString& binary, int bit);

// value with bit 0-7 set or cleared.
quint8 SetBitTo(quint8 value, bool set, int bit);

// HART packed ASCII (4 characters in 3 bytes) to text, and back. Packed ASCII
// holds the characters from blank to underscore (0x20-0x5F); PackASCII refuses
// any other character, naming it, and a length that is not a multiple of 4.
QString UnpackASCII(const QByteArray& packed);
QByteArray PackASCII(const QString& text);

#include "util/UUtilZahlensystem.h"

#include "util/Exceptions.h"
#include "util/StringTools.h"

#include <QList>

#include <cstring>
#include <limits>

namespace {

const QString Digits = QStringLiteral("0123456789ABCDEF");

// A HART packed-ASCII group: four 6-bit characters in three bytes.
constexpr int CharsPerGroup = 4;
constexpr int BytesPerGroup = 3;
constexpr int BitsPerChar = 6;
constexpr quint32 SixBits = 0x3F;
constexpr char32_t FirstPackable = 0x20;       // blank
constexpr char32_t LastPackable = 0x5F;        // underscore

QByteArray BigEndianBytes(quint32 value, int count)
{
    QByteArray bytes(count, '\0');
    for (int i = count - 1; i >= 0; --i, value >>= 8)
        bytes[i] = char(value & 0xFF);
    return bytes;
}

int HexDigitValue(QChar digit)
{
    return Digits.indexOf(digit, 0, Qt::CaseInsensitive);
}

// Bit tests count from 1 to 8, bit edits and digit tests from 0 to 7; any other
// number is a caller's fault and must not shift into undefined territory.
void CheckBit(int bit, int first, int last)
{
    if (bit < first || bit > last)
        throw Exception(QStringLiteral("bit value out of range"));
}

// Packed-ASCII codes 0x00-0x1F stand for the characters 0x40-0x5F; a code
// with its top bit set is the character itself.
QChar CharOfPackedCode(quint32 code)
{
    return QChar(code >= 0x20 ? code : code + 0x40);
}

// Packing keeps only the low six bits of a character, so any character
// outside blank to underscore would reach the device as another one.
void CheckPackable(const QString& text)
{
    for (const char32_t code : text.toUcs4()) {
        if (code < FirstPackable || code > LastPackable)
            throw EConvertError(QStringLiteral("the character ") + QuotedCharacter(code)
                                + QStringLiteral(" has no packed ASCII code (packed ASCII holds blank, digits, "
                                                 "upper-case letters and the signs !\"#$%&'()*+,-./:;<=>?@[\\]^_)"));
    }
}

} // namespace

QByteArray IntToBytes(qint32 value, int count)
{
    if (count < 1 || count > 4)
        throw EConvertError(QStringLiteral("numberOfBytes out of range"));
    return BigEndianBytes(quint32(value), count);
}

QByteArray SingleToBytes(float value)
{
    quint32 bits = 0;
    static_assert(sizeof bits == sizeof value, "an IEEE single has 32 bits");
    std::memcpy(&bits, &value, sizeof bits);
    return BigEndianBytes(bits, 4);
}

float BytesToSingle(const QByteArray& fourBytes)
{
    if (fourBytes.size() != 4)
        throw EConvertError(QStringLiteral("An IEEE single needs 4 bytes"));
    quint32 bits = 0;
    for (char byte : fourBytes)
        bits = (bits << 8) | quint8(byte);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString BytesToHex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QByteArray HexToBytes(const QString& hex)
{
    const QString digits = hex.size() % 2 == 0 ? hex : QLatin1Char('0') + hex;
    QByteArray bytes;
    bytes.reserve(digits.size() / 2);
    for (int i = 0; i < digits.size(); i += 2) {
        const int high = HexDigitValue(digits[i]);
        const int low = HexDigitValue(digits[i + 1]);
        if (high < 0 || low < 0)
            throw EConvertError(QStringLiteral("'%1' is not a valid hexadecimal number").arg(hex));
        bytes.append(char(high * 16 + low));
    }
    return bytes;
}

QString IntToDigits(int value, int base, int width)
{
    if (value < 0 || value > 0xFFFF)
        throw EConvertError(QStringLiteral("value out of range"));
    if (base < 2 || base > 16)
        throw EConvertError(QStringLiteral("base out of range"));
    QString digits(qMax(width, 0), QLatin1Char('0'));
    for (int i = digits.size() - 1; i >= 0 && value > 0; --i, value /= base)
        digits[i] = Digits[value % base];
    return digits;
}

int BinToInt(const QString& binary)
{
    qint64 value = 0;
    for (const QChar digit : binary) {
        if (digit == QLatin1Char(' '))
            continue;
        if (digit != QLatin1Char('0') && digit != QLatin1Char('1'))
            throw EConvertError(QStringLiteral("keine Binärzahl"));
        value = value * 2 + (digit == QLatin1Char('1') ? 1 : 0);
        if (value > std::numeric_limits<int>::max())
            throw EConvertError(QStringLiteral("binary number too large"));
    }
    return int(value);
}

bool IsBitSet(quint8 value, int bitNumber)
{
    CheckBit(bitNumber, 1, 8);
    return (value >> (bitNumber - 1)) & 1;
}

bool IsBinDigitSet(const QString& binary, int bit)
{
    CheckBit(bit, 0, 7);
    if (binary.size() < 8)
        throw EConvertError(QStringLiteral("'%1' has fewer than 8 binary digits").arg(binary));
    return binary[7 - bit] == QLatin1Char('1');
}

quint8 SetBitTo(quint8 value, bool set, int bit)
{
    CheckBit(bit, 0, 7);
    const quint8 mask = quint8(1u << bit);
    return set ? quint8(value | mask) : quint8(value & ~mask);
}

QString UnpackASCII(const QByteArray& packed)
{
    if (packed.size() % BytesPerGroup != 0)
        throw EConvertError(QStringLiteral("Length of packed ascii string invalid."));
    QString text;
    text.reserve(packed.size() / BytesPerGroup * CharsPerGroup);
    for (int i = 0; i < packed.size(); i += BytesPerGroup) {
        const quint32 group = quint32(quint8(packed[i])) << 16
                            | quint32(quint8(packed[i + 1])) << 8
                            | quint32(quint8(packed[i + 2]));
        for (int shift = (CharsPerGroup - 1) * BitsPerChar; shift >= 0; shift -= BitsPerChar)
            text.append(CharOfPackedCode((group >> shift) & SixBits));
    }
    return text;
}

QByteArray PackASCII(const QString& text)
{
    CheckPackable(text);
    if (text.size() % CharsPerGroup != 0)
        throw EConvertError(QStringLiteral("length of ascii string"));
    QByteArray packed;
    packed.reserve(text.size() / CharsPerGroup * BytesPerGroup);
    for (int i = 0; i < text.size(); i += CharsPerGroup) {
        quint32 group = 0;
        for (int k = 0; k < CharsPerGroup; ++k)
            group = group << BitsPerChar | (text[i + k].unicode() & SixBits);
        packed.append(BigEndianBytes(group, BytesPerGroup));
    }
    return packed;
}

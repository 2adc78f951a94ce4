#include "util/UWindows1252.h"

#include "util/Exceptions.h"
#include "util/StringTools.h"

#include <QList>

#include <algorithm>
#include <array>

namespace {

constexpr char32_t FirstSign = 0x80;
constexpr char32_t LastSign = 0x9F;

// The characters of the bytes 0x80-0x9F; an unassigned byte holds its own code.
constexpr std::array<char16_t, 32> Signs {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,     // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,     // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,     // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,     // 98-9F
};

bool IsSignByte(quint8 byte)
{
    return byte >= FirstSign && byte <= LastSign;
}

char ByteOf(char32_t code)
{
    const auto sign = std::find(Signs.begin(), Signs.end(), code);
    if (sign != Signs.end())
        return char(FirstSign + (sign - Signs.begin()));
    // The remaining C1 controls have no byte: their bytes carry the signs.
    if (code <= 0xFF && !IsSignByte(quint8(code)))
        return char(code);
    throw EConvertError(QStringLiteral("the character ") + QuotedCharacter(code) + QStringLiteral(" has no Windows-1252 code"));
}

} // namespace

QString FromWindows1252(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const quint8 byte = quint8(c);
        text.append(QChar(IsSignByte(byte) ? Signs[byte - FirstSign] : char16_t(byte)));
    }
    return text;
}

QByteArray ToWindows1252(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const char32_t code : text.toUcs4())
        bytes.append(ByteOf(code));
    return bytes;
}

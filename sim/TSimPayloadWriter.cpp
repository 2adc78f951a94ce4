#include "TSimPayloadWriter.h"

#include "TSimPackedAscii.h"

#include <cmath>
#include <cstring>

namespace {
constexpr quint32 HartNotANumber = 0x7FA00000;
}

TSimPayloadWriter& TSimPayloadWriter::Byte(quint8 value)
{
    payload.append(char(value));
    return *this;
}

TSimPayloadWriter& TSimPayloadWriter::UInt16(quint16 value)
{
    return BigEndian(value, 2);
}

TSimPayloadWriter& TSimPayloadWriter::UInt24(quint32 value)
{
    return BigEndian(value, 3);
}

TSimPayloadWriter& TSimPayloadWriter::UInt32(quint32 value)
{
    return BigEndian(value, 4);
}

TSimPayloadWriter& TSimPayloadWriter::Float(float value)
{
    quint32 bits = HartNotANumber;
    if (!std::isnan(value))
        std::memcpy(&bits, &value, sizeof bits);
    return BigEndian(bits, 4);
}

TSimPayloadWriter& TSimPayloadWriter::Bytes(const QByteArray& bytes)
{
    payload.append(bytes);
    return *this;
}

TSimPayloadWriter& TSimPayloadWriter::PackedText(const QByteArray& text, int characters)
{
    return Bytes(TSimPackedAscii::Pack(text, characters));
}

TSimPayloadWriter& TSimPayloadWriter::BigEndian(quint32 value, int byteCount)
{
    for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8)
        payload.append(char(value >> shift));
    return *this;
}

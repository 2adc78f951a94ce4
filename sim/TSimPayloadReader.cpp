#include "TSimPayloadReader.h"

#include <cstring>

float TSimPayloadReader::Float(int position) const
{
    const quint32 bits = BigEndian(position, 4);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

quint32 TSimPayloadReader::BigEndian(int position, int byteCount) const
{
    quint32 value = 0;
    for (int i = 0; i < byteCount; ++i)
        value = (value << 8) | Byte(position + i);
    return value;
}

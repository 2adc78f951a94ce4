#pragma once

#include <QByteArray>

// Builds the payload of an answer: big-endian integers, IEEE singles with the
// most significant byte first, packed ASCII.
class TSimPayloadWriter
{
public:
    TSimPayloadWriter& Byte(quint8 value);
    TSimPayloadWriter& UInt16(quint16 value);
    TSimPayloadWriter& UInt24(quint32 value);
    TSimPayloadWriter& UInt32(quint32 value);
    // A NaN goes out as the HART not-a-number pattern 7F A0 00 00.
    TSimPayloadWriter& Float(float value);
    TSimPayloadWriter& Bytes(const QByteArray& bytes);
    TSimPayloadWriter& PackedText(const QByteArray& text, int characters);

    const QByteArray& Payload() const { return payload; }

private:
    TSimPayloadWriter& BigEndian(quint32 value, int byteCount);

    QByteArray payload;
};

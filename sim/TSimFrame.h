#pragma once

#include <QByteArray>

// One HART frame in either direction: preambles, delimiter, address (1 byte
// short, 5 bytes long), command, byte count, data and check byte. The byte
// count is always the size of Data.
struct TSimFrame
{
    static constexpr quint8 ShortRequest = 0x02;
    static constexpr quint8 LongRequest = 0x82;
    static constexpr quint8 ShortAnswer = 0x06;
    static constexpr quint8 LongAnswer = 0x86;
    static constexpr quint8 MasterBit = 0x80;
    static constexpr quint8 BurstBit = 0x40;

    int Preambles = 5;
    quint8 Delimiter = 0;
    QByteArray Address;
    quint8 Command = 0;
    QByteArray Data;
    quint8 Checksum = 0;

    bool IsLong() const { return Delimiter & 0x80; }
    bool ChecksumValid() const { return Checksum == ComputedChecksum(); }

    // Sets the check byte to the XOR of the delimiter through the last data byte.
    void Seal() { Checksum = ComputedChecksum(); }

    // The frame as it travels on the wire.
    QByteArray Bytes() const;

private:
    QByteArray Body() const;
    quint8 ComputedChecksum() const;
};

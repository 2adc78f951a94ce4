#pragma once

#include <QByteArray>

// Reads big-endian numbers out of the data of a request. Positions count from
// the first data byte; callers check the size before they read.
class TSimPayloadReader
{
public:
    explicit TSimPayloadReader(const QByteArray& data) : data(data) {}

    int Size() const { return data.size(); }
    quint8 Byte(int position) const { return quint8(data[position]); }
    quint16 UInt16(int position) const { return quint16(BigEndian(position, 2)); }
    quint32 UInt24(int position) const { return BigEndian(position, 3); }
    float Float(int position) const;
    QByteArray Bytes(int position, int count) const { return data.mid(position, count); }

private:
    quint32 BigEndian(int position, int byteCount) const;

    QByteArray data;
};

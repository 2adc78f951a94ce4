#include "TSimFrame.h"

QByteArray TSimFrame::Bytes() const
{
    return QByteArray(Preambles, char(0xFF)) + Body() + char(Checksum);
}

QByteArray TSimFrame::Body() const
{
    return char(Delimiter) + Address + char(Command) + char(Data.size()) + Data;
}

quint8 TSimFrame::ComputedChecksum() const
{
    quint8 sum = 0;
    for (char byte : Body())
        sum ^= quint8(byte);
    return sum;
}

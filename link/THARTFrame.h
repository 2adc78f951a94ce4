#pragma once

#include <QByteArray>

// Byte string of a frame field; copying a frame copies its fields.
using TArrayChar = QByteArray;

// One received HART frame. Data[0] is the response code (first status byte),
// Data[1] the field device status, the payload starts at Data[2].
struct THARTFrame
{
    quint32 PreambleCount = 0;
    quint8 Delimiter = 0;
    bool LongFrame = false;
    TArrayChar Address;
    qint32 Command = -1;        // -1 while no command byte has been received
    quint32 ByteCount = 0;
    TArrayChar Data;
    quint8 Checksum = 0;
    bool ChecksumReceived = false;  // the frame was not cut short before its check byte
};

// Decodes the received bytes (starting at the first 0xFF) into `frame`, which
// must be in its reset state. Raises EInconsistentException at the first byte
// that cannot start a valid answer (too few preambles, invalid delimiter);
// `frame` then holds what was decoded so far. Bytes after the checksum are
// ignored.
void DecodeHARTAnswer(const QByteArray& received, THARTFrame& frame);

// Checks the longitudinal parity of a decoded answer. Fields that were never
// received keep their reset values and take part as they stand; a frame cut
// short before its check byte fails here even when the bytes it has XOR to 0.
void VerifyHARTChecksum(const THARTFrame& frame);

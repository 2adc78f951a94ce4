#pragma once

#include <QByteArray>
#include <QtGlobal>

// One frame as it crossed the line, kept for a capture file.
struct TTracedFrame
{
    enum TDirection { Request, Answer };

    TDirection Direction = Request;
    // Microseconds since 1970-01-01 UTC: when a request was handed to the
    // port, or when the last byte of an answer arrived.
    qint64 Time = 0;
    // The bytes on the line, preambles included; an answer from its first
    // preamble on.
    QByteArray Bytes;
};

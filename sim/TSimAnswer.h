#pragma once

#include <QByteArray>
#include <QStringList>

// What a device sends back for one request, faults included.
struct TSimAnswer
{
    bool Sent = false;     // false: the device stays silent
    bool Executed = false; // the device carried out the request
    QByteArray Bytes;      // as they go on the wire
    int DelayMs = 0;       // on top of the bus's turnaround
    QStringList Faults;    // names of the faults applied
};

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// One complete frame the bus received, and what was sent back for it.
struct TSimExchange
{
    static constexpr int NoDevice = -1;

    QByteArray Request;         // raw bytes, preambles through check byte
    bool ChecksumValid = false;
    bool LongFrame = false;
    int Command = -1;
    QByteArray Data;            // request data
    int PollingAddress = NoDevice; // the addressed device (its address when the request came)
    bool Executed = false;      // the device carried out the request
    bool Answered = false;
    QByteArray Answer;          // raw bytes sent, faults included
    QStringList Faults;         // names of the faults applied

    bool Addressed() const { return PollingAddress != NoDevice; }

    // One line for a console: request, device, answer and faults.
    QString Summary() const;
};

#pragma once

#include <QByteArray>
#include <QString>

// A long-frame request as a technician composes it in the direct command
// window, every field as typed. The frame is sent exactly as built here.
struct TDirectCommandRequest
{
    // The start delimiter of a long frame from master to field device.
    static constexpr quint8 Delimiter = 0x82;
    // HART masters send 5 to 20 preambles. More only hold the line: at 1200
    // baud each costs 9 ms, and the answer's time-out includes them.
    static constexpr int MaxPreambles = 20;
    // The byte count is one byte.
    static constexpr int MaxDataBytes = 255;

    // The identity edits of the main window: "227 (0xE3)", "10 (0x0A)", "1193046".
    QString ManufacturerID;
    QString DeviceCode;
    QString DeviceID;
    QString Command;
    // Hex bytes of one or two digits, separated by blanks.
    QString Data;
    QString Preambles;
    bool SecondaryMaster = false;

    // Delimiter, address, command, byte count and data; raises with the
    // message for the user.
    QByteArray Body() const;
    // The checksum as two upper-case hex digits, or "E" while the request
    // cannot be built.
    QString ChecksumText() const;
    // Preambles, body and checksum.
    QByteArray Frame() const;
};

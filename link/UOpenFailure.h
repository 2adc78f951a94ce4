#pragma once

#include <QSerialPort>
#include <QString>

// What this user may do with a serial device node: the facts that tell why
// opening it failed.
struct TNodeAccess
{
    bool Exists = false;
    bool ReadableAndWritable = false;   // by this user
    QString Group;                      // the group that owns the node
    bool GroupReadsAndWrites = false;   // whether that group's members may read and write it

    static TNodeAccess Of(const QString& path);
};

// Raises what a failed open of a port's node means to the user, the port
// named as the user knows it ("COM5 (/dev/ttyUSB0)"):
// - EAccessDenied when this user may not read and write the node, saying how
//   to get the right (on Debian: membership of the group dialout);
// - EAlreadyOpen when the node is this user's to use and the driver still
//   refuses it as a permission matter: someone else holds it;
// - Exception with the driver's reason otherwise (for instance no such node).
[[noreturn]] void ThrowOpenFailure(const QString& portName, QSerialPort::SerialPortError error, const QString& reason,
                                   const TNodeAccess& node);

#pragma once

#include <QByteArray>
#include <QString>

// Firmware version of command 208: three bytes, shown as e.g. "2.10.3".
struct TFirmware
{
    QString VersionText;
    QByteArray VersionBytes;
};

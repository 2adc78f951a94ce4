#pragma once

#include <QtGlobal>

// The identity found at one polling address by a life-list scan.
struct TDeviceIdentity
{
    quint16 ManufacturerID = 0;
    quint16 DeviceTypeCode = 0;
    quint8 UniversalRevision = 0;
    quint8 DeviceRevision = 0;
    quint8 SoftwareRevision = 0;
    quint8 HardwareRevision = 0;
    qint32 DeviceID = 0;
};

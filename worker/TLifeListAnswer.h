#pragma once

#include "commands/TDeviceStatus.h"

#include <QString>

#include <array>

// One row of the multidrop life list: what a scan or a refresh found at one
// polling address. A ManufacturerID of 0 means no device answered there.
struct TLifeListAnswer
{
    bool Inconsistent = false;      // the device sent a malformed answer
    qint32 PollingAddress = 0;
    QString Tag;
    quint16 ManufacturerID = 0;
    quint16 DeviceTypeCode = 0;     // the expanded 16-bit code from universal revision 7 on
    qint32 DeviceID = 0;
    TDeviceStatus Status;           // of the last answer received for this address
    QString PVText;
    QString PercentText;
    bool IsLast = false;            // no further row follows from this job
};

constexpr int LifeListSize = 16;

// The rows of polling addresses 0-15, indexed by address.
using TArrayLifeListAnswer = std::array<TLifeListAnswer, LifeListSize>;

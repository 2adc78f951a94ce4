#pragma once

#include <QString>

// The status of the last answer: its two status bytes, the command and the
// operation that sent it, and the maker's additional status (command 48).
struct TDeviceStatus
{
    quint8 Command = 0;
    QString OperationName;
    quint8 DeviceStatus = 0;        // second status byte: field device status
    bool CommError = false;         // bit 7 of the first status byte
    quint8 ResponseCode = 0;        // first status byte
    bool HARTParameterError = false;
    bool TransmitterParameterError = false;
    bool MeasurementError = false;
    bool ErrorCounterError = false;
    bool LowVoltageError = false;
    bool DryWarning = false;
};

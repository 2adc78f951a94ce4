#pragma once

#include "link/TComportHARTBasis.h"

// The HART command layer: the identity of the one device it talks to, and
// one operation per HART command the tool uses.
class TComportHART : public TComportHARTBasis
{
    Q_OBJECT

public:
    explicit TComportHART(int comNumber, QObject* parent = nullptr);
    // Over a ready-made port (a scripted one in tests).
    explicit TComportHART(std::unique_ptr<TComPort> port, QObject* parent = nullptr);

    // Request builders.
    QByteArray BuildShortFrame0(int pollingAddress) const;
    void BuildLongAddress();
    // commandBytes: command number, byte count and data. Raises when no
    // device is connected.
    QByteArray BuildLongFrame(const QByteArray& commandBytes) const;

    bool HasNoDevice() const { return LongAddressPrefix.isEmpty(); }
    void ForgetDevice() { LongAddressPrefix.clear(); }

    // Identity of the current device; read by the jobs.
    qint32 DeviceID = 0;
    int RequestPreambles = 5;
    QByteArray LongAddressPrefix;
    quint8 PrefixChecksum = 0;
    quint16 ManufacturerID = 0;
    quint16 DeviceTypeCode = 0;
    quint8 PollingAddress = 0;
    bool CheckManufacturer = false;
    quint8 DeviceFamily = 0;
    qint32 UniversalRevision = 0;
    qint32 DeviceRevision = 0;
    qint32 SoftwareRevision = 0;
    qint32 HardwareRevision = 0;
};

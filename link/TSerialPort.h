#pragma once

#include "link/TComPort.h"

#include <QSerialPort>
#include <QTimer>

// A COM port on the platform's serial driver. RTS keys the HART modem's
// transmitter: it is raised just before a frame is written and dropped once
// the driver reports the last byte sent. Ports without modem-control lines
// (a pseudo-terminal, for instance) work too; their RTS state is only tracked.
// When the device goes away while the port is open (a USB modem unplugged),
// the port closes itself and reports PortLost.
class TSerialPort : public TComPort
{
    Q_OBJECT

public:
    TSerialPort(int comNumber, qint32 baudRate, QSerialPort::Parity parity, QObject* parent = nullptr);
    ~TSerialPort() override;

    int PortNumber() const override { return comNumber; }
    void SetPortNumber(int comNumber) override;

    void Open() override;
    void Close() override;
    bool IsOpen() const override;

    void FlushInput() override;
    void FlushOutput() override;

    void Write(const QByteArray& frame) override;
    QByteArray Read(int count) override;

    // Whether RTS is raised (a frame is on the line).
    bool IsTransmitting() const { return transmitting; }

    // Whether COM n is there for the port chooser: it opens and closes, it is
    // held by someone else, or this user may not open it (choosing it then
    // tells why).
    static bool IsPresent(int comNumber);

signals:
    void TransmittingChanged(bool transmitting);

private:
    void portErrorOccurred(QSerialPort::SerialPortError error);
    void loseDevice();
    QString lostMessage() const;
    void setTransmitting(bool on);
    void dropRtsWhenSent();
    bool driverHasSentEverything();
    int lineTimeMs(int byteCount) const;

    QSerialPort port;
    int comNumber;
    QTimer rtsTimer;
    bool transmitting = false;
    bool modemLinesWork = true;
    bool lost = false;              // closed because the device went away
};

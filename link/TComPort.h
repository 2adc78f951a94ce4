#pragma once

#include "util/Exceptions.h"

#include <QByteArray>
#include <QObject>

// The port exists but another program (or another port object) holds it.
class EAlreadyOpen : public Exception
{
public:
    using Exception::Exception;
};

// The port's device node exists but this user may not read and write it.
class EAccessDenied : public Exception
{
public:
    using Exception::Exception;
};

// The device behind an open port went away (a USB modem unplugged).
class EPortLost : public Exception
{
public:
    using Exception::Exception;
};

// The serial-port operations the link layer relies on. A port object lives on
// the thread that created it: every operation is called there, and
// TriggerAvail is delivered there.
class TComPort : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual int PortNumber() const = 0;
    // Selects COM port n for the next Open.
    virtual void SetPortNumber(int comNumber) = 0;

    // Raises EAlreadyOpen when the port is in use, another Exception otherwise.
    virtual void Open() = 0;
    // Closing a closed port does nothing.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    virtual void FlushInput() = 0;
    virtual void FlushOutput() = 0;

    // Queues the whole frame in one transmission and returns at once. Raises
    // EPortLost once the port was lost, another Exception when it is closed.
    virtual void Write(const QByteArray& frame) = 0;
    // Returns up to `count` of the bytes waiting; unread bytes keep waiting.
    virtual QByteArray Read(int count) = 0;

signals:
    // Received bytes are waiting; `count` is how many.
    void TriggerAvail(int count);
    // The device behind the open port went away and the port has been
    // closed; `message` names the port and tells the user what to do. Open
    // makes it usable again once the device is back.
    void PortLost(const QString& message);
};

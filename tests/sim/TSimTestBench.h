#pragma once

#include "TSimBus.h"
#include "TSimTestPort.h"

#include <QTemporaryDir>

#include <memory>

// A running bus with the given devices on a link in a temporary folder, and
// the port the program would open on it.
class TSimTestBench
{
public:
    explicit TSimTestBench(const QList<TSimDeviceState>& devices);
    ~TSimTestBench();

    TSimBus& Bus() { return *bus; }
    TSimTestPort& Port() { return *port; }

    // Sends a long-frame request to the device and returns its answer frame.
    QByteArray Ask(const QByteArray& address, int command, const QByteArray& data = {});

private:
    QTemporaryDir folder;
    std::unique_ptr<TSimBus> bus;
    std::unique_ptr<TSimTestPort> port;
};

// The device moved to another polling address.
TSimDeviceState At(TSimDeviceState device, int pollingAddress);

// A TIVERN probe at polling address 0 and a CALDEROS probe at 1.
QList<TSimDeviceState> TwoProbes();

// Long addresses of the presets as the primary master sends them.
inline const QByteArray TivernAddress = Hex("A3 80 0A 0B 0C");
inline const QByteArray CalderosAddress = Hex("A3 81 0D 0E 0F");
inline const QByteArray ForeignAddress = Hex("A6 80 01 23 45");

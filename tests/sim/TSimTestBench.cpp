#include "TSimTestBench.h"

TSimTestBench::TSimTestBench(const QList<TSimDeviceState>& devices)
    : bus(std::make_unique<TSimBus>(folder.filePath(QStringLiteral("ttyHART"))))
{
    for (const TSimDeviceState& device : devices)
        bus->AddDevice(device);
    bus->Start();
    port = std::make_unique<TSimTestPort>(bus->LinkPath());
}

TSimTestBench::~TSimTestBench()
{
    port.reset();
    bus.reset();
}

QByteArray TSimTestBench::Ask(const QByteArray& address, int command, const QByteArray& data)
{
    return port->Exchange(TSimTestPort::LongRequest(address, command, data));
}

TSimDeviceState At(TSimDeviceState device, int pollingAddress)
{
    device.PollingAddress = pollingAddress;
    return device;
}

QList<TSimDeviceState> TwoProbes()
{
    return {TSimDeviceState::Tivern(), At(TSimDeviceState::Calderos(), 1)};
}

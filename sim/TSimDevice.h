#pragma once

#include "TSimDeviceState.h"
#include "TSimReply.h"

// One simulated field device: carries out requests against its state the way
// the device's firmware would.
class TSimDevice
{
public:
    explicit TSimDevice(const TSimDeviceState& state) : state(state) {}

    const TSimDeviceState& State() const { return state; }
    TSimDeviceState& State() { return state; }

    // Carries out one request: unknown commands, short requests and writes
    // while protected are refused; a configuration change that took effect
    // sets the configuration-changed flag and counts.
    TSimReply Handle(int command, const QByteArray& data);

    // The field device status for the answer being sent. The cold start is
    // reported this once.
    quint8 TakeStatus();

    bool HasPollingAddress(int address) const { return state.PollingAddress == address; }
    bool HasUniqueAddress(const QByteArray& address) const;

private:
    TSimDeviceState state;
};

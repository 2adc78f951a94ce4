#pragma once

#include "TSimDeviceState.h"
#include "TSimPayloadReader.h"
#include "TSimReply.h"

// How a command touches the device.
enum class TSimAccess {
    Free,       // reads, or resets a flag: allowed while write protected
    Configures, // refused while write protected; counts as a configuration change
    Acts,       // refused while write protected; changes no configuration (fixed current, store defaults)
    Passcode    // guarded by the passcode instead of the protection; counts as a configuration change
};

// One row of the command table: the command number, what a request must
// carry, how it touches the device, and the handler that carries it out.
struct TSimCommand
{
    using THandler = TSimReply (*)(TSimDeviceState& device, const TSimPayloadReader& request);
    using TAvailability = bool (*)(const TSimDeviceState& device);

    int Number;
    int MinimumRequestBytes;
    TSimAccess Access;
    THandler Handler;
    TAvailability Available = nullptr; // nullptr: every device has the command

    bool AvailableOn(const TSimDeviceState& device) const { return !Available || Available(device); }
    bool NeedsWriteAccess() const { return Access == TSimAccess::Configures || Access == TSimAccess::Acts; }
    bool ChangesConfiguration() const { return Access == TSimAccess::Configures || Access == TSimAccess::Passcode; }
};

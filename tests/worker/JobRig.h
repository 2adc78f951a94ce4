#pragma once

#include "TSimBus.h"
#include "worker/TField.h"
#include "worker/TMemoryView.h"
#include "worker/TThreadMeridal.h"

#include <memory>

// One probe on a simulated bus and the device jobs over it, with an
// in-memory view in place of the windows. The jobs run on the test's own
// thread, as the device thread would run them, one after the other.
struct JobRig
{
    explicit JobRig(const TSimDeviceState& probe);

    // Identifies the probe, then reads the tab as Refresh does.
    void Read(TPage page);
    // Save as the tab's Save button starts it.
    void Save(TPage page);
    // The commands of the requests since the last Read or Save began.
    QList<int> Commands() const;
    // The data of the last request with this command.
    QByteArray LastRequest(int command) const;
    TSimDeviceState Probe() const { return bus.Device(probe.PollingAddress); }

    TSimDeviceState probe;
    TSimBus bus;
    TMemoryView view;
    std::unique_ptr<TThreadMeridal> thread;
};

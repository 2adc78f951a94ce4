#pragma once

#include "TSimDevice.h"
#include "TSimDeviceState.h"
#include "TSimExchange.h"
#include "TSimExchangeLog.h"
#include "TSimFault.h"
#include "TSimFaultPlan.h"
#include "TSimFrameParser.h"
#include "TSimPseudoTerminal.h"
#include "TSimTransmitter.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// A HART loop with simulated field devices behind a pseudo-terminal. The
// program opens LinkPath() as its serial port; the bus answers on its own
// thread like the devices on a multidrop loop would. Every public function
// may be called from any thread while the bus runs.
class TSimBus
{
public:
    // Creates the pseudo-terminal and the link; throws std::runtime_error.
    explicit TSimBus(const QString& linkPath);
    ~TSimBus(); // stops the bus and removes the link

    TSimBus(const TSimBus&) = delete;
    TSimBus& operator=(const TSimBus&) = delete;

    void Start();
    void Stop();

    // The modem is unplugged: the bus stops and its pseudo-terminal and link
    // go away, so the program's port sees the line hang up. PlugIn brings a
    // new pseudo-terminal at the same link and starts the bus again.
    void Unplug();
    void PlugIn();

    QString LinkPath() const { return linkPath; }
    QString SlavePath() const { return terminal ? terminal->SlavePath() : QString(); }

    // Adds a device at its PollingAddress; throws std::invalid_argument when
    // a device already uses that address or has the same unique address.
    void AddDevice(const TSimDeviceState& device);
    void RemoveDevice(int pollingAddress);

    // Snapshot of the device now at that polling address; throws
    // std::out_of_range when there is none.
    TSimDeviceState Device(int pollingAddress) const;
    QList<TSimDeviceState> Devices() const;
    void ModifyDevice(int pollingAddress, const std::function<void(TSimDeviceState&)>& change);

    void AddFault(const TSimFault& fault);
    void ClearFaults();

    void SetWireTiming(bool pace1200Baud, int turnaroundMs);

    QList<TSimExchange> Log() const { return log.Entries(); }
    void ClearLog() { log.Clear(); }
    int RequestCount(int command) const { return log.RequestCount(command); }
    bool WaitForRequestCount(int command, int count, int timeoutMs) const;

    // Called on the bus thread after every exchange; set it before Start().
    void SetObserver(const std::function<void(const TSimExchange&)>& observer);

private:
    using TClock = TSimTransmitter::TClock;

    void Run();
    int PollTimeoutMs(TClock::time_point now);
    void Receive(TClock::time_point now);
    void Process(const TSimFrame& request, TClock::time_point now);
    void Transmit(TClock::time_point now);
    TSimDevice* Addressed(const TSimFrame& request);
    void Wake();

    QString linkPath;
    std::unique_ptr<TSimPseudoTerminal> terminal;
    int wakeFd = -1;

    mutable std::mutex mutex; // guards devices, faults and transmitter
    std::vector<TSimDevice> devices;
    TSimFaultPlan faults;
    TSimTransmitter transmitter;

    TSimExchangeLog log;
    std::function<void(const TSimExchange&)> observer;

    // Bus thread only.
    TSimFrameParser parser;
    TClock::time_point lastByte;

    std::thread thread;
    std::atomic<bool> stopping{false};
};

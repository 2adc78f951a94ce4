#pragma once

#include "TSimDeviceState.h"
#include "TSimFault.h"

#include <QByteArray>
#include <QList>
#include <QString>

class TSimBus;

// What a simulated bus holds: its devices, the faults to inject and the wire
// timing. Read from a JSON file (format in sim/README.md) or built in code.
struct TSimScenario
{
    QList<TSimDeviceState> Devices;
    QList<TSimFault> Faults;
    bool Pace1200Baud = false;
    int TurnaroundMs = 0;

    // One TIVERN probe at polling address 0.
    static TSimScenario Default();

    // Throw std::runtime_error naming what is wrong.
    static TSimScenario FromJson(const QByteArray& json);
    static TSimScenario Load(const QString& path);

    void ApplyTo(TSimBus& bus) const;
};

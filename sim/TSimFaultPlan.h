#pragma once

#include "TSimFault.h"

#include <QList>

// The faults added to a bus, each counting the requests it targets.
class TSimFaultPlan
{
public:
    void Add(const TSimFault& fault) { faults.append({fault, 0}); }
    void Clear() { faults.clear(); }

    // Counts one request addressed to a device and returns the faults that fire on it.
    QList<TSimFault> Take(int pollingAddress, int command);

private:
    struct TArmedFault
    {
        TSimFault Fault;
        int Seen;
    };

    QList<TArmedFault> faults;
};

#include "TSimFaultPlan.h"

QList<TSimFault> TSimFaultPlan::Take(int pollingAddress, int command)
{
    QList<TSimFault> firing;
    for (TArmedFault& armed : faults) {
        if (!armed.Fault.Targets(pollingAddress, command))
            continue;
        if (armed.Fault.FiresOn(++armed.Seen))
            firing.append(armed.Fault);
    }
    return firing;
}

#pragma once

#include "TSimUnits.h"

#include <limits>

// What the sensor behind one device variable measures. All values are in the
// base unit of the quantity (meters, degrees Celsius); the unit the device
// reports in is a setting (TSimVariableSettings).
struct TSimDeviceVariable
{
    TSimQuantity Quantity = TSimQuantity::None;
    double Value = std::numeric_limits<double>::quiet_NaN(); // the measurement, before the offset
    double LowerLimit = 0.0;                                  // transducer limits
    double UpperLimit = 0.0;
    double MinimumSpan = 0.0;
    bool Switchable = false; // command 209 may enable and disable it

    bool Used() const { return Quantity != TSimQuantity::None; }
};

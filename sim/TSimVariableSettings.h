#pragma once

#include "TSimUnits.h"

// The user's settings of one device variable.
struct TSimVariableSettings
{
    quint8 Unit = TSimUnits::NotUsed;
    double Offset = 0.0; // base unit, added to the measurement
    float Damping = 1.0f; // seconds
    bool Enabled = true;
};

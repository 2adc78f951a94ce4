#pragma once

#include <QString>

// Raises unless the value lies within the limits, both included. The
// message names the value and the limit it passed, with three decimals.
void CheckRange(const QString& name, float value, float lowerLimit, float upperLimit);

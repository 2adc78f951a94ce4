#pragma once

#include <QString>

// One device-variable slot of command 33.
struct TDeviceVariable
{
    bool Valid = false;             // the slot carries a variable (units code not 250)
    float Value = 0;
    bool IsNaN = false;
    quint16 UnitsCode = 0;
    QString UnitText;
};

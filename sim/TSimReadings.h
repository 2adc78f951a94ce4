#pragma once

#include "TSimDeviceState.h"

// What a device reads out of its state: device-variable values in their
// units, the primary variable, the loop current and the field device status.
class TSimReadings
{
public:
    explicit TSimReadings(const TSimDeviceState& device) : device(device) {}

    // A device-variable code 0-3 of a variable the device uses.
    bool IsVariable(int code) const;

    // Unit of the variable as reported; 250 for an unknown or unused code.
    quint8 Unit(int code) const;

    // Measurement plus offset in the base unit; NaN when unused or disabled.
    double BaseValue(int code) const;

    // BaseValue in the variable's unit.
    float Value(int code) const;

    int PrimaryCode() const { return device.Configuration.Mapping[0]; }

    // The sensor behind the PV; an unused one while the PV is mapped to
    // nothing (which the device itself never allows).
    TSimDeviceVariable PrimarySensor() const;
    float PrimaryDamping() const;

    // A value in the base unit of the PV, converted to the PV's unit.
    float InPrimaryUnit(double baseValue) const;
    float SpanInPrimaryUnit(double baseSpan) const;

    float PercentOfRange() const;
    float LoopCurrent() const;

    quint8 FieldDeviceStatus() const;

private:
    bool OutOfLimits(int code) const;
    float AnalogCurrent() const;
    bool InAlarm() const;

    const TSimDeviceState& device;
};

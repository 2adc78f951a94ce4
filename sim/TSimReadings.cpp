#include "TSimReadings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The output range of a 4-20 mA transmitter and its alarm currents.
constexpr float ZeroCurrent = 4.0f;
constexpr float CurrentSpan = 16.0f;
constexpr float LowSaturation = 3.8f;
constexpr float HighSaturation = 20.5f;
constexpr float HighAlarm = 21.5f;
constexpr float LowAlarm = 3.6f;

constexpr quint8 DeviceMalfunction = 0x80;
constexpr quint8 ConfigurationChanged = 0x40;
constexpr quint8 ColdStart = 0x20;
constexpr quint8 MoreStatusAvailable = 0x10;
constexpr quint8 LoopCurrentFixed = 0x08;
constexpr quint8 LoopCurrentSaturated = 0x04;
constexpr quint8 NonPrimaryOutOfLimits = 0x02;
constexpr quint8 PrimaryOutOfLimits = 0x01;
constexpr quint8 AdditionalStatusBits = 0x3F;

quint8 Bit(bool condition, quint8 mask)
{
    return condition ? mask : 0;
}

} // namespace

bool TSimReadings::IsVariable(int code) const
{
    return code >= 0 && code < int(device.Variables.size()) && device.Variables[code].Used();
}

quint8 TSimReadings::Unit(int code) const
{
    return IsVariable(code) ? device.Configuration.Variables[code].Unit : TSimUnits::NotUsed;
}

double TSimReadings::BaseValue(int code) const
{
    if (!IsVariable(code) || !device.Configuration.Variables[code].Enabled)
        return std::numeric_limits<double>::quiet_NaN();
    return device.Variables[code].Value + device.Configuration.Variables[code].Offset;
}

float TSimReadings::Value(int code) const
{
    return float(TSimUnits::FromBase(BaseValue(code), Unit(code)));
}

TSimDeviceVariable TSimReadings::PrimarySensor() const
{
    return IsVariable(PrimaryCode()) ? device.Variables[PrimaryCode()] : TSimDeviceVariable();
}

float TSimReadings::PrimaryDamping() const
{
    return IsVariable(PrimaryCode()) ? device.Configuration.Variables[PrimaryCode()].Damping
                                     : std::numeric_limits<float>::quiet_NaN();
}

float TSimReadings::InPrimaryUnit(double baseValue) const
{
    return float(TSimUnits::FromBase(baseValue, Unit(PrimaryCode())));
}

float TSimReadings::SpanInPrimaryUnit(double baseSpan) const
{
    return float(TSimUnits::DifferenceFromBase(baseSpan, Unit(PrimaryCode())));
}

float TSimReadings::PercentOfRange() const
{
    if (device.FixedCurrentMode)
        return (device.FixedCurrent - ZeroCurrent) / CurrentSpan * 100.0f;
    const TSimConfiguration& configuration = device.Configuration;
    const double span = configuration.UpperRangeValue - configuration.LowerRangeValue;
    return float((BaseValue(PrimaryCode()) - configuration.LowerRangeValue) / span * 100.0);
}

float TSimReadings::LoopCurrent() const
{
    if (device.FixedCurrentMode)
        return device.FixedCurrent;
    if (!device.LoopCurrentMode)
        return ZeroCurrent;
    return AnalogCurrent();
}

// The current the output drives from the PV: the alarm current when the
// measurement failed, otherwise the range mapped onto 4-20 mA and held
// within the saturation limits.
float TSimReadings::AnalogCurrent() const
{
    if (InAlarm())
        return device.Configuration.AlarmSelection == 0 ? HighAlarm : LowAlarm;
    return std::clamp(ZeroCurrent + CurrentSpan * PercentOfRange() / 100.0f, LowSaturation, HighSaturation);
}

bool TSimReadings::InAlarm() const
{
    return device.Malfunction || std::isnan(PercentOfRange());
}

bool TSimReadings::OutOfLimits(int code) const
{
    const double value = BaseValue(code);
    const TSimDeviceVariable& sensor = device.Variables[code];
    return !std::isnan(value) && (value < sensor.LowerLimit || value > sensor.UpperLimit);
}

quint8 TSimReadings::FieldDeviceStatus() const
{
    bool nonPrimaryOutOfLimits = false;
    for (int code = 0; code < int(device.Variables.size()); ++code)
        nonPrimaryOutOfLimits |= code != PrimaryCode() && IsVariable(code) && OutOfLimits(code);

    const bool fixed = device.FixedCurrentMode || !device.LoopCurrentMode;
    const float current = LoopCurrent();
    const bool saturated = !fixed && !InAlarm() && (current <= LowSaturation || current >= HighSaturation);

    return Bit(device.Malfunction, DeviceMalfunction) | Bit(device.ConfigurationChanged, ConfigurationChanged)
           | Bit(device.ColdStart, ColdStart)
           | Bit(device.AdditionalStatus & AdditionalStatusBits, MoreStatusAvailable)
           | Bit(fixed, LoopCurrentFixed) | Bit(saturated, LoopCurrentSaturated)
           | Bit(nonPrimaryOutOfLimits, NonPrimaryOutOfLimits)
           | Bit(IsVariable(PrimaryCode()) && OutOfLimits(PrimaryCode()), PrimaryOutOfLimits);
}

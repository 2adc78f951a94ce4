#include "TSimCommonPracticeCommands.h"

#include "TSimPayloadWriter.h"
#include "TSimReadings.h"

#include <algorithm>
#include <cmath>

namespace {

// Command-specific meanings of the multi-definition response codes.
constexpr quint8 LowerRangeValueTooHigh = 9;  // command 35
constexpr quint8 LowerRangeValueTooLow = 10;  // command 35
constexpr quint8 UpperRangeValueTooHigh = 11; // command 35
constexpr quint8 UpperRangeValueTooLow = 12;  // command 35
constexpr quint8 ProcessTooHigh = 9;          // commands 36, 37
constexpr quint8 ProcessTooLow = 10;          // commands 36, 37
constexpr quint8 SpanTooSmall = 14;           // warning, commands 35, 36
constexpr quint8 UpperRangeValuePushed = 14;  // warning, command 37
constexpr quint8 InvalidSpan = 29;            // commands 35, 36, 37
constexpr quint8 IncorrectLoopCurrent = 9;    // commands 45, 46: not fixed at the trim point
constexpr quint8 LoopCurrentNotActive = 11;   // commands 40, 45, 46: multidrop
constexpr quint8 InvalidVariableCode = 11;    // command 53
constexpr quint8 InvalidUnitsCode = 12;       // command 53

constexpr int SlotsPerRequest = 4;
constexpr float LowestFixedCurrent = 3.5f;
constexpr float HighestFixedCurrent = 23.0f;
constexpr float TrimTolerance = 1.0f; // mA a reference reading may differ from the trim point
constexpr float LongestDamping = 60.0f;
constexpr quint32 UpdatePeriod = 32000; // 1 s in 1/32 ms

quint8 Classification(TSimQuantity quantity)
{
    return quantity == TSimQuantity::Temperature ? 64 : 69; // temperature, length
}

TSimReply ReadDeviceVariables(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const TSimReadings readings(device);
    TSimPayloadWriter answer;
    for (int slot = 0; slot < std::min(request.Size(), SlotsPerRequest); ++slot) {
        const quint8 code = request.Byte(slot);
        if (code >= device.Variables.size())
            return TSimReply::Error(TSimReply::InvalidSelection);
        answer.Byte(code).Byte(readings.Unit(code)).Float(readings.Value(code));
    }
    return TSimReply::Ok(answer.Payload());
}

// Answers a range change: a warning when the span is below the sensor's
// minimum span, success otherwise.
TSimReply RangeWritten(const TSimDeviceState& device, quint8 warning, const QByteArray& payload)
{
    const TSimConfiguration& configuration = device.Configuration;
    const double span = std::abs(configuration.UpperRangeValue - configuration.LowerRangeValue);
    const bool narrow = span < TSimReadings(device).PrimarySensor().MinimumSpan;
    return narrow ? TSimReply::Warning(warning, payload) : TSimReply::Ok(payload);
}

// The range values come in any unit of the PV's quantity; they are checked
// in that unit, as singles, against the transducer limits the device reports.
TSimReply WriteRangeValues(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const quint8 unit = request.Byte(0);
    const TSimDeviceVariable sensor = TSimReadings(device).PrimarySensor();
    if (TSimUnits::QuantityOf(unit) != sensor.Quantity)
        return TSimReply::Error(TSimReply::InvalidSelection);
    const float upper = request.Float(1);
    const float lower = request.Float(5);
    const float upperLimit = float(TSimUnits::FromBase(sensor.UpperLimit, unit));
    const float lowerLimit = float(TSimUnits::FromBase(sensor.LowerLimit, unit));
    if (!(lower <= upperLimit))
        return TSimReply::Error(LowerRangeValueTooHigh);
    if (!(lower >= lowerLimit))
        return TSimReply::Error(LowerRangeValueTooLow);
    if (!(upper <= upperLimit))
        return TSimReply::Error(UpperRangeValueTooHigh);
    if (!(upper >= lowerLimit))
        return TSimReply::Error(UpperRangeValueTooLow);
    if (upper == lower)
        return TSimReply::Error(InvalidSpan);
    device.Configuration.UpperRangeValue = TSimUnits::ToBase(upper, unit);
    device.Configuration.LowerRangeValue = TSimUnits::ToBase(lower, unit);
    return RangeWritten(device, SpanTooSmall, request.Bytes(0, 9));
}

// The PV as the new range end point: error code when it is outside the
// transducer limits, 0 when it may be used.
quint8 ApplicableProcess(const TSimDeviceState& device, double primary)
{
    const TSimDeviceVariable sensor = TSimReadings(device).PrimarySensor();
    if (!(primary <= sensor.UpperLimit))
        return ProcessTooHigh;
    if (!(primary >= sensor.LowerLimit))
        return ProcessTooLow;
    return TSimReply::Success;
}

TSimReply SetUpperRangeValue(TSimDeviceState& device, const TSimPayloadReader&)
{
    const TSimReadings readings(device);
    const double primary = readings.BaseValue(readings.PrimaryCode());
    if (const quint8 refusal = ApplicableProcess(device, primary))
        return TSimReply::Error(refusal);
    if (primary == device.Configuration.LowerRangeValue)
        return TSimReply::Error(InvalidSpan);
    device.Configuration.UpperRangeValue = primary;
    return RangeWritten(device, SpanTooSmall, {});
}

// The span is kept: the upper range value moves with the lower one, and
// stops at the transducer limit.
TSimReply SetLowerRangeValue(TSimDeviceState& device, const TSimPayloadReader&)
{
    const TSimReadings readings(device);
    const double primary = readings.BaseValue(readings.PrimaryCode());
    if (const quint8 refusal = ApplicableProcess(device, primary))
        return TSimReply::Error(refusal);
    TSimConfiguration& configuration = device.Configuration;
    const TSimDeviceVariable sensor = readings.PrimarySensor();
    const double shifted = primary + configuration.UpperRangeValue - configuration.LowerRangeValue;
    const double upper = std::clamp(shifted, sensor.LowerLimit, sensor.UpperLimit);
    if (upper == primary)
        return TSimReply::Error(InvalidSpan);
    configuration.LowerRangeValue = primary;
    configuration.UpperRangeValue = upper;
    return upper != shifted ? TSimReply::Warning(UpperRangeValuePushed, {}) : TSimReply::Ok({});
}

// 0 mA leaves fixed current mode.
TSimReply SetFixedCurrent(TSimDeviceState& device, const TSimPayloadReader& request)
{
    if (!device.LoopCurrentMode)
        return TSimReply::Error(LoopCurrentNotActive);
    const float current = request.Float(0);
    if (current != 0.0f) {
        if (!(current <= HighestFixedCurrent))
            return TSimReply::Error(TSimReply::ParameterTooLarge);
        if (current < LowestFixedCurrent)
            return TSimReply::Error(TSimReply::ParameterTooSmall);
    }
    device.FixedCurrentMode = current != 0.0f;
    device.FixedCurrent = current;
    return TSimReply::Ok(TSimPayloadWriter().Float(current).Payload());
}

// Trims the output at one end point: the loop current must be fixed at that
// point, and the reading of the reference meter must lie near it.
TSimReply TrimLoopCurrent(TSimDeviceState& device, const TSimPayloadReader& request, float point,
                          float TSimConfiguration::*trim)
{
    if (!device.LoopCurrentMode)
        return TSimReply::Error(LoopCurrentNotActive);
    if (!device.FixedCurrentMode || std::abs(device.FixedCurrent - point) > 0.001f)
        return TSimReply::Error(IncorrectLoopCurrent);
    const float measured = request.Float(0);
    if (!(measured <= point + TrimTolerance))
        return TSimReply::Error(TSimReply::ParameterTooLarge);
    if (!(measured >= point - TrimTolerance))
        return TSimReply::Error(TSimReply::ParameterTooSmall);
    device.Configuration.*trim += point - measured;
    return TSimReply::Ok(TSimPayloadWriter().Float(measured).Payload());
}

TSimReply TrimLoopCurrentZero(TSimDeviceState& device, const TSimPayloadReader& request)
{
    return TrimLoopCurrent(device, request, 4.0f, &TSimConfiguration::DacZeroTrim);
}

TSimReply TrimLoopCurrentGain(TSimDeviceState& device, const TSimPayloadReader& request)
{
    return TrimLoopCurrent(device, request, 20.0f, &TSimConfiguration::DacGainTrim);
}

TSimReply ReadDynamicVariableAssignments(TSimDeviceState& device, const TSimPayloadReader&)
{
    const std::array<quint8, 4>& mapping = device.Configuration.Mapping;
    return TSimReply::Ok(QByteArray(reinterpret_cast<const char*>(mapping.data()), int(mapping.size())));
}

// The PV must be a device variable; SV, TV and QV may also be "not used".
// A PV of another quantity takes its transducer limits as the new range.
TSimReply WriteDynamicVariableAssignments(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const TSimReadings readings(device);
    std::array<quint8, 4> mapping = device.Configuration.Mapping;
    for (int slot = 0; slot < std::min(request.Size(), int(mapping.size())); ++slot) {
        const quint8 code = request.Byte(slot);
        if (!readings.IsVariable(code) && (slot == 0 || code != TSimConfiguration::NoVariable))
            return TSimReply::Error(TSimReply::InvalidSelection);
        mapping[slot] = code;
    }
    TSimConfiguration& configuration = device.Configuration;
    const TSimDeviceVariable& primary = device.Variables[mapping[0]];
    if (primary.Quantity != readings.PrimarySensor().Quantity) {
        configuration.UpperRangeValue = primary.UpperLimit;
        configuration.LowerRangeValue = primary.LowerLimit;
    }
    configuration.Mapping = mapping;
    return ReadDynamicVariableAssignments(device, request);
}

TSimReply WriteDeviceVariableUnits(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const quint8 code = request.Byte(0);
    const quint8 unit = request.Byte(1);
    if (!TSimReadings(device).IsVariable(code))
        return TSimReply::Error(InvalidVariableCode);
    if (TSimUnits::QuantityOf(unit) != device.Variables[code].Quantity)
        return TSimReply::Error(InvalidUnitsCode);
    device.Configuration.Variables[code].Unit = unit;
    return TSimReply::Ok(request.Bytes(0, 2));
}

// Limits and minimum span in the variable's unit; revision 7 adds the update period.
TSimReply ReadDeviceVariableInformation(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const quint8 code = request.Byte(0);
    if (!TSimReadings(device).IsVariable(code))
        return TSimReply::Error(TSimReply::InvalidSelection);
    const TSimDeviceVariable& sensor = device.Variables[code];
    const TSimVariableSettings& settings = device.Configuration.Variables[code];
    TSimPayloadWriter answer;
    answer.Byte(code)
        .UInt24(device.TransducerSerialNumber)
        .Byte(settings.Unit)
        .Float(float(TSimUnits::FromBase(sensor.UpperLimit, settings.Unit)))
        .Float(float(TSimUnits::FromBase(sensor.LowerLimit, settings.Unit)))
        .Float(settings.Damping)
        .Float(float(TSimUnits::DifferenceFromBase(sensor.MinimumSpan, settings.Unit)))
        .Byte(Classification(sensor.Quantity))
        .Byte(250); // device family: none
    if (device.UniversalRevision >= 7)
        answer.UInt32(UpdatePeriod);
    return TSimReply::Ok(answer.Payload());
}

TSimReply WriteDeviceVariableDamping(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const quint8 code = request.Byte(0);
    const float damping = request.Float(1);
    if (!TSimReadings(device).IsVariable(code))
        return TSimReply::Error(TSimReply::InvalidSelection);
    if (!(damping >= 0.0f))
        return TSimReply::Error(TSimReply::ParameterTooSmall);
    if (damping > LongestDamping)
        return TSimReply::Error(TSimReply::ParameterTooLarge);
    device.Configuration.Variables[code].Damping = damping;
    return TSimReply::Ok(request.Bytes(0, 5));
}

} // namespace

std::vector<TSimCommand> TSimCommonPracticeCommands::Commands()
{
    using A = TSimAccess;
    return {
        {33, 1, A::Free, ReadDeviceVariables},
        {35, 9, A::Configures, WriteRangeValues},
        {36, 0, A::Configures, SetUpperRangeValue},
        {37, 0, A::Configures, SetLowerRangeValue},
        {40, 4, A::Acts, SetFixedCurrent},
        {45, 4, A::Configures, TrimLoopCurrentZero},
        {46, 4, A::Configures, TrimLoopCurrentGain},
        {50, 0, A::Free, ReadDynamicVariableAssignments},
        {51, 1, A::Configures, WriteDynamicVariableAssignments},
        {53, 2, A::Configures, WriteDeviceVariableUnits},
        {54, 1, A::Free, ReadDeviceVariableInformation},
        {55, 5, A::Configures, WriteDeviceVariableDamping},
    };
}

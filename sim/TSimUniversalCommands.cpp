#include "TSimUniversalCommands.h"

#include "TSimPackedAscii.h"
#include "TSimPayloadWriter.h"
#include "TSimReadings.h"

namespace {

// Command-specific meanings of the multi-definition response codes.
constexpr quint8 InvalidDateCode = 9;          // command 18
constexpr quint8 CounterMismatch = 9;          // command 38
constexpr quint8 InvalidModeSelection = 12;    // command 6

constexpr quint8 ExpansionCode = 254;

int UsedVariables(const TSimDeviceState& device)
{
    int used = 0;
    for (const TSimDeviceVariable& variable : device.Variables)
        used += variable.Used() ? 1 : 0;
    return used;
}

// The layout grows with the universal revision: revision 6 adds preambles,
// device-variable count, configuration change counter and extended status;
// revision 7 adds the 16-bit manufacturer and distributor codes and the
// profile. In revision 7 bytes 1-2 are the expanded device type.
TSimReply ReadUniqueIdentifier(TSimDeviceState& device, const TSimPayloadReader&)
{
    TSimPayloadWriter answer;
    answer.Byte(ExpansionCode)
        .Byte(device.ManufacturerId)
        .Byte(device.DeviceType)
        .Byte(device.RequestPreambles)
        .Byte(device.UniversalRevision)
        .Byte(device.DeviceRevision)
        .Byte(device.SoftwareRevision)
        .Byte(quint8(device.HardwareRevision << 3 | (device.PhysicalSignaling & 0x07)))
        .Byte(device.Flags)
        .UInt24(device.DeviceId);
    if (device.UniversalRevision >= 6)
        answer.Byte(device.ResponsePreambles)
            .Byte(quint8(UsedVariables(device)))
            .UInt16(device.ConfigurationChangeCounter)
            .Byte(0); // extended field device status
    if (device.UniversalRevision >= 7)
        answer.UInt16(device.ManufacturerId).UInt16(device.DistributorCode).Byte(device.DeviceProfile);
    return TSimReply::Ok(answer.Payload());
}

TSimReply ReadPrimaryVariable(TSimDeviceState& device, const TSimPayloadReader&)
{
    const TSimReadings readings(device);
    const int primary = readings.PrimaryCode();
    return TSimReply::Ok(TSimPayloadWriter().Byte(readings.Unit(primary)).Float(readings.Value(primary)).Payload());
}

TSimReply ReadLoopCurrent(TSimDeviceState& device, const TSimPayloadReader&)
{
    const TSimReadings readings(device);
    return TSimReply::Ok(TSimPayloadWriter().Float(readings.LoopCurrent()).Float(readings.PercentOfRange()).Payload());
}

TSimReply ReadLoopConfiguration(TSimDeviceState& device, const TSimPayloadReader&)
{
    return TSimReply::Ok(
        TSimPayloadWriter().Byte(quint8(device.PollingAddress)).Byte(device.LoopCurrentMode ? 1 : 0).Payload());
}

// A request without the mode byte follows the older rule: only polling
// address 0 drives the loop current.
TSimReply WritePollingAddress(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const int highest = device.UniversalRevision >= 7 ? 63 : 15;
    const quint8 address = request.Byte(0);
    if (address > highest)
        return TSimReply::Error(TSimReply::InvalidSelection);
    bool loopCurrent = address == 0;
    if (request.Size() >= 2) {
        if (request.Byte(1) > 1)
            return TSimReply::Error(InvalidModeSelection);
        loopCurrent = request.Byte(1) == 1;
    }
    device.PollingAddress = address;
    device.LoopCurrentMode = loopCurrent;
    // Without the loop current there is no current to hold fixed.
    device.FixedCurrentMode = device.FixedCurrentMode && loopCurrent;
    return ReadLoopConfiguration(device, request);
}

TSimReply ReadMessage(TSimDeviceState& device, const TSimPayloadReader&)
{
    return TSimReply::Ok(TSimPayloadWriter().PackedText(device.Configuration.Message, 32).Payload());
}

TSimReply WriteMessage(TSimDeviceState& device, const TSimPayloadReader& request)
{
    device.Configuration.Message = TSimPackedAscii::Unpack(request.Bytes(0, 24));
    return ReadMessage(device, request);
}

// A probe that was never given a date (no valid Date) reports day 0, month 0,
// year 1900, and takes these bytes back to stay without a date.
TSimReply ReadTagDescriptorDate(TSimDeviceState& device, const TSimPayloadReader&)
{
    const TSimConfiguration& configuration = device.Configuration;
    const QDate& date = configuration.Date;
    return TSimReply::Ok(TSimPayloadWriter()
                             .PackedText(configuration.Tag, 8)
                             .PackedText(configuration.Descriptor, 16)
                             .Byte(date.isValid() ? quint8(date.day()) : 0)
                             .Byte(date.isValid() ? quint8(date.month()) : 0)
                             .Byte(date.isValid() ? quint8(date.year() - 1900) : 0)
                             .Payload());
}

TSimReply WriteTagDescriptorDate(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const QDate date(1900 + request.Byte(20), request.Byte(19), request.Byte(18));
    const bool noDate = request.Byte(18) == 0 && request.Byte(19) == 0 && request.Byte(20) == 0;
    if (!date.isValid() && !noDate)
        return TSimReply::Error(InvalidDateCode);
    TSimConfiguration& configuration = device.Configuration;
    configuration.Tag = TSimPackedAscii::Unpack(request.Bytes(0, 6));
    configuration.Descriptor = TSimPackedAscii::Unpack(request.Bytes(6, 12));
    configuration.Date = date;
    return ReadTagDescriptorDate(device, request);
}

TSimReply ReadPrimaryVariableLimits(TSimDeviceState& device, const TSimPayloadReader&)
{
    const TSimReadings readings(device);
    const TSimDeviceVariable sensor = readings.PrimarySensor();
    return TSimReply::Ok(TSimPayloadWriter()
                             .UInt24(device.TransducerSerialNumber)
                             .Byte(readings.Unit(readings.PrimaryCode()))
                             .Float(readings.InPrimaryUnit(sensor.UpperLimit))
                             .Float(readings.InPrimaryUnit(sensor.LowerLimit))
                             .Float(readings.SpanInPrimaryUnit(sensor.MinimumSpan))
                             .Payload());
}

TSimReply ReadOutputInformation(TSimDeviceState& device, const TSimPayloadReader&)
{
    const TSimReadings readings(device);
    const TSimConfiguration& configuration = device.Configuration;
    const int primary = readings.PrimaryCode();
    return TSimReply::Ok(TSimPayloadWriter()
                             .Byte(configuration.AlarmSelection)
                             .Byte(configuration.TransferFunction)
                             .Byte(readings.Unit(primary))
                             .Float(readings.InPrimaryUnit(configuration.UpperRangeValue))
                             .Float(readings.InPrimaryUnit(configuration.LowerRangeValue))
                             .Float(readings.PrimaryDamping())
                             .Byte(device.WriteProtected ? 1 : 0)
                             .Byte(device.DistributorCode)
                             .Byte(0) // analog channel flags: the PV drives an analog output
                             .Payload());
}

TSimReply ReadFinalAssemblyNumber(TSimDeviceState& device, const TSimPayloadReader&)
{
    return TSimReply::Ok(TSimPayloadWriter().UInt24(device.Configuration.FinalAssemblyNumber).Payload());
}

TSimReply WriteFinalAssemblyNumber(TSimDeviceState& device, const TSimPayloadReader& request)
{
    device.Configuration.FinalAssemblyNumber = request.UInt24(0);
    return ReadFinalAssemblyNumber(device, request);
}

TSimReply ReadLongTag(TSimDeviceState& device, const TSimPayloadReader&)
{
    return TSimReply::Ok(device.Configuration.LongTag);
}

TSimReply WriteLongTag(TSimDeviceState& device, const TSimPayloadReader& request)
{
    device.Configuration.LongTag = request.Bytes(0, 32);
    return ReadLongTag(device, request);
}

// From universal revision 7 on the master must name the counter it saw, so
// that it cannot clear a change it has not read.
TSimReply ResetConfigurationChangedFlag(TSimDeviceState& device, const TSimPayloadReader& request)
{
    if (device.UniversalRevision >= 7) {
        if (request.Size() < 2)
            return TSimReply::Error(TSimReply::TooFewDataBytes);
        if (request.UInt16(0) != device.ConfigurationChangeCounter)
            return TSimReply::Error(CounterMismatch);
    }
    device.ConfigurationChanged = false;
    return TSimReply::Ok(TSimPayloadWriter().UInt16(device.ConfigurationChangeCounter).Payload());
}

// Six device-specific bytes (the maker's flags in the first), from revision 6
// on followed by extended status, operating mode and standardized status 0.
TSimReply ReadAdditionalStatus(TSimDeviceState& device, const TSimPayloadReader&)
{
    TSimPayloadWriter answer;
    answer.Byte(device.AdditionalStatus).Bytes(QByteArray(5, '\0'));
    if (device.UniversalRevision >= 6)
        answer.Bytes(QByteArray(3, '\0'));
    return TSimReply::Ok(answer.Payload());
}

} // namespace

std::vector<TSimCommand> TSimUniversalCommands::Commands()
{
    using A = TSimAccess;
    return {
        {0, 0, A::Free, ReadUniqueIdentifier},
        {1, 0, A::Free, ReadPrimaryVariable},
        {2, 0, A::Free, ReadLoopCurrent},
        {6, 1, A::Configures, WritePollingAddress},
        {7, 0, A::Free, ReadLoopConfiguration},
        {12, 0, A::Free, ReadMessage},
        {13, 0, A::Free, ReadTagDescriptorDate},
        {14, 0, A::Free, ReadPrimaryVariableLimits},
        {15, 0, A::Free, ReadOutputInformation},
        {16, 0, A::Free, ReadFinalAssemblyNumber},
        {17, 24, A::Configures, WriteMessage},
        {18, 21, A::Configures, WriteTagDescriptorDate},
        {19, 3, A::Configures, WriteFinalAssemblyNumber},
        {20, 0, A::Free, ReadLongTag},
        {22, 32, A::Configures, WriteLongTag},
        {38, 0, A::Free, ResetConfigurationChangedFlag},
        {48, 0, A::Free, ReadAdditionalStatus},
    };
}

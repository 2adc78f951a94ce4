#include "TSimMakerCommands.h"

#include "TSimPayloadWriter.h"
#include "TSimReadings.h"

namespace {

constexpr quint8 PasscodeWrong = 29;     // commands 200, 204
constexpr quint8 InvalidUnitsCode = 12;  // command 205
constexpr quint8 NotAvailable = 250;     // command 210: the device has no such variable
constexpr int SlotsPerRequest = 4;

bool IsKorval(const TSimDeviceState& device)
{
    return device.IsKorval();
}

bool HasServiceCommands(const TSimDeviceState& device)
{
    return device.IsKorval() && (!device.IsTivern() || device.SoftwareRevision >= 3);
}

bool HasDiagnostics(const TSimDeviceState& device)
{
    return device.IsTivern() && device.SoftwareRevision >= 3;
}

// Offsets exist for the float variables DV0 and DV1.
bool HasOffset(const TSimDeviceState& device, int code)
{
    return code <= 1 && TSimReadings(device).IsVariable(code);
}

// The request names the device it is meant for, so that defaults are never
// stored into the wrong probe.
TSimReply StoreFactoryDefaults(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const bool meant = request.Byte(0) == device.ManufacturerId && request.Byte(1) == device.DeviceType
                       && request.UInt24(2) == device.DeviceId;
    if (!meant)
        return TSimReply::Error(TSimReply::InvalidSelection);
    device.FactoryDefaults = device.Configuration;
    return TSimReply::Ok({});
}

TSimReply WriteProtectionMode(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const quint8 mode = request.Byte(0);
    if (mode > 1)
        return TSimReply::Error(TSimReply::InvalidSelection);
    if (request.UInt16(1) != device.Passcode)
        return TSimReply::Error(PasscodeWrong);
    device.WriteProtected = mode == 1;
    return TSimReply::Ok(TSimPayloadWriter().Byte(mode).Payload());
}

TSimReply ReadProtectionMode(TSimDeviceState& device, const TSimPayloadReader&)
{
    return TSimReply::Ok(TSimPayloadWriter().Byte(device.WriteProtected ? 1 : 0).Payload());
}

// 0 drives the output high on an alarm, 1 low.
TSimReply WriteAlarmSelection(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const quint8 selection = request.Byte(0);
    if (selection > 1)
        return TSimReply::Error(TSimReply::InvalidSelection);
    device.Configuration.AlarmSelection = selection;
    return TSimReply::Ok(TSimPayloadWriter().Byte(selection).Payload());
}

// The old passcode authorises the change, protected or not; the answer does
// not repeat the passcodes.
TSimReply ChangePasscode(TSimDeviceState& device, const TSimPayloadReader& request)
{
    if (request.UInt16(0) != device.Passcode)
        return TSimReply::Error(PasscodeWrong);
    device.Passcode = request.UInt16(2);
    return TSimReply::Ok({});
}

TSimReply WriteOffset(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const quint8 code = request.Byte(0);
    const quint8 unit = request.Byte(1);
    if (!HasOffset(device, code))
        return TSimReply::Error(TSimReply::InvalidSelection);
    if (TSimUnits::QuantityOf(unit) != device.Variables[code].Quantity)
        return TSimReply::Error(InvalidUnitsCode);
    device.Configuration.Variables[code].Offset = TSimUnits::DifferenceToBase(request.Float(2), unit);
    return TSimReply::Ok(request.Bytes(0, 6));
}

TSimReply ReadOffset(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const quint8 code = request.Byte(0);
    if (!HasOffset(device, code))
        return TSimReply::Error(TSimReply::InvalidSelection);
    const TSimVariableSettings& settings = device.Configuration.Variables[code];
    return TSimReply::Ok(TSimPayloadWriter()
                             .Byte(code)
                             .Byte(settings.Unit)
                             .Float(float(TSimUnits::DifferenceFromBase(settings.Offset, settings.Unit)))
                             .Payload());
}

TSimReply ReadDiagnostics(TSimDeviceState& device, const TSimPayloadReader&)
{
    const TSimDiagnostics& diagnostics = device.Diagnostics;
    return TSimReply::Ok(TSimPayloadWriter()
                             .Byte(diagnostics.QualityQuotient)
                             .Byte(diagnostics.StartLevel)
                             .UInt16(diagnostics.DampingLength)
                             .Byte(diagnostics.PulseDuration)
                             .Byte(diagnostics.PulseHeight)
                             .Float(diagnostics.ClockValue)
                             .Float(diagnostics.HeadTemperature)
                             .Float(diagnostics.TubeTemperature)
                             .Payload());
}

TSimReply ReadFirmwareVersion(TSimDeviceState& device, const TSimPayloadReader&)
{
    const std::array<quint8, 3>& version = device.FirmwareVersion;
    return TSimReply::Ok(QByteArray(reinterpret_cast<const char*>(version.data()), int(version.size())));
}

TSimReply WriteDeviceVariableEnable(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const quint8 code = request.Byte(0);
    const quint8 enable = request.Byte(1);
    const bool switchable = TSimReadings(device).IsVariable(code) && device.Variables[code].Switchable;
    if (!switchable || enable > 1)
        return TSimReply::Error(TSimReply::InvalidSelection);
    device.Configuration.Variables[code].Enabled = enable == 1;
    return TSimReply::Ok(request.Bytes(0, 2));
}

// Pairs of device-variable code and enable flag (1, 0, or 250 = not available).
TSimReply ReadDeviceVariableEnable(TSimDeviceState& device, const TSimPayloadReader& request)
{
    const TSimReadings readings(device);
    TSimPayloadWriter answer;
    for (int slot = 0; slot < std::min(request.Size(), SlotsPerRequest); ++slot) {
        const quint8 code = request.Byte(slot);
        const quint8 flag =
            readings.IsVariable(code) ? (device.Configuration.Variables[code].Enabled ? 1 : 0) : NotAvailable;
        answer.Byte(code).Byte(flag);
    }
    return TSimReply::Ok(answer.Payload());
}

TSimReply RestoreFactoryDefaults(TSimDeviceState& device, const TSimPayloadReader&)
{
    device.Configuration = device.FactoryDefaults;
    return TSimReply::Ok({});
}

} // namespace

std::vector<TSimCommand> TSimMakerCommands::Commands()
{
    using A = TSimAccess;
    return {
        {122, 5, A::Acts, StoreFactoryDefaults, IsKorval},
        {200, 3, A::Passcode, WriteProtectionMode, IsKorval},
        {201, 0, A::Free, ReadProtectionMode, IsKorval},
        {202, 1, A::Configures, WriteAlarmSelection, IsKorval},
        {204, 4, A::Passcode, ChangePasscode, IsKorval},
        {205, 6, A::Configures, WriteOffset, IsKorval},
        {206, 1, A::Free, ReadOffset, IsKorval},
        {207, 0, A::Free, ReadDiagnostics, HasDiagnostics},
        {208, 0, A::Free, ReadFirmwareVersion, HasServiceCommands},
        {209, 2, A::Configures, WriteDeviceVariableEnable, HasServiceCommands},
        {210, 1, A::Free, ReadDeviceVariableEnable, HasServiceCommands},
        {211, 0, A::Configures, RestoreFactoryDefaults, HasServiceCommands},
    };
}

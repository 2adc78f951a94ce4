#include "config/TConfigLoader.h"

#include "commands/UUnits.h"
#include "config/TConfigDevice.h"
#include "config/UConfigValues.h"
#include "util/Exceptions.h"
#include "util/StringTools.h"
#include "util/UConversions.h"
#include "util/URangeCheck.h"

namespace {

constexpr int HighestPollingAddress = 15;
constexpr int HighestDeviceVariable = 3;
const QStringList DynamicVariableKeys = { QStringLiteral("pv"), QStringLiteral("sv"), QStringLiteral("tv"), QStringLiteral("qv") };

bool BoolValue(const QString& value, const QString& refusal)
{
    bool flag = false;
    if (!TryBoolValue(value, flag))
        throw Exception(refusal);
    return flag;
}

} // namespace

// In table order; a key may match more than one row ("dv1 enabled" also
// passes the device-variable rule, which does nothing for it).
const TConfigLoader::TKeyRow TConfigLoader::KeyTable[] = {
    { "polling address", Match::Exact, &TConfigLoader::pollingAddress },
    { "loop current mode", Match::Exact, &TConfigLoader::loopCurrentMode },
    { "tag", Match::Exact, &TConfigLoader::tagOrDescriptor },
    { "descriptor", Match::Exact, &TConfigLoader::tagOrDescriptor },
    { "date", Match::Exact, &TConfigLoader::date },
    { "long tag", Match::Exact, &TConfigLoader::longTag },
    { "message", Match::Exact, &TConfigLoader::message },
    { "final assem. no.", Match::Exact, &TConfigLoader::finalAssemblyNumber },
    { "pv upper range", Match::Exact, &TConfigLoader::pvRange },
    { "pv lower range", Match::Exact, &TConfigLoader::pvRange },
    { "pv alarm selection", Match::Exact, &TConfigLoader::alarmSelection },
    { "dv1 enabled", Match::Exact, &TConfigLoader::deviceVariableEnable },
    { "dv3 enabled", Match::Exact, &TConfigLoader::deviceVariableEnable },
    { "dv", Match::Prefix, &TConfigLoader::deviceVariable },
    { "pv", Match::Exact, &TConfigLoader::variableAssignment },
    { "sv", Match::Exact, &TConfigLoader::variableAssignment },
    { "tv", Match::Exact, &TConfigLoader::variableAssignment },
    { "qv", Match::Exact, &TConfigLoader::variableAssignment },
    { "protection mode", Match::Exact, &TConfigLoader::protectionMode },
};

TConfigLoader::TConfigLoader(TConfigDevice& device, const QString& separator)
    : device(device)
    , separator(separator)
{
}

// Write protection is switched after every other line, wherever the file
// has it: a file saved from a protected probe lists it before the enable
// flags, which the probe would refuse once protected.
void TConfigLoader::Load(const QByteArray& content)
{
    QList<TConfigEntry> protection;
    for (const QString& line : ConfigFileLines(content)) {
        const TConfigEntry entry = ConfigEntry(line, separator);
        if (entry.Key == QLatin1String("protection mode"))
            protection << entry;
        else if (!entry.Key.isEmpty())
            applyLine(entry);
    }
    for (const TConfigEntry& entry : protection)
        applyLine(entry);
}

void TConfigLoader::applyLine(const TConfigEntry& entry)
{
    device.CheckTerminated();
    device.ShowStatus(QStringLiteral("Processing key \"") + entry.Key + QLatin1Char('"'));
    try {
        applyRows(entry);
    } catch (const Exception& e) {
        device.LogLine(e.Message());
    }
}

void TConfigLoader::applyRows(const TConfigEntry& entry)
{
    for (const TKeyRow& row : KeyTable) {
        const QLatin1String key(row.Key);
        if (row.Kind == Match::Exact ? entry.Key == key : entry.Key.startsWith(key))
            (this->*row.Apply)(entry);
    }
}

// --- Identification ---

void TConfigLoader::pollingAddress(const TConfigEntry& entry)
{
    const int address = StrToInt(entry.Value);
    if (address < 0)
        throw Exception(QStringLiteral("Polling Address less than 0"));
    if (address > HighestPollingAddress)
        throw Exception(QStringLiteral("Polling Address greater than 15"));
    device.ChangePollingAddress(quint8(address));
}

void TConfigLoader::loopCurrentMode(const TConfigEntry& entry)
{
    device.ChangeLoopCurrentMode(BoolValue(entry.Value, QStringLiteral("Loop Current Mode invalid")));
}

void TConfigLoader::tagOrDescriptor(const TConfigEntry& entry)
{
    device.WriteTagOrDescriptor(entry.Value, entry.Key == QLatin1String("tag"));
}

void TConfigLoader::date(const TConfigEntry& entry)
{
    QDate date;
    try {
        date = StrToDate(entry.Value);
    } catch (const EConvertError&) {
        throw Exception(QStringLiteral("Date invalid "));
    }
    device.WriteDate(date);
}

void TConfigLoader::longTag(const TConfigEntry& entry)
{
    try {
        device.WriteLongTag(entry.Value);
    } catch (const Exception& e) {
        throw Exception(QStringLiteral("Long Tag: ") + QString(e.Message()).remove(QStringLiteral("\r\n")));
    }
}

void TConfigLoader::message(const TConfigEntry& entry)
{
    device.WriteMessage(entry.Value);
}

void TConfigLoader::finalAssemblyNumber(const TConfigEntry& entry)
{
    device.WriteFinalAssemblyNumber(StrToInt(entry.Value));
}

// --- Analog output ---

// The other range value and, without a unit in the file, the unit stay as
// the device holds them.
void TConfigLoader::pvRange(const TConfigEntry& entry)
{
    const bool upper = entry.Key == QLatin1String("pv upper range");
    const TNumberWithUnit value = NumberWithUnitValue(entry.Value);
    const TConfigDevice::TPVLimits limits = device.ReadPVLimits();
    CheckRange(upper ? QStringLiteral("PV Upper Range") : QStringLiteral("PV Lower Range"), value.Number, limits.Lower,
               limits.Upper);
    const TConfigDevice::TPVRange range = device.ReadPVRange();
    const QString unit = value.Unit.isEmpty() ? range.Unit : value.Unit;
    if (upper)
        device.WritePVRange(unit, value.Number, range.Lower);
    else
        device.WritePVRange(unit, range.Upper, value.Number);
}

void TConfigLoader::alarmSelection(const TConfigEntry& entry)
{
    device.WriteAlarmSelection(AlarmSelectionCode(entry.Value));
}

// --- Device variables ---

void TConfigLoader::deviceVariableEnable(const TConfigEntry& entry)
{
    const int deviceVariable = entry.Key.mid(2, 1).toInt();
    const QString refusal = QStringLiteral("DV%1 enabled value invalid").arg(deviceVariable);
    device.WriteDeviceVariableEnable(deviceVariable, BoolValue(entry.Value, refusal));
}

// "dv<n> <setting>": the third character is the variable's number, the
// second word the setting.
void TConfigLoader::deviceVariable(const TConfigEntry& entry)
{
    try {
        const int deviceVariable = StrToInt(entry.Key.mid(2, 1));
        if (deviceVariable < 0 || deviceVariable > HighestDeviceVariable)
            throw Exception(QStringLiteral("Key not 0, 1, 2 or 3"));
        deviceVariableSetting(deviceVariable, FieldByChar(entry.Key, 2, QLatin1Char(' ')).trimmed(), entry.Value);
    } catch (const Exception& e) {
        throw Exception(entry.Key + QStringLiteral(" invalid: ") + e.Message());
    }
}

// Offsets and damping exist for the two float variables only. An offset
// without a unit keeps the one the device holds.
void TConfigLoader::deviceVariableSetting(int deviceVariable, const QString& setting, const QString& value)
{
    const bool floatVariable = deviceVariable <= 1;
    if (setting == QLatin1String("unit")) {
        device.WriteDeviceVariableUnits(deviceVariable, value);
    } else if (setting == QLatin1String("offset") && floatVariable) {
        const TNumberWithUnit offset = NumberWithUnitValue(value);
        const QString unit = offset.Unit.isEmpty() ? device.ReadOffsetUnit(deviceVariable) : offset.Unit.toLower();
        device.WriteOffset(deviceVariable, unit, offset.Number);
    } else if (setting == QLatin1String("damping") && floatVariable) {
        device.WriteDampingValue(deviceVariable, NumberWithUnitValue(value).Number);
    }
}

// The other three positions go back as the device holds them.
void TConfigLoader::variableAssignment(const TConfigEntry& entry)
{
    const int position = DynamicVariableKeys.indexOf(entry.Key);
    const int code = DeviceVariableCode(entry.Value);
    if (position == 0 && entry.Value == QLatin1String("Not Used"))
        throw Exception(QStringLiteral("PV could not be \"Not Used\""));
    TConfigDevice::TAssignments assignments = device.ReadVariableAssignments();
    assignments[std::size_t(position)] = quint8(code);
    device.WriteVariableAssignments(assignments);
}

// --- Others ---

void TConfigLoader::protectionMode(const TConfigEntry& entry)
{
    device.WriteProtectionMode(ProtectionPasscode, BoolValue(entry.Value, QStringLiteral("Protection Mode invalid")));
}

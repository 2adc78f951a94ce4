#include "TSimScenario.h"

#include "TSimBus.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>
#include <map>
#include <stdexcept>

namespace {

[[noreturn]] void Fail(const QString& message)
{
    throw std::runtime_error(message.toStdString());
}

void CheckKeys(const QJsonObject& object, const QStringList& allowed, const QString& where)
{
    for (const QString& key : object.keys())
        if (!allowed.contains(key))
            Fail(QStringLiteral("Unknown key \"%1\" in %2").arg(key, where));
}

int Integer(const QJsonValue& value, int lowest, int highest, const QString& key)
{
    const double number = value.toDouble(std::numeric_limits<double>::quiet_NaN());
    if (!value.isDouble() || number != std::floor(number) || number < lowest || number > highest)
        Fail(QStringLiteral("\"%1\" must be a whole number from %2 to %3").arg(key).arg(lowest).arg(highest));
    return int(number);
}

// The value of an optional key, or the fallback when the key is absent.
int Integer(const QJsonObject& object, const QString& key, int fallback, int lowest, int highest)
{
    return object.contains(key) ? Integer(object.value(key), lowest, highest, key) : fallback;
}

bool Boolean(const QJsonValue& value, const QString& key)
{
    if (!value.isBool())
        Fail(QStringLiteral("\"%1\" must be true or false").arg(key));
    return value.toBool();
}

QByteArray Text(const QJsonValue& value, int length, const QString& key)
{
    if (!value.isString() || value.toString().size() > length)
        Fail(QStringLiteral("\"%1\" must be a text of at most %2 characters").arg(key).arg(length));
    return value.toString().toLatin1();
}

// Packed ASCII knows upper-case letters only.
QByteArray PackableText(const QJsonValue& value, int length, const QString& key)
{
    return Text(value, length, key).toUpper().leftJustified(length, ' ');
}

// Measurements in meters or degrees Celsius; null for "not a number".
void SetValues(TSimDeviceState& device, const QJsonValue& value)
{
    const QJsonArray values = value.toArray();
    if (!value.isArray() || values.size() > int(device.Variables.size()))
        Fail(QStringLiteral("\"values\" must be a list of up to four numbers"));
    for (int code = 0; code < values.size(); ++code)
        device.Variables[code].Value = values[code].toDouble(std::numeric_limits<double>::quiet_NaN());
}

using TSetter = void (*)(TSimDeviceState& device, const QJsonValue& value, const QString& key);

const std::map<QString, TSetter>& DeviceSetters()
{
    static const std::map<QString, TSetter> setters{
        {"pollingAddress", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.PollingAddress = Integer(v, 0, 63, k);
         }},
        {"deviceId", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.DeviceId = quint32(Integer(v, 0, 0xFFFFFF, k));
         }},
        {"loopCurrentMode", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.LoopCurrentMode = Boolean(v, k);
         }},
        {"tag", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.Configuration.Tag = PackableText(v, 8, k);
         }},
        {"descriptor", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.Configuration.Descriptor = PackableText(v, 16, k);
         }},
        {"message", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.Configuration.Message = PackableText(v, 32, k);
         }},
        {"longTag", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.Configuration.LongTag = Text(v, 32, k).leftJustified(32, '\0');
         }},
        {"values", [](TSimDeviceState& d, const QJsonValue& v, const QString&) { SetValues(d, v); }},
        {"writeProtected", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.WriteProtected = Boolean(v, k);
         }},
        {"passcode", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.Passcode = quint16(Integer(v, 0, 0xFFFF, k));
         }},
        {"configurationChangeCounter", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.ConfigurationChangeCounter = quint16(Integer(v, 0, 0xFFFF, k));
         }},
        {"additionalStatus", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.AdditionalStatus = quint8(Integer(v, 0, 0xFF, k));
         }},
        {"coldStart", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.ColdStart = Boolean(v, k);
         }},
        {"malfunction", [](TSimDeviceState& d, const QJsonValue& v, const QString& k) {
             d.Malfunction = Boolean(v, k);
         }},
    };
    return setters;
}

TSimDeviceState Preset(const QJsonObject& object)
{
    const QString preset = object.value("preset").toString();
    const int universal = Integer(object, "universalRevision", 5, 5, 7);
    const int software = Integer(object, "softwareRevision", 3, 0, 255);
    if (preset == "tivern")
        return TSimDeviceState::Tivern(universal, software);
    if (preset == "calderos")
        return TSimDeviceState::Calderos(universal, software);
    if (preset == "foreign")
        return TSimDeviceState::Foreign(universal);
    Fail(QStringLiteral("\"preset\" must be \"tivern\", \"calderos\" or \"foreign\""));
}

TSimDeviceState ParseDevice(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    QStringList allowed{"preset", "universalRevision", "softwareRevision"};
    for (const auto& setter : DeviceSetters())
        allowed.append(setter.first);
    CheckKeys(object, allowed, QStringLiteral("a device"));

    TSimDeviceState device = Preset(object);
    for (const auto& [key, set] : DeviceSetters())
        if (object.contains(key))
            set(device, object.value(key), key);
    device.FactoryDefaults = device.Configuration;
    return device;
}

TSimFault ParseFault(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    CheckKeys(object, {"kind", "command", "device", "onRequest", "fromRequest", "value"}, QStringLiteral("a fault"));
    const std::optional<TSimFault::TKind> kind = TSimFault::KindNamed(object.value("kind").toString());
    if (!kind)
        Fail(QStringLiteral("Unknown fault kind \"%1\"").arg(object.value("kind").toString()));
    if (object.contains("onRequest") && object.contains("fromRequest"))
        Fail(QStringLiteral("A fault takes \"onRequest\" or \"fromRequest\", not both"));

    constexpr int Unbounded = std::numeric_limits<int>::max();
    TSimFault fault(*kind);
    fault.Command = Integer(object, "command", TSimFault::AnyCommand, 0, 255);
    fault.PollingAddress = Integer(object, "device", TSimFault::AnyDevice, 0, 63);
    fault.Value = Integer(object, "value", fault.Value, -255, 600000);
    if (object.contains("onRequest"))
        fault.OnRequest(Integer(object.value("onRequest"), 1, Unbounded, "onRequest"));
    else
        fault.FromRequest(Integer(object, "fromRequest", 1, 1, Unbounded));
    return fault;
}

} // namespace

TSimScenario TSimScenario::Default()
{
    TSimScenario scenario;
    scenario.Devices.append(TSimDeviceState::Tivern());
    return scenario;
}

TSimScenario TSimScenario::FromJson(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject())
        Fail(QStringLiteral("The scenario is not a JSON object: %1").arg(error.errorString()));
    const QJsonObject root = document.object();
    CheckKeys(root, {"devices", "faults", "timing"}, QStringLiteral("the scenario"));

    TSimScenario scenario;
    for (const QJsonValue& device : root.value("devices").toArray())
        scenario.Devices.append(ParseDevice(device));
    for (const QJsonValue& fault : root.value("faults").toArray())
        scenario.Faults.append(ParseFault(fault));

    const QJsonObject timing = root.value("timing").toObject();
    CheckKeys(timing, {"pace1200Baud", "turnaroundMs"}, QStringLiteral("the timing"));
    scenario.Pace1200Baud = timing.contains("pace1200Baud") && Boolean(timing.value("pace1200Baud"), "pace1200Baud");
    scenario.TurnaroundMs = Integer(timing, "turnaroundMs", 0, 0, 60000);
    return scenario;
}

TSimScenario TSimScenario::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    return FromJson(file.readAll());
}

void TSimScenario::ApplyTo(TSimBus& bus) const
{
    for (const TSimDeviceState& device : Devices)
        bus.AddDevice(device);
    for (const TSimFault& fault : Faults)
        bus.AddFault(fault);
    bus.SetWireTiming(Pace1200Baud, TurnaroundMs);
}

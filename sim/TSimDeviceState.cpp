#include "TSimDeviceState.h"

namespace {

TSimDeviceVariable Sensor(TSimQuantity quantity, double value, double lower, double upper, double minimumSpan,
                          bool switchable)
{
    TSimDeviceVariable sensor;
    sensor.Quantity = quantity;
    sensor.Value = value;
    sensor.LowerLimit = lower;
    sensor.UpperLimit = upper;
    sensor.MinimumSpan = minimumSpan;
    sensor.Switchable = switchable;
    return sensor;
}

TSimVariableSettings Settings(quint8 unit)
{
    TSimVariableSettings settings;
    settings.Unit = unit;
    return settings;
}

// The settings every preset shares; the caller fills in the variables.
TSimDeviceState Common(quint8 manufacturer, quint8 type, quint32 deviceId, int universalRevision,
                       int softwareRevision, const QByteArray& tag)
{
    TSimDeviceState device;
    device.ManufacturerId = manufacturer;
    device.DeviceType = type;
    device.DeviceId = deviceId;
    device.UniversalRevision = quint8(universalRevision);
    device.SoftwareRevision = quint8(softwareRevision);
    device.DistributorCode = manufacturer;
    device.FirmwareVersion = {quint8(softwareRevision), 1, 0};
    device.TransducerSerialNumber = deviceId;

    TSimConfiguration& configuration = device.Configuration;
    configuration.Tag = tag.leftJustified(8, ' ');
    configuration.Descriptor = QByteArray("LEVEL PROBE").leftJustified(16, ' ');
    configuration.Date = QDate(2024, 3, 1);
    configuration.Message = QByteArray("FLOAT LEVEL TRANSMITTER").leftJustified(32, ' ');
    configuration.LongTag = (tag + " level probe").leftJustified(32, '\0');
    configuration.FinalAssemblyNumber = 1001;
    configuration.UpperRangeValue = 3.0;
    configuration.LowerRangeValue = 0.0;
    return device;
}

// A single level variable DV0 in meters, DV1-DV3 not used.
void MeasureLevelOnly(TSimDeviceState& device, const TSimDeviceVariable& level)
{
    device.Variables[0] = level;
    device.Configuration.Variables[0] = Settings(TSimUnits::Meters);
    device.Configuration.Mapping = {0, TSimConfiguration::NoVariable, TSimConfiguration::NoVariable,
                                    TSimConfiguration::NoVariable};
    device.FactoryDefaults = device.Configuration;
}

} // namespace

TSimDeviceState TSimDeviceState::Tivern(int universalRevision, int softwareRevision)
{
    TSimDeviceState device = Common(Korval, TivernType, 0x0A0B0C, universalRevision, softwareRevision, "TIVERN");
    device.Variables = {Sensor(TSimQuantity::Length, 1.25, 0.0, 6.0, 0.05, false),
                        Sensor(TSimQuantity::Length, 0.75, 0.0, 6.0, 0.05, true),
                        Sensor(TSimQuantity::Temperature, 21.5, -40.0, 125.0, 1.0, false),
                        Sensor(TSimQuantity::Length, 0.5, 0.0, 6.0, 0.05, true)};
    device.Configuration.Variables = {Settings(TSimUnits::Meters), Settings(TSimUnits::Meters),
                                      Settings(TSimUnits::Celsius), Settings(TSimUnits::Meters)};
    device.Diagnostics = {204, 128, 250, 40, 180, 8000.0f, 23.5f, 21.0f};
    device.FactoryDefaults = device.Configuration;
    return device;
}

TSimDeviceState TSimDeviceState::Calderos(int universalRevision, int softwareRevision)
{
    TSimDeviceState device =
        Common(Korval, CalderosType, 0x0D0E0F, universalRevision, softwareRevision, "CALDEROS");
    MeasureLevelOnly(device, Sensor(TSimQuantity::Length, 2.0, 0.0, 10.0, 0.1, false));
    return device;
}

TSimDeviceState TSimDeviceState::Foreign(int universalRevision)
{
    TSimDeviceState device = Common(0x26, 0x80, 0x012345, universalRevision, 2, "FOREIGN");
    MeasureLevelOnly(device, Sensor(TSimQuantity::Length, 1.0, 0.0, 4.0, 0.1, false));
    return device;
}

QByteArray TSimDeviceState::UniqueAddress() const
{
    QByteArray address;
    address.append(char(ManufacturerId & 0x3F));
    address.append(char(DeviceType));
    address.append(char(DeviceId >> 16));
    address.append(char(DeviceId >> 8));
    address.append(char(DeviceId));
    return address;
}

#pragma once

#include "TSimConfiguration.h"
#include "TSimDeviceVariable.h"
#include "TSimDiagnostics.h"

#include <QByteArray>

#include <array>

// The complete state of one simulated field device, plain data with value
// semantics: the bus keeps one per device, tests read snapshots and change it
// through TSimBus::ModifyDevice. Presets build the maker's probes and a
// device of another manufacturer.
struct TSimDeviceState
{
    static constexpr quint8 Korval = 0xE3;
    static constexpr quint8 TivernType = 0x80;
    static constexpr quint8 CalderosType = 0x81;

    // Identity (command 0). For universal revision 7 the manufacturer and
    // device type bytes form the 16-bit expanded device type.
    quint8 ManufacturerId = Korval;
    quint8 DeviceType = TivernType;
    quint32 DeviceId = 0; // 24 bits
    quint8 UniversalRevision = 5;
    quint8 DeviceRevision = 1;
    quint8 SoftwareRevision = 3;
    quint8 HardwareRevision = 5; // 5 bits
    quint8 PhysicalSignaling = 0; // 3 bits, 0 = Bell 202 current
    quint8 Flags = 0;
    quint8 RequestPreambles = 5;  // the fewest the device needs from the master
    quint8 ResponsePreambles = 5; // what it sends itself
    quint8 DistributorCode = Korval;
    quint8 DeviceProfile = 1; // process automation device
    std::array<quint8, 3> FirmwareVersion{3, 1, 0};
    quint32 TransducerSerialNumber = 0;

    // Addressing
    int PollingAddress = 0;
    bool LoopCurrentMode = true; // false: multidrop, the current stays at 4 mA

    std::array<TSimDeviceVariable, 4> Variables;
    TSimConfiguration Configuration;
    TSimConfiguration FactoryDefaults;

    bool WriteProtected = false;
    quint16 Passcode = 0;

    bool ConfigurationChanged = false;
    quint16 ConfigurationChangeCounter = 0;
    bool ColdStart = false;   // reported once, in the first answer
    bool Malfunction = false; // drives the output to the alarm current
    quint8 AdditionalStatus = 0; // command 48, first byte, bits 0-5

    bool FixedCurrentMode = false;
    float FixedCurrent = 0.0f; // mA

    TSimDiagnostics Diagnostics;

    // TIVERN probe: DV0 "Float 1", DV1 "Float 2", DV2 temperature, DV3 interface layer.
    static TSimDeviceState Tivern(int universalRevision = 5, int softwareRevision = 3);
    // CALDEROS probe: DV0 "Level" only.
    static TSimDeviceState Calderos(int universalRevision = 5, int softwareRevision = 3);
    // A level transmitter of another manufacturer (0x26) without the maker's commands.
    static TSimDeviceState Foreign(int universalRevision = 5);

    bool IsKorval() const { return ManufacturerId == Korval; }
    bool IsTivern() const { return IsKorval() && DeviceType == TivernType; }

    // Address bytes of the long frame without the master and burst bits.
    QByteArray UniqueAddress() const;
};

// The command layer against simulated field devices, over a pseudo-terminal
// and the program's own serial port: every operation's ordinary path and the
// failures devices produce (write protection, wrong passcodes, values that
// are not a number, odd byte counts, silence).
#include "CommandFixture.h"
#include "util/ErrorMessage.h"

#include "link/TComPortNames.h"

#include "TSimBus.h"

#include <QCoreApplication>
#include <QDir>
#include <QtTest>

using namespace fixture;

namespace {

constexpr int SimComNumber = 77;
const QString NotANumber = QStringLiteral("Not a Number");

QString FreshLinkPath()
{
    static int count = 0;
    return QDir::temp().filePath(QStringLiteral("meridal-commands-sim-%1-%2").arg(QCoreApplication::applicationPid()).arg(++count));
}

// A loop of simulated devices and the command layer on its serial port.
struct Loop : Recorder
{
    explicit Loop(const QList<TSimDeviceState>& devices)
        : bus(FreshLinkPath())
    {
        for (const TSimDeviceState& device : devices)
            bus.AddDevice(device);
        bus.Start();
        TComPortNames::SetOverride(SimComNumber, bus.LinkPath());
        hart = std::make_unique<TComportHART>(SimComNumber);
        hart->Attempts = 1;
        Listen(*hart);
    }

    // Identifies the device at the address and forgets what that reported.
    void Connect(int pollingAddress = 0)
    {
        hart->PollingAddress = quint8(pollingAddress);
        hart->ConnectAtPollingAddress(nullptr);
        Events.clear();
        Statuses.clear();
    }

    QString ResponseText() const { return hart->ResponseCodeText(LastStatus().Command); }

    TSimBus bus;
    std::unique_ptr<TComportHART> hart;
};

TSimDeviceState At(TSimDeviceState device, int pollingAddress)
{
    device.PollingAddress = pollingAddress;
    return device;
}

struct ScanOthers : TSearchWorker
{
    void SetStatusText(const QString&) override {}
    int AskZeroRetry(const QString&) override
    {
        ++Questions;
        return ZeroRetryScanOthers;
    }
    int Questions = 0;
};

bool Near(float actual, float expected)
{
    return std::abs(actual - expected) < 1e-4f;
}

} // namespace

class TestCommandsSim : public QObject
{
    Q_OBJECT

private slots:
    // --- Identification ---

    void searchFindsTheProbe()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        QVERIFY(loop.hart->SearchDevice(nullptr));
        QCOMPARE(loop.hart->PollingAddress, quint8(0));
        QCOMPARE(loop.hart->ManufacturerID, quint16(0xE3));
        QCOMPARE(loop.hart->DeviceTypeCode, quint16(0x80));
        QCOMPARE(loop.hart->DeviceFamily, quint8(1));
        QCOMPARE(loop.hart->DeviceID, 0x0A0B0C);
        QCOMPARE(loop.hart->UniversalRevision, 5);
        QCOMPARE(loop.hart->DeviceRevision, 1);
        QCOMPARE(loop.hart->SoftwareRevision, 3);
        QCOMPARE(loop.hart->HardwareRevision, 5);
        QCOMPARE(loop.LastStatus().OperationName, QString("Search HART device (polling)"));
        QCOMPARE(loop.bus.RequestCount(0), 1);

        loop.hart->ReadUniqueIdentifier();
        QCOMPARE(loop.LastStatus().OperationName, QString("Read Unique Identifier"));
        QCOMPARE(loop.bus.RequestCount(0), 2);
    }

    void searchSkipsTheForeignDevice()
    {
        Loop loop({ TSimDeviceState::Foreign(), At(TSimDeviceState::Calderos(), 1) });
        loop.hart->CheckManufacturer = true;
        QVERIFY(loop.hart->SearchDevice(nullptr));
        QCOMPARE(loop.hart->PollingAddress, quint8(1));
        QCOMPARE(loop.hart->DeviceFamily, quint8(2));
        QCOMPARE(loop.hart->DeviceID, 0x0D0E0F);

        TDeviceIdentity identity;
        QCOMPARE(ErrorMessage<ENoKORVALDeviceException>([&] { loop.hart->ScanAddress(0, identity); }),
                 QString("Not a supported HART Device - Ignoring"));
        loop.hart->CheckManufacturer = false;
        loop.hart->ScanAddress(0, identity);
        QCOMPARE(identity.ManufacturerID, quint16(0x26));
        QCOMPARE(identity.SoftwareRevision, quint8(2));
        QCOMPARE(loop.hart->SoftwareRevision, 3);          // the object keeps the probe's revisions
    }

    void silentAddressZeroThenScan()
    {
        Loop loop({ At(TSimDeviceState::Calderos(), 2) });
        ScanOthers worker;
        QVERIFY(loop.hart->SearchDevice(&worker));
        QCOMPARE(worker.Questions, 1);
        QCOMPARE(loop.hart->PollingAddress, quint8(2));
        QCOMPARE(loop.bus.Log().size(), 3);
    }

    // Revision 7: expanded device type, a longer damping answer and the
    // configuration change counter that command 38 has to name.
    void universalRevisionSeven()
    {
        Loop loop({ TSimDeviceState::Tivern(7, 3) });
        loop.Connect();
        QCOMPARE(loop.hart->DeviceTypeCode, quint16(0xE380));
        QCOMPARE(loop.hart->DeviceFamily, quint8(0));

        float damping = 0;
        loop.hart->ReadDampingValue(0, damping);
        QCOMPARE(damping, 1.0f);

        QString tag = "REV7";
        loop.hart->WriteTagOrDescriptor(tag, true);
        QVERIFY(loop.LastStatus().DeviceStatus & 0x40);
        quint16 stale = 0;
        loop.hart->ResetConfigChangedFlag(stale);
        QCOMPARE(loop.ResponseText(), QString("Configuration Change Counter Mismatch"));

        quint16 counter = 0;
        loop.hart->ReadConfigChangeCounter(counter);
        QCOMPARE(counter, loop.bus.Device(0).ConfigurationChangeCounter);
        QVERIFY(counter > 0);
        loop.hart->ResetConfigChangedFlag(counter);
        QCOMPARE(loop.LastStatus().ResponseCode, quint8(0));
        QCOMPARE(loop.LastStatus().DeviceStatus & 0x40, 0);
        QVERIFY(!loop.bus.Device(0).ConfigurationChanged);
    }

    void revisionSixResetsWithoutCounter()
    {
        Loop loop({ TSimDeviceState::Tivern(6, 3) });
        loop.Connect();
        quint16 counter = 0;
        loop.hart->ResetConfigChangedFlag(counter);
        QCOMPARE(loop.bus.Log().last().Data, QByteArray());
        QCOMPARE(loop.LastStatus().ResponseCode, quint8(0));
    }

    // --- Reads of every tab ---

    void readsEveryTab()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        TComportHART& hart = *loop.hart;

        float value = 0;
        QString unit;
        hart.ReadPrimaryValue(value, unit);
        QCOMPARE(value, 1.25f);
        QCOMPARE(unit, QString("meters"));

        float current = 0;
        float percent = 0;
        hart.ReadLoopCurrent(current, percent);
        QVERIFY(Near(percent, 1.25f / 3 * 100));
        QVERIFY(Near(current, 4 + 16 * 1.25f / 3));

        quint8 address = 9;
        bool mode = false;
        hart.ReadPollingAddress(address, mode);
        QCOMPARE(address, quint8(0));
        QCOMPARE(mode, true);

        QString message;
        hart.ReadMessage(message);
        QCOMPARE(message, QString("FLOAT LEVEL TRANSMITTER").leftJustified(32, ' '));

        QString tag;
        QString descriptor;
        QDate date;
        hart.ReadTagDescriptorDate(tag, descriptor, date);
        QCOMPARE(tag, QString("TIVERN  "));
        QCOMPARE(descriptor, QString("LEVEL PROBE     "));
        QCOMPARE(date, QDate(2024, 3, 1));

        float upper = 0;
        float lower = 1;
        hart.ReadPVLimits(unit, upper, lower);
        QCOMPARE(upper, 6.0f);
        QCOMPARE(lower, 0.0f);

        quint8 alarm = 9;
        hart.ReadPVRange(alarm, upper, lower, unit);
        QCOMPARE(alarm, quint8(0));
        QCOMPARE(upper, 3.0f);
        QCOMPARE(lower, 0.0f);

        qint32 number = 0;
        hart.ReadFinalAssemblyNumber(number);
        QCOMPARE(number, 1001);

        QString longTag;
        hart.ReadLongTag(longTag);
        QCOMPARE(longTag, QString("TIVERN level probe"));

        TDeviceVariable dv0, dv1, dv2, dv3;
        hart.ReadDeviceVariables(dv0, dv1, dv2, dv3);
        QCOMPARE(dv0.Value, 1.25f);
        QCOMPARE(dv1.Value, 0.75f);
        QCOMPARE(dv2.Value, 21.5f);
        QCOMPARE(dv2.UnitText, QString::fromLatin1("\xB0" "C"));
        QCOMPARE(dv3.Value, 0.5f);
        QVERIFY(dv0.Valid && dv1.Valid && dv2.Valid && dv3.Valid);

        quint8 pv = 9, sv = 9, tv = 9, qv = 9;
        hart.ReadVariableAssignments(pv, sv, tv, qv);
        QCOMPARE((QList<int> { pv, sv, tv, qv }), (QList<int> { 0, 1, 2, 3 }));

        float damping = 0;
        hart.ReadDampingValue(1, damping);
        QCOMPARE(damping, 1.0f);

        float offset = 9;
        hart.ReadOffset(0, unit, offset);
        QCOMPARE(offset, 0.0f);
        QCOMPARE(unit, QString("meters"));

        TDiagnosticsData diagnostics;
        hart.ReadDiagnostics(diagnostics);
        QCOMPARE(diagnostics.QualityQuotient, quint8(204));
        QCOMPARE(diagnostics.StartLevel, quint8(128));
        QCOMPARE(diagnostics.DampingLength, quint16(250));
        QCOMPARE(diagnostics.PulseDuration, quint8(40));
        QCOMPARE(diagnostics.PulseHeight, quint8(180));
        QCOMPARE(diagnostics.PulseTimeBase, 8000.0f);
        QCOMPARE(diagnostics.HeadTemperature, 23.5f);
        QCOMPARE(diagnostics.TubeTemperature, 21.0f);

        TFirmware firmware;
        hart.ReadFirmwareVersion(firmware);
        QCOMPARE(firmware.VersionText, QString("3.1.0"));

        QCOMPARE(hart.ReadDeviceVariableEnable(), (std::array<quint8, 4> { 1, 1, 1, 1 }));

        bool protect = true;
        hart.ReadProtectionMode(protect);
        QCOMPARE(protect, false);

        QCOMPARE(loop.Events.filter("write"), QStringList());
        QCOMPARE(loop.Events.size(), 17);
        for (const TDeviceStatus& status : loop.Statuses)
            QCOMPARE(status.ResponseCode, quint8(0));
    }

    // --- Writes, read back from the device ---

    void identificationWrites()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        TComportHART& hart = *loop.hart;

        QString tag = "LT-101";
        hart.WriteTagOrDescriptor(tag, true);
        QString descriptor = "TANK 3";
        hart.WriteTagOrDescriptor(descriptor, false);
        QDate date(2025, 6, 30);
        hart.WriteDate(date);
        QString message = "HELLO";
        hart.WriteMessage(message);
        QString longTag = QString::fromLatin1("Tank 3 \xB0" "level");
        hart.WriteLongTag(longTag);
        qint32 number = 16777215;
        hart.WriteFinalAssemblyNumber(number);

        const TSimConfiguration configuration = loop.bus.Device(0).Configuration;
        QCOMPARE(configuration.Tag, QByteArray("LT-101  "));
        QCOMPARE(configuration.Descriptor, QByteArray("TANK 3          "));
        QCOMPARE(configuration.Date, QDate(2025, 6, 30));
        QCOMPARE(configuration.Message, QByteArray("HELLO").leftJustified(32, ' '));
        QCOMPARE(configuration.LongTag, QByteArray("Tank 3 \xB0" "level").leftJustified(32, '\0'));
        QCOMPARE(configuration.FinalAssemblyNumber, 16777215u);

        QCOMPARE(tag, QString("LT-101  "));
        QCOMPARE(date, QDate(2025, 6, 30));
        QCOMPARE(longTag, QString::fromLatin1("Tank 3 \xB0" "level"));
        QCOMPARE(number, 16777215);
        QCOMPARE(loop.bus.RequestCount(13), 3);            // each composite read first
        QCOMPARE(loop.Events.count("write"), 6);
    }

    void loopConfigurationWrites()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        bool mode = false;
        loop.hart->ChangeLoopCurrentMode(mode);
        quint8 address = 3;
        loop.hart->ChangePollingAddress(address);
        QCOMPARE(address, quint8(3));
        const TSimDeviceState device = loop.bus.Device(3);
        QCOMPARE(device.LoopCurrentMode, false);            // kept by the address change
        QCOMPARE(loop.bus.RequestCount(7), 2);
        QCOMPARE(loop.bus.RequestCount(6), 2);
    }

    void analogOutputAndVariableWrites()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        TComportHART& hart = *loop.hart;

        QString unit = "meters";
        float upper = 5;
        float lower = 0.5f;
        hart.WritePVRange(unit, upper, lower);
        QCOMPARE(upper, 5.0f);
        quint8 alarm = 1;
        hart.WriteAlarmSelection(alarm);
        QCOMPARE(alarm, quint8(1));

        QString dv0Unit = "millimeters";
        hart.WriteDeviceVariableUnits(0, dv0Unit);
        QCOMPARE(dv0Unit, QString("millimeters"));
        float damping = 2.5f;
        hart.WriteDampingValue(1, damping);
        QCOMPARE(damping, 2.5f);
        QString offsetUnit = "millimeters";
        float offset = 10;
        hart.WriteOffset(0, offsetUnit, offset);
        QCOMPARE(offset, 10.0f);
        hart.WriteDeviceVariableEnable(1, false);
        quint8 pv = 3, sv = 0, tv = 2, qv = 250;
        hart.WriteVariableAssignments(pv, sv, tv, qv);
        QCOMPARE(qv, quint8(250));

        float value = 0;
        QString pvUnit;
        pv = 0;
        hart.WriteVariableAssignments(pv, sv, tv, qv);
        hart.ReadPrimaryValue(value, pvUnit);
        QCOMPARE(pvUnit, QString("millimeters"));
        QCOMPARE(value, 1260.0f);
        QCOMPARE(hart.ReadDeviceVariableEnable(), (std::array<quint8, 4> { 1, 0, 1, 1 }));
        TDeviceVariable dv0, dv1, dv2, dv3;
        hart.ReadDeviceVariables(dv0, dv1, dv2, dv3);
        QVERIFY(dv1.Valid && dv1.IsNaN);                    // disabled: no value
        float readDamping = 0;
        hart.ReadDampingValue(1, readDamping);
        QCOMPARE(readDamping, 2.5f);
        const TSimConfiguration configuration = loop.bus.Device(0).Configuration;
        QCOMPARE(configuration.AlarmSelection, quint8(1));
        QCOMPARE(configuration.LowerRangeValue, 0.5);
        for (const TDeviceStatus& status : loop.Statuses)
            QCOMPARE(status.ResponseCode, quint8(0));
    }

    void rangeFromTheFloaterAndRefusedRanges()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        loop.hart->SetUpperRangeFromFloater();
        QCOMPARE(loop.LastStatus().ResponseCode, quint8(0));
        QCOMPARE(loop.bus.Device(0).Configuration.UpperRangeValue, 1.25);

        QString unit = "meters";
        float upper = 7;
        float lower = 0;
        loop.hart->WritePVRange(unit, upper, lower);
        QCOMPARE(loop.ResponseText(), QString("Upper Range Value Too High"));
        QCOMPARE(upper, 7.0f);
        QCOMPARE(loop.Events, (QStringList { "write", "status 36", "write", "status 35" }));
    }

    void loopTestAndTrim()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        TComportHART& hart = *loop.hart;
        float current = 4;
        hart.SetFixedCurrent(current);
        QCOMPARE(current, 4.0f);
        QVERIFY(loop.LastStatus().DeviceStatus & 0x08);
        float measured = 4.02f;
        hart.TrimLoopCurrentZero(measured);
        QCOMPARE(measured, 4.02f);
        QCOMPARE(loop.LastStatus().ResponseCode, quint8(0));

        current = 30;
        hart.SetFixedCurrent(current);
        QCOMPARE(current, -1.0f);
        QCOMPARE(loop.ResponseText(), QString("Passed Parameter Too Large"));

        current = 0;
        hart.SetFixedCurrent(current);
        QCOMPARE(current, 0.0f);
        measured = 19.98f;
        hart.TrimLoopCurrentGain(measured);
        QCOMPARE(loop.ResponseText(), QString("Incorrect Loop Current Mode or Value"));
        QCOMPARE(loop.Events, (QStringList { "status 40", "write", "status 45", "status 40", "status 40", "write", "status 46" }));
    }

    void factoryDefaults()
    {
        Loop loop({ TSimDeviceState::Tivern(), At(TSimDeviceState::Calderos(), 1) });
        loop.Connect();
        loop.hart->StoreFactoryDefaults(loop.hart->DeviceID);
        QCOMPARE(loop.LastStatus().ResponseCode, quint8(0));
        QString tag = "CHANGED";
        loop.hart->WriteTagOrDescriptor(tag, true);
        loop.hart->RestoreFactoryDefaults();
        QCOMPARE(loop.bus.Device(0).Configuration.Tag, QByteArray("TIVERN  "));

        // The request names the family: a TIVERN probe refuses CALDEROS defaults.
        loop.hart->SetDeviceFamily(2);
        loop.hart->StoreFactoryDefaults(loop.hart->DeviceID);
        QCOMPARE(loop.ResponseText(), QString("Invalid Selection"));

        loop.Connect(1);
        loop.hart->StoreFactoryDefaults(0x0D0E0F);
        QCOMPARE(loop.LastStatus().ResponseCode, quint8(0));
    }

    // --- Failures ---

    void writeProtectionAndPasscodes()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        TComportHART& hart = *loop.hart;

        bool protect = true;
        hart.WriteProtectionMode(0, protect);
        QCOMPARE(protect, true);
        QCOMPARE(loop.Events, (QStringList { "status 200", "write" }));

        QString unit = "meters";
        float upper = 4;
        float lower = 1;
        hart.WritePVRange(unit, upper, lower);
        QCOMPARE(loop.LastStatus().ResponseCode, quint8(7));
        QCOMPARE(loop.ResponseText(), QString("In Write Protect Mode"));
        QCOMPARE(upper, 4.0f);
        QCOMPARE(loop.bus.Device(0).Configuration.UpperRangeValue, 3.0);

        protect = false;
        hart.WriteProtectionMode(1234, protect);
        QCOMPARE(loop.ResponseText(), QString("Passcode Wrong"));
        QCOMPARE(protect, false);                            // no echo: left as given
        hart.ReadProtectionMode(protect);
        QCOMPARE(protect, true);

        hart.ChangePasscode(1, 4711);
        QCOMPARE(loop.ResponseText(), QString("Old Passcode Wrong"));
        hart.ChangePasscode(0, 4711);
        QCOMPARE(loop.LastStatus().ResponseCode, quint8(0));
        protect = false;
        hart.WriteProtectionMode(4711, protect);
        QCOMPARE(loop.LastStatus().ResponseCode, quint8(0));
        QVERIFY(!loop.bus.Device(0).WriteProtected);
    }

    void valuesThatAreNotANumber()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        TComportHART& hart = *loop.hart;
        loop.bus.AddFault(TSimFault(TSimFault::TKind::NotANumber).OnCommand(1).WithValue(1));
        loop.bus.AddFault(TSimFault(TSimFault::TKind::NotANumber).OnCommand(207).WithValue(10));
        loop.bus.AddFault(TSimFault(TSimFault::TKind::NotANumber).OnCommand(54).WithValue(13));
        loop.bus.AddFault(TSimFault(TSimFault::TKind::NotANumber).OnCommand(206).WithValue(2));

        float value = 7;
        QString unit;
        QCOMPARE(ErrorMessage<EConvertError>([&] { hart.ReadPrimaryValue(value, unit); }), NotANumber);
        QCOMPARE(value, 7.0f);
        QVERIFY(loop.Events.isEmpty());

        TDiagnosticsData diagnostics;
        hart.ReadDiagnostics(diagnostics);
        QVERIFY(diagnostics.HeadTempIsNaN);
        QVERIFY(!diagnostics.TubeTempIsNaN);
        QCOMPARE(diagnostics.TubeTemperature, 21.0f);

        float damping = 3;
        hart.ReadDampingValue(0, damping);
        QCOMPARE(damping, 3.0f);
        QCOMPARE(loop.Events, (QStringList { "status 207", "status 54" }));

        float offset = 0;
        QCOMPARE(ErrorMessage<EConvertError>([&] { hart.ReadOffset(0, unit, offset); }), NotANumber);

        // A disabled variable reads as not a number.
        hart.WriteDeviceVariableEnable(3, false);
        TDeviceVariable dv0, dv1, dv2, dv3;
        hart.ReadDeviceVariables(dv0, dv1, dv2, dv3);
        QVERIFY(dv3.IsNaN && dv3.Valid);
        QVERIFY(!dv0.IsNaN);
    }

    void unexpectedByteCounts()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        TComportHART& hart = *loop.hart;
        loop.bus.AddFault(TSimFault(TSimFault::TKind::ByteCount).OnCommand(15).WithValue(-1));
        loop.bus.AddFault(TSimFault(TSimFault::TKind::ByteCount).OnCommand(210).WithValue(1));
        loop.bus.AddFault(TSimFault(TSimFault::TKind::ByteCount).OnCommand(7).WithValue(2));

        quint8 alarm = 9;
        float upper = -1;
        float lower = -1;
        QString unit = "unit";
        hart.ReadPVRange(alarm, upper, lower, unit);
        QCOMPARE(alarm, quint8(9));
        QCOMPARE(upper, -1.0f);
        QCOMPARE(unit, QString("unit"));
        QCOMPARE(hart.ReadDeviceVariableEnable(), (std::array<quint8, 4> { 0, 0, 0, 0 }));

        quint8 address = 9;
        bool mode = false;
        hart.ReadPollingAddress(address, mode);              // longer answers still carry both
        QCOMPARE(address, quint8(0));
        QCOMPARE(mode, true);
        QCOMPARE(loop.Events, (QStringList { "status 15", "status 210", "status 7" }));
    }

    void silenceAndBrokenAnswers()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        TComportHART& hart = *loop.hart;
        loop.bus.AddFault(TSimFault(TSimFault::TKind::NoAnswer).OnCommand(2));
        loop.bus.AddFault(TSimFault(TSimFault::TKind::NoAnswer).OnCommand(16).OnRequest(1));
        loop.bus.AddFault(TSimFault(TSimFault::TKind::CommunicationError).OnCommand(13));
        loop.bus.AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(22).WithValue(32));

        float current = 0;
        float percent = 0;
        QCOMPARE(ErrorMessage<ETimeoutException>([&] { hart.ReadLoopCurrent(current, percent); }),
                 QString("Timeout: HART device does not respond"));

        hart.Attempts = 3;
        qint32 number = 0;
        hart.ReadFinalAssemblyNumber(number);
        QCOMPARE(number, 1001);
        QCOMPARE(loop.bus.RequestCount(16), 2);

        QString tag;
        QString descriptor;
        QDate date;
        QCOMPARE(ErrorMessage<Exception>([&] { hart.ReadTagDescriptorDate(tag, descriptor, date); }),
                 QString("The following communication error(s) occurred:\r\n  0x40 Vertical Parity Error\r\n  0x10 Framing Error"));
        QCOMPARE(loop.bus.RequestCount(13), 3);

        QString longTag = "NEW";
        hart.WriteLongTag(longTag);
        QCOMPARE(loop.ResponseText(), QString("Busy (A DR Could Not Be Started)"));
        QCOMPARE(longTag, QString("NEW"));
        QCOMPARE(loop.Events, (QStringList { "status 16", "write", "status 22" }));
    }

    void compositeWriteWithoutCurrentFieldsWritesNothing()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        loop.bus.AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(7).WithValue(32));
        quint8 address = 4;
        QCOMPARE(ErrorMessage<Exception>([&] { loop.hart->ChangePollingAddress(address); }),
                 QString("The device did not report its polling address and loop current mode; nothing was written."));
        QCOMPARE(loop.bus.RequestCount(6), 0);
        QCOMPARE(loop.bus.Device(0).PollingAddress, 0);
    }

    void additionalStatusIsReadWhenAnnounced()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        loop.bus.ModifyDevice(0, [](TSimDeviceState& device) { device.AdditionalStatus = 0x21; });
        float value = 0;
        QString unit;
        loop.hart->ReadPrimaryValue(value, unit);
        QCOMPARE(loop.bus.RequestCount(48), 1);
        QVERIFY(loop.LastStatus().DeviceStatus & 0x10);
        QVERIFY(loop.LastStatus().HARTParameterError);
        QVERIFY(loop.LastStatus().DryWarning);
        QVERIFY(!loop.LastStatus().MeasurementError);
        QCOMPARE(loop.Events, QStringList { "status 1" });
    }

    void olderFirmwareLacksTheServiceCommands()
    {
        Loop loop({ TSimDeviceState::Tivern(5, 2) });
        loop.Connect();
        TDiagnosticsData diagnostics;
        diagnostics.QualityQuotient = 42;
        loop.hart->ReadDiagnostics(diagnostics);
        QCOMPARE(loop.ResponseText(), QString("Command Not Implemented"));
        QCOMPARE(diagnostics.QualityQuotient, quint8(42));
        QCOMPARE(loop.hart->ReadDeviceVariableEnable(), (std::array<quint8, 4> { 0, 0, 0, 0 }));
    }

    void directCommand()
    {
        Loop loop({ TSimDeviceState::Tivern() });
        loop.Connect();
        THARTFrame answer;
        loop.hart->SendDirectCommand(loop.hart->BuildLongFrame(Hex("10 00")), 1200, answer);
        QCOMPARE(answer.Command, 16);
        QCOMPARE(answer.Data, Hex("00 00 00 03 E9"));
        QCOMPARE(loop.Events, QStringList { "status 16" });
        QCOMPARE(loop.LastStatus().OperationName, QString("Direct Command"));
    }
};

QTEST_GUILESS_MAIN(TestCommandsSim)
#include "test_commands_sim.moc"

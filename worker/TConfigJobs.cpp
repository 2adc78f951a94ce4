#include "worker/TConfigJobs.h"

#include "config/TConfigLoader.h"
#include "config/TConfigWriter.h"
#include "config/UConfigValues.h"
#include "util/UPresentation.h"
#include "worker/TConfigDeviceHART.h"
#include "worker/TDeviceView.h"
#include "worker/TFamilyJobs.h"
#include "worker/TReadJobs.h"
#include "worker/TThreadMeridal.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

namespace {

const QString IdentificationStatus = QStringLiteral("Save \"Identification\" values");
const QString DeviceVariablesStatus = QStringLiteral("Save \"Device Variables\" values");

// The status flags as the file names them, in file order, with the check
// box of the device status window that shows each.
const struct
{
    const char* Name;
    TField Box;
} StatusFlags[] = {
    { "Success", TField::CheckBoxSuccess },
    { "Cold Start", TField::CheckBoxColdStart },
    { "Configuration Changed", TField::CheckBoxConfigurationChanged },
    { "Device Malfunction", TField::CheckBoxDeviceMalfunction },
    { "Primary Variable Out Of Limits", TField::CheckBoxPriVarOutOfLimit },
    { "Non-Primary Variable Out Of Limits", TField::CheckBoxNonPriVarOutOfLimit },
    { "Loop Current Fixed", TField::CheckBoxLoopCurrentFixed },
    { "Loop Current Saturated", TField::CheckBoxLoopCurrentSaturated },
    { "More Status Available", TField::CheckBoxMoreStatusAvailable },
    { "HART Parameter Error", TField::CheckBoxHARTParaError },
    { "Measurement Error", TField::CheckBoxMeasureError },
    { "Transmitter Parameter Error", TField::CheckBoxTransParaError },
    { "Error Counter Error", TField::CheckBoxErrorCountError },
    { "Low Voltage Error", TField::CheckBoxLowVoltageError },
    { "Dry Warning", TField::CheckBoxDryWarning },
};

QString Key(const char* text)
{
    return QString::fromLatin1(text);
}

} // namespace

TConfigJobs::TConfigJobs(TThreadMeridal& thread)
    : TJobSteps(thread)
{
}

// --- Saving ---

void TConfigJobs::JobSaveConfig()
{
    thread.CheckTerminated();
    view().ClearResponseLog();
    SaveConfig(0);
}

void TConfigJobs::SaveConfig(int firstLogLine)
{
    const QString name = thread.ConfigFileName;
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("Error upon creating the file:\r\n  ") + name);
    TConfigWriter out(file, thread.ConfigSeparator);
    try {
        saveConfiguration(out, firstLogLine);
        if (!file.commit())
            throw Exception(file.errorString());
    } catch (const ETerminateException&) {
        throw;
    } catch (const Exception& e) {
        throw Exception(e.Message() + QStringLiteral("\r\rThe configuration file was not written:\r\n  ") + name);
    }
    view().ShowStatus(QStringLiteral("File saved"));
}

void TConfigJobs::saveConfiguration(TConfigWriter& out, int firstLogLine)
{
    out.Line(QStringLiteral("HART Device Configuration"));
    saveIdentification(out);
    saveAnalogOutput(out);
    saveDeviceVariables(out);
    saveOthers(out);
    saveLastStatus(out, firstLogLine);
}

void TConfigJobs::section(TConfigWriter& out, const QString& statusText, const QString& name)
{
    thread.CheckTerminated();
    view().ShowStatus(statusText);
    out.Line();
    out.Line(name);
}

void TConfigJobs::saveIdentification(TConfigWriter& out)
{
    section(out, IdentificationStatus, QStringLiteral("Identification"));
    out.KeyValue(QStringLiteral("SaveDate"), DateTimeText(QDateTime::currentDateTime()));
    saveIdentity(out, "Manufacturer ID", TField::EditManufacturerID);
    saveIdentity(out, "Device Code", TField::EditDeviceCode);
    saveIdentity(out, "Device ID", TField::EditDeviceID);
    saveIdentity(out, "Universal Cmd. Rev.", TField::EditUniversalCmdRev);
    saveIdentity(out, "Device Rev.", TField::EditDeviceRev);
    saveIdentity(out, "Firmware Rev.", TField::EditFirmwareRev);
    saveIdentity(out, "Hardware Rev.", TField::EditHardwareRev);

    quint8 pollingAddress = 0;
    bool loopCurrentMode = false;
    device().ReadPollingAddress(pollingAddress, loopCurrentMode);
    requireReported(QStringLiteral("its polling address and loop current mode"));
    out.KeyValue(QStringLiteral("Polling Address"), QString::number(pollingAddress));
    out.KeyBool(QStringLiteral("Loop Current Mode"), loopCurrentMode);

    QString tag;
    QString descriptor;
    QByteArray date;
    device().ReadStoredTagDescriptorDate(tag, descriptor, date);
    requireReported(QStringLiteral("its tag, descriptor and date"));
    view().ShowStatus(IdentificationStatus);
    QString longTag;
    device().ReadLongTag(longTag);
    requireReported(QStringLiteral("its long tag"));
    QString message;
    device().ReadMessage(message);
    requireReported(QStringLiteral("its message"));
    view().ShowStatus(IdentificationStatus);
    qint32 finalAssemblyNumber = 0;
    device().ReadFinalAssemblyNumber(finalAssemblyNumber);
    requireReported(QStringLiteral("its final assembly number"));
    out.KeyValue(QStringLiteral("Tag"), tag);
    out.KeyValue(QStringLiteral("Long Tag"), longTag);
    out.KeyValue(QStringLiteral("Descriptor"), descriptor);
    out.KeyValue(QStringLiteral("Message"), message);
    // A date that is none (a new probe may hold day 0) is written as it is
    // stored; loading it back is refused.
    out.KeyValue(QStringLiteral("Date"), StoredDateText(date));
    out.KeyValue(QStringLiteral("Final Assem. No."), QString::number(finalAssemblyNumber));
}

// As the main window shows it.
void TConfigJobs::saveIdentity(TConfigWriter& out, const char* key, TField edit)
{
    out.KeyValue(Key(key), view().Text(edit));
}

void TConfigJobs::saveAnalogOutput(TConfigWriter& out)
{
    section(out, QStringLiteral("Save \"Analog Output\" values"), QStringLiteral("Analog Output"));
    QString limitUnit;
    float upperLimit = 0;
    float lowerLimit = 0;
    device().ReadPVLimits(limitUnit, upperLimit, lowerLimit);
    requireReported(QStringLiteral("its sensor limits"));
    out.KeyValue(QStringLiteral("Sensor Upper Range"), NumberWithUnitText(upperLimit, limitUnit));
    out.KeyValue(QStringLiteral("Sensor Lower Range"), NumberWithUnitText(lowerLimit, limitUnit));

    quint8 alarmSelection = 0;
    float upperRange = 0;
    float lowerRange = 0;
    QString rangeUnit;
    device().ReadPVRange(alarmSelection, upperRange, lowerRange, rangeUnit);
    requireReported(QStringLiteral("its PV range and alarm selection"));
    out.KeyValue(QStringLiteral("PV Upper Range"), NumberWithUnitText(upperRange, rangeUnit));
    out.KeyValue(QStringLiteral("PV Lower Range"), NumberWithUnitText(lowerRange, rangeUnit));
    out.KeyValue(QStringLiteral("PV Alarm Selection"), AlarmSelectionText(alarmSelection));
}

void TConfigJobs::saveDeviceVariables(TConfigWriter& out)
{
    section(out, DeviceVariablesStatus, QStringLiteral("Device Variables"));
    TDeviceVariable variables[4];
    device().ReadDeviceVariables(variables[0], variables[1], variables[2], variables[3]);
    requireReported(QStringLiteral("its device variables"));
    for (int n = 0; n < 4; ++n) {
        if (!variables[n].Valid)
            continue;
        out.KeyValue(QStringLiteral("DV%1 Unit").arg(n), variables[n].UnitText);
        if (n <= 1)
            saveOffsetAndDamping(out, n);
    }
    quint8 codes[4] = {};
    device().ReadVariableAssignments(codes[0], codes[1], codes[2], codes[3]);
    requireReported(QStringLiteral("its variable assignments"));
    const char* const keys[4] = { "PV", "SV", "TV", "QV" };
    for (int position = 0; position < 4; ++position)
        out.KeyValue(Key(keys[position]), device().MappingText(codes[position], false));
}

void TConfigJobs::saveOffsetAndDamping(TConfigWriter& out, int deviceVariable)
{
    QString unit;
    float offset = 0;
    device().ReadOffset(deviceVariable, unit, offset);
    requireReported(QStringLiteral("the offset of DV%1").arg(deviceVariable));
    out.KeyValue(QStringLiteral("DV%1 Offset").arg(deviceVariable), NumberWithUnitText(offset, unit));
    float damping = 0;
    device().ReadDampingValue(deviceVariable, damping);
    requireReported(QStringLiteral("the damping of DV%1").arg(deviceVariable));
    out.KeyValue(QStringLiteral("DV%1 Damping").arg(deviceVariable), DampingText(damping));
    view().ShowStatus(DeviceVariablesStatus);
}

void TConfigJobs::saveOthers(TConfigWriter& out)
{
    section(out, QStringLiteral("Save \"Other\" values"), QStringLiteral("Others"));
    bool protect = false;
    device().ReadProtectionMode(protect);
    requireReported(QStringLiteral("its protection mode"));
    out.KeyBool(QStringLiteral("Protection Mode"), protect);
    if (!TFamilyJobs(thread).FetchDeviceVariableEnable())
        requireReported(QStringLiteral("its device variable enable flags"));
    saveEnable(out, "DV1 enabled", TField::CheckBoxEnableDV1);
    saveEnable(out, "DV3 enabled", TField::CheckBoxEnableDV3);
}

// Only a flag the user could change is worth loading into another probe.
void TConfigJobs::saveEnable(TConfigWriter& out, const char* key, TField box)
{
    if (view().Enabled(box))
        out.KeyBool(Key(key), view().Checked(box));
}

// The refusals and warnings of this save, and the status of its last answer.
void TConfigJobs::saveLastStatus(TConfigWriter& out, int firstLogLine)
{
    section(out, QStringLiteral("Save last Device Status"), QStringLiteral("Response Code(s)"));
    for (const QString& line : view().ResponseLogLines().mid(firstLogLine))
        out.Line(line);
    out.Line();
    out.Line();
    out.Line(QStringLiteral("Last Device Status"));
    for (const auto& flag : StatusFlags) {
        if (view().Checked(flag.Box))
            out.KeyValue(Key(flag.Name), QStringLiteral("true"));
    }
}

// --- Loading ---

void TConfigJobs::JobLoadConfig()
{
    thread.CheckTerminated();
    bool protect = false;
    device().ReadProtectionMode(protect);
    if (protect) {
        view().AddResponseLogLine(QStringLiteral("HART device is in Wrote Protect Mode"));
        return;
    }
    const QString name = thread.ConfigFileName;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Error upon opening the file:\r\n  ") + name);
    const QByteArray content = file.readAll();
    file.close();
    TConfigDeviceHART target(thread);
    TConfigLoader(target, thread.ConfigSeparator).Load(content);
    // The window shows what the device holds now.
    TReadJobs(thread).JobReadIdentification();
    view().ShowStatus(QStringLiteral("Done"));
}

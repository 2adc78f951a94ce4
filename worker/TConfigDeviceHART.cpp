#include "worker/TConfigDeviceHART.h"

#include "worker/TDeviceView.h"
#include "worker/TThreadMeridal.h"

// The command layer's operations take their values by reference and put the
// device's echo there; the load needs the echo of none of them.

TConfigDeviceHART::TConfigDeviceHART(TThreadMeridal& thread)
    : TJobSteps(thread)
{
}

void TConfigDeviceHART::CheckTerminated()
{
    thread.CheckTerminated();
}

void TConfigDeviceHART::ShowStatus(const QString& text)
{
    view().ShowStatus(text);
}

void TConfigDeviceHART::LogLine(const QString& text)
{
    view().AddResponseLogLine(text);
}

// The probe answers at its new address from now on.
void TConfigDeviceHART::ChangePollingAddress(quint8 address)
{
    device().ChangePollingAddress(address);
    if (device().ValuesConfirmed())
        device().PollingAddress = address;
}

void TConfigDeviceHART::ChangeLoopCurrentMode(bool mode)
{
    device().ChangeLoopCurrentMode(mode);
}

void TConfigDeviceHART::WriteTagOrDescriptor(const QString& text, bool isTag)
{
    QString written = text;
    device().WriteTagOrDescriptor(written, isTag);
}

void TConfigDeviceHART::WriteDate(const QDate& date)
{
    QDate written = date;
    device().WriteDate(written);
}

void TConfigDeviceHART::WriteLongTag(const QString& text)
{
    QString written = text;
    device().WriteLongTag(written);
}

void TConfigDeviceHART::WriteMessage(const QString& text)
{
    QString written = text;
    device().WriteMessage(written);
}

void TConfigDeviceHART::WriteFinalAssemblyNumber(qint32 number)
{
    device().WriteFinalAssemblyNumber(number);
}

TConfigDevice::TPVLimits TConfigDeviceHART::ReadPVLimits()
{
    QString unit;
    TPVLimits limits;
    device().ReadPVLimits(unit, limits.Upper, limits.Lower);
    requireValues(QStringLiteral("its PV limits"));
    return limits;
}

TConfigDevice::TPVRange TConfigDeviceHART::ReadPVRange()
{
    quint8 alarmSelection = 0;
    TPVRange range;
    device().ReadPVRange(alarmSelection, range.Upper, range.Lower, range.Unit);
    requireValues(QStringLiteral("its PV range"));
    return range;
}

void TConfigDeviceHART::WritePVRange(const QString& unit, float upper, float lower)
{
    QString writtenUnit = unit;
    device().WritePVRange(writtenUnit, upper, lower);
}

void TConfigDeviceHART::WriteAlarmSelection(quint8 code)
{
    device().WriteAlarmSelection(code);
}

void TConfigDeviceHART::WriteDeviceVariableEnable(int deviceVariable, bool enable)
{
    device().WriteDeviceVariableEnable(deviceVariable, enable);
}

void TConfigDeviceHART::WriteDeviceVariableUnits(int deviceVariable, const QString& unit)
{
    QString written = unit;
    device().WriteDeviceVariableUnits(deviceVariable, written);
}

QString TConfigDeviceHART::ReadOffsetUnit(int deviceVariable)
{
    QString unit;
    float offset = 0;
    device().ReadOffset(deviceVariable, unit, offset);
    requireValues(QStringLiteral("the offset of DV%1").arg(deviceVariable));
    return unit;
}

void TConfigDeviceHART::WriteOffset(int deviceVariable, const QString& unit, float offset)
{
    QString writtenUnit = unit;
    device().WriteOffset(deviceVariable, writtenUnit, offset);
}

void TConfigDeviceHART::WriteDampingValue(int deviceVariable, float damping)
{
    device().WriteDampingValue(deviceVariable, damping);
}

TConfigDevice::TAssignments TConfigDeviceHART::ReadVariableAssignments()
{
    TAssignments codes {};
    device().ReadVariableAssignments(codes[0], codes[1], codes[2], codes[3]);
    requireValues(QStringLiteral("its variable assignments"));
    return codes;
}

void TConfigDeviceHART::WriteVariableAssignments(const TAssignments& assignments)
{
    TAssignments written = assignments;
    device().WriteVariableAssignments(written[0], written[1], written[2], written[3]);
}

void TConfigDeviceHART::WriteProtectionMode(quint16 passcode, bool protect)
{
    device().WriteProtectionMode(passcode, protect);
}

void TConfigDeviceHART::requireValues(const QString& what) const
{
    requireReported(what, QStringLiteral("; nothing was written"));
}

#pragma once

#include <QDate>
#include <QString>

#include <array>

// What loading a configuration file does to the device, one operation per
// key, and how it reports. The device thread implements it over the command
// layer; tests record the calls. A read that the device does not answer with
// its values raises: the writes that follow it must not guess.
class TConfigDevice
{
public:
    struct TPVLimits
    {
        float Upper = 0;
        float Lower = 0;
    };
    struct TPVRange
    {
        QString Unit;
        float Upper = 0;
        float Lower = 0;
    };
    using TAssignments = std::array<quint8, 4>;  // PV, SV, TV, QV

    virtual ~TConfigDevice() = default;

    // Raises when the load must stop (the program is closing).
    virtual void CheckTerminated() = 0;
    virtual void ShowStatus(const QString& text) = 0;
    // One line of the response log.
    virtual void LogLine(const QString& text) = 0;

    virtual void ChangePollingAddress(quint8 address) = 0;
    virtual void ChangeLoopCurrentMode(bool mode) = 0;
    virtual void WriteTagOrDescriptor(const QString& text, bool isTag) = 0;
    virtual void WriteDate(const QDate& date) = 0;
    virtual void WriteLongTag(const QString& text) = 0;
    virtual void WriteMessage(const QString& text) = 0;
    virtual void WriteFinalAssemblyNumber(qint32 number) = 0;
    virtual TPVLimits ReadPVLimits() = 0;
    virtual TPVRange ReadPVRange() = 0;
    virtual void WritePVRange(const QString& unit, float upper, float lower) = 0;
    virtual void WriteAlarmSelection(quint8 code) = 0;
    virtual void WriteDeviceVariableEnable(int deviceVariable, bool enable) = 0;
    virtual void WriteDeviceVariableUnits(int deviceVariable, const QString& unit) = 0;
    virtual QString ReadOffsetUnit(int deviceVariable) = 0;
    virtual void WriteOffset(int deviceVariable, const QString& unit, float offset) = 0;
    virtual void WriteDampingValue(int deviceVariable, float damping) = 0;
    virtual TAssignments ReadVariableAssignments() = 0;
    virtual void WriteVariableAssignments(const TAssignments& assignments) = 0;
    virtual void WriteProtectionMode(quint16 passcode, bool protect) = 0;
};

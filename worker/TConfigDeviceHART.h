#pragma once

#include "config/TConfigDevice.h"
#include "worker/TJobSteps.h"

// The load's operations on the connected device, run by the device thread
// through the command layer; its reports go to the status bar and the
// response log.
class TConfigDeviceHART : public TConfigDevice, private TJobSteps
{
public:
    explicit TConfigDeviceHART(TThreadMeridal& thread);

    void CheckTerminated() override;
    void ShowStatus(const QString& text) override;
    void LogLine(const QString& text) override;

    void ChangePollingAddress(quint8 address) override;
    void ChangeLoopCurrentMode(bool mode) override;
    void WriteTagOrDescriptor(const QString& text, bool isTag) override;
    void WriteDate(const QDate& date) override;
    void WriteLongTag(const QString& text) override;
    void WriteMessage(const QString& text) override;
    void WriteFinalAssemblyNumber(qint32 number) override;
    TPVLimits ReadPVLimits() override;
    TPVRange ReadPVRange() override;
    void WritePVRange(const QString& unit, float upper, float lower) override;
    void WriteAlarmSelection(quint8 code) override;
    void WriteDeviceVariableEnable(int deviceVariable, bool enable) override;
    void WriteDeviceVariableUnits(int deviceVariable, const QString& unit) override;
    QString ReadOffsetUnit(int deviceVariable) override;
    void WriteOffset(int deviceVariable, const QString& unit, float offset) override;
    void WriteDampingValue(int deviceVariable, float damping) override;
    TAssignments ReadVariableAssignments() override;
    void WriteVariableAssignments(const TAssignments& assignments) override;
    void WriteProtectionMode(quint16 passcode, bool protect) override;

private:
    // Raises unless the last answer carried the values just read.
    void requireValues(const QString& what) const;
};

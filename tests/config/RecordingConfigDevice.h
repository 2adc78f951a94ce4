#pragma once

#include "config/TConfigDevice.h"
#include "util/Exceptions.h"

#include <QHash>
#include <QStringList>

// A device that records what a load does to it, one text per operation
// ("WriteOffset 0 centimeters 2.500"), and the load's status texts and log
// lines. Reads answer with the fields below; an operation named in FailOn
// raises the message given there, as a transaction without answer would.
class RecordingConfigDevice : public TConfigDevice
{
public:
    QStringList Calls;
    QStringList Log;
    QStringList Statuses;
    // Everything in order: "status", "log", "call", "failure".
    QStringList Events;
    QHash<QString, QString> FailOn;
    TPVLimits Limits { 6.0f, 0.0f };
    TPVRange Range { QStringLiteral("meters"), 5.0f, 0.5f };
    TAssignments Assignments { 0, 1, 2, 3 };
    QString OffsetUnit = QStringLiteral("meters");

    void CheckTerminated() override {}
    void ShowStatus(const QString& text) override
    {
        Statuses << text;
        Events << QStringLiteral("status");
    }
    void LogLine(const QString& text) override
    {
        Log << text;
        Events << QStringLiteral("log");
    }

    void ChangePollingAddress(quint8 address) override { call("ChangePollingAddress", { QString::number(address) }); }
    void ChangeLoopCurrentMode(bool mode) override { call("ChangeLoopCurrentMode", { Bool(mode) }); }
    void WriteTagOrDescriptor(const QString& text, bool isTag) override
    {
        call(isTag ? "WriteTag" : "WriteDescriptor", { text });
    }
    void WriteDate(const QDate& date) override { call("WriteDate", { date.toString(Qt::ISODate) }); }
    void WriteLongTag(const QString& text) override { call("WriteLongTag", { text }); }
    void WriteMessage(const QString& text) override { call("WriteMessage", { text }); }
    void WriteFinalAssemblyNumber(qint32 number) override { call("WriteFinalAssemblyNumber", { QString::number(number) }); }
    TPVLimits ReadPVLimits() override { return call("ReadPVLimits", {}), Limits; }
    TPVRange ReadPVRange() override { return call("ReadPVRange", {}), Range; }
    void WritePVRange(const QString& unit, float upper, float lower) override
    {
        call("WritePVRange", { unit, Number(upper), Number(lower) });
    }
    void WriteAlarmSelection(quint8 code) override { call("WriteAlarmSelection", { QString::number(code) }); }
    void WriteDeviceVariableEnable(int deviceVariable, bool enable) override
    {
        call("WriteDeviceVariableEnable", { QString::number(deviceVariable), Bool(enable) });
    }
    void WriteDeviceVariableUnits(int deviceVariable, const QString& unit) override
    {
        call("WriteDeviceVariableUnits", { QString::number(deviceVariable), unit });
    }
    QString ReadOffsetUnit(int deviceVariable) override
    {
        return call("ReadOffsetUnit", { QString::number(deviceVariable) }), OffsetUnit;
    }
    void WriteOffset(int deviceVariable, const QString& unit, float offset) override
    {
        call("WriteOffset", { QString::number(deviceVariable), unit, Number(offset) });
    }
    void WriteDampingValue(int deviceVariable, float damping) override
    {
        call("WriteDampingValue", { QString::number(deviceVariable), Number(damping) });
    }
    TAssignments ReadVariableAssignments() override { return call("ReadVariableAssignments", {}), Assignments; }
    void WriteVariableAssignments(const TAssignments& a) override
    {
        call("WriteVariableAssignments", { QString::number(a[0]), QString::number(a[1]), QString::number(a[2]), QString::number(a[3]) });
    }
    void WriteProtectionMode(quint16 passcode, bool protect) override
    {
        call("WriteProtectionMode", { QString::number(passcode), Bool(protect) });
    }

private:
    static QString Bool(bool flag) { return flag ? QStringLiteral("true") : QStringLiteral("false"); }
    static QString Number(float value) { return QString::number(double(value), 'f', 3); }

    void call(const char* name, const QStringList& arguments)
    {
        const QString operation = QString::fromLatin1(name);
        if (FailOn.contains(operation)) {
            Events << QStringLiteral("failure");
            throw Exception(FailOn.value(operation));
        }
        Events << QStringLiteral("call");
        Calls << (QStringList { operation } + arguments).join(QLatin1Char(' '));
    }
};

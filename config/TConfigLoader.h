#pragma once

#include "config/UConfigText.h"

#include <QByteArray>
#include <QString>

class TConfigDevice;

// Writes the values of a configuration file into the device, line by line
// in file order. Each key line is applied through the rows of the key table
// that match its key; a line that fails adds its message, as one line, to
// the response log, and the load goes on with the next line. Lines without
// a key, and keys the table does not know (title, sections, identity,
// sensor limits, status flags), change nothing. Write protection is
// switched last.
class TConfigLoader
{
public:
    // Sent when a file switches write protection on or off: the passcode the
    // probes are delivered with. A probe whose passcode was changed refuses
    // it ("Passcode Wrong") and keeps its mode.
    static constexpr quint16 ProtectionPasscode = 0;

    TConfigLoader(TConfigDevice& device, const QString& separator);

    void Load(const QByteArray& content);

private:
    enum class Match { Exact, Prefix };
    struct TKeyRow
    {
        const char* Key;
        Match Kind;
        void (TConfigLoader::*Apply)(const TConfigEntry& entry);
    };
    static const TKeyRow KeyTable[];

    void applyLine(const TConfigEntry& entry);
    void applyRows(const TConfigEntry& entry);

    void pollingAddress(const TConfigEntry& entry);
    void loopCurrentMode(const TConfigEntry& entry);
    void tagOrDescriptor(const TConfigEntry& entry);
    void date(const TConfigEntry& entry);
    void longTag(const TConfigEntry& entry);
    void message(const TConfigEntry& entry);
    void finalAssemblyNumber(const TConfigEntry& entry);
    void pvRange(const TConfigEntry& entry);
    void alarmSelection(const TConfigEntry& entry);
    void deviceVariableEnable(const TConfigEntry& entry);
    void deviceVariable(const TConfigEntry& entry);
    void variableAssignment(const TConfigEntry& entry);
    void protectionMode(const TConfigEntry& entry);

    void deviceVariableSetting(int deviceVariable, const QString& setting, const QString& value);

    TConfigDevice& device;
    QString separator;
};

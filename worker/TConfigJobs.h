#pragma once

#include "worker/TJobSteps.h"

#include <QString>

class TConfigWriter;

// Saving the connected device's whole configuration to the file named by
// the thread's `ConfigFileName`, and loading such a file into the device.
class TConfigJobs : private TJobSteps
{
public:
    explicit TConfigJobs(TThreadMeridal& thread);

    // The file is replaced only once it is complete: when the device stops
    // answering half-way, or does not report a value, a file chosen for
    // overwriting stays as it was.
    void JobSaveConfig();
    // The save without emptying the response log first: "Response Code(s)"
    // lists its lines from `firstLogLine` on.
    void SaveConfig(int firstLogLine);
    void JobLoadConfig();

private:
    void saveConfiguration(TConfigWriter& out, int firstLogLine);
    void saveIdentification(TConfigWriter& out);
    void saveAnalogOutput(TConfigWriter& out);
    void saveDeviceVariables(TConfigWriter& out);
    void saveOthers(TConfigWriter& out);
    void saveLastStatus(TConfigWriter& out, int firstLogLine);
    void saveIdentity(TConfigWriter& out, const char* key, TField edit);
    void saveOffsetAndDamping(TConfigWriter& out, int deviceVariable);
    void saveEnable(TConfigWriter& out, const char* key, TField box);
    void section(TConfigWriter& out, const QString& statusText, const QString& name);
};

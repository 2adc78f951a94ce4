#pragma once

#include "worker/TJobSteps.h"

#include <QString>

// What depends on the probe family (1 TIVERN, 2 CALDEROS, 0 other) and the
// firmware revision: the window's adaptation after identification, the
// device-variable enable flags of the Others tab, and the Diagnostics tab.
class TFamilyJobs : private TJobSteps
{
public:
    explicit TFamilyJobs(TThreadMeridal& thread);

    void AdaptToDeviceFamily(int family);
    // False when the device did not report its flags: the boxes are then
    // left disabled, so that nobody switches a flag whose state is unknown.
    bool FetchDeviceVariableEnable();
    void StoreDeviceVariableEnable();

    void JobReadDiagnosticsTab();
    void JobRefreshDiagnostics();
    void FetchFirmwareVersion();
    void FetchDiagnostics();

private:
    int firmwareRevision() const;
};

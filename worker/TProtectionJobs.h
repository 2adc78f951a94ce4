#pragma once

#include "worker/TJobSteps.h"

#include <QString>

// Save on the Others tab: the passcode change, write protection on or off,
// and the device-variable enable flags, in an order that keeps the device
// writable while it is being written. Passcodes stay in the window only
// until they have been sent.
class TProtectionJobs : private TJobSteps
{
public:
    explicit TProtectionJobs(TThreadMeridal& thread);

    void JobSaveOthers();
    void ChangePasscodeStep();
    void ProtectionStep();
};

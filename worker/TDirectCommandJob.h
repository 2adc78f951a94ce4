#pragma once

#include "worker/TJobSteps.h"

// Sends the frame the direct command window built, unchanged, and shows the
// answer field by field. A time-out or a malformed answer ends the job with
// its error and leaves the answer fields as they were.
class TDirectCommandJob : private TJobSteps
{
public:
    // The answer time-out of a direct command; the link layer's retries apply.
    static constexpr int TimeoutMs = 1200;

    explicit TDirectCommandJob(TThreadMeridal& thread);

    void JobDirectCommand();
};

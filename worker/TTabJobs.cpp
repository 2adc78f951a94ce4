#include "worker/TTabJobs.h"

#include "util/Exceptions.h"
#include "worker/TFamilyJobs.h"
#include "worker/TProtectionJobs.h"
#include "worker/TReadJobs.h"
#include "worker/TWriteJobs.h"

namespace {

template<typename Jobs, void (Jobs::*job)()>
void Run(TThreadMeridal& thread)
{
    (Jobs(thread).*job)();
}

// clang-format off
const TTabJobs Rows[PageCount] = {
    // Identification
    { Run<TReadJobs, &TReadJobs::JobIdentifyAddressed>,   Run<TWriteJobs, &TWriteJobs::JobSaveIdentification>,  nullptr },
    // Analog Output
    { Run<TReadJobs, &TReadJobs::JobReadAnalogOutput>,    Run<TWriteJobs, &TWriteJobs::JobSaveAnalogOutput>,
      Run<TReadJobs, &TReadJobs::JobRefreshAnalogOutput> },
    // Device Variables
    { Run<TReadJobs, &TReadJobs::JobReadDeviceVariables>, Run<TWriteJobs, &TWriteJobs::JobSaveDeviceVariables>,
      Run<TReadJobs, &TReadJobs::JobRefreshDeviceVariables> },
    // Maintenance: its buttons start their own jobs.
    { nullptr,                                            nullptr,                                              nullptr },
    // Others
    { Run<TReadJobs, &TReadJobs::JobReadOthers>,          Run<TProtectionJobs, &TProtectionJobs::JobSaveOthers>, nullptr },
    // Diagnostics: its values are refreshed by their own timer.
    { Run<TFamilyJobs, &TFamilyJobs::JobReadDiagnosticsTab>, nullptr,                                           nullptr },
};
// clang-format on

} // namespace

const TTabJobs& TabJobs(TPage page)
{
    const int row = int(page);
    if (row < 0 || row >= PageCount)
        throw Exception(QStringLiteral("Unknown tab selected"));
    return Rows[row];
}

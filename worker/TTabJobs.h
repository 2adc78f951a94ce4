#pragma once

#include "worker/TField.h"

class TThreadMeridal;

// The jobs behind a tab's buttons, one row per tab: Refresh reads the tab,
// Save writes the user's entries, the auto refresh reads its live values.
// None where the tab has nothing to do.
struct TTabJobs
{
    using TJob = void (*)(TThreadMeridal& thread);

    TJob Read;
    TJob Save;
    TJob AutoRefresh;
};

// Raises "Unknown tab selected" for a page that is no tab.
const TTabJobs& TabJobs(TPage page);

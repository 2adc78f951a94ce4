#pragma once

#include "worker/TJobSteps.h"

#include <QString>

// The jobs that fill the main window's tabs from the device, and their steps.
// They run on the device thread and reach the window only through the
// device view. Every step starts with the terminate check and, unless noted,
// shows its name in the status bar.
class TReadJobs : private TJobSteps
{
public:
    // Whether the steps that follow keep the user's entries.
    enum class TEdits { Overwrite, Keep };

    explicit TReadJobs(TThreadMeridal& thread);

    void JobIdentifySearch();
    void JobIdentifyAddressed();
    void JobReadIdentification();
    void JobReadAnalogOutput();
    void JobRefreshAnalogOutput();
    void JobReadDeviceVariables();
    void JobRefreshDeviceVariables();
    void JobReadOthers();

    // False when the search reported no device.
    bool Identify(bool addressed);
    void FetchLoopConfiguration();
    void FetchTagDescriptorDate();
    void FetchLongTag();
    void FetchMessage();
    void FetchFinalAssemblyNumber();
    void FetchPVMapping();
    void FetchPrimaryValue();
    void FetchPVLimits();
    void FetchLoopCurrent();
    void FetchDeviceInformation();
    // These two also re-read a tab after a save: with TEdits::Keep a field
    // the user changed and the device did not take keeps the user's entry and
    // its mark. Every field they set shows the device's value as its baseline.
    void FetchDeviceVariables(TEdits edits = TEdits::Overwrite);
    void FetchOffset(TEdits edits = TEdits::Overwrite);
    void FetchDamping();
    void FetchDynamicAssignments();
    void FetchConfigChangeCounter();
    void FetchProtectionMode();

private:
    void beginStep(const QString& statusText);
    // A value a save sends back unchanged beside the user's entries (the
    // loop configuration, tag, descriptor and date, the offsets' units, the
    // variable mapping) was not reported: the tab shows its placeholder.
    void requireForSave();
    void acceptTab();

    bool complete = true;
};

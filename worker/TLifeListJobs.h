#pragma once

#include "worker/TJobSteps.h"

struct TLifeListAnswer;

// The multidrop life list's bus work: a scan identifies whatever answers at
// polling addresses 0-15, a refresh re-reads the devices a scan found. Each
// address gives one row, handed to the life list window as soon as it is
// complete; a stop takes effect after the row being worked on. Neither job
// leaves a device with the command layer: only "Select Device" chooses the
// one the windows work with.
class TLifeListJobs : private TJobSteps
{
public:
    explicit TLifeListJobs(TThreadMeridal& thread);

    void JobLifeListScan();
    // Works on the thread's LifeListAnswers, which the window filled.
    void JobLifeListRefresh();

private:
    // Tag, primary value, percent of range and status of the addressed device.
    void readValues(TLifeListAnswer& row);
    // Marks the job's last row, hands the row over and ends the job after
    // it when a stop was requested.
    void deliver(TLifeListAnswer& row);
};

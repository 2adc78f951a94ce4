#pragma once

#include "worker/TJobSteps.h"

#include <QString>

// The technician's maintenance work on the probe: driving the output to a
// fixed current (loop test), calibrating it against a reference meter (D/A
// trim), restoring the factory configuration and resetting the
// configuration-changed flag. Once a job has fixed the current, every way
// out of it releases the current again; a job stopped by shutdown leaves
// that to the thread's shutdown.
class TMaintenanceJobs : private TJobSteps
{
public:
    explicit TMaintenanceJobs(TThreadMeridal& thread);

    // What a job says when the device has not confirmed the release of the
    // fixed current: the plant's loop is still held.
    static QString StillFixedText();

    void JobLoopTestSet();
    void JobLoopTestExit();
    void JobDATrim();
    void JobRestoreFactoryDefaults();
    void JobResetConfigChanged();

private:
    // One end point of the D/A trim: the set point, the question for the
    // meter reading and the trim command that corrects it.
    struct TTrimPoint
    {
        float Current;
        QString Prompt;
        QString Preset;
        QString Question;
        void (TComportHART::*Trim)(float& current);
    };

    // False when the user cancelled; the current is released then.
    bool trimEndPoint(const TTrimPoint& point);
    void trim(const TTrimPoint& point, const QString& reading);
    void fixCurrent(float current);
    void releaseAfterFailure();
};

#pragma once

#include <QString>

class QObject;
class TComportHART;
class TThreadMeridal;

// What every family of jobs shares: the device thread whose synchronized
// operations reach the windows, the controls by object name, and the
// command layer. Jobs run on the device thread only.
class TJobSteps
{
protected:
    explicit TJobSteps(TThreadMeridal& thread);

    QObject* control(const QString& name) const;
    // The start of a step that writes one control: the control when the user
    // changed it, with the step's name shown; none when there is nothing to write.
    QObject* changedControl(const QString& name, const QString& statusText) const;
    TComportHART& device() const;
    // Raises "The device did not report <what><consequence>." unless the
    // last answer carried the values just read.
    void requireReported(const QString& what, const QString& consequence = QString()) const;

    TThreadMeridal& thread;
};

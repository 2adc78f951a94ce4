#pragma once

#include "worker/TField.h"

#include <QString>

class TComportHART;
class TDeviceView;
class TThreadMeridal;

// What every family of jobs shares: the device thread (its stop checks and
// hand-over fields), the view the fields are read and shown through, and the
// command layer. Jobs run on the device thread only.
class TJobSteps
{
protected:
    explicit TJobSteps(TThreadMeridal& thread);

    TDeviceView& view() const;
    // The start of a step that writes one field: true when the user changed
    // it, with the step's name shown; false when there is nothing to write.
    bool changed(TField field, const QString& statusText) const;
    // The field shows the device's value (a text, an item, a check) as its baseline.
    void showAccepted(TField field, const QString& text) const;
    void chooseAccepted(TField field, int index) const;
    void checkAccepted(TField field, bool checked) const;
    TComportHART& device() const;
    // Raises "The device did not report <what><consequence>." unless the
    // last answer carried the values just read.
    void requireReported(const QString& what, const QString& consequence = QString()) const;

    TThreadMeridal& thread;
};

#pragma once

#include "worker/TJobSteps.h"

#include <QString>

#include <initializer_list>

class TReadJobs;

// The jobs behind Save and the floater buttons, and their steps. A step
// writes only the fields the user changed, validates the text first, and then shows and accepts the values as
// the device confirmed them. A field the device did not confirm keeps the
// user's text and its mark, so Save stays enabled for another attempt.
class TWriteJobs : private TJobSteps
{
public:
    explicit TWriteJobs(TThreadMeridal& thread);

    void JobSaveIdentification();
    void JobSaveAnalogOutput();
    void JobSaveDeviceVariables();
    void JobSetFloaterUpper();
    void JobSetFloaterLower();

    void StoreLoopConfiguration();
    // `force` writes all three fields, changed or not.
    void StoreTagDescriptorDate(bool force);
    void StoreLongTag();
    void StoreMessage();
    void StoreFinalAssemblyNumber();
    void StoreAlarmSelection();
    void StorePVRange();
    void StoreDynamicAssignments();
    void StoreOffset();
    void StoreDamping();
    void StoreUnits();
    // Raises unless the value lies within the PV limits last read, both included.
    void CheckRange(const QString& name, float value) const;

private:
    void storeText(TField field, const QString& statusText, void (TComportHART::*write)(QString&));
    void setRangeFromFloater(const QString& statusText, void (TComportHART::*set)());
    // A refused write leaves the device's values on the tab untouched: the
    // whole tab is read again.
    void rereadIfWriteProtected(void (TReadJobs::*read)());
    bool anyModified(std::initializer_list<TField> fields);
    bool changedInShownGroup(int deviceVariable, TField entry);
    bool confirmed() const;
};

#include "worker/TJobSteps.h"

#include "worker/TThreadMeridal.h"

TJobSteps::TJobSteps(TThreadMeridal& thread)
    : thread(thread)
{
}

QObject* TJobSteps::control(const QString& name) const
{
    return thread.Control(name);
}

TComportHART& TJobSteps::device() const
{
    return *thread.Device;
}

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

QObject* TJobSteps::changedControl(const QString& name, const QString& statusText) const
{
    thread.CheckTerminated();
    QObject* changed = control(name);
    if (!thread.SyncIsModified(changed))
        return nullptr;
    thread.SetStatusText(statusText);
    return changed;
}

TComportHART& TJobSteps::device() const
{
    return *thread.Device;
}

void TJobSteps::requireReported(const QString& what, const QString& consequence) const
{
    if (!device().ValuesConfirmed())
        throw Exception(QStringLiteral("The device did not report ") + what + consequence + QLatin1Char('.'));
}

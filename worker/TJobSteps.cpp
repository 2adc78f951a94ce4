#include "worker/TJobSteps.h"

#include "worker/TDeviceView.h"
#include "worker/TThreadMeridal.h"

TJobSteps::TJobSteps(TThreadMeridal& thread)
    : thread(thread)
{
}

TDeviceView& TJobSteps::view() const
{
    return thread.View();
}

bool TJobSteps::changed(TField field, const QString& statusText) const
{
    thread.CheckTerminated();
    if (!view().Modified(field))
        return false;
    view().ShowStatus(statusText);
    return true;
}

void TJobSteps::showAccepted(TField field, const QString& text) const
{
    view().SetText(field, text);
    view().Accept(field);
}

void TJobSteps::chooseAccepted(TField field, int index) const
{
    view().SetItemIndex(field, index);
    view().Accept(field);
}

void TJobSteps::checkAccepted(TField field, bool checked) const
{
    view().SetChecked(field, checked);
    view().Accept(field);
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

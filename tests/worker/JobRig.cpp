#include "JobRig.h"

#include "link/TComPortNames.h"
#include "worker/TReadJobs.h"
#include "worker/TTabJobs.h"

#include <QCoreApplication>
#include <QDir>

namespace {

constexpr int JobComNumber = 78;

QString FreshLinkPath()
{
    static int count = 0;
    return QDir::temp().filePath(QStringLiteral("meridal-jobs-%1-%2").arg(QCoreApplication::applicationPid()).arg(++count));
}

} // namespace

JobRig::JobRig(const TSimDeviceState& probe)
    : probe(probe)
    , bus(FreshLinkPath())
{
    bus.AddDevice(probe);
    bus.Start();
    TComPortNames::SetOverride(JobComNumber, bus.LinkPath());
    thread = std::make_unique<TThreadMeridal>([] { return std::make_unique<TComportHART>(JobComNumber); }, view);
}

void JobRig::Read(TPage page)
{
    bus.ClearLog();
    TReadJobs(*thread).JobIdentifySearch();
    view.ShownPage = page;
    if (page != TPage::Identification)
        TabJobs(page).Read(*thread);
}

void JobRig::Save(TPage page)
{
    bus.ClearLog();
    TabJobs(page).Save(*thread);
}

QList<int> JobRig::Commands() const
{
    QList<int> commands;
    for (const TSimExchange& exchange : bus.Log())
        commands << exchange.Command;
    return commands;
}

QByteArray JobRig::LastRequest(int command) const
{
    QByteArray data;
    for (const TSimExchange& exchange : bus.Log()) {
        if (exchange.Command == command)
            data = exchange.Data;
    }
    return data;
}

#include "TSimDevice.h"

#include "TSimCommandTable.h"
#include "TSimFrame.h"
#include "TSimReadings.h"

TSimReply TSimDevice::Handle(int command, const QByteArray& data)
{
    const TSimCommand* entry = TSimCommandTable::Find(command);
    if (!entry || !entry->AvailableOn(state))
        return TSimReply::Error(TSimReply::NotImplemented);
    if (data.size() < entry->MinimumRequestBytes)
        return TSimReply::Error(TSimReply::TooFewDataBytes);
    if (entry->NeedsWriteAccess() && state.WriteProtected)
        return TSimReply::Error(TSimReply::InWriteProtectMode);

    const TSimReply reply = entry->Handler(state, TSimPayloadReader(data));
    if (reply.Effective && entry->ChangesConfiguration()) {
        state.ConfigurationChanged = true;
        ++state.ConfigurationChangeCounter;
    }
    return reply;
}

quint8 TSimDevice::TakeStatus()
{
    const quint8 status = TSimReadings(state).FieldDeviceStatus();
    state.ColdStart = false;
    return status;
}

bool TSimDevice::HasUniqueAddress(const QByteArray& address) const
{
    QByteArray unique = address;
    unique[0] = char(unique[0] & ~(TSimFrame::MasterBit | TSimFrame::BurstBit));
    return unique == state.UniqueAddress();
}

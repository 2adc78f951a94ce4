#include "worker/TLifeListJobs.h"

#include "util/UPresentation.h"
#include "worker/TDeviceView.h"
#include "worker/TLifeListAnswer.h"
#include "worker/TThreadMeridal.h"

namespace {

constexpr int LastAddress = LifeListSize - 1;

const QString NotANumberText = QStringLiteral("NaN");

// Whatever ends the work on an address, also an error that ends the job, the
// command layer keeps no device from it.
class TForgetDeviceAfterwards
{
public:
    explicit TForgetDeviceAfterwards(TComportHART& device) : device(device) {}
    ~TForgetDeviceAfterwards() { device.ForgetDevice(); }

private:
    TComportHART& device;
};

} // namespace

TLifeListJobs::TLifeListJobs(TThreadMeridal& thread)
    : TJobSteps(thread)
{
}

// A malformed answer marks the row; silence and another maker's device leave
// it as far as it got. Any other error ends the scan.
void TLifeListJobs::JobLifeListScan()
{
    if (!thread.LifeListRowHandler)
        return;
    for (int address = 0; address <= LastAddress; ++address) {
        thread.CheckTerminated();
        TLifeListAnswer row;
        row.PollingAddress = address;
        view().SetLifeListAddress(address + 1);
        try {
            const TForgetDeviceAfterwards forget(device());
            TDeviceIdentity identity;
            device().ScanAddress(address, identity);
            row.ManufacturerID = identity.ManufacturerID;
            row.DeviceTypeCode = identity.DeviceTypeCode;
            row.DeviceID = identity.DeviceID;
            readValues(row);
        } catch (const EInconsistentException&) {
            row.Inconsistent = true;
        } catch (const ETimeoutException&) {
        } catch (const ENoKORVALDeviceException&) {
        }
        deliver(row);
    }
}

// Addresses without a device are passed over without a word on the bus; the
// last address is delivered all the same, as it ends the refresh.
void TLifeListJobs::JobLifeListRefresh()
{
    if (!thread.LifeListRowHandler)
        return;
    for (int address = 0; address <= LastAddress; ++address) {
        thread.CheckTerminated();
        view().SetLifeListAddress(address + 1);
        TLifeListAnswer& row = thread.LifeListAnswers[address];
        if (row.DeviceTypeCode == 0 || row.DeviceID == 0) {
            if (address == LastAddress)
                deliver(row);
            continue;
        }
        TLifeListAnswer fresh = row;
        try {
            const TForgetDeviceAfterwards forget(device());
            TComportHART& d = device();
            d.ManufacturerID = row.ManufacturerID;
            d.SetDeviceTypeCode(row.DeviceTypeCode);
            d.DeviceID = row.DeviceID;
            d.BuildLongAddress();
            readValues(fresh);
            row = fresh;
        } catch (const EInconsistentException&) {
            row.Inconsistent = true;
        } catch (const ETimeoutException&) {
        }
        deliver(row);
    }
}

// A value the answer did not carry is shown empty.
void TLifeListJobs::readValues(TLifeListAnswer& row)
{
    TComportHART& d = device();
    // A new probe may hold no valid date; the list needs only its tag.
    QString descriptor;
    QByteArray date;
    d.ReadStoredTagDescriptorDate(row.Tag, descriptor, date);

    float value = 0;
    QString unit;
    const bool valueNaN = ReportsNaN([&] { d.ReadPrimaryValue(value, unit); });
    row.PVText = valueNaN ? NotANumberText : d.ValuesConfirmed() ? NumberWithUnitText(value, unit) : QString();

    float current = 0;
    float percent = 0;
    const bool percentNaN = ReportsNaN([&] { d.ReadLoopCurrent(current, percent); });
    row.PercentText = percentNaN ? NotANumberText : d.ValuesConfirmed() ? FormatFixed(percent, 3) : QString();

    row.Status = d.Status;
}

// A row of the window's list handed back for a refresh may still carry the
// mark of the job that delivered it last.
void TLifeListJobs::deliver(TLifeListAnswer& row)
{
    row.IsLast = thread.Aborted() || row.PollingAddress == LastAddress;
    view().DeliverLifeListRow(row);
    thread.CheckAborted();
}

#pragma once

#include "ProgramRig.h"

#include <functional>

class QPushButton;
class QTableWidget;
class TFormMultidropLifeList;

// The program in multidrop mode against a bus of several devices. The life
// list is modal: a test drives it from inside its loop, with steps run once
// it shows.
class LifeListRig
{
public:
    // Columns of the list after the address column.
    enum Column { Tag, ManufacturerID, DeviceCode, DeviceID, Status, PVValue, PercentOfRange };

    // One attempt per transaction keeps a silent address at one time-out.
    explicit LifeListRig(const QByteArray& ini = "[Settings]\nNumberOfAttempts=1\n");

    // A device of the bus at a polling address, with a device ID of its own.
    static TSimDeviceState At(TSimDeviceState device, int pollingAddress, quint32 deviceId);

    // Starts the program, which shows the list and scans; or opens the list
    // from "Device" > "Life List". `steps` run while it shows; a list they
    // leave open is closed afterwards, so that no test hangs. False when the
    // list did not show or did not close.
    bool AtStart(const std::function<void()>& steps);
    bool FromMenu(const std::function<void()>& steps);

    // Until no scan or refresh runs and the device thread is parked.
    bool WaitUntilIdle(int timeoutMs = 60000);
    // Until the job works on this address (its row is marked).
    bool WaitUntilWorkingOn(int address);
    QString Cell(int address, int column);
    // The balloon the mouse resting on the cell brings up, and its title and
    // text; nothing when none shows.
    QStringList HintAt(int address, int column);
    QWidget* Balloon();
    QPushButton* Button(const char* name);
    QTableWidget* Grid();
    TFormMultidropLifeList& LifeList();
    TSimBus& Bus() { return rig.Bus(); }

    ProgramRig rig;

private:
    bool whileShown(const std::function<void()>& open, const std::function<void()>& steps);
};

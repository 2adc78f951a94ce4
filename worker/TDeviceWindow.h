#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QDialog;
class QLabel;
class QObject;
class QWidget;
class TComportHART;
struct TDeviceStatus;

// What the device thread needs of the windows. The main window implements
// it; every member is called on the GUI thread (the device thread goes
// through its synchronized operations).
class TDeviceWindow
{
public:
    virtual ~TDeviceWindow() = default;

    // The windows whose controls the jobs address by object name.
    virtual QList<QWidget*> Forms() = 0;
    // Status-bar panel 1: step names, response texts, the window's messages.
    virtual QLabel* StatusPanel() = 0;

    // Before every job: job starters off, the idle flag cleared.
    virtual void LockUI() = 0;
    // After every job. Without a device address only the Device menu comes back.
    virtual void UnlockUI(bool deviceKnown, bool refreshAllowed) = 0;

    // The status of every answered command.
    virtual void ShowAnswerStatus(TComportHART* sender, const TDeviceStatus& status) = 0;

    // Change tracking: the shown value becomes the control's baseline.
    virtual void AcceptControlValue(QObject* control) = 0;
    // The same for every tracked control of the visible tab, once it has
    // been read. `complete`: the device reported every value that a save of
    // the tab sends back unchanged beside the user's entries; without them
    // Save must not write the tab.
    virtual void AcceptTabValues(bool complete) = 0;

    virtual void AddResponseLogLine(const QString& line) = 0;
    virtual bool ResponseLogContains(const QString& text) = 0;
    virtual QStringList ResponseLogLines() = 0;
    virtual void ClearResponseLog() = 0;

    // The polling search's question when address 0 is silent, for the device
    // thread to show. Its result is the pressed button's: 100 "&Rescan 0",
    // 101 "&Scan 1 - 15", any other value cancels.
    virtual QDialog* CreateZeroRetryDialog(const QString& content) = 0;

    // The life list's now-scanning marker: grid row 1-16, 255 for none.
    virtual void SetLifeListAddress(int row) = 0;
};

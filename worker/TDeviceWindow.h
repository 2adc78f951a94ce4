#pragma once

#include "worker/TQuestion.h"

#include <QStringList>

#include <functional>

class TComportHART;
class TFieldView;
struct TDeviceStatus;

// What the device thread needs of the windows. The main window implements
// it; every member is called on the GUI thread (the device thread goes
// through its synchronized operations).
class TDeviceWindow
{
public:
    virtual ~TDeviceWindow() = default;

    virtual TFieldView& Fields() = 0;

    // Before every job: job starters off, the idle flag cleared.
    virtual void LockUI() = 0;
    // After every job. Without a device address only the Device menu comes back.
    virtual void UnlockUI(bool deviceKnown, bool refreshAllowed) = 0;

    // The status of every answered command.
    virtual void ShowAnswerStatus(TComportHART* sender, const TDeviceStatus& status) = 0;
    // Status-bar panel 1.
    virtual void ShowStatus(const QString& text) = 0;

    virtual void AddResponseLogLine(const QString& line) = 0;
    virtual bool ResponseLogContains(const QString& text) = 0;
    virtual QStringList ResponseLogLines() = 0;
    virtual void ClearResponseLog() = 0;

    // Opens the question without waiting for it: the GUI thread goes on with
    // its events meanwhile. `answered` runs once, when it is closed.
    virtual void OpenQuestion(const TQuestion& question, std::function<void(const TAnswer&)> answered) = 0;
    // Closes the open question as if cancelled.
    virtual void CancelQuestion() = 0;

    // The life list's now-scanning marker: grid row 1-16, 255 for none.
    virtual void SetLifeListAddress(int row) = 0;
};

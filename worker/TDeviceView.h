#pragma once

#include "worker/TFieldView.h"
#include "worker/TQuestion.h"

#include <QStringList>

struct TLifeListAnswer;

// Everything a device job shows, asks and reads: the fields, the status
// text, the questions, the response log and the life list's rows. The window
// implements it on the device thread through synchronized calls; an
// in-memory view serves the tests and the command-line tool.
class TDeviceView : public TFieldView
{
public:
    // Status-bar panel 1: step names, response texts, messages.
    virtual void ShowStatus(const QString& text) = 0;
    virtual TAnswer Ask(const TQuestion& question) = 0;

    virtual void AddResponseLogLine(const QString& line) = 0;
    virtual bool ResponseLogContains(const QString& text) = 0;
    virtual QStringList ResponseLogLines() = 0;
    virtual void ClearResponseLog() = 0;

    // The life list's now-scanning marker: grid row 1-16, 255 for none.
    virtual void SetLifeListAddress(int row) = 0;
    virtual void DeliverLifeListRow(const TLifeListAnswer& row) = 0;

    // A warning with "Do you want to continue?" appended; true for Yes.
    bool AskContinue(const QString& message);
};

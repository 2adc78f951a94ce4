#pragma once

#include "link/TFrameRecorder.h"
#include "ui/TDebugConsole.h"

#include <QObject>
#include <QPointer>

class QWidget;
class TComportHARTBasis;
class TMessageDialog;

// The service staff's frame trace, off until they turn it on: while on,
// every request and answer appears in the trace console and is kept, so
// that the session's frames can be saved as a capture file that Wireshark
// opens. Nothing is traced or kept while it is off.
class TFrameTrace : public QObject
{
    Q_OBJECT

public:
    TFrameTrace(QWidget* window, const TMessageDialog& messages);
    ~TFrameTrace() override;

    // The link layer to listen to (the device thread's); null for none.
    void Attach(TComportHARTBasis* link);
    bool IsOn() const { return console.Enabled(); }
    void SetOn(bool on);
    // Asks for a file and writes the frames kept so far into it.
    void SaveAs();

    TDebugConsole& Console() { return console; }

signals:
    // The user closed the console window, which turns the trace off.
    void TurnedOff();

private:
    void connectSinks();
    void writeCapture(const QString& path) const;

    QWidget* window;
    const TMessageDialog& messages;
    TDebugConsole console;
    TFrameRecorder frames;
    TComportHARTBasis* link = nullptr;
};

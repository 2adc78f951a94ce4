#pragma once

#include <QObject>

class QSocketNotifier;

// The session's request to end the program: SIGTERM (log-out, shutdown,
// kill), SIGHUP (its terminal went away) and SIGINT (Ctrl+C). The signal is
// handed to the event loop, so that the program can end as when the user
// closes it, and a loop current left fixed is released first. One instance
// at a time; while it lives it handles the three signals.
class TTerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TTerminationSignals(QObject* parent = nullptr);
    ~TTerminationSignals() override;

signals:
    // On the GUI thread, once per signal.
    void Received();

private:
    void takeSignal();

    int wakeUp[2] = { -1, -1 };
    QSocketNotifier* notifier = nullptr;
};

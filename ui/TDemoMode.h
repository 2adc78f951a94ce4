#pragma once

#include <QProcess>
#include <QString>

// Demo mode: a simulated TIVERN probe on a pseudo-terminal, served by the
// meridal-sim program beside this one, and reached as COM1. The demo keeps
// its settings apart from the user's real ones.
class TDemoMode
{
public:
    static constexpr int ComNumber = 1;
    static const QString RegistryBasePath;
    // Appended to the main window's caption.
    static const QString CaptionNote;

    // The simulator program beside this one.
    static QString SimulatorBesideProgram();

    // Starts the simulator; raises when it cannot be started.
    explicit TDemoMode(const QString& simulatorProgram = SimulatorBesideProgram());
    ~TDemoMode();

    QString LinkPath() const { return linkPath; }

private:
    QProcess simulator;
    QString linkPath;
};

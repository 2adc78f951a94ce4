#pragma once

#include "TSimBus.h"
#include "ui/TMeridalProgram.h"

#include <QTemporaryDir>

#include <memory>

// The whole program as main() builds it, against a simulated bus reached as
// COM3, with settings and the INI file of its own in a temporary folder.
class ProgramRig
{
public:
    static constexpr int ComNumber = 3;

    // The INI file's text; the bus starts empty (add devices before Start).
    explicit ProgramRig(const QByteArray& ini = {});
    ~ProgramRig();

    TSimBus& Bus() { return bus; }
    // The folder that holds the program's settings and INI file.
    QString Folder() const { return directory.path(); }
    // A setting stored before the program starts ("Settings", "COM", "3").
    void Store(const QString& subkey, const QString& valueName, const QString& text);
    QString Stored(const QString& subkey, const QString& valueName);
    // Which COM numbers the port chooser finds; default: only COM3.
    QList<int> PresentPorts = { ComNumber };

    // Builds the windows and shows the main window, which connects.
    void Start();
    // Starts on the stored port with this probe on the bus; whether it was
    // identified.
    bool StartWith(const TSimDeviceState& probe);
    // Waits until a job has identified a device and the thread is idle.
    bool WaitUntilIdentified();
    // Waits until the device thread is idle again after a job.
    bool WaitUntilIdle();

    TMeridalProgram& Program() { return *program; }
    TFormMain& Main() { return program->FormMain(); }
    TFormMainControls& C() { return program->FormMain().Controls(); }

private:
    QTemporaryDir directory;
    TSimBus bus;
    std::unique_ptr<TMeridalProgram> program;
};

#pragma once

#include "ui/TFormMain.h"

#include <memory>

class TDemoMode;
class TFormCOMPortChooser;
class TFormDeviceStatus;
class TFormDirectCommand;
class TFormLoopTest;
class TFormMultidropLifeList;
class TFormProtokoll;
class TTerminationSignals;

// The program's windows, created once for the whole run in their fixed
// order, and the demo simulator when asked for. The end of the session
// (SIGTERM, SIGHUP, SIGINT) closes the main window as the user does.
class TMeridalProgram
{
public:
    struct TOptions
    {
        bool Demo = false;
        QString SimulatorProgram;       // demo mode: the simulator beside the program when empty
        TFormMain::TPlaces Places;
    };

    // The program's INI file (beside the program file, see UIniLocation) and
    // the user's settings store.
    static TOptions DefaultOptions();

    // Program-wide setup before any window exists. The application title
    // "KORVAL Meridal" (message boxes, task dialogs, the port chooser, the
    // start of the main window's caption) is kept as the application name:
    // a display name would be appended by Qt to every window's caption.
    static void SetUpApplication();

    explicit TMeridalProgram(const TOptions& options);
    ~TMeridalProgram();

    TFormMain& FormMain() { return *formMain; }
    TFormDeviceStatus& FormDeviceStatus() { return *formDeviceStatus; }
    TFormCOMPortChooser& FormCOMPortChooser() { return *formCOMPortChooser; }
    TFormProtokoll& FormProtokoll() { return *formProtokoll; }
    TFormLoopTest& FormLoopTest() { return *formLoopTest; }
    TFormDirectCommand& FormDirectCommand() { return *formDirectCommand; }
    TFormMultidropLifeList& FormMultidropLifeList() { return *formMultidropLifeList; }

private:
    std::unique_ptr<TDemoMode> demo;
    std::unique_ptr<TFormMain> formMain;
    std::unique_ptr<TFormDeviceStatus> formDeviceStatus;
    std::unique_ptr<TFormCOMPortChooser> formCOMPortChooser;
    std::unique_ptr<TFormProtokoll> formProtokoll;
    std::unique_ptr<TFormLoopTest> formLoopTest;
    std::unique_ptr<TFormDirectCommand> formDirectCommand;
    std::unique_ptr<TFormMultidropLifeList> formMultidropLifeList;
    std::unique_ptr<TTerminationSignals> terminationSignals;
};

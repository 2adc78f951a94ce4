#include "ui/TMeridalProgram.h"

#include "ui/TDemoMode.h"
#include "ui/TFormCOMPortChooser.h"
#include "ui/TFormDeviceStatus.h"
#include "ui/TFormDirectCommand.h"
#include "ui/TFormLoopTest.h"
#include "ui/TFormMultidropLifeList.h"
#include "ui/TFormProtokoll.h"
#include "ui/TRegistryTool.h"
#include "ui/TTerminationSignals.h"
#include "util/UIniLocation.h"

#include <QApplication>
#include <QStyleFactory>

namespace {

TFormMain::TPlaces DemoPlaces(TFormMain::TPlaces places)
{
    places.RegistryBasePath = TDemoMode::RegistryBasePath;
    return places;
}

} // namespace

TMeridalProgram::TOptions TMeridalProgram::DefaultOptions()
{
    TOptions options;
    options.Places.IniPath = IniFilePath();
    return options;
}

void TMeridalProgram::SetUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("KORVAL Meridal"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

TMeridalProgram::TMeridalProgram(const TOptions& options)
{
    if (options.Demo)
        demo = std::make_unique<TDemoMode>(options.SimulatorProgram.isEmpty() ? TDemoMode::SimulatorBesideProgram()
                                                                              : options.SimulatorProgram);
    formMain = std::make_unique<TFormMain>(options.Demo ? DemoPlaces(options.Places) : options.Places);
    if (demo) {
        formMain->Settings().WriteIntSetting(QStringLiteral("Settings"), QStringLiteral("COM"), TDemoMode::ComNumber);
        // Nobody may take the simulated probe for a real one.
        formMain->SetCaptionNote(TDemoMode::CaptionNote);
    }
    formDeviceStatus = std::make_unique<TFormDeviceStatus>();
    formCOMPortChooser = std::make_unique<TFormCOMPortChooser>();
    formProtokoll = std::make_unique<TFormProtokoll>(formMain.get());
    formLoopTest = std::make_unique<TFormLoopTest>(formMain->Settings(), *formProtokoll, formMain->Messages(), formMain.get());
    formDirectCommand = std::make_unique<TFormDirectCommand>(formMain->Controls(), *formDeviceStatus, formMain->Settings(),
                                                             formMain->Messages(), formMain.get());
    formMultidropLifeList = std::make_unique<TFormMultidropLifeList>(formMain->Messages(), formMain.get());
    formMain->SetCompanions({ formDeviceStatus.get(), formCOMPortChooser.get(), formProtokoll.get(), formLoopTest.get(),
                              formDirectCommand.get(), formMultidropLifeList.get() });
    terminationSignals = std::make_unique<TTerminationSignals>();
    QObject::connect(terminationSignals.get(), &TTerminationSignals::Received, formMain.get(), &QWidget::close);
}

TMeridalProgram::~TMeridalProgram()
{
    // The device thread may still use the other windows: it ends first.
    formMain->StopDeviceThread();
}

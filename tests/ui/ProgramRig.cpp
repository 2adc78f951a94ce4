#include "ProgramRig.h"

#include "link/TComPortNames.h"
#include "ui/TFormCOMPortChooser.h"
#include "ui/TRegistryTool.h"
#include "worker/TThreadMeridal.h"

#include <QLineEdit>
#include <QSettings>
#include <QtTest>

namespace {

QString LinkIn(const QTemporaryDir& directory)
{
    return directory.filePath(QStringLiteral("ttyHART"));
}

} // namespace

ProgramRig::ProgramRig(const QByteArray& ini)
    : bus(LinkIn(directory))
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, directory.filePath(QStringLiteral("settings")));
    QFile iniFile(directory.filePath(QStringLiteral("KORVALMeridal.ini")));
    iniFile.open(QIODevice::WriteOnly);
    iniFile.write(ini);
    iniFile.close();
    TComPortNames::SetOverride(ComNumber, bus.LinkPath());
}

ProgramRig::~ProgramRig()
{
    program.reset();
    bus.Stop();
}

void ProgramRig::Store(const QString& subkey, const QString& valueName, const QString& text)
{
    TRegistryTool(TFormMain::TPlaces().RegistryBasePath).WriteSetting(subkey, valueName, text);
}

QString ProgramRig::Stored(const QString& subkey, const QString& valueName)
{
    return TRegistryTool(TFormMain::TPlaces().RegistryBasePath).ReadSetting(subkey, valueName, QStringLiteral("<none>"));
}

void ProgramRig::Start()
{
    bus.Start();
    TMeridalProgram::TOptions options;
    options.Places.IniPath = directory.filePath(QStringLiteral("KORVALMeridal.ini"));
    program = std::make_unique<TMeridalProgram>(options);
    const QList<int> present = PresentPorts;
    program->FormCOMPortChooser().SetPortTest([present](int comNumber) { return present.contains(comNumber); });
    program->FormMain().show();
}

bool ProgramRig::StartWith(const TSimDeviceState& probe)
{
    bus.AddDevice(probe);
    Store(QStringLiteral("Settings"), QStringLiteral("COM"), QString::number(ComNumber));
    Start();
    return WaitUntilIdentified();
}

bool ProgramRig::WaitUntilIdentified()
{
    // Identified is the thread's own field: read it only while the thread is parked.
    return QTest::qWaitFor([] { return DeviceThread && DeviceThread->Suspended() && DeviceThread->Identified; }, 30000);
}

bool ProgramRig::WaitUntilIdle()
{
    return QTest::qWaitFor([] { return DeviceThread && DeviceThread->Suspended(); }, 30000);
}

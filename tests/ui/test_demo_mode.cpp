// Demo mode: the program against the simulator program, with settings of its own.
#include "ui/TFormCOMPortChooser.h"
#include "ui/TMeridalProgram.h"
#include "ui/TRegistryTool.h"
#include "worker/TThreadMeridal.h"

#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestDemoMode : public QObject
{
    Q_OBJECT

private slots:
    void demoFindsASimulatedTivernProbeAndLeavesTheUsersSettingsAlone()
    {
        QApplication::setApplicationDisplayName(QStringLiteral("KORVAL Meridal"));
        QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        TRegistryTool users(TFormMain::TPlaces().RegistryBasePath);
        users.WriteSetting(QStringLiteral("Settings"), QStringLiteral("COM"), QStringLiteral("7"));

        {
            TMeridalProgram::TOptions options;
            options.Demo = true;
            options.SimulatorProgram = QStringLiteral(MERIDAL_SIM_PROGRAM);
            options.Places.IniPath = settings.filePath(QStringLiteral("none.ini"));
            TMeridalProgram program(options);
            program.FormMain().show();
            QTRY_VERIFY_WITH_TIMEOUT(DeviceThread && DeviceThread->Suspended() && DeviceThread->Identified, 30000);
            QCOMPARE(program.FormMain().Controls().EditDeviceCode->text(), QString("128 (0x80)"));
            program.FormMain().close();
        }
        QCOMPARE(users.ReadSetting(QStringLiteral("Settings"), QStringLiteral("COM"), QString()), QString("7"));
        QCOMPARE(users.ReadSetting(QStringLiteral("Forms"), QStringLiteral("FormMain.Top"), QStringLiteral("none")), QString("none"));
        TRegistryTool demo(QStringLiteral("\\Software\\KORVAL\\Meridal Demo"));
        QCOMPARE(demo.ReadSetting(QStringLiteral("Settings"), QStringLiteral("COM"), QString()), QString("1"));
        QVERIFY(demo.ReadSetting(QStringLiteral("Forms"), QStringLiteral("FormMain.Top"), QString()) != QString());
    }
};

QTEST_MAIN(TestDemoMode)
#include "test_demo_mode.moc"

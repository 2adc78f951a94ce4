// Demo mode: the program against the simulator program, with settings of its own.
#include "ui/TFormCOMPortChooser.h"
#include "ui/TMeridalProgram.h"
#include "ui/TRegistryTool.h"
#include "worker/TThreadMeridal.h"

#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

// The process whose command line names this link: the simulator serving it.
qint64 SimulatorServing(const QString& link)
{
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().split('\0').contains(QFile::encodeName(link)))
            return entry.toLongLong();
    }
    return 0;
}

bool Running(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    // "pid (name) state ...": a zombie has ended, only nobody collected it.
    const QByteArray line = status.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) != "Z";
}

} // namespace

class TestDemoMode : public QObject
{
    Q_OBJECT

private slots:
    void demoFindsASimulatedTivernProbeAndLeavesTheUsersSettingsAlone()
    {
        TMeridalProgram::SetUpApplication();
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
            // Nobody takes the simulated probe for a real one.
            QCOMPARE(program.FormMain().windowTitle(), QStringLiteral("KORVAL Meridal V" MERIDAL_VERSION " [Demo: simulated probe]"));
            program.FormMain().close();
        }
        QCOMPARE(users.ReadSetting(QStringLiteral("Settings"), QStringLiteral("COM"), QString()), QString("7"));
        QCOMPARE(users.ReadSetting(QStringLiteral("Forms"), QStringLiteral("FormMain.Top"), QStringLiteral("none")), QString("none"));
        TRegistryTool demo(QStringLiteral("\\Software\\KORVAL\\Meridal Demo"));
        QCOMPARE(demo.ReadSetting(QStringLiteral("Settings"), QStringLiteral("COM"), QString()), QString("1"));
        QVERIFY(demo.ReadSetting(QStringLiteral("Forms"), QStringLiteral("FormMain.Top"), QString()) != QString());
    }

    void simulatorEndsWithAKilledProgram()
    {
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(MERIDAL_PROGRAM), { QStringLiteral("--demo") });
        QVERIFY(program.waitForStarted());
        const QString link = QDir::temp().filePath(QStringLiteral("meridal-demo-%1").arg(program.processId()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(link), 20000);
        const qint64 simulator = SimulatorServing(link);
        QVERIFY(simulator > 0);

        // Killed outright: no destructor, no handler of the program runs.
        ::kill(pid_t(program.processId()), SIGKILL);
        QVERIFY(program.waitForFinished(10000));
        const bool ended = QTest::qWaitFor([simulator] { return !Running(simulator); }, 10000);
        if (!ended)
            ::kill(pid_t(simulator), SIGTERM);
        QVERIFY(ended);
    }
};

QTEST_MAIN(TestDemoMode)
#include "test_demo_mode.moc"

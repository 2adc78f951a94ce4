// The meridal-sim program: runs a scenario on a link until it is told to stop.

#include "TSimTestPort.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestSimProgram : public QObject
{
    Q_OBJECT

private slots:
    void HelpNamesTheOptions()
    {
        QProcess program;
        program.start(QStringLiteral(MERIDAL_SIM_PROGRAM), {QStringLiteral("--help")});
        QVERIFY(program.waitForFinished(10000));
        const QByteArray help = program.readAllStandardOutput();
        for (const char* option : {"--link", "--scenario", "--verbose"})
            QVERIFY2(help.contains(option), option);
    }

    void RunsAScenarioUntilTerminated()
    {
        QTemporaryDir folder;
        const QString scenario = folder.filePath(QStringLiteral("calderos.json"));
        QFile file(scenario);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"devices": [{"preset": "calderos", "pollingAddress": 2}]})");
        file.close();
        const QString link = folder.filePath(QStringLiteral("ttyHART"));

        QProcess program;
        const QStringList arguments{QStringLiteral("--link"), link, QStringLiteral("--scenario"), scenario,
                                    QStringLiteral("--verbose")};
        program.start(QStringLiteral(MERIDAL_SIM_PROGRAM), arguments);
        QVERIFY(program.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), 10000);
        {
            TSimTestPort port(link);
            QCOMPARE(Spaced(port.Exchange(TSimTestPort::ShortRequest(2, 0))),
                     QByteArray("FF FF FF FF FF 06 82 00 0E 00 00 FE E3 81 05 05 01 03 28 00 0D 0E 0F 30"));
        }
        program.terminate();
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(program.readAllStandardOutput().contains("cmd 0 dev 2  tx FF FF FF FF FF 06 82"));
    }

    void RefusesABadScenario()
    {
        QTemporaryDir folder;
        const QString scenario = folder.filePath(QStringLiteral("bad.json"));
        QFile file(scenario);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"devices": [{"preset": "nothing"}]})");
        file.close();
        QProcess program;
        const QString link = folder.filePath(QStringLiteral("tty"));
        program.start(QStringLiteral(MERIDAL_SIM_PROGRAM),
                      {QStringLiteral("--link"), link, QStringLiteral("--scenario"), scenario});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 1);
        QVERIFY(program.readAllStandardError().contains("\"preset\""));
    }
};

QTEST_GUILESS_MAIN(TestSimProgram)
#include "tst_SimProgram.moc"

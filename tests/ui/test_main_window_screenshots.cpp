// Pictures of the main window for a person to look at: every tab filled
// from each probe family, written to $MERIDAL_SCREENSHOT_DIR when it is set
// (skipped otherwise). Run it under a real X server to see the platform's fonts.
#include "ProgramRig.h"

#include "worker/TThreadMeridal.h"

#include <QDir>
#include <QTabWidget>
#include <QtTest>

class TestMainWindowScreenshots : public QObject
{
    Q_OBJECT

    QString directory;

    void photographEveryTab(const TSimDeviceState& probe, const QString& family)
    {
        ProgramRig rig;
        rig.Bus().AddDevice(probe);
        rig.Store("Settings", "COM", "3");
        rig.Start();
        QVERIFY(rig.WaitUntilIdentified());
        for (int page = 0; page < rig.C().PageControl->count(); ++page) {
            rig.C().PageControl->setCurrentIndex(page);
            QVERIFY(rig.WaitUntilIdle());
            QTest::qWait(100);
            const QString name = QStringLiteral("main_%1_tab%2.png").arg(family).arg(page);
            QVERIFY(rig.Main().grab().save(QDir(directory).filePath(name)));
        }
    }

private slots:
    void initTestCase()
    {
        directory = qEnvironmentVariable("MERIDAL_SCREENSHOT_DIR");
        if (directory.isEmpty())
            QSKIP("MERIDAL_SCREENSHOT_DIR is not set");
        QVERIFY(QDir().mkpath(directory));
        QApplication::setApplicationDisplayName(QStringLiteral("KORVAL Meridal"));
    }

    void tivern() { photographEveryTab(TSimDeviceState::Tivern(), QStringLiteral("tivern")); }
    void calderos() { photographEveryTab(TSimDeviceState::Calderos(), QStringLiteral("calderos")); }
    void tivernFirmware2() { photographEveryTab(TSimDeviceState::Tivern(5, 2), QStringLiteral("tivern_fw2")); }
};

QTEST_MAIN(TestMainWindowScreenshots)
#include "test_main_window_screenshots.moc"

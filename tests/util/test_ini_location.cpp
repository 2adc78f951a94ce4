// Which KORVALMeridal.ini the program reads: the one beside the program file,
// or the install's one when none lies beside the program.
#include "util/UIniLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestIniLocation : public QObject
{
    Q_OBJECT

private slots:
    void besideTheProgramWins_data()
    {
        QTest::addColumn<bool>("besideProgram");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("read");
        QTest::newRow("both") << true << true << "bin";
        QTest::newRow("only beside the program") << true << false << "bin";
        QTest::newRow("only the installed one") << false << true << "etc";
        QTest::newRow("neither") << false << false << "bin";
    }

    void besideTheProgramWins()
    {
        QFETCH(bool, besideProgram);
        QFETCH(bool, installed);
        QFETCH(QString, read);
        const QTemporaryDir root;
        const QDir folders(root.path());
        QVERIFY(folders.mkdir("bin") && folders.mkdir("etc"));
        if (besideProgram)
            Touch(folders.filePath("bin/KORVALMeridal.ini"));
        if (installed)
            Touch(folders.filePath("etc/KORVALMeridal.ini"));

        QCOMPARE(IniFilePath(folders.filePath("bin"), folders.filePath("etc")),
                 folders.filePath(read + "/KORVALMeridal.ini"));
    }

private:
    static void Touch(const QString& path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
};

QTEST_GUILESS_MAIN(TestIniLocation)
#include "test_ini_location.moc"

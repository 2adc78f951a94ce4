// Reading the hand-written INI file beside the program, and the sample an
// install brings.
#include "util/TIniFile.h"

#include <QTemporaryDir>
#include <QtTest>

class TestIniFile : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString Write(const QByteArray& text)
    {
        const QString path = dir.filePath(QStringLiteral("KORVALMeridal.ini"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
        return path;
    }

private slots:
    void valuesAreTakenAsWritten()
    {
        const TIniFile ini(Write("; service settings\r\n"
                                 "[Settings]\r\n"
                                 "ConfigSeparator=;\r\n"
                                 "FilePrefix = HART-Dev, Plant 2 \r\n"
                                 "Folder=C:\\Meridal\\Files\r\n"
                                 "Quoted=\" ; \"\r\n"
                                 "Empty=\r\n"
                                 "[KORVAL]\r\n"
                                 "domain=dev ; not a comment\r\n"));
        QCOMPARE(ini.ReadString("Settings", "ConfigSeparator", "x"), QString(";"));
        QCOMPARE(ini.ReadString("Settings", "FilePrefix", "x"), QString("HART-Dev, Plant 2"));
        QCOMPARE(ini.ReadString("Settings", "Folder", "x"), QString("C:\\Meridal\\Files"));
        QCOMPARE(ini.ReadString("Settings", "Quoted", "x"), QString(" ; "));
        QCOMPARE(ini.ReadString("Settings", "Empty", "x"), QString(""));
        QVERIFY(ini.ValueExists("Settings", "Empty"));
        QCOMPARE(ini.ReadString("KORVAL", "domain", "x"), QString("dev ; not a comment"));
    }

    void namesIgnoreCaseValuesDoNot()
    {
        const TIniFile ini(Write("[korval]\nDOMAIN=Dev\n"));
        QCOMPARE(ini.ReadString("KORVAL", "domain", ""), QString("Dev"));
    }

    void missingFileSectionOrKeyGiveTheDefault()
    {
        const TIniFile missing(dir.filePath(QStringLiteral("none.ini")));
        QCOMPARE(missing.ReadString("Settings", "FilePrefix", "HART-Dev"), QString("HART-Dev"));
        QCOMPARE(missing.ReadInteger("Settings", "NumberOfAttempts", 3), 3);
        const TIniFile ini(Write("[Settings]\nFilePrefix=X\n"));
        QCOMPARE(ini.ReadString("Other", "FilePrefix", "d"), QString("d"));
        QVERIFY(!ini.ValueExists("Settings", "Missing"));
    }

    void integers()
    {
        const TIniFile ini(Write("[Settings]\nA=0\nB=-2\nC=abc\nD= 7 \nE=3x\n"));
        QCOMPARE(ini.ReadInteger("Settings", "A", 3), 0);
        QCOMPARE(ini.ReadInteger("Settings", "B", 3), -2);
        QCOMPARE(ini.ReadInteger("Settings", "C", 3), 3);
        QCOMPARE(ini.ReadInteger("Settings", "D", 3), 7);
        QCOMPARE(ini.ReadInteger("Settings", "E", 3), 3);
    }

    void firstOccurrenceWinsAndKeysKeepTheirOrder()
    {
        const TIniFile ini(Write("[Ports]\nCOM5=/dev/ttyUSB3\nCOM2=/dev/ttyS9\ncom5=/dev/other\n"));
        QCOMPARE(ini.ReadString("Ports", "COM5", ""), QString("/dev/ttyUSB3"));
        QCOMPARE(ini.Keys("ports"), (QStringList { "COM5", "COM2" }));
    }

    void eightBitText()
    {
        const TIniFile ini(Write("[Settings]\nFilePrefix=Beh\xe4lter \xb0" "C\n"));
        QCOMPARE(ini.ReadString("Settings", "FilePrefix", ""), QString::fromLatin1("Beh\xe4lter \xb0" "C"));
    }

    // The sample that an install puts in /etc: every key, each at the value
    // the program takes when the key is missing; the example port stays a
    // comment.
    void theInstalledSampleHoldsEveryKeyAtItsDefault()
    {
        const TIniFile sample(QStringLiteral(MERIDAL_INI_SAMPLE));
        QCOMPARE(sample.Keys("Settings"), (QStringList { "NumberOfAttempts", "FilePrefix", "ConfigSeparator" }));
        QCOMPARE(sample.ReadString("Settings", "NumberOfAttempts", ""), QString("3"));
        QCOMPARE(sample.ReadString("Settings", "FilePrefix", ""), QString("HART-Dev"));
        QCOMPARE(sample.ReadString("Settings", "ConfigSeparator", ""), QString(";"));
        QCOMPARE(sample.Keys("KORVAL"), QStringList { "domain" });
        QCOMPARE(sample.ReadString("KORVAL", "domain", "x"), QString(""));
        QCOMPARE(sample.Keys("Ports"), QStringList());
        QCOMPARE(sample.Keys(""), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_ini_file.moc"

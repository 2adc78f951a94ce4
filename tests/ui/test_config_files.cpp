// Configuration files through the real window: the user picks a file, the
// program writes what the simulated probe holds, or writes a file into a
// probe; and the factory's production test.
#include "Connected.h"
#include "DialogScript.h"

#include "ui/TFormProtokoll.h"
#include "worker/TThreadMeridal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QtTest>

namespace {

const QByteArray FewAttempts = "[Settings]\nNumberOfAttempts=1\n";
const QString DemoProbeFile = QStringLiteral(MERIDAL_FIXTURES "/demo-probe.csv");

// A probe with a value other than the factory's in every setting a file holds.
TSimDeviceState Configured()
{
    TSimDeviceState probe = TSimDeviceState::Tivern();
    TSimConfiguration& c = probe.Configuration;
    c.Tag = "LEVEL-7 ";
    c.Descriptor = "EAST TANK       ";
    c.Date = QDate(2025, 3, 14);
    c.Message = QByteArray("CHECKED BY QA").leftJustified(32, ' ');
    c.LongTag = QByteArray("Tank 7 east \xB0").leftJustified(32, '\0');
    c.FinalAssemblyNumber = 4711;
    c.AlarmSelection = 1;
    c.UpperRangeValue = 4.5;
    c.LowerRangeValue = 0.25;
    c.Mapping = { 1, 0, 3, TSimConfiguration::NoVariable };
    c.Variables[0].Offset = 0.02;
    c.Variables[0].Damping = 2.5f;
    c.Variables[1].Offset = -0.01;
    c.Variables[1].Damping = 0.5f;
    c.Variables[2].Unit = TSimUnits::Fahrenheit;
    c.Variables[3].Unit = TSimUnits::Feet;
    c.Variables[3].Enabled = false;
    probe.WriteProtected = true;
    return probe;
}

QString Described(const TSimConfiguration& c)
{
    QStringList parts { c.Tag, c.Descriptor, c.Date.toString(Qt::ISODate), c.Message, c.LongTag.toHex(),
                        QString::number(c.FinalAssemblyNumber), QString::number(c.AlarmSelection),
                        QString::number(c.UpperRangeValue, 'f', 3), QString::number(c.LowerRangeValue, 'f', 3) };
    for (const quint8 code : c.Mapping)
        parts << QString::number(code);
    for (const TSimVariableSettings& v : c.Variables)
        parts << QStringLiteral("%1 %2 %3 %4").arg(v.Unit).arg(v.Offset, 0, 'f', 4).arg(v.Damping, 0, 'f', 3).arg(v.Enabled);
    return parts.join(QLatin1Char('|'));
}

QString Described(const TSimDeviceState& probe)
{
    return Described(probe.Configuration) + QStringLiteral("|address %1 %2|protected %3")
                                                .arg(probe.PollingAddress)
                                                .arg(probe.LoopCurrentMode)
                                                .arg(probe.WriteProtected);
}

QByteArray Content(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void Write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// The lines of a file, which must each end with CR LF.
QStringList LinesOf(QByteArray content)
{
    if (!content.endsWith("\r\n") || content.count("\r\n") != content.count('\n'))
        return { QStringLiteral("(not CR LF)") };
    content.chop(2);
    return QString::fromLatin1(content).split(QStringLiteral("\r\n"));
}

QStringList Lines(const QString& path)
{
    return LinesOf(Content(path));
}

// The settings of a saved file: no time, no identity, no log, no status.
QStringList Settings(const QString& path)
{
    QStringList lines = Lines(path);
    lines = lines.mid(0, int(lines.indexOf(QStringLiteral("Response Code(s)"))));
    return lines.filter(QRegularExpression(QStringLiteral("^(?!SaveDate;|Device ID;)")));
}

QList<QByteArray> RequestData(const TSimBus& bus, int command)
{
    QList<QByteArray> data;
    for (const TSimExchange& exchange : bus.Log()) {
        if (exchange.Command == command)
            data << exchange.Data.toHex(' ').toUpper();
    }
    return data;
}

const QRegularExpression DateAndTime(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d$"));

// A file's numbers ("6.000 meters") with the locale's decimal separator, as
// the program writes and reads them on this machine.
QByteArray InLocale(QByteArray content)
{
    static const QRegularExpression number(QStringLiteral("(\\d)\\.(\\d{3}) "));
    const QString text = QString::fromLatin1(content).replace(number, QStringLiteral("\\1") + QLocale().decimalPoint() + QStringLiteral("\\2 "));
    return text.toLatin1();
}

// The locale of one test; the machine's again afterwards.
struct LocaleScope
{
    explicit LocaleScope(const QString& name) { QLocale::setDefault(name.isEmpty() ? before : QLocale(name)); }
    ~LocaleScope() { QLocale::setDefault(before); }
    const QLocale before;
};

} // namespace

class TestConfigFiles : public QObject
{
    Q_OBJECT

private:
    // Chooses the file in the dialog of the menu item, answers the further
    // dialogs, and waits for the job. The texts of all dialogs met.
    static QStringList Run(Connected& probe, QAction* item, const QString& path, QList<DialogScript::Action> answers = {})
    {
        DialogScript script(QList<DialogScript::Action> { ChooseFile(path) } + answers);
        item->trigger();
        if (!probe.rig.WaitUntilIdle() || !QTest::qWaitFor([&] { return script.Done() == answers.size() + 1; }, 30000))
            return { QStringLiteral("(dialogs left)") };
        return script.Texts;
    }

    static QString Status(Connected& probe) { return probe.rig.C().StatusPanel1->text(); }

private slots:
    void initTestCase()
    {
        TMeridalProgram::SetUpApplication();
    }

    // The demo's probe, saved from the Analog Output tab: the file equals the
    // checked-in one but for the moment of saving.
    void saveWritesTheWholeConfiguration()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        QVERIFY(probe.Show(TPage::AnalogOutput));
        const QString path = probe.rig.Folder() + QStringLiteral("/demo.csv");
        // Left from an earlier command: not this save's.
        probe.rig.Program().FormProtokoll().AddLine(QStringLiteral("Cmd: 17: Write Message -> Code 7: In Write Protect Mode"));
        const QStringList texts = Run(probe, probe.rig.C().MenuSaveConfigAs, path);
        QCOMPARE(texts.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("/HART-Dev 658188_\\d{8} \\d{6}\\.csv$")).match(texts.first()).hasMatch(),
                 qPrintable(texts.first()));
        QCOMPARE(probe.rig.C().PageControl->currentIndex(), 0);
        QCOMPARE(Status(probe), QString("File saved"));
        QCOMPARE(probe.rig.Stored("Forms", "SaveConfigDialog.File"), path);

        QStringList saved = Lines(path);
        QStringList expected = LinesOf(InLocale(Content(DemoProbeFile)));
        QCOMPARE(saved.size(), expected.size());
        const int saveDate = int(saved.indexOf(QRegularExpression(QStringLiteral("SaveDate;.*"))));
        QVERIFY(saveDate >= 0 && DateAndTime.match(saved.at(saveDate).mid(9)).hasMatch());
        saved.removeAt(saveDate);
        expected.removeAt(saveDate);
        QCOMPARE(saved, expected);
        QVERIFY(Content(path).contains("DV2 Unit;\xB0" "C\r\n"));
        // Nothing was refused: the two empty lines follow at once.
        QVERIFY(Content(path).contains("Response Code(s)\r\n\r\n\r\nLast Device Status\r\n"));
    }

    void existingFileKeptWhenNotOverridden()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        const QString path = probe.rig.Folder() + QStringLiteral("/kept.csv");
        Write(path, "old\r\n");
        probe.rig.Bus().ClearLog();
        const QStringList texts = Run(probe, probe.rig.C().MenuSaveConfigAs, path, { Answer(QMessageBox::No) });
        QCOMPARE(texts.value(1), QString("File already exists.\n\nOverride?"));
        QCOMPARE(Content(path), QByteArray("old\r\n"));
        QCOMPARE(Commands(probe.rig.Bus()), QList<int>());
        QCOMPARE(probe.rig.Stored("Forms", "SaveConfigDialog.File"), QString("<none>"));
    }

    // Every read of a save that the device refuses leaves no file: a value
    // made up for it would be loaded into the next probe.
    void refusedReadWritesNoFile()
    {
        const struct
        {
            int command;
            const char* value;
        } reads[] = {
            { 7, "its polling address and loop current mode" },
            { 13, "its tag, descriptor and date" },
            { 20, "its long tag" },
            { 12, "its message" },
            { 16, "its final assembly number" },
            { 14, "its sensor limits" },
            { 15, "its PV range and alarm selection" },
            { 33, "its device variables" },
            { 206, "the offset of DV0" },
            { 54, "the damping of DV0" },
            { 50, "its variable assignments" },
            { 201, "its protection mode" },
            { 210, "its device variable enable flags" },
        };
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        const QString path = probe.rig.Folder() + QStringLiteral("/refused.csv");
        for (const auto& read : reads) {
            probe.rig.Bus().ClearFaults();
            probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(read.command).WithValue(32));
            const QStringList texts = Run(probe, probe.rig.C().MenuSaveConfigAs, path, { Answer(QMessageBox::Ok) });
            QCOMPARE(texts.value(1), "The device did not report " + QString::fromLatin1(read.value)
                                         + ".\n\nThe configuration file was not written:\n  " + path);
            QVERIFY(!QFile::exists(path));
            QCOMPARE(Status(probe), QString("Exception arose"));
        }
    }

    // The probe stops answering half-way: the file chosen for overwriting
    // stays as it was, and the user is told that nothing was written.
    void interruptedSaveLeavesTheFile()
    {
        Connected probe(TSimDeviceState::Tivern(), FewAttempts);
        QVERIFY(probe.identified);
        const QString path = probe.rig.Folder() + QStringLiteral("/kept.csv");
        Write(path, "HART Device Configuration\r\nTag;OLD\r\n");
        const QStringList before = QDir(probe.rig.Folder()).entryList(QDir::Files);
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::NoAnswer).OnCommand(33));
        const QStringList texts =
            Run(probe, probe.rig.C().MenuSaveConfigAs, path, { Answer(QMessageBox::Yes), Answer(QMessageBox::Ok) });
        QCOMPARE(texts.size(), 3);
        QVERIFY2(texts.last().endsWith(QStringLiteral("The configuration file was not written:\n  ") + path), qPrintable(texts.last()));
        QCOMPARE(Content(path), QByteArray("HART Device Configuration\r\nTag;OLD\r\n"));
        QCOMPARE(QDir(probe.rig.Folder()).entryList(QDir::Files), before);
        QCOMPARE(Status(probe), QString("Exception arose"));
    }

    // A configured probe saved, the file loaded into a factory-new one, that
    // one saved: both files hold the same settings, both probes the same state.
    // Swedish writes its minus sign as U+2212, which Windows-1252 cannot hold.
    void roundTripIntoAnotherProbe_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("this machine's locale") << QString();
        QTest::newRow("Swedish, negative offset") << QStringLiteral("sv_SE");
    }

    void roundTripIntoAnotherProbe()
    {
        QFETCH(QString, locale);
        const LocaleScope scope(locale);
        const TSimDeviceState first = Configured();
        Connected probe(first);
        QVERIFY(probe.identified);
        const QString firstFile = probe.rig.Folder() + QStringLiteral("/first.csv");
        Run(probe, probe.rig.C().MenuSaveConfigAs, firstFile);
        QCOMPARE(Status(probe), QString("File saved"));

        TSimDeviceState second = TSimDeviceState::Tivern();
        second.DeviceId = 0x0A0B0D;
        probe.rig.Bus().RemoveDevice(0);
        probe.rig.Bus().AddDevice(second);
        probe.rig.C().MenuRescan->trigger();
        QVERIFY(probe.rig.WaitUntilIdentified());
        QCOMPARE(probe.rig.C().EditDeviceID->text(), QString("658189"));
        Run(probe, probe.rig.C().MenuLoadConfig, firstFile, { Answer(QMessageBox::Yes) });
        QCOMPARE(Status(probe), QString("Done"));
        QCOMPARE(probe.rig.Program().FormProtokoll().Lines(), QStringList());
        QCOMPARE(probe.rig.Stored("Forms", "LoadConfigDialog.File"), firstFile);
        QCOMPARE(Described(probe.rig.Bus().Device(0)), Described(first));
        QCOMPARE(probe.rig.C().EditTag->text(), QString("LEVEL-7 "));

        // The dialog opens in the folder of the last save.
        const QString secondFile = probe.rig.Folder() + QStringLiteral("/second.csv");
        QVERIFY(Run(probe, probe.rig.C().MenuSaveConfigAs, secondFile).first().startsWith(probe.rig.Folder() + "/HART-Dev 658189_"));
        QCOMPARE(Settings(secondFile), Settings(firstFile));
        QVERIFY(Settings(firstFile).contains(QStringLiteral("DV3 enabled;false")));
    }

    // The checked-in file of the demo probe restores a probe to it.
    void demoFileLoadsIntoAConfiguredProbe()
    {
        TSimDeviceState configured = Configured();
        configured.WriteProtected = false;
        Connected probe(configured);
        QVERIFY(probe.identified);
        const QString path = probe.rig.Folder() + QStringLiteral("/demo.csv");
        Write(path, InLocale(Content(DemoProbeFile)));
        const QStringList texts = Run(probe, probe.rig.C().MenuLoadConfig, path, { Answer(QMessageBox::Yes) });
        QCOMPARE(texts.value(1), QString("HART device will be automatically adjusted by the selected configuration file.\n\n"
                                         "NOTE:\nThe current parameters of the connected HART device will be overwritten with "
                                         "the parameters of the selected configuration file!\n\nDo you want to continue?"));
        QCOMPARE(probe.rig.Program().FormProtokoll().Lines(), QStringList());
        QCOMPARE(Described(probe.rig.Bus().Device(0)), Described(TSimDeviceState::Tivern()));
    }

    // Refused lines reach the response log; the load goes on.
    void refusedLinesAreLogged()
    {
        Connected probe(TSimDeviceState::Tivern());
        QVERIFY(probe.identified);
        const QString path = probe.rig.Folder() + QStringLiteral("/refused.csv");
        const QString point = QLocale().decimalPoint();
        Write(path, "Polling Address;16\r\nPV Upper Range;6" + point.toLatin1() + "500 meters\r\nMessage;GOES ON\r\n");
        probe.rig.Bus().ClearLog();
        Run(probe, probe.rig.C().MenuLoadConfig, path, { Answer(QMessageBox::Yes) });
        TFormProtokoll& log = probe.rig.Program().FormProtokoll();
        QCOMPARE(log.Lines(), (QStringList { "Polling Address greater than 15", "PV Upper Range is greater than maximum (6" + point + "000)" }));
        QVERIFY(log.isVisible());
        QCOMPARE(probe.rig.Bus().Device(0).Configuration.Message, QByteArray("GOES ON").leftJustified(32, ' '));
        QVERIFY(!Commands(probe.rig.Bus()).contains(35));
        QCOMPARE(probe.rig.C().EditMessage->text().trimmed(), QString("GOES ON"));
    }

    void writeProtectedProbeTakesNothing()
    {
        TSimDeviceState protectedProbe = TSimDeviceState::Tivern();
        protectedProbe.WriteProtected = true;
        Connected probe(protectedProbe);
        QVERIFY(probe.identified);
        probe.rig.Bus().ClearLog();
        Run(probe, probe.rig.C().MenuLoadConfig, DemoProbeFile, { Answer(QMessageBox::Yes) });
        QCOMPARE(probe.rig.Program().FormProtokoll().Lines(), QStringList { "HART device is in Wrote Protect Mode" });
        QCOMPARE(Commands(probe.rig.Bus()), QList<int> { 201 });
    }

    // A new probe without a date is read, and a file gives it tag and date.
    void probeWithoutDateIsRepaired()
    {
        TSimDeviceState undated = TSimDeviceState::Tivern();
        undated.Configuration.Date = QDate();
        Connected probe(undated);
        QVERIFY(probe.identified);
        QCOMPARE(probe.rig.C().EditDate->text(), QString("00.00.1900"));
        const QString path = probe.rig.Folder() + QStringLiteral("/date.csv");
        Write(path, "Tag;NEWTAG\r\nDate;24.12.2025\r\n");
        Run(probe, probe.rig.C().MenuLoadConfig, path, { Answer(QMessageBox::Yes) });
        QCOMPARE(probe.rig.Program().FormProtokoll().Lines(), QStringList());
        QCOMPARE(probe.rig.Bus().Device(0).Configuration.Tag, QByteArray("NEWTAG  "));
        QCOMPARE(probe.rig.Bus().Device(0).Configuration.Date, QDate(2025, 12, 24));
        QCOMPARE(probe.rig.C().EditDate->text(), QString("24.12.2025"));
    }

    void productionTest()
    {
        Connected probe(TSimDeviceState::Tivern(), "[KORVAL]\ndomain=prod\n");
        QVERIFY(probe.identified);
        QPushButton* button = probe.rig.C().ButtonTestDevice;
        QVERIFY(button->isVisible());
        const QString path = probe.rig.Folder() + QStringLiteral("/protocol.csv");
        Write(path + QStringLiteral(".bei36"), "old");
        probe.rig.Bus().ClearLog();
        // The probe is given 10 s to store its defaults, and the user is told.
        QElapsedTimer storing;
        const QObject listener;
        QObject::connect(DeviceThread, &TThreadMeridal::StatusTextShown, &listener, [&](const QString& text) {
            if (text == QLatin1String("Werkeinstellungen werden gespeichert. Sonde nicht ausschalten!"))
                storing.start();
        });
        DialogScript script({ ChooseFile(path) });
        probe.Click(button);
        QVERIFY(probe.rig.WaitUntilIdle());
        QVERIFY(storing.isValid());
        QVERIFY2(storing.elapsed() >= 10000, qPrintable(QString::number(storing.elapsed())));

        const QStringList protocol = Lines(path);
        QCOMPARE(protocol.size(), 12);
        QVERIFY(protocol[0].startsWith(QStringLiteral("Test gestartet: ")));
        QVERIFY(DateAndTime.match(protocol[0].mid(16)).hasMatch());
        QCOMPARE(protocol.mid(1, 10), (QStringList { "Device ID;658188", "Device Code;128 (0x80)", "Device Rev.;1",
                                                     "Universal Cmd. Rev.;5", "",
                                                     "Test bei niedriger Stromaufnahme (3,6mA):  fertig",
                                                     "Test bei hoher Stromaufnahme (21.5mA):  fertig",
                                                     "Schreiben des heutigen Datum:  fertig",
                                                     "Werkeinstellungen speichern:  fertig", "" }));
        QVERIFY(DateAndTime.match(protocol[11].mid(14)).hasMatch());
        QCOMPARE(Status(probe), QString("Test beendet"));

        // Each snapshot was taken at its current.
        QVERIFY(Content(path + QStringLiteral(".bei36")).contains("Loop Current Fixed;true\r\n"));
        QVERIFY(Content(path + QStringLiteral(".bei215")).startsWith("HART Device Configuration\r\n"));
        QCOMPARE(RequestData(probe.rig.Bus(), 40), (QList<QByteArray> { "40 66 66 66", "41 AC 00 00", "00 00 00 00" }));
        const TSimDeviceState device = probe.rig.Bus().Device(0);
        QVERIFY(!device.FixedCurrentMode);
        QCOMPARE(device.Configuration.Date, QDate::currentDate());
        QCOMPARE(Described(device.FactoryDefaults), Described(device.Configuration));
        QCOMPARE(RequestData(probe.rig.Bus(), 122), QList<QByteArray> { "E3 80 0A 0B 0C" });
    }

    // A refused step goes on but is not "fertig": its line names the
    // refusal, which also stays in the log and in the step's snapshot.
    void refusedProductionStepsAreRecorded()
    {
        Connected probe(TSimDeviceState::Tivern(), "[KORVAL]\ndomain=prod\n");
        QVERIFY(probe.identified);
        const QString path = probe.rig.Folder() + QStringLiteral("/protocol.csv");
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(40).OnRequest(1).WithValue(11));
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(122).WithValue(32));
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(40).OnRequest(3).WithValue(32));
        // A warning is no refusal.
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(18).WithValue(8));
        // Left from an earlier command: not this test's.
        probe.rig.Program().FormProtokoll().AddLine(QStringLiteral("Cmd: 17: Write Message -> Code 7: In Write Protect Mode"));
        // Nothing is being stored after the refusal of command 122: no word of it.
        bool storingShown = false;
        const QObject listener;
        QObject::connect(DeviceThread, &TThreadMeridal::StatusTextShown, &listener, [&](const QString& text) {
            storingShown = storingShown || text.startsWith(QLatin1String("Werkeinstellungen werden gespeichert"));
        });
        DialogScript script({ ChooseFile(path), Answer(QMessageBox::Ok) });
        probe.Click(probe.rig.C().ButtonTestDevice);
        QVERIFY(probe.rig.WaitUntilIdle());
        QVERIFY(!storingShown);
        // Nor is the final release, which the user is told of.
        QTRY_COMPARE(script.Texts.value(1), QString("The analog output is still fixed: the device did not confirm its release."));
        QVERIFY(probe.rig.Bus().Device(0).FixedCurrentMode);

        const QString refused40 = "Cmd: 40: Enter/Exit Fixed Current Mode -> Code 11: Loop Current Not Active (Device in Multidrop Mode)";
        const QString refused122 = "Cmd: 122: Store Factory Defaults -> Code 32: Busy";
        const QString refusedRelease = "Cmd: 40: Enter/Exit Fixed Current Mode -> Code 32: Busy";
        const QString warning18 = "Cmd: 18: Write Tag/Descriptor/Date -> Code 8: Warning: Update Failure";
        QCOMPARE(Lines(path).mid(6, 4),
                 (QStringList { "Test bei niedriger Stromaufnahme (3,6mA):  abgelehnt: Cmd 40, Code 11: Loop Current Not "
                                "Active (Device in Multidrop Mode)",
                                "Test bei hoher Stromaufnahme (21.5mA):  fertig", "Schreiben des heutigen Datum:  fertig",
                                "Werkeinstellungen speichern:  abgelehnt: Cmd 122, Code 32: Busy" }));
        QVERIFY(Content(path + ".bei36").contains("Response Code(s)\r\n" + refused40.toLatin1() + "\r\n\r\n\r\nLast"));
        QVERIFY(Content(path + ".bei215").contains("Response Code(s)\r\n\r\n\r\nLast"));
        QCOMPARE(probe.rig.Program().FormProtokoll().Lines(), (QStringList { refused40, warning18, refused122, refusedRelease }));
        QVERIFY(Lines(path).value(11).startsWith("Test beendet: "));
        QCOMPARE(Status(probe), QString("Exception arose"));

        // A second run, in which the date is refused.
        probe.rig.Bus().ClearFaults();
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(18).WithValue(32));
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(122).WithValue(32));
        const QString second = probe.rig.Folder() + QStringLiteral("/date refused.csv");
        DialogScript secondRun({ ChooseFile(second) });
        probe.Click(probe.rig.C().ButtonTestDevice);
        QVERIFY(probe.rig.WaitUntilIdle());
        QCOMPARE(Lines(second).mid(6, 4), (QStringList { "Test bei niedriger Stromaufnahme (3,6mA):  fertig",
                                                         "Test bei hoher Stromaufnahme (21.5mA):  fertig",
                                                         "Schreiben des heutigen Datum:  abgelehnt: Cmd 18, Code 32: Busy",
                                                         "Werkeinstellungen speichern:  abgelehnt: Cmd 122, Code 32: Busy" }));
    }

    // The probe stops answering during the 21.5 mA snapshot.
    void interruptedProductionTest()
    {
        Connected probe(TSimDeviceState::Tivern(), "[KORVAL]\ndomain=prod\n[Settings]\nNumberOfAttempts=1\n");
        QVERIFY(probe.identified);
        const QString path = probe.rig.Folder() + QStringLiteral("/protocol.csv");
        probe.rig.Bus().ClearLog();
        probe.rig.Bus().AddFault(TSimFault(TSimFault::TKind::NoAnswer).OnCommand(33).OnRequest(2));
        DialogScript script({ ChooseFile(path), Answer(QMessageBox::Ok) });
        probe.Click(probe.rig.C().ButtonTestDevice);
        QVERIFY(probe.rig.WaitUntilIdle());
        QTRY_COMPARE(script.Done(), 2);

        QVERIFY(Content(path).endsWith("Test bei niedriger Stromaufnahme (3,6mA):  fertig\r\n"
                                       "Test bei hoher Stromaufnahme (21.5mA):  "));
        QVERIFY(QFile::exists(path + QStringLiteral(".bei36")));
        QVERIFY(!QFile::exists(path + QStringLiteral(".bei215")));
        QCOMPARE(RequestData(probe.rig.Bus(), 40).last(), QByteArray("00 00 00 00"));
        QVERIFY(!probe.rig.Bus().Device(0).FixedCurrentMode);
        QCOMPARE(Status(probe), QString("Exception arose"));
    }
};

QTEST_MAIN(TestConfigFiles)
#include "test_config_files.moc"

// The device jobs as jobs: a probe on the simulated bus and the in-memory
// view in place of the window. What Save writes, what stays the user's when
// the device refuses it, what a read must report before Save may write its
// tab, and what the configuration save and the production test make of
// refusals.
#include "JobRig.h"
#include "support/LocalNumber.h"

#include "worker/TConfigJobs.h"
#include "worker/TFieldTable.h"
#include "worker/TProductionTest.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <vector>

namespace {

constexpr int AccessRestricted = 16;
const QList<int> WriteCommands = { 6, 17, 18, 19, 22, 35, 40, 51, 53, 55, 122, 200, 202, 204, 205, 209 };

// An entry as the user makes it: a text typed into an edit, an item chosen
// from a list, "on" or "off" for a check box.
struct Typed
{
    TField field;
    QString text;
};

void Enter(TMemoryView& view, const Typed& typed)
{
    switch (FieldSpec(typed.field).Kind) {
    case TFieldKind::DropDown: view.Choose(typed.field, view.Choices(typed.field).indexOf(typed.text)); break;
    case TFieldKind::CheckBox: view.Tick(typed.field, typed.text == QLatin1String("on")); break;
    default: view.Enter(typed.field, typed.text);
    }
}

QList<int> Writes(const JobRig& rig)
{
    QList<int> writes = rig.Commands();
    writes.removeIf([](int command) { return !WriteCommands.contains(command); });
    return writes;
}

// Entries of one tab, the write commands Save sends for them, and whether the
// probe holds them afterwards. `refusable`: a refused write leaves the entries
// marked (the Others tab shows what the device holds after every save).
struct SaveCase
{
    const char* name;
    TPage page;
    QList<Typed> entries;
    QList<int> writes;
    std::function<bool(const JobRig&)> held;
    bool refusable = true;
};

const TSimConfiguration& Held(const JobRig& rig)
{
    static TSimDeviceState probe;
    probe = rig.Probe();
    return probe.Configuration;
}

const std::vector<SaveCase>& SaveCases()
{
    using F = TField;
    static const std::vector<SaveCase> cases {
        { "tag", TPage::Identification, { { F::EditTag, "T1" } }, { 18 },
          [](const JobRig& r) { return Held(r).Tag == "T1      "; } },
        { "long tag and message", TPage::Identification, { { F::EditLongTag, "Tank 7" }, { F::EditMessage, "CHECKED" } }, { 22, 17 },
          [](const JobRig& r) {
              return Held(r).LongTag == QByteArray("Tank 7").leftJustified(32, '\0')
                  && Held(r).Message == QByteArray("CHECKED").leftJustified(32, ' ');
          } },
        { "final assembly number", TPage::Identification, { { F::EditFinalAssemblyNo, "4711" } }, { 19 },
          [](const JobRig& r) { return Held(r).FinalAssemblyNumber == 4711u; } },
        { "polling address", TPage::Identification, { { F::ComboBoxPollingAddress, "5" } }, { 6 },
          [](const JobRig& r) { return r.bus.Devices().value(0).PollingAddress == 5; } },
        { "alarm selection", TPage::AnalogOutput, { { F::ComboBoxPVAlarmSelection, "low (3,6 mA)" } }, { 202 },
          [](const JobRig& r) { return Held(r).AlarmSelection == 1; } },
        { "upper range, the lower one beside it", TPage::AnalogOutput, { { F::EditPVUpperRangeValue, Local("4.5") } }, { 35 },
          [](const JobRig& r) {
              return Held(r).UpperRangeValue == 4.5 && Held(r).LowerRangeValue == r.probe.Configuration.LowerRangeValue;
          } },
        { "mapping", TPage::DeviceVariables, { { F::ComboBoxDynDevSV, "DV3" } }, { 51 },
          [](const JobRig& r) { return Held(r).Mapping[1] == 3; } },
        { "offset", TPage::DeviceVariables, { { F::EditDV1Offset, Local("0.125") } }, { 205 },
          [](const JobRig& r) { return Held(r).Variables[1].Offset == 0.125; } },
        { "damping", TPage::DeviceVariables, { { F::EditDV0Damping, Local("2.5") } }, { 55 },
          [](const JobRig& r) { return Held(r).Variables[0].Damping == 2.5f; } },
        { "unit", TPage::DeviceVariables, { { F::ComboBoxDV0Unit, "centimeters" } }, { 53 },
          [](const JobRig& r) { return Held(r).Variables[0].Unit == 48; } },
        { "enable flag", TPage::Others, { { F::CheckBoxEnableDV1, "off" } }, { 209 },
          [](const JobRig& r) { return !Held(r).Variables[1].Enabled; }, false },
    };
    return cases;
}

QString Shown(TMemoryView& view, const Typed& typed)
{
    return FieldSpec(typed.field).Kind == TFieldKind::CheckBox ? QString(view.Checked(typed.field) ? "on" : "off")
                                                                : view.Text(typed.field);
}

} // namespace

class TestJobs : public QObject
{
    Q_OBJECT

private slots:
    // A write the device refuses leaves the probe as it was and the entry as
    // typed and marked; the next Save writes the entries and nothing else,
    // and the device's values become the fields' baselines.
    void saveWritesTheEntriesOnceTheDeviceTakesThem()
    {
        for (const SaveCase& row : SaveCases()) {
            JobRig rig(TSimDeviceState::Tivern());
            rig.Read(row.page);
            for (const Typed& typed : row.entries)
                Enter(rig.view, typed);
            if (row.refusable) {
                for (int write : row.writes)
                    rig.bus.AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(write).WithValue(AccessRestricted));
                rig.Save(row.page);
                QVERIFY2(!row.held(rig), row.name);
                for (const Typed& typed : row.entries) {
                    QVERIFY2(rig.view.Modified(typed.field), row.name);
                    QCOMPARE(Shown(rig.view, typed), typed.text);
                }
                QVERIFY2(rig.view.ResponseLogContains(QStringLiteral("Code 16: Access Restricted")), row.name);
                rig.bus.ClearFaults();
            }
            rig.Save(row.page);
            QVERIFY2(Writes(rig) == row.writes, row.name);
            QVERIFY2(row.held(rig), row.name);
            for (const Typed& typed : row.entries)
                QVERIFY2(!rig.view.Modified(typed.field), row.name);
        }
    }

    // After a new unit the values and offsets are read again; an offset the
    // device did not take stays as typed instead of the one read.
    void rereadAfterUnitsKeepsWhatWasNotTaken()
    {
        JobRig rig(TSimDeviceState::Tivern());
        rig.Read(TPage::DeviceVariables);
        Enter(rig.view, { TField::ComboBoxDV0Unit, "centimeters" });
        Enter(rig.view, { TField::EditDV1Offset, Local("0.125") });
        rig.bus.AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(205).WithValue(AccessRestricted));
        rig.Save(TPage::DeviceVariables);

        const QList<int> commands = rig.Commands();
        const QList<int> afterUnit = commands.mid(commands.lastIndexOf(53));
        QCOMPARE(afterUnit.count(33), 1);
        QCOMPARE(afterUnit.count(206), 1);     // the offset of DV0 only
        QCOMPARE(rig.view.Text(TField::ComboBoxDV0Unit), QString("centimeters"));
        QVERIFY(!rig.view.Modified(TField::ComboBoxDV0Unit));
        QCOMPARE(rig.view.Text(TField::EditDV1Offset), Local("0.125"));
        QVERIFY(rig.view.Modified(TField::EditDV1Offset));
    }

    // A tab may be saved only once the device reported every value a save
    // sends back beside the user's entries. An offset not reported keeps its
    // placeholder and shows no unit.
    void readsTellWhetherTheTabMayBeSaved()
    {
        const struct
        {
            TPage page;
            int refused;
            bool complete;
        } rows[] = {
            { TPage::Identification, 7, false },  { TPage::Identification, 13, false }, { TPage::Identification, 12, true },
            { TPage::DeviceVariables, 50, false }, { TPage::DeviceVariables, 206, false }, { TPage::DeviceVariables, 54, true },
        };
        for (const auto& row : rows) {
            JobRig rig(TSimDeviceState::Tivern());
            rig.bus.AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(row.refused).WithValue(AccessRestricted));
            rig.Read(row.page);
            const QByteArray name = QByteArray::number(row.refused);
            QVERIFY2(rig.view.TabsReadCompletely.value(int(row.page)) == row.complete, name);
            if (row.page == TPage::DeviceVariables)
                QVERIFY2(rig.view.Text(TField::EditDV0Offset).isEmpty() == (row.refused == 206), name);
        }
    }

    // A value the device does not report is never written as a made-up one:
    // no file at all, and the message names the value.
    void configurationSaveNeedsEveryValue()
    {
        const struct
        {
            int refused;
            const char* message;
        } rows[] = {
            { 0, nullptr },
            { 16, "The device did not report its final assembly number." },
            { 14, "The device did not report its sensor limits." },
            { 206, "The device did not report the offset of DV0." },
            { 54, "The device did not report the damping of DV0." },
        };
        for (const auto& row : rows) {
            JobRig rig(TSimDeviceState::Tivern());
            rig.Read(TPage::Identification);
            if (row.refused)
                rig.bus.AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(row.refused).WithValue(AccessRestricted));
            QTemporaryDir folder;
            rig.thread->ConfigFileName = folder.filePath(QStringLiteral("probe.csv"));
            QString failure;
            try {
                TConfigJobs(*rig.thread).JobSaveConfig();
            } catch (const Exception& e) {
                failure = e.Message();
            }
            QVERIFY2(row.refused ? failure.startsWith(QString::fromLatin1(row.message)) : failure.isEmpty(),
                     qPrintable(QString::number(row.refused) + ": " + failure));
            QCOMPARE(QFile::exists(rig.thread->ConfigFileName), row.refused == 0);
            QCOMPARE(rig.view.Statuses.last() == QLatin1String("File saved"), row.refused == 0);
        }
    }

    // Each step's line ends with "fertig" or with the device's refusal; a
    // refused store of the factory settings is not waited for.
    void productionTestRecordsEachStep()
    {
        JobRig rig(TSimDeviceState::Tivern());
        rig.Read(TPage::Identification);
        rig.bus.AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(40).OnRequest(2).WithValue(AccessRestricted));
        rig.bus.AddFault(TSimFault(TSimFault::TKind::ResponseCode).OnCommand(122).WithValue(AccessRestricted));
        QTemporaryDir folder;
        const QString protocol = folder.filePath(QStringLiteral("test.csv"));
        rig.thread->ConfigFileName = protocol;
        TProductionTest(*rig.thread).JobProductionTest();

        QFile file(protocol);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(file.readAll());
        for (const char* line : { "Test bei niedriger Stromaufnahme (3,6mA):  fertig",
                                  "Test bei hoher Stromaufnahme (21.5mA):  abgelehnt: Cmd 40, Code 16: ",
                                  "Schreiben des heutigen Datum:  fertig",
                                  "Werkeinstellungen speichern:  abgelehnt: Cmd 122, Code 16: " })
            QVERIFY2(text.contains(QString::fromLatin1(line)), qPrintable(text));
        QFile high(protocol + QStringLiteral(".bei215"));
        QVERIFY(high.open(QIODevice::ReadOnly));
        QVERIFY(high.readAll().contains("Cmd: 40: "));
        QCOMPARE(Writes(rig).count(40), 3);                 // low, high, and the release
        QVERIFY(!rig.thread->Device->CurrentFixed());
        QCOMPARE(rig.view.Statuses.last(), QString("Test beendet"));
    }
};

QTEST_MAIN(TestJobs)
#include "test_jobs.moc"

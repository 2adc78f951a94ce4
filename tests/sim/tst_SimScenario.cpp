// Scenario files: what they set up, what they refuse, and a bus run from one.

#include "TSimScenario.h"
#include "TSimTestBench.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

const QByteArray Example = R"({
  "timing": { "pace1200Baud": true, "turnaroundMs": 20 },
  "devices": [
    { "preset": "tivern", "universalRevision": 6, "softwareRevision": 2, "tag": "lt-101",
      "values": [1.5, null, 21.5] },
    { "preset": "calderos", "pollingAddress": 1, "writeProtected": true, "passcode": 4711,
      "longTag": "Tank 7", "additionalStatus": 33 }
  ],
  "faults": [
    { "kind": "nan", "command": 1, "device": 0, "onRequest": 2, "value": 1 },
    { "kind": "no-answer", "device": 1, "fromRequest": 10 }
  ]
})";

} // namespace

class TestSimScenario : public QObject
{
    Q_OBJECT

private slots:
    void ExampleSetsUpDevicesFaultsAndTiming()
    {
        const TSimScenario scenario = TSimScenario::FromJson(Example);
        QVERIFY(scenario.Pace1200Baud);
        QCOMPARE(scenario.TurnaroundMs, 20);

        QCOMPARE(scenario.Devices.size(), 2);
        const TSimDeviceState& tivern = scenario.Devices[0];
        QCOMPARE(tivern.DeviceType, quint8(0x80));
        QCOMPARE(tivern.UniversalRevision, quint8(6));
        QCOMPARE(tivern.SoftwareRevision, quint8(2));
        QCOMPARE(tivern.PollingAddress, 0);
        QCOMPARE(tivern.Configuration.Tag, QByteArray("LT-101  "));
        QCOMPARE(tivern.FactoryDefaults.Tag, QByteArray("LT-101  "));
        QCOMPARE(tivern.Variables[0].Value, 1.5);
        QVERIFY(std::isnan(tivern.Variables[1].Value));
        QCOMPARE(tivern.Variables[3].Value, 0.5);

        const TSimDeviceState& calderos = scenario.Devices[1];
        QCOMPARE(calderos.DeviceType, quint8(0x81));
        QCOMPARE(calderos.PollingAddress, 1);
        QVERIFY(calderos.WriteProtected);
        QCOMPARE(calderos.Passcode, quint16(4711));
        QCOMPARE(calderos.Configuration.LongTag, QByteArray("Tank 7").leftJustified(32, '\0'));
        QCOMPARE(calderos.AdditionalStatus, quint8(33));

        QCOMPARE(scenario.Faults.size(), 2);
        const TSimFault& nan = scenario.Faults[0];
        QCOMPARE(nan.Kind, TSimFault::TKind::NotANumber);
        QCOMPARE(nan.Command, 1);
        QCOMPARE(nan.PollingAddress, 0);
        QCOMPARE(nan.FirstRequest, 2);
        QVERIFY(!nan.Continues);
        QCOMPARE(nan.Value, 1);
        const TSimFault& gone = scenario.Faults[1];
        QCOMPARE(gone.Kind, TSimFault::TKind::NoAnswer);
        QCOMPARE(gone.Command, TSimFault::AnyCommand);
        QCOMPARE(gone.PollingAddress, 1);
        QCOMPARE(gone.FirstRequest, 10);
        QVERIFY(gone.Continues);
    }

    void EmptyScenarioAndDefault()
    {
        const TSimScenario empty = TSimScenario::FromJson("{}");
        QVERIFY(empty.Devices.isEmpty() && empty.Faults.isEmpty());
        QVERIFY(!empty.Pace1200Baud);
        QCOMPARE(empty.TurnaroundMs, 0);

        const TSimScenario fallback = TSimScenario::Default();
        QCOMPARE(fallback.Devices.size(), 1);
        QCOMPARE(fallback.Devices[0].DeviceType, quint8(0x80));
        QCOMPARE(fallback.Devices[0].PollingAddress, 0);
    }

    void FaultKindsKeepTheirDefaultValues()
    {
        const TSimScenario scenario =
            TSimScenario::FromJson(R"({"faults": [{"kind": "delay"}, {"kind": "communication-error"}]})");
        QCOMPARE(scenario.Faults[0].Value, 2000);
        QCOMPARE(scenario.Faults[1].Value, 0xD0);
        QCOMPARE(scenario.Faults[0].FirstRequest, 1);
        QVERIFY(scenario.Faults[0].Continues);
    }

    void MistakesAreNamed_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("message");
        QTest::newRow("not JSON") << QByteArray("{devices") << "not a JSON object";
        QTest::newRow("unknown top key") << QByteArray(R"({"device": []})") << "Unknown key \"device\"";
        QTest::newRow("unknown preset") << QByteArray(R"({"devices": [{"preset": "tivan"}]})") << "\"preset\"";
        QTest::newRow("unknown device key") << QByteArray(R"({"devices": [{"preset": "tivern", "tags": "X"}]})")
                                            << "Unknown key \"tags\"";
        QTest::newRow("revision out of range")
            << QByteArray(R"({"devices": [{"preset": "tivern", "universalRevision": 8}]})") << "universalRevision";
        QTest::newRow("tag too long") << QByteArray(R"({"devices": [{"preset": "tivern", "tag": "TOO-LONG-1"}]})")
                                      << "\"tag\"";
        QTest::newRow("not a boolean")
            << QByteArray(R"({"devices": [{"preset": "tivern", "writeProtected": 1}]})") << "writeProtected";
        QTest::newRow("five values")
            << QByteArray(R"({"devices": [{"preset": "tivern", "values": [1, 2, 3, 4, 5]}]})") << "values";
        QTest::newRow("unknown fault") << QByteArray(R"({"faults": [{"kind": "gremlins"}]})") << "gremlins";
        QTest::newRow("two triggers")
            << QByteArray(R"({"faults": [{"kind": "nan", "onRequest": 1, "fromRequest": 2}]})") << "not both";
        QTest::newRow("request zero") << QByteArray(R"({"faults": [{"kind": "nan", "onRequest": 0}]})")
                                      << "onRequest";
        QTest::newRow("fractional address")
            << QByteArray(R"({"faults": [{"kind": "nan", "device": 1.5}]})") << "device";
        QTest::newRow("unknown timing") << QByteArray(R"({"timing": {"baud": 1200}})") << "Unknown key \"baud\"";
    }

    void MistakesAreNamed()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, message);
        try {
            TSimScenario::FromJson(json);
            QFAIL("the scenario was accepted");
        } catch (const std::runtime_error& error) {
            QVERIFY2(QString::fromUtf8(error.what()).contains(message), error.what());
        }
    }

    void ScenarioIsLoadedFromAFile()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("scenario.json"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Example);
        file.close();
        QCOMPARE(TSimScenario::Load(path).Devices.size(), 2);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, TSimScenario::Load(folder.filePath(QStringLiteral("none.json"))));
    }

    void BusRunsTheScenario()
    {
        TSimTestBench bench({});
        TSimScenario::FromJson(Example).ApplyTo(bench.Bus());
        QCOMPARE(bench.Bus().Devices().size(), 2);
        // Tag LT-101 in packed ASCII; the PV of 1.5 m; NaN on the second command 1 only.
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 13).mid(15, 6)), QByteArray("31 4B 71 C3 18 20"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 1).mid(15, 5)), QByteArray("2D 3F C0 00 00"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 1).mid(15, 5)), QByteArray("2D 7F A0 00 00"));
        QCOMPARE(Spaced(bench.Ask(TivernAddress, 1).mid(15, 5)), QByteArray("2D 3F C0 00 00"));
        QCOMPARE(bench.Ask(CalderosAddress, 19, Hex("00 00 01")).mid(13, 1), Hex("07"));
    }
};

QTEST_GUILESS_MAIN(TestSimScenario)
#include "tst_SimScenario.moc"

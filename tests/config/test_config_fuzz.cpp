// The reader against random and mutated files: it must neither crash nor
// hang, must refuse every line it cannot apply with exactly one log line,
// and must never hand the device a value its checks refuse.
#include "RecordingConfigDevice.h"

#include "config/TConfigLoader.h"

#include <QFile>
#include <QtTest>

#include <random>

namespace {

constexpr int FileCount = 100000;

const QList<QByteArray> Keys = {
    "Polling Address", "Loop Current Mode", "Tag", "Long Tag", "Descriptor", "Message", "Date", "Final Assem. No.",
    "PV Upper Range", "PV Lower Range", "PV Alarm Selection", "DV0 Unit", "DV1 Offset", "DV0 Damping", "DV9 Unit",
    "DV1 enabled", "DV3 enabled", "dv", "DV", "PV", "SV", "TV", "QV", "Protection Mode", "Sensor Upper Range", "SaveDate",
};
const QList<QByteArray> Values = {
    "", "0", "15", "16", "-1", "4294967296", "true", "FALSE", "x", "1.5", "6.000 meters", "-0.0", "1e39", "nan", "inf",
    "31.12.2155", "00.00.2024", "low (3,6 mA)", "Not Used", "dv3", "feet in sixteenths", "\xB0" "C", ";", " ; ; ",
    "0.250 centimeters extra words", "\x01\x7F\x80\xFF",
};
const QList<QByteArray> Separators = { ";", "\r\n", "\n", "\r", " ", "", "\0", "\xB0" };

class Random
{
public:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); }
    template <typename T> const T& Pick(const QList<T>& list) { return list.at(Below(int(list.size()))); }

private:
    std::mt19937 engine { 20261209 };
};

// A file as the program writes it, from which mutations start.
QByteArray SavedFile()
{
    QFile fixture(QStringLiteral(MERIDAL_CONFIG_FIXTURE));
    if (fixture.open(QIODevice::ReadOnly))
        return fixture.readAll();
    return QByteArray();
}

QByteArray RandomLines(Random& random)
{
    QByteArray file;
    for (int line = random.Below(12); line > 0; --line)
        file += random.Pick(Keys) + random.Pick(Separators) + random.Pick(Values) + random.Pick(Separators);
    return file;
}

QByteArray RandomBytes(Random& random)
{
    QByteArray file(random.Below(200), '\0');
    for (char& byte : file)
        byte = char(random.Below(256));
    return file;
}

QByteArray Mutated(Random& random, QByteArray file)
{
    for (int edit = 1 + random.Below(6); edit > 0 && !file.isEmpty(); --edit) {
        const int at = random.Below(int(file.size()));
        switch (random.Below(5)) {
        case 0: file[at] = char(random.Below(256)); break;
        case 1: file.insert(at, random.Pick(Separators)); break;
        case 2: file.insert(at, random.Pick(Values)); break;
        case 3: file.remove(at, random.Below(40)); break;
        default: file.insert(at, file.mid(random.Below(int(file.size())), random.Below(60))); break;
        }
    }
    return file;
}

// Between two "Processing key" statuses lies one line's work.
bool OneLogLinePerRefusedLine(const QStringList& events)
{
    int logs = 0;
    bool failed = false;
    for (const QString& event : events + QStringList { "status" }) {
        if (event == QLatin1String("status")) {
            if (logs > 1 || (failed && logs != 1))
                return false;
            logs = 0;
            failed = false;
        }
        logs += event == QLatin1String("log");
        failed = failed || event == QLatin1String("failure");
    }
    return true;
}

// What the device got passed the load's checks.
QString CheckedValuesBroken(const QStringList& calls)
{
    for (const QString& call : calls) {
        const QStringList part = call.split(QLatin1Char(' '));
        if (part[0] == QLatin1String("ChangePollingAddress") && part[1].toInt() > 15)
            return call;
        if (part[0].startsWith(QLatin1String("WriteDeviceVariable")) && part[1].toInt() > 3)
            return call;
        if ((part[0] == QLatin1String("WriteOffset") || part[0] == QLatin1String("WriteDampingValue")) && part[1].toInt() > 1)
            return call;
        if (part[0] == QLatin1String("WritePVRange") && !(part.last().toFloat() >= 0.0f && part[part.size() - 2].toFloat() <= 6.0f))
            return call;
    }
    return QString();
}

} // namespace

class TestConfigFuzz : public QObject
{
    Q_OBJECT

private slots:
    void readerSurvivesAnyFile()
    {
        const QByteArray saved = SavedFile();
        QVERIFY2(!saved.isEmpty(), MERIDAL_CONFIG_FIXTURE);
        const QList<QString> operations = { "ChangePollingAddress", "WriteTag", "WriteLongTag", "ReadPVLimits",
                                            "WritePVRange", "WriteDeviceVariableUnits", "ReadVariableAssignments",
                                            "WriteProtectionMode", "ReadOffsetUnit" };
        Random random;
        int refusedLines = 0;
        for (int n = 0; n < FileCount; ++n) {
            QByteArray file;
            switch (n % 3) {
            case 0: file = Mutated(random, saved); break;
            case 1: file = RandomLines(random); break;
            default: file = RandomBytes(random); break;
            }
            RecordingConfigDevice device;
            if (random.Below(4) == 0)
                device.FailOn.insert(random.Pick(operations), QStringLiteral("No answer"));
            TConfigLoader(device, n % 7 == 0 ? QStringLiteral("::") : QStringLiteral(";")).Load(file);
            if (!OneLogLinePerRefusedLine(device.Events))
                QFAIL(qPrintable(QStringLiteral("file %1: %2").arg(n).arg(QString::fromLatin1(file.toHex(' ')))));
            const QString broken = CheckedValuesBroken(device.Calls);
            QVERIFY2(broken.isEmpty(), qPrintable(broken));
            refusedLines += int(device.Log.size());
        }
        // The mix reaches the refusals, not only the silent paths.
        QVERIFY(refusedLines > FileCount / 4);
    }
};

QTEST_GUILESS_MAIN(TestConfigFuzz)
#include "test_config_fuzz.moc"

// The per-user settings store, on a settings directory of the test's own.
#include "ui/TRegistryTool.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

namespace {

const QString BasePath = QStringLiteral("\\Software\\KORVAL\\Meridal");
const QString Settings = QStringLiteral("Settings");
const QString Forms = QStringLiteral("Forms");

// The store as the platform keeps it outside Windows: organisation and
// application from the last two components of the base path.
std::unique_ptr<QSettings> NativeStore(const QString& application)
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KORVAL"),
                                       application);
}

} // namespace

class TestRegistryTool : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        settingsDir = std::make_unique<QTemporaryDir>();
        QVERIFY(settingsDir->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir->path());
    }

    void basePathEndsWithOneBackslash()
    {
        QCOMPARE(TRegistryTool(BasePath).BasePath(), QString("\\Software\\KORVAL\\Meridal\\"));
        QCOMPARE(TRegistryTool(BasePath + "\\").BasePath(), QString("\\Software\\KORVAL\\Meridal\\"));
    }

    void textRoundTrip()
    {
        TRegistryTool registry(BasePath);
        registry.WriteSetting(Settings, "COM", "5");
        registry.WriteSetting(Forms, "SaveConfigDialog.File", "C:\\Data\\HART-Dev 1234, tank 2.csv");

        TRegistryTool later(BasePath);
        QCOMPARE(later.ReadSetting(Settings, "COM", "-1"), QString("5"));
        QCOMPARE(later.ReadSetting(Forms, "SaveConfigDialog.File", ""), QString("C:\\Data\\HART-Dev 1234, tank 2.csv"));
    }

    void integerRoundTrip()
    {
        TRegistryTool registry(BasePath);
        registry.WriteIntSetting(Forms, "FormMain.Top", -20);
        registry.WriteIntSetting(Settings, "AutoRefresh", 30);

        QCOMPARE(registry.ReadIntSetting(Forms, "FormMain.Top", 100), -20);
        QCOMPARE(registry.ReadIntSetting(Settings, "AutoRefresh", 0), 30);
        QCOMPARE(registry.ReadSetting(Settings, "AutoRefresh", "0"), QString("30"));
    }

    void subkeysKeepTheirOwnValues()
    {
        TRegistryTool registry(BasePath);
        registry.WriteSetting(Settings, "Shared", "in Settings");
        registry.WriteSetting(Forms, "Shared", "in Forms");

        QCOMPARE(registry.ReadSetting(Settings, "Shared", ""), QString("in Settings"));
        QCOMPARE(registry.ReadSetting(Forms, "Shared", ""), QString("in Forms"));
    }

    void firstStartReadsTheDefaults()
    {
        TRegistryTool registry(BasePath);
        QCOMPARE(registry.ReadSetting(Settings, "COM", "-1"), QString("-1"));
        QCOMPARE(registry.ReadIntSetting(Settings, "COM", -1), -1);
        QCOMPARE(registry.ReadIntSetting(Forms, "FormDeviceStatus.Left", 160), 160);
        QCOMPARE(registry.ReadSetting(Forms, "LoadConfigDialog.File", ""), QString());
    }

    void emptyValueReadsAsDefault()
    {
        TRegistryTool registry(BasePath);
        registry.WriteSetting(Settings, "COM", "");
        QCOMPARE(registry.ReadSetting(Settings, "COM", "-1"), QString("-1"));
        QCOMPARE(registry.ReadIntSetting(Settings, "COM", -1), -1);
    }

    void nonIntegerReadsAsDefault_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("letters") << "Multidrop";
        QTest::newRow("fraction") << "1.5";
        QTest::newRow("trailing letters") << "7x";
        QTest::newRow("too large") << "99999999999";
    }

    void nonIntegerReadsAsDefault()
    {
        QFETCH(QString, stored);
        TRegistryTool registry(BasePath);
        registry.WriteSetting(Settings, "Multidrop", stored);
        QCOMPARE(registry.ReadIntSetting(Settings, "Multidrop", 0), 0);
        QCOMPARE(registry.ReadSetting(Settings, "Multidrop", "0"), stored);
    }

    void valueOfAnotherTypeReadsAsMissing()
    {
#ifdef Q_OS_WIN
        QSKIP("the registry's own value types are tested by hand");
#endif
        NativeStore("Meridal")->setValue("Settings/COM", QStringList{"5", "6"});
        TRegistryTool registry(BasePath);
        QCOMPARE(registry.ReadSetting(Settings, "COM", "-1"), QString("-1"));
        QCOMPARE(registry.ReadIntSetting(Settings, "COM", -1), -1);
    }

    void valuesAreStoredAsText()
    {
#ifdef Q_OS_WIN
        QSKIP("the registry's own value types are tested by hand");
#endif
        TRegistryTool(BasePath).WriteIntSetting(Settings, "AutoRefresh", 10);
        const QVariant stored = NativeStore("Meridal")->value("Settings/AutoRefresh");
        QCOMPARE(stored.typeId(), int(QMetaType::QString));
        QCOMPARE(stored.toString(), QString("10"));
    }

    void anotherBasePathIsAnotherStore()
    {
        TRegistryTool registry(BasePath);
        TRegistryTool demo(QStringLiteral("\\Software\\KORVAL\\Meridal Demo"));
        registry.WriteSetting(Settings, "COM", "5");
        demo.WriteSetting(Settings, "COM", "7");

        QCOMPARE(registry.ReadSetting(Settings, "COM", "-1"), QString("5"));
        QCOMPARE(demo.ReadSetting(Settings, "COM", "-1"), QString("7"));
    }

    void unwritableStoreIsSkippedSilently()
    {
#ifdef Q_OS_WIN
        QSKIP("needs a path that cannot hold a directory");
#endif
        // Nothing can be created below a device file, not even by root.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null/settings"));
        TRegistryTool registry(BasePath);
        registry.WriteSetting(Settings, "COM", "5");
        QCOMPARE(registry.ReadSetting(Settings, "COM", "-1"), QString("-1"));
    }

    void twoThreadsShareOneStore()
    {
        const int writesPerThread = 60;
        TRegistryTool registry(BasePath);
        auto writeAndReadBack = [&registry](const QString& subkey, const QString& prefix, int* mismatches) {
            for (int i = 0; i < writesPerThread; ++i) {
                const QString name = prefix + QString::number(i);
                registry.WriteIntSetting(subkey, name, i);
                if (registry.ReadIntSetting(subkey, name, -1) != i)
                    ++*mismatches;
            }
        };
        int deviceThreadMismatches = 0;
        int guiThreadMismatches = 0;
        std::thread deviceThread(writeAndReadBack, Settings, QStringLiteral("COM"), &deviceThreadMismatches);
        writeAndReadBack(Forms, QStringLiteral("Form"), &guiThreadMismatches);
        deviceThread.join();

        QCOMPARE(deviceThreadMismatches, 0);
        QCOMPARE(guiThreadMismatches, 0);
        TRegistryTool later(BasePath);
        for (int i = 0; i < writesPerThread; ++i) {
            QCOMPARE(later.ReadIntSetting(Settings, "COM" + QString::number(i), -1), i);
            QCOMPARE(later.ReadIntSetting(Forms, "Form" + QString::number(i), -1), i);
        }
    }

private:
    std::unique_ptr<QTemporaryDir> settingsDir;
};

QTEST_GUILESS_MAIN(TestRegistryTool)
#include "test_registry_tool.moc"

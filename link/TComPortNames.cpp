#include "link/TComPortNames.h"

#include "util/TIniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QMutex>

namespace {

// Run-wide overrides: the INI file's "Ports" section, read once, plus those set
// by SetOverride. Guarded because the device thread and the windows both open ports.
class PortOverrides
{
public:
    QString Lookup(int comNumber)
    {
        QMutexLocker lock(&mutex);
        loadIniOnce();
        return overrides.value(comNumber);
    }

    void Set(int comNumber, const QString& devicePath)
    {
        QMutexLocker lock(&mutex);
        loadIniOnce();
        overrides.insert(comNumber, devicePath);
    }

private:
    void loadIniOnce()
    {
        if (iniLoaded)
            return;
        iniLoaded = true;
        const TIniFile ini(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("KORVALMeridal.ini")));
        const QString section = QStringLiteral("Ports");
        for (const QString& key : ini.Keys(section)) {
            if (!key.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
                continue;
            bool ok = false;
            const int number = key.mid(3).toInt(&ok);
            const QString path = ini.ReadString(section, key, QString());
            if (ok && !path.isEmpty())
                overrides.insert(number, path);
        }
    }

    QMutex mutex;
    bool iniLoaded = false;
    QHash<int, QString> overrides;
};

PortOverrides& Overrides()
{
    static PortOverrides instance;
    return instance;
}

QString DefaultDevicePath(int comNumber)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(comNumber);
#else
    if (comNumber >= 1 && comNumber <= 4)
        return QStringLiteral("/dev/ttyS%1").arg(comNumber - 1);
    if (comNumber >= 5 && comNumber <= 12)
        return QStringLiteral("/dev/ttyUSB%1").arg(comNumber - 5);
    if (comNumber >= 13 && comNumber <= 20)
        return QStringLiteral("/dev/ttyACM%1").arg(comNumber - 13);
    return {};
#endif
}

} // namespace

QString TComPortNames::DevicePath(int comNumber)
{
    const QString overridden = Overrides().Lookup(comNumber);
    return overridden.isEmpty() ? DefaultDevicePath(comNumber) : overridden;
}

QString TComPortNames::DisplayName(int comNumber)
{
    const QString name = QStringLiteral("COM%1").arg(comNumber);
    const QString path = DevicePath(comNumber);
    if (path.isEmpty() || path == name)
        return name;
    return QStringLiteral("%1 (%2)").arg(name, path);
}

void TComPortNames::SetOverride(int comNumber, const QString& devicePath)
{
    Overrides().Set(comNumber, devicePath);
}

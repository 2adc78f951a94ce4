#include "link/TComPortNames.h"

#include "util/TIniFile.h"
#include "util/UIniLocation.h"

#include <QHash>
#include <QMutex>

namespace {

// The section "Ports" of an INI file: COM number -> device node.
QHash<int, QString> PortsOfIniFile(const QString& iniPath)
{
    QHash<int, QString> ports;
    const TIniFile ini(iniPath);
    const QString section = QStringLiteral("Ports");
    for (const QString& key : ini.Keys(section)) {
        if (!key.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int number = key.mid(3).toInt(&ok);
        const QString path = ini.ReadString(section, key, QString());
        if (ok && !path.isEmpty())
            ports.insert(number, path);
    }
    return ports;
}

// Run-wide overrides: those set by SetOverride, then the INI file's, read
// once. Guarded because the device thread and the windows both open ports.
class PortOverrides
{
public:
    QString Lookup(int comNumber)
    {
        QMutexLocker lock(&mutex);
        if (!iniLoaded)
            useIniFile(IniFilePath());
        return set.value(comNumber, fromIni.value(comNumber));
    }

    void Set(int comNumber, const QString& devicePath)
    {
        QMutexLocker lock(&mutex);
        set.insert(comNumber, devicePath);
    }

    void UseIniFile(const QString& iniPath)
    {
        QMutexLocker lock(&mutex);
        useIniFile(iniPath);
    }

private:
    void useIniFile(const QString& iniPath)
    {
        fromIni = PortsOfIniFile(iniPath);
        iniLoaded = true;
    }

    QMutex mutex;
    bool iniLoaded = false;
    QHash<int, QString> fromIni;
    QHash<int, QString> set;
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

void TComPortNames::UseIniFile(const QString& iniPath)
{
    Overrides().UseIniFile(iniPath);
}

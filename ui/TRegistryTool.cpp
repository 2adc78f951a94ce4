#include "ui/TRegistryTool.h"

#include <QMutexLocker>
#include <QSettings>
#include <QStringList>

namespace {

const QChar Backslash = QLatin1Char('\\');

} // namespace

TRegistryTool::TRegistryTool(const QString& basePath)
    : basePath(basePath.endsWith(Backslash) ? basePath : basePath + Backslash)
{
}

TRegistryTool::~TRegistryTool() = default;

QString TRegistryTool::ReadSetting(const QString& subkey, const QString& valueName, const QString& defaultText) const
{
    QMutexLocker locked(&lock);
    const std::unique_ptr<QSettings> store = openSubkey(subkey);
    if (store->status() != QSettings::NoError)
        return defaultText;
    const QVariant value = store->value(valueName);
    if (value.typeId() != QMetaType::QString)
        return defaultText;
    const QString text = value.toString();
    return text.isEmpty() ? defaultText : text;
}

void TRegistryTool::WriteSetting(const QString& subkey, const QString& valueName, const QString& text)
{
    QMutexLocker locked(&lock);
    const std::unique_ptr<QSettings> store = openSubkey(subkey);
    if (store->isWritable())
        store->setValue(valueName, text);
    // Destroying the store writes it out; a failure there is dropped on purpose.
}

int TRegistryTool::ReadIntSetting(const QString& subkey, const QString& valueName, int defaultValue) const
{
    bool isDecimal = false;
    const int value = ReadSetting(subkey, valueName, QString::number(defaultValue)).toInt(&isDecimal, 10);
    return isDecimal ? value : defaultValue;
}

void TRegistryTool::WriteIntSetting(const QString& subkey, const QString& valueName, int value)
{
    WriteSetting(subkey, valueName, QString::number(value));
}

// Opened afresh for every operation, like a registry key: each thread gets
// its own object, and every write reaches the disk before the call returns.
std::unique_ptr<QSettings> TRegistryTool::openSubkey(const QString& subkey) const
{
#ifdef Q_OS_WIN
    auto store = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER") + basePath + subkey,
                                             QSettings::NativeFormat);
#else
    const QStringList components = basePath.split(Backslash, Qt::SkipEmptyParts);
    const QString application = components.value(components.size() - 1);
    const QString organisation = components.value(components.size() - 2);
    auto store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
    store->beginGroup(subkey);
#endif
    return store;
}

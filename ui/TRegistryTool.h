#pragma once

#include "worker/TSettingsWriter.h"

#include <QMutex>
#include <QString>

#include <memory>

class QSettings;

// The per-user settings store: text values in subkeys ("Settings", "Forms")
// below a base key such as "\Software\KORVAL\Meridal".
//
// On Windows the base key is that key below HKEY_CURRENT_USER. Elsewhere it
// is the platform's native per-user store of the organisation and
// application named by the last two components of the base path, so
// "\Software\KORVAL\Meridal Demo" is a store of its own.
//
// Every value is stored as text; a value of another type counts as missing.
// Reads never fail (they fall back to the default) and a write that cannot
// be made is dropped: settings must never stop the program. The GUI thread
// and the device thread use one instance at the same time, so each
// operation holds the lock for its whole length.
class TRegistryTool : public TSettingsWriter
{
public:
    explicit TRegistryTool(const QString& basePath);
    ~TRegistryTool() override;

    // The base path, always with a trailing backslash.
    const QString& BasePath() const { return basePath; }

    // The stored text, or defaultText when it is missing, empty or unreadable.
    QString ReadSetting(const QString& subkey, const QString& valueName, const QString& defaultText) const;
    void WriteSetting(const QString& subkey, const QString& valueName, const QString& text) override;

    // The stored decimal integer, or defaultValue when there is none.
    int ReadIntSetting(const QString& subkey, const QString& valueName, int defaultValue) const;
    void WriteIntSetting(const QString& subkey, const QString& valueName, int value);

private:
    std::unique_ptr<QSettings> openSubkey(const QString& subkey) const;

    QString basePath;
    mutable QMutex lock;
};

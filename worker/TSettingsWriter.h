#pragma once

#include <QString>

// A per-user settings store the device thread may write to. Implementations
// must be safe to call from the device thread and the GUI thread at once.
class TSettingsWriter
{
public:
    virtual ~TSettingsWriter() = default;
    virtual void WriteSetting(const QString& subkey, const QString& valueName, const QString& text) = 0;
};

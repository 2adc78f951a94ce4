#pragma once

#include <QPoint>
#include <QString>

class QWidget;
class TRegistryTool;

// A window's place, stored per user as "<form>.Top" and "<form>.Left" in
// the subkey "Forms", so that it stands where the user left it last time.

// Moves the window to its stored place. A coordinate that is missing or lies
// beyond the screen gives the default's (a screen may have shrunk since).
void RestoreFormPosition(QWidget& form, const TRegistryTool& settings, const QString& formName, const QPoint& defaultPlace);
void StoreFormPosition(const QWidget& form, TRegistryTool& settings, const QString& formName);

#pragma once

#include <QPoint>
#include <QString>

class QWidget;
class TRegistryTool;

// A window's place, stored per user as "<form>.Top" and "<form>.Left" in
// the subkey "Forms", so that it stands where the user left it last time.

// A window's place is the top left corner of its inside, below the caption:
// a move made before the window manager has framed the window places the
// inside, one made after places the frame, so a frame's corner stored and
// restored would creep up by the caption's height every session.
QPoint WindowPlace(const QWidget& window);
void PlaceWindow(QWidget& window, const QPoint& place);

// Moves the window to its stored place. A coordinate that is missing or lies
// beyond the screen gives the default's (a screen may have shrunk since).
void RestoreFormPosition(QWidget& form, const TRegistryTool& settings, const QString& formName, const QPoint& defaultPlace);
void StoreFormPosition(const QWidget& form, TRegistryTool& settings, const QString& formName);

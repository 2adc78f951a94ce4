#pragma once

#include <QString>
#include <Qt>

class QWidget;

// Keys as a user's keyboard delivers them: to the widget that has the
// keyboard focus in the active window, never to an object the test picks.

// Makes the window the active one, as a click on its caption does, and
// returns the widget that then has the keyboard focus; null when the
// window could not be activated.
QWidget* FocusIn(QWidget* window);
// One key pressed and released, to the focused widget.
void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Replaces the focused entry's text by typing it (Ctrl+A, then each key).
void TypeText(const QString& text);

#pragma once

#include <QColor>

class QWidget;

// The background colour of a control paints its change-tracking state: an
// edited, unsaved entry shows ModifiedColor, every other one its normal
// colour (white for edits and drop-down lists, the button face for check
// boxes).

inline const QColor ModifiedColor(255, 128, 255);

QColor NormalColor(const QWidget* control);
QColor ControlColor(const QWidget* control);
void SetControlColor(QWidget* control, const QColor& color);

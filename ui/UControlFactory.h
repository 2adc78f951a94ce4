#pragma once

#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The small factories every window builds its controls with. A control's
// object name is its documented name, by which the window's field view and
// the tests find it.

template<typename T>
T* Named(T* control, const QString& name)
{
    control->setObjectName(name);
    return control;
}

QLabel* Caption(const QString& text);
QLineEdit* TextEdit(const QString& name, int maxLength);
// Written by the device thread only.
QLineEdit* ReadOnlyEdit(const QString& name);
QLineEdit* NumericEdit(const QString& name, const QString& initial = QStringLiteral("0"));
// A live value the device reports: the user cannot change it, but reads it
// in the normal text colour (a disabled field's grey is hard to read).
QLineEdit* DisplayEdit(const QString& name, const QString& initial = QStringLiteral("0"));
QComboBox* DropDown(const QString& name, const QStringList& items);
QCheckBox* Check(const QString& name, const QString& text);
QGroupBox* Group(const QString& name, const QString& title);
QPushButton* Button(const QString& name, const QString& text);
// A caption, a field and optionally a unit in one grid row.
void Row(QGridLayout* grid, QWidget* caption, QWidget* field, QWidget* unit = nullptr);

#include "ui/UControlFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLabel* Caption(const QString& text)
{
    return new QLabel(text);
}

QLineEdit* TextEdit(const QString& name, int maxLength)
{
    auto* edit = Named(new QLineEdit, name);
    edit->setMaxLength(maxLength);
    return edit;
}

QLineEdit* ReadOnlyEdit(const QString& name)
{
    auto* edit = Named(new QLineEdit, name);
    edit->setReadOnly(true);
    return edit;
}

QLineEdit* NumericEdit(const QString& name, const QString& initial)
{
    auto* edit = Named(new QLineEdit(initial), name);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QLineEdit* DisplayEdit(const QString& name, const QString& initial)
{
    auto* edit = NumericEdit(name, initial);
    edit->setReadOnly(true);
    return edit;
}

QComboBox* DropDown(const QString& name, const QStringList& items)
{
    auto* combo = Named(new QComboBox, name);
    combo->addItems(items);
    return combo;
}

QCheckBox* Check(const QString& name, const QString& text)
{
    return Named(new QCheckBox(text), name);
}

QGroupBox* Group(const QString& name, const QString& title)
{
    return Named(new QGroupBox(title), name);
}

QPushButton* Button(const QString& name, const QString& text)
{
    return Named(new QPushButton(text), name);
}

void Row(QGridLayout* grid, QWidget* caption, QWidget* field, QWidget* unit)
{
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0);
    grid->addWidget(field, row, 1);
    if (unit)
        grid->addWidget(unit, row, 2);
}

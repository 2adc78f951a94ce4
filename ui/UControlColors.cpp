#include "ui/UControlColors.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>

namespace {

// The palette role that paints the control's background: the text area of
// edits and lists; for a check box, the role it fills its background with
// (Button, as every button kind).
QPalette::ColorRole BackgroundRole(const QWidget* control)
{
    if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QComboBox*>(control))
        return QPalette::Base;
    return control->backgroundRole();
}

} // namespace

QColor NormalColor(const QWidget* control)
{
    if (qobject_cast<const QCheckBox*>(control))
        return QApplication::palette().color(QPalette::Button);
    return QColor(Qt::white);
}

QColor ControlColor(const QWidget* control)
{
    return control->palette().color(BackgroundRole(control));
}

void SetControlColor(QWidget* control, const QColor& color)
{
    QPalette palette = control->palette();
    palette.setColor(BackgroundRole(control), color);
    // A closed drop-down list paints its face with the button colour.
    if (qobject_cast<QComboBox*>(control))
        palette.setColor(QPalette::Button, color);
    control->setPalette(palette);
    // A check box in its normal colour lets the page show through.
    if (BackgroundRole(control) != QPalette::Base)
        control->setAutoFillBackground(color != NormalColor(control));
}

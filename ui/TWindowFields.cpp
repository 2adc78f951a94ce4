#include "ui/TWindowFields.h"

#include "ui/TFieldTracking.h"
#include "util/Exceptions.h"
#include "util/UPresentation.h"
#include "worker/TFieldTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>

namespace {

// A page of a tab control: the page widget sits in the tab widget's stack.
QTabWidget* TabWidgetOf(QObject* control)
{
    auto* page = qobject_cast<QWidget*>(control);
    auto* stack = page ? qobject_cast<QStackedWidget*>(page->parentWidget()) : nullptr;
    return stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

} // namespace

TWindowFields::TWindowFields(const QList<QWidget*>& windows, TFieldTracking& tracking)
    : windows(windows)
    , tracking(tracking)
{
}

QObject* TWindowFields::Find(const QList<QWidget*>& windows, TField field)
{
    const QString name = FieldName(field);
    for (QWidget* window : windows) {
        if (window->objectName() == name)
            return window;
        if (auto* child = window->findChild<QObject*>(name))
            return child;
    }
    throw Exception(QStringLiteral("Control \"%1\" does not exist.").arg(name));
}

QObject* TWindowFields::Control(TField field)
{
    QObject*& control = controls[int(field)];
    if (!control)
        control = Find(windows, field);
    return control;
}

QWidget* TWindowFields::Widget(TField field)
{
    return qobject_cast<QWidget*>(Control(field));
}

QString TWindowFields::Text(TField field)
{
    QObject* control = Control(field);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        return memo->toPlainText();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    return QString();
}

void TWindowFields::SetText(TField field, const QString& text)
{
    QObject* control = Control(field);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        memo->setPlainText(text);
}

int TWindowFields::ItemIndex(TField field)
{
    auto* combo = qobject_cast<QComboBox*>(Control(field));
    return combo ? combo->currentIndex() : -1;
}

void TWindowFields::SetItemIndex(TField field, int index)
{
    if (auto* combo = qobject_cast<QComboBox*>(Control(field)))
        combo->setCurrentIndex(index < combo->count() ? index : -1);
}

void TWindowFields::SelectItem(TField field, const QString& text)
{
    auto* combo = qobject_cast<QComboBox*>(Control(field));
    const int index = combo ? combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) : -1;
    if (index >= 0)
        combo->setCurrentIndex(index);
}

void TWindowFields::AddMappingChoice(const QString& name)
{
    if (qobject_cast<QComboBox*>(Control(TField::ComboBoxDynDevSV))->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
        return;
    for (TField field : MappingFields) {
        // The primary variable is always mapped to a device variable.
        if (field != TField::ComboBoxDynDevPV || name != QLatin1String("Not Used"))
            qobject_cast<QComboBox*>(Control(field))->addItem(name);
    }
}

bool TWindowFields::Checked(TField field)
{
    auto* check = qobject_cast<QCheckBox*>(Control(field));
    return check && check->isChecked();
}

void TWindowFields::SetChecked(TField field, bool checked)
{
    if (auto* check = qobject_cast<QCheckBox*>(Control(field)))
        check->setChecked(checked);
}

bool TWindowFields::Visible(TField field)
{
    QWidget* widget = Widget(field);
    return widget && !widget->isHidden();
}

void TWindowFields::SetVisible(TField field, bool visible)
{
    if (QTabWidget* tabs = TabWidgetOf(Control(field)))
        tabs->setTabVisible(tabs->indexOf(Widget(field)), visible);
    else if (QWidget* widget = Widget(field))
        widget->setVisible(visible);
}

// The control's own state: while a job runs the whole tab control is
// disabled, which isEnabled() would report for every control on it.
bool TWindowFields::Enabled(TField field)
{
    QWidget* widget = Widget(field);
    return widget && !widget->testAttribute(Qt::WA_ForceDisabled);
}

void TWindowFields::SetEnabled(TField field, bool enabled)
{
    if (auto* timer = qobject_cast<QTimer*>(Control(field))) {
        if (enabled)
            timer->start();
        else
            timer->stop();
    } else if (QWidget* widget = Widget(field)) {
        widget->setEnabled(enabled);
    }
}

void TWindowFields::SetCaption(TField field, const QString& text)
{
    QObject* control = Control(field);
    if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
    else if (auto* check = qobject_cast<QCheckBox*>(control))
        check->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
}

void TWindowFields::SetHint(TField field, const QString& text)
{
    if (QWidget* widget = Widget(field))
        widget->setToolTip(DisplayText(text));
}

void TWindowFields::SetProgress(TField field, int position)
{
    if (auto* bar = qobject_cast<QProgressBar*>(Control(field)))
        bar->setValue(position);
}

bool TWindowFields::Modified(TField field)
{
    return tracking.IsModified(Widget(field));
}

void TWindowFields::Accept(TField field)
{
    tracking.AcceptControlValue(Widget(field));
}

void TWindowFields::Discard(TField field)
{
    tracking.DiscardEntry(Widget(field));
}

void TWindowFields::AcceptTab(bool complete)
{
    tracking.AcceptTabValues(complete);
}

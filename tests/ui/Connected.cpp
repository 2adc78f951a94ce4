#include "Connected.h"

#include "ui/UControlColors.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

Connected::Connected(const TSimDeviceState& probe, const QByteArray& ini)
    : rig(ini)
    , identified(rig.StartWith(probe))
{
}

void Connected::ClickTab(TPage page)
{
    QTabBar* bar = rig.C().PageControl->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(int(page)).center());
}

bool Connected::Show(TPage page)
{
    ClickTab(page);
    return rig.C().PageControl->currentIndex() == int(page) && rig.WaitUntilIdle();
}

void Connected::Type(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    TypeAtCursor(edit, text);
}

void Connected::TypeAtCursor(QLineEdit* edit, const QString& text)
{
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
    }
}

void Connected::Choose(QComboBox* combo, const QString& item)
{
    const int target = combo->findText(item);
    QVERIFY2(target >= 0, qPrintable(item));
    combo->setFocus();
    while (combo->currentIndex() < target)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > target)
        QTest::keyClick(combo, Qt::Key_Up);
}

void Connected::Click(QWidget* control)
{
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
}

bool Connected::ClickAndWait(QWidget* control)
{
    if (!control->isEnabled() || !control->isVisible())
        return false;
    Click(control);
    return rig.WaitUntilIdle();
}

bool Modified(QWidget* control)
{
    return ControlColor(control) == ModifiedColor;
}

QList<int> Commands(const TSimBus& bus)
{
    QList<int> commands;
    for (const TSimExchange& exchange : bus.Log())
        commands << exchange.Command;
    return commands;
}

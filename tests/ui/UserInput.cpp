#include "UserInput.h"

#include <QApplication>
#include <QtTest>

QWidget* FocusIn(QWidget* window)
{
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return nullptr;
    return QApplication::focusWidget();
}

void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

void TypeText(const QString& text)
{
    PressKey(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), text);
}

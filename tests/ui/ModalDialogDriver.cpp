#include "ModalDialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QtTest>

ModalDialogDriver::ModalDialogDriver(std::function<void(QWidget*)> act)
    : act(std::move(act))
{
    QObject::connect(&timer, &QTimer::timeout, [this] { poll(); });
    timer.start(10);
}

void ModalDialogDriver::poll()
{
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible())
        return;
    timer.stop();
    acted = true;
    act(dialog);
}

void ClickButton(QWidget* dialog, const QString& caption)
{
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text() == caption && button->isVisible()) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QTest::qFail(qPrintable(QStringLiteral("no button \"%1\"").arg(caption)), __FILE__, __LINE__);
    dialog->close();
}

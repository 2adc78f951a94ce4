#include "DialogScript.h"

#include "ModalDialogDriver.h"

#include <QApplication>
#include <QAbstractButton>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

DialogScript::DialogScript(QList<Action> actions)
    : actions(std::move(actions))
{
    QObject::connect(&timer, &QTimer::timeout, [this] { poll(); });
    timer.start(10);
}

void DialogScript::poll()
{
    QWidget* dialog = QApplication::activeModalWidget();
    // Wait until the dialog acted on has gone before taking the next one.
    if (current && current->isVisible())
        return;
    if (!dialog || !dialog->isVisible() || done == actions.size() || ignored.contains(dialog))
        return;
    current = dialog;
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        Texts << box->text();
        Titles << box->windowTitle();
    } else if (auto* input = qobject_cast<QInputDialog*>(dialog)) {
        Texts << input->labelText();
        Titles << input->windowTitle();
    } else if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
        Texts << files->directory().filePath(files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text());
        Titles << files->objectName();
    }
    actions.at(done++)(dialog);
}

DialogScript::Action Press(const QString& caption)
{
    return [caption](QWidget* dialog) { ClickButton(dialog, caption); };
}

DialogScript::Action Answer(int standardButton)
{
    return [standardButton](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        QAbstractButton* button = box ? box->button(QMessageBox::StandardButton(standardButton)) : nullptr;
        if (!button) {
            QTest::qFail("no such message box button", __FILE__, __LINE__);
            dialog->close();
            return;
        }
        button->click();
    };
}

DialogScript::Action Enter(const QString& text)
{
    return [text](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>();
        if (!edit) {
            QTest::qFail("no input box", __FILE__, __LINE__);
            dialog->close();
            return;
        }
        edit->selectAll();
        QTest::keyClicks(edit, text);
        ClickButton(dialog, QStringLiteral("OK"));
    };
}

DialogScript::Action ChooseFile(const QString& path)
{
    return [path](QWidget* dialog) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!qobject_cast<QFileDialog*>(dialog) || !name) {
            QTest::qFail("no file dialog", __FILE__, __LINE__);
            dialog->close();
            return;
        }
        // Typed at once: the completer's list would take the Enter key.
        name->setFocus();
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    };
}

#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

// Answers the modal dialogs the code under test opens, one action per
// dialog, in the order they appear. The texts of message boxes and the
// prompts of input boxes are collected.
class DialogScript
{
public:
    using Action = std::function<void(QWidget* dialog)>;

    explicit DialogScript(QList<Action> actions);

    // A modal window the test drives itself, not one of the script's dialogs.
    void Ignore(QWidget* window) { ignored << window; }

    // Dialogs acted on so far.
    int Done() const { return done; }
    // The texts of the message boxes and input boxes met, in order; for a
    // file dialog, the path it suggested (folder and file name).
    QStringList Texts;
    QStringList Titles;

private:
    void poll();

    QList<Action> actions;
    QList<QPointer<QWidget>> ignored;
    QPointer<QWidget> current;
    QTimer timer;
    int done = 0;
};

// Actions: press the button with this caption, or this standard button of a
// message box, or type a text into an input box and press OK.
DialogScript::Action Press(const QString& caption);
DialogScript::Action Answer(int standardButton);
DialogScript::Action Enter(const QString& text);
// Types the path into a file dialog's name field and presses Enter.
DialogScript::Action ChooseFile(const QString& path);

#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

// Answers the modal dialogs the code under test opens, one action per
// dialog, in the order they appear. Message box texts are collected.
class DialogScript
{
public:
    using Action = std::function<void(QWidget* dialog)>;

    explicit DialogScript(QList<Action> actions);

    // Dialogs acted on so far.
    int Done() const { return done; }
    // The texts of the message boxes met, in order.
    QStringList Texts;
    QStringList Titles;

private:
    void poll();

    QList<Action> actions;
    QPointer<QWidget> current;
    QTimer timer;
    int done = 0;
};

// Actions: press the button with this caption, or this standard button of a
// message box.
DialogScript::Action Press(const QString& caption);
DialogScript::Action Answer(int standardButton);

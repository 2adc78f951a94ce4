#pragma once

#include "worker/TQuestion.h"

#include <QPointer>

#include <functional>

class QDialog;
class QWidget;
class TMessageDialog;

// The device jobs' questions as dialogs: a warning with Yes and No, a text
// input, the polling search's choice, the error box. A dialog is opened, not
// executed, so that the GUI thread goes on with its events while it is open.
class TQuestionDialogs
{
public:
    // The search's choice is a window of `owner`; the others belong to the
    // window active when they open.
    TQuestionDialogs(QWidget* owner, const TMessageDialog& messages);

    // `answered` runs once, when the dialog closes.
    void Open(const TQuestion& question, std::function<void(const TAnswer&)> answered);
    // Closes the open dialog as if cancelled.
    void Cancel();

private:
    QDialog* create(const TQuestion& question);

    QWidget* owner;
    const TMessageDialog& messages;
    QPointer<QDialog> open;
};

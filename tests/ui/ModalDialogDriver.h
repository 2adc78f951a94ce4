#pragma once

#include <QString>
#include <QTimer>

#include <functional>

class QWidget;

// Acts on the next modal dialog that the code under test opens. Create it
// just before the call that runs the dialog: it waits, inside that dialog's
// own event loop, until the dialog is shown and then runs `act` on it once.
class ModalDialogDriver
{
public:
    explicit ModalDialogDriver(std::function<void(QWidget* dialog)> act);

    // Whether a modal dialog was shown and acted on.
    bool Acted() const { return acted; }

private:
    void poll();

    std::function<void(QWidget*)> act;
    QTimer timer;
    bool acted = false;
};

// Clicks the dialog's button with exactly this caption. A missing button
// fails the test and closes the dialog, so that the test cannot hang.
void ClickButton(QWidget* dialog, const QString& caption);

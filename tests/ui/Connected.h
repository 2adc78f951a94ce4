#pragma once

#include "ProgramRig.h"
#include "worker/TField.h"

class QComboBox;
class QLineEdit;
class QWidget;

// The program, connected to one probe and done with its first
// identification, driven the way a user drives it.
struct Connected
{
    explicit Connected(const TSimDeviceState& probe, const QByteArray& ini = {});

    // Selects a tab the way a user does: a click on its tab.
    void ClickTab(TPage page);
    // Opens a tab (which reads it) and waits for the read to end.
    bool Show(TPage page);
    // Replaces the text by typing, one key per character (also 8-bit ones).
    void Type(QLineEdit* edit, const QString& text);
    void TypeAtCursor(QLineEdit* edit, const QString& text);
    // Picks an item of a closed drop-down list with the arrow keys.
    void Choose(QComboBox* combo, const QString& item);
    // A click near the left edge: on a check box's box, on a button's face.
    void Click(QWidget* control);
    // Clicks an enabled button and waits until the job it started has ended;
    // false when the button could not be clicked or the job did not end.
    bool ClickAndWait(QWidget* control);

    ProgramRig rig;
    bool identified = false;
};

// The commands of the requests the bus received, in order.
QList<int> Commands(const TSimBus& bus);

// Whether the control shows the modified colour of an unsaved edit.
bool Modified(QWidget* control);

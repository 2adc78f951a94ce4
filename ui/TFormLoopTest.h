#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class TFormProtokoll;
class TMessageDialog;
class TRegistryTool;

// The loop test dialog: drives the probe's output to a chosen current and
// shows the current the device reports. Closing it leaves fixed current
// mode; while a command is still running it refuses to close, so that the
// release cannot be skipped, and it closes only once the device has
// confirmed the release. It stands where the user left it last time.
class TFormLoopTest : public QDialog
{
    Q_OBJECT

public:
    TFormLoopTest(TRegistryTool& settings, TFormProtokoll& responseLog, TMessageDialog& messages,
                  QWidget* parent = nullptr);

    // "Start": fixes the current typed or chosen, when the device thread is idle.
    void ButtonStartClick();
    // "Close", Escape and the close box: leaves fixed current mode, unless a
    // command is still running, and closes once the device has confirmed it.
    void reject() override;
    // After every device job: a release confirmed closes the dialog; one not
    // confirmed says that the output is still fixed.
    void JobEnded();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Whether the dialog may close at once; starts the release of the output
    // when the device thread is idle.
    bool leaveLoopTest();
    void closeDialog();
    void restorePosition();
    void storePosition();

    TRegistryTool& settings;
    TFormProtokoll& responseLog;
    TMessageDialog& messages;
    QComboBox* loopValue;
    QLineEdit* fixedAt;
    QWidget* stillFixed;
    bool releasing = false;
};

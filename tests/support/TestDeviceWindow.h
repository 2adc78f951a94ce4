#pragma once

#include "commands/TDeviceStatus.h"
#include "ui/TFieldTracking.h"
#include "ui/TMessageDialog.h"
#include "ui/TQuestionDialogs.h"
#include "ui/TWindowFields.h"
#include "worker/TDeviceWindow.h"
#include "worker/TSettingsWriter.h"

#include <QSet>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QTabWidget;
class QTimer;

// A small stand-in for the main window: the kinds of controls the device
// thread touches, named as the field table names them, and a record of what
// the thread asked of the window. Questions with Yes and No or an input open
// as the program's dialogs; the search's choice and the error box are
// answered from a script and recorded.
class TestDeviceWindow : public QWidget, public TDeviceWindow, public TSettingsWriter, public TFieldTracking
{
    Q_OBJECT

public:
    TestDeviceWindow();

    TWindowFields& Fields() override { return fields; }
    void LockUI() override;
    void UnlockUI(bool deviceKnown, bool refreshAllowed) override;
    void ShowAnswerStatus(TComportHART* sender, const TDeviceStatus& status) override;
    void ShowStatus(const QString& text) override;
    void AddResponseLogLine(const QString& line) override { responseLog.append(line); }
    bool ResponseLogContains(const QString& text) override;
    QStringList ResponseLogLines() override { return responseLog; }
    void ClearResponseLog() override { responseLog.clear(); }
    void OpenQuestion(const TQuestion& question, std::function<void(const TAnswer&)> answered) override;
    void CancelQuestion() override { dialogs.Cancel(); }
    void SetLifeListAddress(int row) override { lifeListRow = row; }
    void WriteSetting(const QString& subkey, const QString& valueName, const QString& text) override;

    bool IsModified(QWidget* control) const override { return Modified.contains(control); }
    void AcceptControlValue(QWidget* control) override;
    void DiscardEntry(QWidget* control) override;
    void AcceptTabValues(bool complete) override;

    // What the thread did, in order: "LockUI", "UnlockUI device=1 refresh=1", ...
    QStringList Calls;
    QList<TDeviceStatus> Statuses;
    QStringList responseLog;
    QStringList Errors;                   // the messages of the error boxes
    QStringList ZeroRetryQuestions;
    QList<int> ZeroRetryAnswers;          // button results handed out in turn; then 0
    QStringList Settings;                 // "Settings/COM=5"
    QSet<QWidget*> Modified;              // the controls the user changed
    int lifeListRow = -1;
    // Run inside AcceptControlValue, e.g. to make the GUI side fail.
    std::function<void(QWidget*)> OnAccept;

    QLabel* statusPanel;
    QLabel* labelUnplugWarning;
    QLineEdit* editTag;
    QComboBox* comboPollingAddress;
    QCheckBox* checkLoopCurrentMode;
    QGroupBox* groupDV0;
    QTabWidget* pageControl;
    QWidget* tabIdentification;
    QWidget* tabDiagnostics;
    QTimer* timerDiagnostics;
    QProgressBar* progressQuality;
    QPlainTextEdit* memo;
    QComboBox* dynPV;
    QComboBox* dynSV;
    QComboBox* dynTV;
    QComboBox* dynQV;

private:
    TWindowFields fields;
    TMessageDialog messages;
    TQuestionDialogs dialogs;
};

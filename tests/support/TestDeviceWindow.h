#pragma once

#include "commands/TDeviceStatus.h"
#include "worker/TDeviceWindow.h"
#include "worker/TSettingsWriter.h"

#include <QWidget>

#include <functional>

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
// thread touches, named as on the main window, and a record of what the
// thread asked of the window.
class TestDeviceWindow : public QWidget, public TDeviceWindow, public TSettingsWriter
{
    Q_OBJECT

public:
    TestDeviceWindow();

    QList<QWidget*> Forms() override { return { this }; }
    QLabel* StatusPanel() override { return statusPanel; }
    void LockUI() override;
    void UnlockUI(bool deviceKnown, bool refreshAllowed) override;
    void ShowAnswerStatus(TComportHART* sender, const TDeviceStatus& status) override;
    void AcceptControlValue(QObject* control) override;
    void AcceptTabValues(bool complete) override;
    void AddResponseLogLine(const QString& line) override { responseLog.append(line); }
    bool ResponseLogContains(const QString& text) override;
    QStringList ResponseLogLines() override { return responseLog; }
    void ClearResponseLog() override { responseLog.clear(); }
    QDialog* CreateZeroRetryDialog(const QString& content) override;
    void SetLifeListAddress(int row) override { lifeListRow = row; }
    void WriteSetting(const QString& subkey, const QString& valueName, const QString& text) override;

    // What the thread did, in order: "LockUI", "UnlockUI device=1 refresh=1", ...
    QStringList Calls;
    QList<TDeviceStatus> Statuses;
    QStringList responseLog;
    QStringList ZeroRetryQuestions;
    QList<int> ZeroRetryAnswers;          // button results handed out in turn; then 0
    QStringList Settings;                 // "Settings/COM=5"
    int lifeListRow = -1;
    // Run inside AcceptControlValue, e.g. to make the GUI side fail.
    std::function<void(QObject*)> OnAccept;

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
};

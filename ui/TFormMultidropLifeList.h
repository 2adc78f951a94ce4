#pragma once

#include "worker/TLifeListAnswer.h"

#include <QDialog>

class QPushButton;
class QTableWidget;
class TBalloonHint;
class TMessageDialog;

// The multidrop life list: one row per polling address 0-15 with the device
// found there, its tag, status and current values. The user scans the bus,
// refreshes the values of the devices found, and picks the device the main
// window works with. The window lives as long as the program; its list
// survives between showings.
//
// While a scan or refresh runs, its button reads "Stop" and the window
// refuses to close; the row being worked on is marked yellow.
class TFormMultidropLifeList : public QDialog
{
    Q_OBJECT

public:
    explicit TFormMultidropLifeList(TMessageDialog& messages, QWidget* parent = nullptr);

    // Set by the caller once the window was closed with "Select Device":
    // showing it again shows the list as it was, without a scan.
    bool DeviceSelected = false;

    // Start their job, or stop it while it runs.
    void ButtonRescanClick();
    void ButtonRefreshClick();
    // Identifies the device of the selected row and closes with OK.
    void ButtonSelectDeviceClick();
    // "Close", Escape and the close box: refused while a job runs.
    void reject() override;

    // --- The device thread's jobs, on the GUI thread ---
    void ScanRowHandler(const TLifeListAnswer& row);
    void RefreshRowHandler(const TLifeListAnswer& row);
    // Grid row 1-16 (polling address + 1) being worked on; 255 for none.
    void SetHighlightedRow(int row);
    // After every device job. A job that ended through an error delivered
    // no last row: the window is idle all the same.
    void JobEnded();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class TState { Idle, Scanning, Refreshing };

    void buildGrid();
    void startOrStop(TState job);
    void enterState(TState newState);
    void updateButtons();
    // Writes the columns a scan, or only those a refresh, fills.
    void showRow(const TLifeListAnswer& row, bool refreshed);
    int selectedAddress() const;
    QString cellText(int address, int column) const;
    void showStatusHint(const QPoint& position);

    TMessageDialog& messages;
    TArrayLifeListAnswer answers;
    TState state = TState::Idle;
    int highlightedRow = 255;
    QTableWidget* grid;
    QPushButton* rescan;
    QPushButton* refresh;
    QPushButton* selectDevice;
    QPushButton* close;
    TBalloonHint* balloon;
};

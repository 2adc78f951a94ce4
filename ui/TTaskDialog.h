#pragma once

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QLabel;
class QPushButton;

// A task-style question: a bold instruction above a content text, an icon,
// and buttons of the caller's own, each with the result Execute() returns
// when it is pressed. Escape and the window's close button give
// CancelResult.
class TTaskDialog : public QDialog
{
    Q_OBJECT

public:
    enum class TIcon { Question, Warning, Information };

    // The result of dismissing the dialog; also the usual result of a
    // "Cancel" button.
    static constexpr int CancelResult = 2;

    explicit TTaskDialog(QWidget* parent = nullptr);

    void SetTitle(const QString& text);
    void SetInstruction(const QString& text);
    void SetContent(const QString& text);
    // Without an icon set, the dialog shows none.
    void SetIcon(TIcon icon);

    // Buttons appear in the order added; "&" marks the mnemonic.
    void AddButton(const QString& caption, int modalResult);
    // The button that Enter presses; without one, the first button.
    void SetDefaultButton(int modalResult);

    // Shows the dialog modally; the result of the pressed button.
    int Execute();

    void reject() override;

private:
    QPushButton* buttonWithResult(int modalResult) const;

    QLabel* iconLabel;
    QLabel* instructionLabel;
    QLabel* contentLabel;
    QDialogButtonBox* buttons;
};

#pragma once

#include <QStringList>
#include <QWidget>

class QPlainTextEdit;

// The response log: one line per refused or warned answer of the current
// job, and the lines jobs add themselves. A small tool window that docks
// directly below the main window. Closing it, by the user or the program,
// empties it, so that the next job starts with an empty log.
class TFormProtokoll : public QWidget
{
    Q_OBJECT

public:
    explicit TFormProtokoll(QWidget* parent = nullptr);

    void AddLine(const QString& text);
    // Empties the log without closing the window.
    void Clear();
    bool IsEmpty() const;
    QStringList Lines() const;
    // Whether any line contains text (case-sensitive).
    bool Contains(const QString& text) const;

    // Moves the window directly below mainWindow: same left, its top at the
    // bottom edge of mainWindow's frame. For every move of the main window.
    void PlaceBelow(const QWidget* mainWindow);
    // Places the window below mainWindow and shows it.
    void ShowBelow(const QWidget* mainWindow);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPlainTextEdit* memo;
};

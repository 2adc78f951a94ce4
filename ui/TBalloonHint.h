#pragma once

#include <QFrame>

class QLabel;

// A hint with a title and the information icon, shown beside the mouse as the
// system shows a balloon hint. It goes when the mouse leaves the area it
// belongs to, or a key or button is pressed anywhere.
class TBalloonHint : public QFrame
{
    Q_OBJECT

public:
    explicit TBalloonHint(QWidget* parent);

    // Shows the text (lines broken with CR) under the title near the mouse,
    // for as long as the mouse stays in the area (global coordinates). An
    // empty text shows nothing.
    void ShowAt(const QPoint& mouse, const QRect& area, const QString& title, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QLabel* title;
    QLabel* text;
    QRect area;
};

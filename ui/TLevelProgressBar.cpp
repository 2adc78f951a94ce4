#include "ui/TLevelProgressBar.h"

#include <QPainter>

TLevelProgressBar::TLevelProgressBar(QWidget* parent)
    : QProgressBar(parent)
{
    setTextVisible(false);
}

QColor TLevelProgressBar::LevelColor() const
{
    const int span = maximum() - minimum();
    const int percent = span > 0 ? (value() - minimum()) * 100 / span : 0;
    if (percent < LowMarkPercent)
        return Qt::red;
    if (percent >= HighMarkPercent)
        return QColor(0, 255, 0);
    return Qt::yellow;
}

void TLevelProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRect(frame);

    const int span = maximum() - minimum();
    const int lit = span > 0 ? (value() - minimum()) * Steps / span : 0;
    const QRect inner = frame.adjusted(2, 2, -1, -1);
    const double stepWidth = double(inner.width()) / Steps;
    painter.setPen(Qt::NoPen);
    painter.setBrush(isEnabled() ? LevelColor() : palette().color(QPalette::Disabled, QPalette::Button));
    for (int step = 0; step < lit; ++step) {
        const int left = inner.left() + int(step * stepWidth);
        const int right = inner.left() + int((step + 1) * stepWidth) - 2;
        painter.drawRect(QRect(QPoint(left, inner.top()), QPoint(right, inner.bottom())));
    }
}

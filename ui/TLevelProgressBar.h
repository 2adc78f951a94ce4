#pragma once

#include <QProgressBar>

// A bar drawn in separate steps whose colour tells the level: red below the
// low mark, lime from the high mark, yellow between.
class TLevelProgressBar : public QProgressBar
{
    Q_OBJECT

public:
    explicit TLevelProgressBar(QWidget* parent = nullptr);

    static constexpr int Steps = 20;
    static constexpr int LowMarkPercent = 50;
    static constexpr int HighMarkPercent = 90;

    // The colour the bar shows for its current value.
    QColor LevelColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

#pragma once

#include <QGroupBox>

class QCheckBox;
class QGridLayout;
class QStyleOptionGroupBox;

// A group frame whose title line is a check box. A checkable QGroupBox would
// disable its contents whenever its box is cleared; this box is an ordinary
// check box that only sits where the style puts a group's title, and the
// contents stay as they are. The group itself has no caption.
class TCheckBoxGroupBox : public QGroupBox
{
    Q_OBJECT

public:
    // Takes over titleBox as its child.
    explicit TCheckBoxGroupBox(QCheckBox* titleBox, QWidget* parent = nullptr);

    // Places a widget in the contents grid below the title line.
    void AddWidget(QWidget* widget, int row, int column);

    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QStyleOptionGroupBox titledOption() const;
    QRect titleLine() const;
    void reserveTitleLine();
    void placeTitleBox();

    QCheckBox* titleBox;
    QGridLayout* grid;
};

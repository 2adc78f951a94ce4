#include "ui/TCheckBoxGroupBox.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionGroupBox>

TCheckBoxGroupBox::TCheckBoxGroupBox(QCheckBox* titleBox, QWidget* parent)
    : QGroupBox(parent)
    , titleBox(titleBox)
    , grid(new QGridLayout(this))
{
    titleBox->setParent(this);
    reserveTitleLine();
}

void TCheckBoxGroupBox::AddWidget(QWidget* widget, int row, int column)
{
    grid->addWidget(widget, row, column);
}

QSize TCheckBoxGroupBox::minimumSizeHint() const
{
    const QRect title = titleLine();
    return QGroupBox::minimumSizeHint().expandedTo(QSize(title.left() * 2 + titleBox->sizeHint().width(), 0));
}

void TCheckBoxGroupBox::changeEvent(QEvent* event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange) {
        reserveTitleLine();
        placeTitleBox();
    }
}

void TCheckBoxGroupBox::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    placeTitleBox();
}

// The frame of a group that has a title, drawn as the style draws it.
void TCheckBoxGroupBox::paintEvent(QPaintEvent*)
{
    const QStyleOptionGroupBox titled = titledOption();
    QStyleOptionFrame frame;
    frame.QStyleOption::operator=(titled);
    frame.features = titled.features;
    frame.lineWidth = titled.lineWidth;
    frame.midLineWidth = titled.midLineWidth;
    frame.rect = style()->subControlRect(QStyle::CC_GroupBox, &titled, QStyle::SC_GroupBoxFrame, this);

    QPainter painter(this);
    // Styles that run the frame's top line through the title (the frame
    // starts below the widget's top) leave a gap for it.
    if (frame.rect.top() > 0)
        painter.setClipRegion(QRegion(rect()) - QRegion(titleBox->geometry()));
    // Given no widget, the style places the frame as for a titled group
    // rather than for this caption-less one.
    style()->drawPrimitive(QStyle::PE_FrameGroupBox, &frame, &painter, nullptr);
}

// The options of a checkable group with the title box's text: where the
// style puts such a group's title, frame and contents.
QStyleOptionGroupBox TCheckBoxGroupBox::titledOption() const
{
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    option.text = titleBox->text();
    option.subControls |= QStyle::SC_GroupBoxCheckBox | QStyle::SC_GroupBoxLabel;
    return option;
}

// The rectangle of a checkable group's indicator and title text.
QRect TCheckBoxGroupBox::titleLine() const
{
    const QStyleOptionGroupBox titled = titledOption();
    return style()->subControlRect(QStyle::CC_GroupBox, &titled, QStyle::SC_GroupBoxCheckBox, this)
        .united(style()->subControlRect(QStyle::CC_GroupBox, &titled, QStyle::SC_GroupBoxLabel, this));
}

// The contents start where they would in a titled group.
void TCheckBoxGroupBox::reserveTitleLine()
{
    QStyleOptionGroupBox plain;
    initStyleOption(&plain);
    const QStyleOptionGroupBox titled = titledOption();
    const auto contentsTop = [this](const QStyleOptionGroupBox& option) {
        return style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, this).top();
    };
    QMargins margins = grid->contentsMargins();
    margins.setTop(style()->pixelMetric(QStyle::PM_LayoutTopMargin, nullptr, this) + contentsTop(titled)
                   - contentsTop(plain));
    grid->setContentsMargins(margins);
}

void TCheckBoxGroupBox::placeTitleBox()
{
    const QRect title = titleLine();
    QRect box(QPoint(), titleBox->sizeHint());
    box.moveCenter(title.center());
    box.moveLeft(title.left());
    titleBox->setGeometry(box);
}

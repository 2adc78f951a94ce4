#include "ui/TBalloonHint.h"

#include "util/UPresentation.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QCursor>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace {

// The hint stands this far below and right of the mouse, as a tooltip does.
const QPoint MouseOffset(2, 16);

} // namespace

TBalloonHint::TBalloonHint(QWidget* parent)
    : QFrame(parent, Qt::ToolTip)
    , title(new QLabel)
    , text(new QLabel)
{
    setObjectName(QStringLiteral("BalloonHint"));
    title->setObjectName(QStringLiteral("LabelBalloonTitle"));
    text->setObjectName(QStringLiteral("LabelBalloonText"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    for (QLabel* label : { title, text }) {
        label->setTextFormat(Qt::PlainText);
        label->setForegroundRole(QPalette::ToolTipText);
    }

    auto* icon = new QLabel;
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(size, size));
    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(text, 1, 1);
}

void TBalloonHint::ShowAt(const QPoint& mouse, const QRect& mouseArea, const QString& titleText, const QString& hint)
{
    area = mouseArea;
    if (hint.isEmpty()) {
        hide();
        return;
    }
    title->setText(titleText);
    text->setText(DisplayText(hint));
    adjustSize();
    QPoint place = mouse + MouseOffset;
    // Kept on the screen the mouse is on.
    if (const QScreen* screen = QGuiApplication::screenAt(mouse)) {
        const QRect screenArea = screen->availableGeometry();
        place.setX(std::min(place.x(), screenArea.right() - width()));
        place.setY(std::min(place.y(), screenArea.bottom() - height()));
    }
    move(place);
    show();
    raise();
}

void TBalloonHint::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    qApp->installEventFilter(this);
}

void TBalloonHint::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    QFrame::hideEvent(event);
}

bool TBalloonHint::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::HoverMove:
        if (!area.contains(QCursor::pos()))
            hide();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::WindowDeactivate:
        hide();
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

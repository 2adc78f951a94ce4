#include "ui/TFormProtokoll.h"

#include "util/UPresentation.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Room for the longest "Cmd: ..." lines without a horizontal scroll bar.
const int VisibleColumns = 90;
const int VisibleLines = 8;

} // namespace

TFormProtokoll::TFormProtokoll(QWidget* parent)
    : QWidget(parent, Qt::Tool)
    , memo(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Response"));
    memo->setObjectName(QStringLiteral("MemoResponse"));
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(QMargins());
    layout->addWidget(memo);
    const QFontMetrics metrics = memo->fontMetrics();
    setFixedSize(metrics.averageCharWidth() * VisibleColumns, metrics.lineSpacing() * VisibleLines);
}

void TFormProtokoll::AddLine(const QString& text)
{
    memo->appendPlainText(DisplayText(text));
}

void TFormProtokoll::Clear()
{
    memo->clear();
}

bool TFormProtokoll::IsEmpty() const
{
    return memo->document()->isEmpty();
}

QStringList TFormProtokoll::Lines() const
{
    QStringList lines;
    if (IsEmpty())
        return lines;
    for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    return lines;
}

bool TFormProtokoll::Contains(const QString& text) const
{
    const QStringList lines = Lines();
    return std::any_of(lines.cbegin(), lines.cend(),
                       [&text](const QString& line) { return line.contains(text, Qt::CaseSensitive); });
}

void TFormProtokoll::PlaceBelow(const QWidget* mainWindow)
{
    const QRect frame = mainWindow->frameGeometry();
    move(frame.left(), frame.top() + frame.height());
}

void TFormProtokoll::ShowBelow(const QWidget* mainWindow)
{
    PlaceBelow(mainWindow);
    show();
}

void TFormProtokoll::closeEvent(QCloseEvent* event)
{
    Clear();
    event->accept();
}

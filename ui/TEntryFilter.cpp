#include "ui/TEntryFilter.h"

#include "util/UPresentation.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

void TEntryFilter::Install(QLineEdit* edit, TEntry kind)
{
    edit->installEventFilter(new TEntryFilter(edit, kind));
}

TEntryFilter::TEntryFilter(QLineEdit* edit, TEntry kind)
    : QObject(edit)
    , edit(edit)
    , kind(kind)
{
}

// A number typed with the other decimal separator, or pasted with the minus
// sign of a Swedish spreadsheet, means the same number; dropped, the
// character would make another one ("-0.08" would become -8 under a comma).
QChar TEntryFilter::Converted(QChar c) const
{
    constexpr char16_t MinusSign = 0x2212;
    if (kind == TEntry::PackedAscii && c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        return c.toUpper();
    if (kind == TEntry::Float && (c == QLatin1Char('.') || c == QLatin1Char(',')))
        return DecimalSeparator();
    if (kind == TEntry::Float && c == QChar(MinusSign))
        return QLatin1Char('-');
    return c;
}

bool TEntryFilter::Accepts(QChar c) const
{
    const ushort code = c.unicode();
    switch (kind) {
    case TEntry::Any:
        return true;
    case TEntry::PackedAscii:
        return code >= 0x20 && code <= 0x5F && code != 0x27;
    case TEntry::Latin:
        return (code >= 0x20 && code <= 0x7E) || (code >= 0xA0 && code <= 0xFF);
    case TEntry::IntPositiv:
        return c.isDigit() && code < 0x80;
    case TEntry::Float:
        return FloatKeyChars().contains(c) && c != QLatin1Char('\b');
    }
    return false;
}

QString TEntryFilter::Filtered(const QString& text) const
{
    QString taken;
    for (const QChar c : text) {
        const QChar converted = Converted(c);
        if (Accepts(converted))
            taken += converted;
    }
    return taken;
}

// Every way text enters a line edit: keys, input methods (composed
// characters), the paste shortcut and menu item, the X11 selection and drops.
bool TEntryFilter::eventFilter(QObject*, QEvent* event)
{
    if (edit->isReadOnly())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(static_cast<QKeyEvent*>(event));
    case QEvent::InputMethod:
        return textComposed(static_cast<QInputMethodEvent*>(event));
    case QEvent::Drop:
        return textDropped(static_cast<QDropEvent*>(event));
    case QEvent::ContextMenu:
        return contextMenuRequested(static_cast<QContextMenuEvent*>(event));
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton || !QGuiApplication::clipboard()->supportsSelection())
            return false;
        edit->deselect();
        paste(QClipboard::Selection);
        return true;
    default:
        return false;
    }
}

bool TEntryFilter::keyPressed(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        paste(QClipboard::Clipboard);
        return true;
    }
    // Editing and navigation keys (Backspace, shortcuts) carry no printable text.
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    return insertFiltered(text);
}

bool TEntryFilter::textComposed(QInputMethodEvent* event)
{
    const QString taken = Filtered(event->commitString());
    if (taken == event->commitString())
        return false;
    QInputMethodEvent replacement(event->preeditString(), event->attributes());
    replacement.setCommitString(taken, event->replacementStart(), event->replacementLength());
    QCoreApplication::sendEvent(edit, &replacement);
    return true;
}

bool TEntryFilter::textDropped(QDropEvent* event)
{
    // Text moved inside the field was filtered when it came in.
    if (event->source() == edit || !event->mimeData()->hasText())
        return false;
    edit->setCursorPosition(edit->cursorPositionAt(event->position().toPoint()));
    insertTaken(Filtered(event->mimeData()->text()));
    event->acceptProposedAction();
    return true;
}

bool TEntryFilter::contextMenuRequested(QContextMenuEvent* event)
{
    QMenu* menu = edit->createStandardContextMenu();
    if (auto* pasteItem = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(pasteItem, &QAction::triggered, edit, &QLineEdit::paste);
        connect(pasteItem, &QAction::triggered, this, [this] { paste(QClipboard::Clipboard); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    return true;
}

void TEntryFilter::paste(QClipboard::Mode mode)
{
    insertTaken(Filtered(QGuiApplication::clipboard()->text(mode)));
}

bool TEntryFilter::insertFiltered(const QString& text)
{
    const QString taken = Filtered(text);
    if (taken == text)
        return false;
    insertTaken(taken);
    return true;
}

// Nothing taken leaves the field as it is: inserting no text would delete
// the selection.
void TEntryFilter::insertTaken(const QString& taken)
{
    if (!taken.isEmpty())
        edit->insert(taken);
}

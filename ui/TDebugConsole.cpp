#include "ui/TDebugConsole.h"

#include <QEvent>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

TDebugConsole::TDebugConsole(QObject* parent)
    : QObject(parent)
    , inbox(std::make_shared<TInbox>())
{
    inbox->console = this;
}

TDebugConsole::~TDebugConsole()
{
    {
        std::lock_guard<std::mutex> lock(inbox->mutex);
        inbox->console = nullptr;
    }
    closeWindow();
}

void TDebugConsole::SetEnabled(bool on)
{
    enabled = on;
    if (!on) {
        closeWindow();
        return;
    }
    if (!window) {
        window = new QPlainTextEdit;
        window->setReadOnly(true);
        window->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        window->resize(640, 400);
        window->installEventFilter(this);
    }
    window->setWindowTitle(title);
    window->show();
}

// A window closed by the program is no close by the user: the filter goes
// first, since the window's destructor still closes it, half destroyed.
void TDebugConsole::closeWindow()
{
    if (!window)
        return;
    window->removeEventFilter(this);
    delete window;
}

void TDebugConsole::SetTitle(const QString& text)
{
    title = text;
    if (window)
        window->setWindowTitle(title);
}

// Trace text written on any thread waits in the inbox under its mutex; the
// event loop carries only a wake-up, so that a race checker can follow the
// hand-over. A sink outliving the console finds the inbox closed.
std::function<void(const QString&)> TDebugConsole::Sink()
{
    return [inbox = inbox](const QString& text) {
        std::lock_guard<std::mutex> lock(inbox->mutex);
        if (!inbox->console)
            return;
        const bool wakeUp = inbox->pending.isEmpty();
        inbox->pending += text;
        if (wakeUp)
            QMetaObject::invokeMethod(inbox->console, &TDebugConsole::takeInbox, Qt::QueuedConnection);
    };
}

void TDebugConsole::takeInbox()
{
    QString text;
    {
        std::lock_guard<std::mutex> lock(inbox->mutex);
        std::swap(text, inbox->pending);
    }
    append(text);
}

QString TDebugConsole::Text() const
{
    return window ? window->toPlainText() : QString();
}

// The view follows the new lines while it shows the end; a user who has
// scrolled up to read keeps that place.
void TDebugConsole::append(const QString& text)
{
    if (!window)
        return;
    QScrollBar* scrollBar = window->verticalScrollBar();
    const bool followsTheEnd = scrollBar->value() == scrollBar->maximum();
    QTextCursor end(window->document());
    end.movePosition(QTextCursor::End);
    // The trace ends its lines with CR LF; the window shows plain line breaks.
    end.insertText(QString(text).remove(QLatin1Char('\r')));
    if (followsTheEnd)
        scrollBar->setValue(scrollBar->maximum());
}

bool TDebugConsole::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window && event->type() == QEvent::Close && enabled) {
        enabled = false;
        // Deleted once its close is done; a console enabled again meanwhile
        // opens a new window.
        window->deleteLater();
        window = nullptr;
        emit Closed();
    }
    return QObject::eventFilter(watched, event);
}

#include "ui/TDebugConsole.h"

#include <QEvent>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTextCursor>

TDebugConsole::TDebugConsole(QObject* parent)
    : QObject(parent)
{
}

TDebugConsole::~TDebugConsole()
{
    delete window;
}

void TDebugConsole::SetEnabled(bool on)
{
    enabled = on;
    if (!on) {
        delete window;
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

void TDebugConsole::SetTitle(const QString& text)
{
    title = text;
    if (window)
        window->setWindowTitle(title);
}

std::function<void(const QString&)> TDebugConsole::Sink()
{
    QPointer<TDebugConsole> self(this);
    return [self](const QString& text) {
        QMetaObject::invokeMethod(self, [self, text] { if (self) self->append(text); }, Qt::QueuedConnection);
    };
}

QString TDebugConsole::Text() const
{
    return window ? window->toPlainText() : QString();
}

void TDebugConsole::append(const QString& text)
{
    if (!window)
        return;
    QTextCursor end(window->document());
    end.movePosition(QTextCursor::End);
    // The trace ends its lines with CR LF; the window shows plain line breaks.
    end.insertText(QString(text).remove(QLatin1Char('\r')));
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

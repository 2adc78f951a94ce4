#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>

class QPlainTextEdit;

// A text console window for the HART frame trace. It stays closed until
// enabled; disabling or destroying it closes the window, and closing the
// window disables it.
class TDebugConsole : public QObject
{
    Q_OBJECT

public:
    explicit TDebugConsole(QObject* parent = nullptr);
    ~TDebugConsole() override;

    bool Enabled() const { return enabled; }
    void SetEnabled(bool on);

    QString Title() const { return title; }
    void SetTitle(const QString& text);

    // A trace sink for the link layer; callable from any thread. Text
    // arrives in the window in the order it was written.
    std::function<void(const QString&)> Sink();

    // What the window shows (for tests and copying).
    QString Text() const;

signals:
    // The user closed the window; the console is disabled now.
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TInbox
    {
        std::mutex mutex;
        QString pending;
        TDebugConsole* console = nullptr;
    };

    void closeWindow();
    void takeInbox();
    void append(const QString& text);

    bool enabled = false;
    QString title;
    QPointer<QPlainTextEdit> window;
    std::shared_ptr<TInbox> inbox;
};

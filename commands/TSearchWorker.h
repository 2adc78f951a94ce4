#pragma once

#include <QString>

// What the polling search needs of the thread that runs it: a place to show
// its progress and the question when address 0 stays silent.
class TSearchWorker
{
public:
    enum ZeroRetryAnswer { ZeroRetryCancel = 0, ZeroRetryRescanZero = 1, ZeroRetryScanOthers = 2 };

    virtual ~TSearchWorker() = default;
    virtual void SetStatusText(const QString& text) = 0;
    // Asks what to do after no device answered at address 0.
    virtual int AskZeroRetry(const QString& content) = 0;
};

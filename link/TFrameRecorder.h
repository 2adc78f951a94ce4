#pragma once

#include "link/TTracedFrame.h"

#include <QList>

#include <mutex>

// The frames of a session, in the order they crossed the line. The link
// layer adds them from whichever thread runs the transaction.
class TFrameRecorder
{
public:
    void Add(const TTracedFrame& frame);
    QList<TTracedFrame> Frames() const;
    bool IsEmpty() const;

private:
    mutable std::mutex lock;
    QList<TTracedFrame> frames;
};

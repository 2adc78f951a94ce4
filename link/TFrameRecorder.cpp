#include "link/TFrameRecorder.h"

void TFrameRecorder::Add(const TTracedFrame& frame)
{
    std::lock_guard<std::mutex> guard(lock);
    frames.append(frame);
}

QList<TTracedFrame> TFrameRecorder::Frames() const
{
    std::lock_guard<std::mutex> guard(lock);
    return frames;
}

bool TFrameRecorder::IsEmpty() const
{
    std::lock_guard<std::mutex> guard(lock);
    return frames.isEmpty();
}

#pragma once

#include "link/TComPort.h"

#include <QList>
#include <QTimer>

// An in-process COM port whose device side is a script: every written frame
// consumes the next scripted reply, which arrives as chunks of bytes after
// given delays. A frame without a scripted reply meets silence.
class ScriptedPort : public TComPort
{
    Q_OBJECT

public:
    struct Chunk
    {
        int delayMs;        // after the write
        QByteArray bytes;
    };
    using Reply = QList<Chunk>;

    explicit ScriptedPort(QObject* parent = nullptr);

    void QueueReply(const Reply& reply) { replies.append(reply); }
    void QueueAnswer(const QByteArray& bytes, int delayMs = 5) { QueueReply({ { delayMs, bytes } }); }
    void QueueSilence() { QueueReply({}); }
    // Bytes that are waiting before anything is written.
    void Preload(const QByteArray& bytes) { waiting += bytes; }
    void FailOpenWith(std::function<void()> failure) { openFailure = std::move(failure); }

    QList<QByteArray> Written;
    int OpenCount = 0;
    int CloseCount = 0;

    int PortNumber() const override { return portNumber; }
    void SetPortNumber(int comNumber) override { portNumber = comNumber; }
    void Open() override;
    void Close() override;
    bool IsOpen() const override { return open; }
    void FlushInput() override { waiting.clear(); }
    void FlushOutput() override {}
    void Write(const QByteArray& frame) override;
    QByteArray Read(int count) override;

    int Waiting() const { return static_cast<int>(waiting.size()); }

private:
    void arrive(const QByteArray& bytes);

    QList<Reply> replies;
    QByteArray waiting;
    std::function<void()> openFailure;
    int portNumber = 1;
    bool open = false;
};

#include "ScriptedPort.h"

ScriptedPort::ScriptedPort(QObject* parent)
    : TComPort(parent)
{
}

void ScriptedPort::Open()
{
    if (openFailure)
        openFailure();
    ++OpenCount;
    open = true;
}

void ScriptedPort::Close()
{
    if (open)
        ++CloseCount;
    open = false;
}

void ScriptedPort::Write(const QByteArray& frame)
{
    if (!open)
        throw Exception(QStringLiteral("port is not open"));
    Written.append(frame);
    if (replies.isEmpty())
        return;
    for (const Chunk& chunk : replies.takeFirst())
        QTimer::singleShot(chunk.delayMs, this, [this, bytes = chunk.bytes] { arrive(bytes); });
}

QByteArray ScriptedPort::Read(int count)
{
    const QByteArray bytes = waiting.left(count);
    waiting.remove(0, bytes.size());
    return bytes;
}

void ScriptedPort::arrive(const QByteArray& bytes)
{
    waiting += bytes;
    emit TriggerAvail(static_cast<int>(waiting.size()));
}

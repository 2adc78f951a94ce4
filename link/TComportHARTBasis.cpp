#include "link/TComportHARTBasis.h"

#include "link/TSerialPort.h"
#include "util/UPresentation.h"

#include <QEventLoop>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

constexpr int SilenceMs = 200;

quint8 ByteAt(const QByteArray& bytes, int index)
{
    return static_cast<quint8>(bytes.at(index));
}

qint64 MicrosecondsSinceEpoch()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

QString Hex2(quint32 value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

TComportHARTBasis::TComportHARTBasis(int comNumber, qint32 baudRate, QObject* parent)
    : TComportHARTBasis(std::make_unique<TSerialPort>(comNumber, baudRate, QSerialPort::OddParity), parent)
{
}

TComportHARTBasis::TComportHARTBasis(std::unique_ptr<TComPort> port, QObject* parent)
    : QObject(parent)
    , comPort(std::move(port))
{
    TimerTimeout.setSingleShot(true);
    TimerTimeout.setTimerType(Qt::PreciseTimer);
    TimerDataReceived.setSingleShot(true);
    TimerDataReceived.setTimerType(Qt::PreciseTimer);
    TimerDataReceived.setInterval(SilenceMs);
    connect(&TimerTimeout, &QTimer::timeout, this, &TComportHARTBasis::TimerTimeoutTimer);
    connect(&TimerDataReceived, &QTimer::timeout, this, &TComportHARTBasis::TimerDataReceivedTimer);
    connect(comPort.get(), &TComPort::TriggerAvail, this, &TComportHARTBasis::AComPortTriggerAvail);
    connect(comPort.get(), &TComPort::PortLost, this, &TComportHARTBasis::AComPortLost);
    openAndFlush();
}

TComportHARTBasis::~TComportHARTBasis()
{
    Shutdown();
}

void TComportHARTBasis::openAndFlush()
{
    comPort->Open();
    comPort->FlushInput();
    comPort->FlushOutput();
}

void TComportHARTBasis::SendRequest(const QByteArray& frame, THARTFrame& answerOut)
{
    SendRequest(frame, DefaultTimeout, answerOut);
}

void TComportHARTBasis::SendRequest(const QByteArray& frame, int timeoutMs, THARTFrame& answerOut)
{
    traceRequest(frame);
    const quint32 attempts = std::max<quint32>(Attempts, 1);
    bool timedOut = false;
    for (quint32 attempt = 0; attempt < attempts; ++attempt) {
        runInterruptCheck();
        ResetAnswer();
        if (QThread::currentThread() == thread())
            transmitAttempt(frame, timeoutMs);
        else
            ownerCalls.Post([this, frame, timeoutMs] { transmitAttempt(frame, timeoutMs); });
        WaitForAnswer();
        recordAnswer();
        runInterruptCheck();

        std::exception_ptr transmitFailure;
        {
            std::lock_guard<std::mutex> lock(stateMutex);
            timedOut = TimedOut || waitInterrupted;
            std::swap(transmitFailure, transmitError);
        }
        if (transmitFailure)
            std::rethrow_exception(transmitFailure);
        if (timedOut)
            continue;

        try {
            ParseAnswer();
        } catch (const std::exception&) {
            if (attempt + 1 == attempts)
                throw;
            continue;
        }
        if ((ByteAt(answer.Data, 0) & 0x80) == 0) {
            answerOut = answer;
            return;
        }
    }

    if (timedOut)
        throw ETimeoutException(QStringLiteral("Timeout: HART device does not respond"));
    throw Exception(communicationErrorText(ByteAt(answer.Data, 0)));
}

void TComportHARTBasis::ResetAnswer()
{
    answer = THARTFrame {};
    std::lock_guard<std::mutex> lock(stateMutex);
    ReceiveBuffer.clear();
    listening = false;
    DataReceived = false;
    TimedOut = false;
    transmitError = nullptr;
}

// Owning thread. Input still waiting from an earlier exchange (a late answer,
// line noise) is dropped so that it cannot be taken for this answer's start.
void TComportHARTBasis::transmitAttempt(const QByteArray& frame, int timeoutMs)
{
    TimerTimeout.stop();
    TimerDataReceived.stop();
    try {
        comPort->FlushInput();
        {
            std::lock_guard<std::mutex> lock(stateMutex);
            listening = true;
        }
        comPort->Write(frame);
        recordFrame(TTracedFrame::Request, frame, MicrosecondsSinceEpoch());
    } catch (...) {
        std::lock_guard<std::mutex> lock(stateMutex);
        transmitError = std::current_exception();
        TimedOut = true;
        answerStateChanged();
        return;
    }
    // The time-out includes the frame's own transmission time.
    TimerTimeout.start(timeoutMs);
}

void TComportHARTBasis::WaitForAnswer()
{
    if (QThread::currentThread() == thread()) {
        QEventLoop loop;
        ownerWaitLoop = &loop;
        if (!waitIsOver())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        ownerWaitLoop = nullptr;
        return;
    }
    std::unique_lock<std::mutex> lock(stateMutex);
    stateChanged.wait(lock, [this] { return DataReceived || TimedOut || waitInterrupted; });
}

bool TComportHARTBasis::waitIsOver() const
{
    std::lock_guard<std::mutex> lock(stateMutex);
    return DataReceived || TimedOut || waitInterrupted;
}

// Owning thread, stateMutex held or the flags just written under it.
void TComportHARTBasis::answerStateChanged()
{
    stateChanged.notify_all();
    if (ownerWaitLoop)
        ownerWaitLoop->quit();
}

void TComportHARTBasis::AComPortTriggerAvail(int count)
{
    std::lock_guard<std::mutex> lock(stateMutex);
    // Bytes arriving outside an attempt, or after its answer was complete or
    // timed out, are left unread.
    if (!listening || DataReceived || TimedOut)
        return;
    TimerDataReceived.stop();
    const QByteArray bytes = comPort->Read(count);
    for (const char b : bytes) {
        if (!ReceiveBuffer.isEmpty() || static_cast<quint8>(b) == 0xFF)
            ReceiveBuffer.append(b);
    }
    lastByteTime = MicrosecondsSinceEpoch();
    TimerDataReceived.start();
}

// The attempt waiting for an answer ends at once; later ones fail at their
// write, which the closed port refuses.
void TComportHARTBasis::AComPortLost(const QString& message)
{
    std::lock_guard<std::mutex> lock(stateMutex);
    if (!listening || DataReceived || TimedOut)
        return;
    TimerTimeout.stop();
    TimerDataReceived.stop();
    transmitError = std::make_exception_ptr(EPortLost(message));
    TimedOut = true;
    answerStateChanged();
}

void TComportHARTBasis::TimerDataReceivedTimer()
{
    TimerDataReceived.stop();
    std::lock_guard<std::mutex> lock(stateMutex);
    if (ReceiveBuffer.isEmpty() || TimedOut)
        return;
    DataReceived = true;
    TimerTimeout.stop();
    answerStateChanged();
}

void TComportHARTBasis::TimerTimeoutTimer()
{
    TimerTimeout.stop();
    TimerDataReceived.stop();
    std::lock_guard<std::mutex> lock(stateMutex);
    if (DataReceived)
        return;
    TimedOut = true;
    answerStateChanged();
}

void TComportHARTBasis::ParseAnswer()
{
    QByteArray received;
    {
        std::lock_guard<std::mutex> lock(stateMutex);
        received = ReceiveBuffer;
    }
    DecodeHARTAnswer(received, answer);
    dumpAnswer();
    VerifyHARTChecksum(answer);
    // Without both status bytes there is nothing to report a status from.
    if (answer.ByteCount < 2)
        throw EInconsistentException(QStringLiteral("answer inconsistent (byte count less than 2)"));
}

qint32 TComportHARTBasis::getIntFromAnswer(int offset, int count) const
{
    if (count < 1 || count > 4)
        throw EConvertError(QStringLiteral("numberOfBytes out of range"));
    if (offset < 0 || offset + count > answer.Data.size())
        throw EInconsistentException(QStringLiteral("answer inconsistent"));
    quint32 value = 0;
    for (int i = offset; i < offset + count; ++i)
        value = (value << 8) | ByteAt(answer.Data, i);
    return static_cast<qint32>(value);
}

float TComportHARTBasis::getSingleFromAnswer(int position) const
{
    if (position < 0 || position + 4 > answer.Data.size())
        throw EInconsistentException(QStringLiteral("answer inconsistent"));
    // HART marks a missing value with 7F A0 00 00; every exponent-all-ones
    // pattern from 7F 90 on is taken as that mark.
    if (ByteAt(answer.Data, position) == 0x7F && ByteAt(answer.Data, position + 1) >= 0x90)
        throw EConvertError(NotANumberMessage);
    const auto bits = static_cast<quint32>(getIntFromAnswer(position, 4));
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void TComportHARTBasis::SetTraceSink(std::function<void(const QString&)> sink)
{
    std::lock_guard<std::mutex> lock(hookMutex);
    traceSink = std::move(sink);
}

void TComportHARTBasis::TraceLine(const QString& text)
{
    TraceText(text + QStringLiteral("\r\n"));
}

void TComportHARTBasis::TraceText(const QString& text)
{
    std::function<void(const QString&)> sink;
    {
        std::lock_guard<std::mutex> lock(hookMutex);
        sink = traceSink;
    }
    if (sink)
        sink(text);
}

void TComportHARTBasis::SetFrameSink(std::function<void(const TTracedFrame&)> sink)
{
    std::lock_guard<std::mutex> lock(hookMutex);
    frameSink = std::move(sink);
}

void TComportHARTBasis::recordFrame(TTracedFrame::TDirection direction, const QByteArray& bytes, qint64 time)
{
    std::function<void(const TTracedFrame&)> sink;
    {
        std::lock_guard<std::mutex> lock(hookMutex);
        sink = frameSink;
    }
    if (sink)
        sink(TTracedFrame { direction, time, bytes });
}

// What arrived in this attempt, also when it was cut short or malformed.
void TComportHARTBasis::recordAnswer()
{
    QByteArray received;
    qint64 time = 0;
    {
        std::lock_guard<std::mutex> lock(stateMutex);
        received = ReceiveBuffer;
        time = lastByteTime;
    }
    if (!received.isEmpty())
        recordFrame(TTracedFrame::Answer, received, time);
}

bool TComportHARTBasis::tracing()
{
    std::lock_guard<std::mutex> lock(hookMutex);
    return static_cast<bool>(traceSink);
}

void TComportHARTBasis::traceRequest(const QByteArray& frame)
{
    if (!tracing())
        return;
    TraceLine(QStringLiteral("############################ Tx Length: %1").arg(frame.size()));
    TraceText(HexByteList(frame));
    TraceLine(QString());
}

void TComportHARTBasis::dumpAnswer()
{
    if (!tracing())
        return;
    TraceLine(QStringLiteral("############################ Answer: "));
    TraceLine(QStringLiteral("praeamblesCount: %1").arg(answer.PreambleCount));
    TraceLine(QStringLiteral("delimiter______: 0x") + Hex2(answer.Delimiter));
    for (int k = 0; k < answer.Address.size(); ++k)
        TraceLine(QStringLiteral("address________: %1: 0x").arg(k) + Hex2(ByteAt(answer.Address, k)));
    TraceLine(QStringLiteral("command________: 0x") + Hex2(static_cast<quint32>(answer.Command)));
    TraceLine(QStringLiteral("DataLength_____: 0x") + QString::number(answer.ByteCount, 16).toUpper());
    TraceText(QStringLiteral("Data___________: "));
    for (int k = 0; k < answer.Data.size(); ++k) {
        const QString indent = k == 0 ? QString() : QString(17, QLatin1Char(' '));
        TraceLine(indent + QStringLiteral("%1: 0x").arg(k) + Hex2(ByteAt(answer.Data, k)) + QLatin1Char(' '));
    }
    TraceLine(QStringLiteral("CheckSum_______: 0x") + Hex2(answer.Checksum));

    QByteArray received;
    bool timedOut = false;
    bool dataReceived = false;
    {
        std::lock_guard<std::mutex> lock(stateMutex);
        received = ReceiveBuffer;
        timedOut = TimedOut;
        dataReceived = DataReceived;
    }
    TraceLine(QStringLiteral("############################ Answer (pure): Length: %1").arg(received.size()));
    TraceText(HexByteList(received));
    TraceLine(QString());
    TraceText(QStringLiteral("Exiting by "));
    if (timedOut)
        TraceLine(QStringLiteral("timeout"));
    if (dataReceived)
        TraceLine(QStringLiteral("data received"));
}

void TComportHARTBasis::SetInterruptCheck(std::function<void()> check)
{
    std::lock_guard<std::mutex> lock(hookMutex);
    interruptCheck = std::move(check);
}

void TComportHARTBasis::runInterruptCheck()
{
    std::function<void()> check;
    {
        std::lock_guard<std::mutex> lock(hookMutex);
        check = interruptCheck;
    }
    if (check)
        check();
}

void TComportHARTBasis::InterruptWait()
{
    {
        std::lock_guard<std::mutex> lock(stateMutex);
        waitInterrupted = true;
        stateChanged.notify_all();
    }
    if (QThread::currentThread() == thread()) {
        if (ownerWaitLoop)
            ownerWaitLoop->quit();
    } else {
        ownerCalls.Post([this] {
            if (ownerWaitLoop)
                ownerWaitLoop->quit();
        });
    }
}

void TComportHARTBasis::ResumeWaits()
{
    std::lock_guard<std::mutex> lock(stateMutex);
    waitInterrupted = false;
}

void TComportHARTBasis::Shutdown()
{
    InterruptWait();
    TimerTimeout.stop();
    TimerDataReceived.stop();
    comPort->Close();
}

QString TComportHARTBasis::communicationErrorText(quint8 firstStatusByte)
{
    static const char* const bitTexts[] = {
        "0x01 Unknown", "0x02 Buffer Overflow", "0x04 Unknown", "0x08 Longitudinal Parity Error",
        "0x10 Framing Error", "0x20 Overrun Error", "0x40 Vertical Parity Error",
    };
    QString text = QStringLiteral("The following communication error(s) occurred:");
    for (int bit = 6; bit >= 0; --bit) {
        if (firstStatusByte & (1u << bit))
            text += QStringLiteral("\r\n  ") + QLatin1String(bitTexts[bit]);
    }
    return text;
}

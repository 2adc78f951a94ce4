#pragma once

#include "link/LinkExceptions.h"
#include "link/TComPort.h"
#include "link/THARTFrame.h"
#include "link/TTracedFrame.h"
#include "util/TQueuedCalls.h"

#include <QObject>
#include <QTimer>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class QEventLoop;

// The HART link layer: runs one request/answer transaction at a time over its
// serial port, decides by 200 ms of silence when an answer is complete, parses
// and checks it and retries up to Attempts times.
//
// Threads: the object, its port and its two timers belong to the thread that
// created it (the GUI thread). SendRequest may be called on that thread (the
// wait then keeps its event loop running) or on another one (the device
// thread), in which case every port and timer operation is handed to the
// owning thread and the caller sleeps until the answer is complete or timed out.
class TComportHARTBasis : public QObject
{
    Q_OBJECT

public:
    TComportHARTBasis(int comNumber, qint32 baudRate, QObject* parent = nullptr);
    // Takes a ready-made port (a scripted one in tests), opens and flushes it.
    explicit TComportHARTBasis(std::unique_ptr<TComPort> port, QObject* parent = nullptr);
    ~TComportHARTBasis() override;

    // One transaction; raises ETimeoutException, EInconsistentException or a
    // plain Exception for a communication error reported by the device.
    void SendRequest(const QByteArray& frame, int timeoutMs, THARTFrame& answer);
    void SendRequest(const QByteArray& frame, THARTFrame& answer);

    // Data[offset .. offset+count-1] of the last answer as one big-endian
    // number (count 1-4; count 4 gives the two's complement value).
    qint32 getIntFromAnswer(int offset, int count) const;
    // Data[position .. position+3] of the last answer as an IEEE single;
    // raises EConvertError "Not a Number" for the HART not-a-number pattern.
    float getSingleFromAnswer(int position) const;

    const THARTFrame& Answer() const { return answer; }

    TComPort& AComPort() { return *comPort; }

    int DefaultTimeout = 900;
    quint32 Attempts = 3;

    // Frame trace: off until a sink is set. The sink may be called on any thread.
    void SetTraceSink(std::function<void(const QString&)> sink);
    void TraceLine(const QString& text);
    void TraceText(const QString& text);
    // Every frame sent and every answer received, whole, with its time; off
    // until a sink is set. The sink may be called on any thread.
    void SetFrameSink(std::function<void(const TTracedFrame&)> sink);

    // Run before every transmission and after every wait; a stop check of the
    // owner raises here to end a job at a transaction boundary.
    void SetInterruptCheck(std::function<void()> check);
    // Any thread: ends the wait in progress as if its time-out had elapsed, and
    // every later wait at once. Used when the owner shuts down.
    void InterruptWait();
    // Owner thread, after InterruptWait: later waits last until their answer
    // or time-out again, for one last transaction before Shutdown.
    void ResumeWaits();

    // Closes the port. Owner thread only.
    void Shutdown();

protected:
    void ResetAnswer();
    void ParseAnswer();
    void dumpAnswer();
    void WaitForAnswer();

private:
    void openAndFlush();
    void transmitAttempt(const QByteArray& frame, int timeoutMs);
    void AComPortTriggerAvail(int count);
    void AComPortLost(const QString& message);
    void TimerTimeoutTimer();
    void TimerDataReceivedTimer();
    void answerStateChanged();
    bool waitIsOver() const;
    void runInterruptCheck();
    bool tracing();
    void traceRequest(const QByteArray& frame);
    void recordFrame(TTracedFrame::TDirection direction, const QByteArray& bytes, qint64 time);
    void recordAnswer();
    static QString communicationErrorText(quint8 firstStatusByte);

    std::unique_ptr<TComPort> comPort;
    TQueuedCalls ownerCalls;
    QTimer TimerTimeout;
    QTimer TimerDataReceived;

    // Receive state, shared by the handlers on the owning thread and the
    // waiting caller; guarded by stateMutex.
    mutable std::mutex stateMutex;
    std::condition_variable stateChanged;
    QByteArray ReceiveBuffer;
    bool listening = false;          // an attempt's frame is out; bytes are collected
    bool DataReceived = false;
    bool TimedOut = false;
    bool waitInterrupted = false;
    qint64 lastByteTime = 0;
    std::exception_ptr transmitError;

    // Caller side: the answer being decoded, and the last one.
    THARTFrame answer;
    QEventLoop* ownerWaitLoop = nullptr;

    std::mutex hookMutex;
    std::function<void(const QString&)> traceSink;
    std::function<void(const TTracedFrame&)> frameSink;
    std::function<void()> interruptCheck;
};

#pragma once

// A command layer over a scripted port, talking to a TIVERN probe of the
// maker (manufacturer 0xE3, device type 0x80, device ID 01 23 45), with its
// owner notifications recorded in the order they came.
#include "HexBytes.h"
#include "ScriptedPort.h"

#include "commands/TComportHART.h"

#include <QList>
#include <QStringList>
#include <QTest>

#include <exception>
#include <memory>

namespace fixture {

// Runs the body of a test function. An exception that escapes it fails that
// function with the exception's message; left to QTest, it would end the
// whole test program and the functions after it would not run.
template <typename Body>
void Guarded(Body body)
{
    try {
        body();
    } catch (const std::exception& error) {
        QFAIL(qPrintable(QStringLiteral("Unexpected exception: ") + QString::fromUtf8(error.what())));
    }
}

inline char XorOf(const QByteArray& bytes)
{
    char check = 0;
    for (const char b : bytes)
        check = static_cast<char>(check ^ b);
    return check;
}

// The maker's probe as the fixture addresses it; the request head is
// 82 A3 80 01 23 45 (0xE3 & 0x3F with the primary-master bit is 0xA3).
const QByteArray LongHead = Hex("82 A3 80 01 23 45");
const QByteArray AnswerHead = Hex("86 A3 80 01 23 45");
const QByteArray Preambles = Hex("FF FF FF FF FF");

// The request the master must send for the command bytes: command, byte
// count, data.
inline QByteArray Request(const QByteArray& commandBytes)
{
    const QByteArray frame = LongHead + commandBytes;
    return Preambles + frame + XorOf(frame);
}

inline QByteArray Request(const char* commandBytes)
{
    return Request(Hex(commandBytes));
}

// The device's long-frame answer to `command` carrying the data bytes:
// response code, device status, payload.
inline QByteArray Answer(quint8 command, const QByteArray& data)
{
    const QByteArray frame = AnswerHead + char(command) + char(data.size()) + data;
    return Preambles + frame + XorOf(frame);
}

inline QByteArray Answer(quint8 command, const char* data)
{
    return Answer(command, Hex(data));
}

// A short-frame command-0 answer from polling address `address`.
inline QByteArray ShortAnswer(int address, const char* data)
{
    const QByteArray bytes = Hex(data);
    const QByteArray frame = QByteArray(1, char(0x06)) + char(0x80 | address) + char(0) + char(bytes.size()) + bytes;
    return Preambles + frame + XorOf(frame);
}

// What the owner of a command layer hears, in order: "write" for a
// configuration write, "status <command>" for a reported status.
struct Recorder
{
    void Listen(TComportHART& hart)
    {
        hart.OnWriteCommand = [this](TComportHART*) { Events << QStringLiteral("write"); };
        hart.OnDeviceStatus = [this](TComportHART*, const TDeviceStatus& status) {
            Events << QStringLiteral("status %1").arg(status.Command);
            Statuses << status;
        };
    }

    const TDeviceStatus& LastStatus() const { return Statuses.last(); }

    QStringList Events;
    QList<TDeviceStatus> Statuses;
};

struct Device : Recorder
{
    Device()
    {
        auto scripted = std::make_unique<ScriptedPort>();
        port = scripted.get();
        hart = std::make_unique<TComportHART>(std::move(scripted));
        hart->Attempts = 1;
        hart->ManufacturerID = 0xE3;
        hart->DeviceTypeCode = 0x80;
        hart->DeviceID = 0x012345;
        hart->DeviceFamily = 1;
        hart->UniversalRevision = 5;
        hart->BuildLongAddress();
        Listen(*hart);
    }

    void Answers(quint8 command, const char* data) { port->QueueAnswer(Answer(command, data)); }

    ScriptedPort* port;
    std::unique_ptr<TComportHART> hart;
};

} // namespace fixture

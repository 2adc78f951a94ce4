#pragma once

#include <QByteArray>

// What a command handler answers: the response code and the payload that
// follows the two status bytes.
struct TSimReply
{
    // Response codes with one meaning for every command. Codes 9-14 and 29
    // mean different things per command and are named where they are used.
    static constexpr quint8 Success = 0;
    static constexpr quint8 InvalidSelection = 2;
    static constexpr quint8 ParameterTooLarge = 3;
    static constexpr quint8 ParameterTooSmall = 4;
    static constexpr quint8 TooFewDataBytes = 5;
    static constexpr quint8 InWriteProtectMode = 7;
    static constexpr quint8 NotImplemented = 64;

    quint8 ResponseCode = Success;
    QByteArray Payload;
    bool Effective = true; // the command was carried out (success or a warning)

    static TSimReply Ok(const QByteArray& payload) { return {Success, payload, true}; }
    static TSimReply Warning(quint8 code, const QByteArray& payload) { return {code, payload, true}; }
    // Errors carry no payload: the answer has a byte count of 2.
    static TSimReply Error(quint8 code) { return {code, {}, false}; }
};

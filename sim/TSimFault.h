#pragma once

#include <QString>

#include <optional>

// One fault to inject into the answers of the bus. A fault targets one
// command or any, one device (by polling address) or any, and fires on the
// n-th targeted request only, from the n-th on, or (the default) on every
// one. Value carries the kind's parameter; each kind has a default.
struct TSimFault
{
    enum class TKind {
        NoAnswer,           // the request never reaches the device: no answer, nothing carried out
        Noise,              // Value bytes other than 0xFF before the preambles
        WrongChecksum,      // the check byte is inverted
        Truncated,          // the last Value bytes of the frame are cut off
        TrailingBytes,      // Value zero bytes after the check byte
        CommunicationError, // first status byte Value (bit 7 set), no payload; nothing carried out
        ByteCount,          // payload lengthened (Value > 0, zero bytes) or shortened; the frame stays well formed
        NotANumber,         // Pattern (7F A0 00 00) at payload offset Value (first payload byte = 0)
        ResponseCode,       // the device answers response code Value without payload; nothing carried out
        DeviceStatus,       // the field device status byte is replaced by Value
        Delay               // the answer leaves Value ms later
    };

    static constexpr int AnyCommand = -1;
    static constexpr int AnyDevice = -1;

    explicit TSimFault(TKind kind);

    TKind Kind;
    int Command = AnyCommand;
    int PollingAddress = AnyDevice;
    int FirstRequest = 1;  // 1-based count of targeted requests
    bool Continues = true; // false: only on FirstRequest
    int Value;
    // The four bytes a NotANumber fault writes, most significant first; other
    // patterns probe the edges of the master's not-a-number rule.
    quint32 Pattern = 0x7FA00000;

    TSimFault& OnCommand(int command);
    TSimFault& OnDevice(int pollingAddress);
    TSimFault& OnRequest(int request);   // only this one
    TSimFault& FromRequest(int request); // this one and every later one
    TSimFault& WithValue(int value);
    TSimFault& WithPattern(quint32 pattern);

    // A device that stops answering anything from its n-th request on.
    static TSimFault Disappear(int pollingAddress, int fromRequest);

    bool Targets(int pollingAddress, int command) const;
    bool FiresOn(int request) const;

    QString Name() const;
    static std::optional<TKind> KindNamed(const QString& name);
};

#include "TSimFault.h"

#include <array>

namespace {

struct TKindInfo
{
    TSimFault::TKind Kind;
    const char* Name;
    int DefaultValue;
};

using K = TSimFault::TKind;
constexpr std::array<TKindInfo, 11> Kinds{{
    {K::NoAnswer, "no-answer", 0},
    {K::Noise, "noise", 4},
    {K::WrongChecksum, "wrong-checksum", 0},
    {K::Truncated, "truncated", 3},
    {K::TrailingBytes, "trailing-bytes", 3},
    {K::CommunicationError, "communication-error", 0xD0},
    {K::ByteCount, "byte-count", -1},
    {K::NotANumber, "nan", 0},
    {K::ResponseCode, "response-code", 32},
    {K::DeviceStatus, "device-status", 0x80},
    {K::Delay, "delay", 2000},
}};

const TKindInfo& Info(TSimFault::TKind kind)
{
    return Kinds[size_t(kind)];
}

} // namespace

TSimFault::TSimFault(TKind kind) : Kind(kind), Value(Info(kind).DefaultValue)
{
}

TSimFault& TSimFault::OnCommand(int command)
{
    Command = command;
    return *this;
}

TSimFault& TSimFault::OnDevice(int pollingAddress)
{
    PollingAddress = pollingAddress;
    return *this;
}

TSimFault& TSimFault::OnRequest(int request)
{
    FirstRequest = request;
    Continues = false;
    return *this;
}

TSimFault& TSimFault::FromRequest(int request)
{
    FirstRequest = request;
    Continues = true;
    return *this;
}

TSimFault& TSimFault::WithValue(int value)
{
    Value = value;
    return *this;
}

TSimFault& TSimFault::WithPattern(quint32 pattern)
{
    Pattern = pattern;
    return *this;
}

TSimFault TSimFault::Disappear(int pollingAddress, int fromRequest)
{
    return TSimFault(TKind::NoAnswer).OnDevice(pollingAddress).FromRequest(fromRequest);
}

bool TSimFault::Targets(int pollingAddress, int command) const
{
    return (Command == AnyCommand || Command == command)
           && (PollingAddress == AnyDevice || PollingAddress == pollingAddress);
}

bool TSimFault::FiresOn(int request) const
{
    return Continues ? request >= FirstRequest : request == FirstRequest;
}

QString TSimFault::Name() const
{
    return QString::fromLatin1(Info(Kind).Name);
}

std::optional<TSimFault::TKind> TSimFault::KindNamed(const QString& name)
{
    for (const TKindInfo& info : Kinds)
        if (name == QLatin1String(info.Name))
            return info.Kind;
    return std::nullopt;
}

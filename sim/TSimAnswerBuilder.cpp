#include "TSimAnswerBuilder.h"

#include <algorithm>

namespace {

using K = TSimFault::TKind;

const TSimFault* Find(const QList<TSimFault>& faults, K kind)
{
    const auto found =
        std::find_if(faults.begin(), faults.end(), [kind](const TSimFault& fault) { return fault.Kind == kind; });
    return found == faults.end() ? nullptr : &*found;
}

// Line noise a modem may pick up before the carrier settles: never 0xFF.
QByteArray Noise(int count)
{
    static const char pattern[] = {'\x00', '\x55', '\xAA', '\x3C'};
    QByteArray noise;
    for (int i = 0; i < count; ++i)
        noise.append(pattern[i % sizeof pattern]);
    return noise;
}

} // namespace

TSimAnswer TSimAnswerBuilder::Answer(TSimDevice& device, const TSimFrame& request, const QList<TSimFault>& faults)
{
    TSimAnswer answer;
    for (const TSimFault& fault : faults) {
        answer.Faults.append(fault.Name());
        if (fault.Kind == K::Delay)
            answer.DelayMs += fault.Value;
    }
    if (Find(faults, K::NoAnswer))
        return answer;

    const TSimReply reply = Reply(device, request, faults, answer.Executed);
    quint8 status = device.TakeStatus();
    if (const TSimFault* forced = Find(faults, K::DeviceStatus))
        status = quint8(forced->Value);
    const TSimFrame frame = Frame(request, device.State().ResponsePreambles, reply.ResponseCode, status,
                                  ShapedPayload(reply.Payload, faults));
    answer.Bytes = ShapedBytes(frame.Bytes(), faults);
    answer.Sent = true;
    return answer;
}

TSimReply TSimAnswerBuilder::Reply(TSimDevice& device, const TSimFrame& request, const QList<TSimFault>& faults,
                                   bool& executed)
{
    for (K refusal : {K::CommunicationError, K::ResponseCode})
        if (const TSimFault* fault = Find(faults, refusal))
            return TSimReply::Error(quint8(fault->Value));
    executed = true;
    return device.Handle(request.Command, request.Data);
}

// The answer repeats the request's address with the burst bit clear.
TSimFrame TSimAnswerBuilder::Frame(const TSimFrame& request, int preambles, quint8 responseCode, quint8 status,
                                   const QByteArray& payload)
{
    TSimFrame frame;
    frame.Preambles = preambles;
    frame.Delimiter = request.IsLong() ? TSimFrame::LongAnswer : TSimFrame::ShortAnswer;
    frame.Address = request.Address;
    frame.Address[0] = char(frame.Address[0] & ~TSimFrame::BurstBit);
    frame.Command = request.Command;
    frame.Data = char(responseCode) + (char(status) + payload);
    frame.Seal();
    return frame;
}

QByteArray TSimAnswerBuilder::ShapedPayload(QByteArray payload, const QList<TSimFault>& faults)
{
    if (const TSimFault* nan = Find(faults, K::NotANumber); nan && nan->Value + 4 <= payload.size()) {
        QByteArray pattern;
        for (int shift = 24; shift >= 0; shift -= 8)
            pattern.append(char(nan->Pattern >> shift));
        payload.replace(nan->Value, 4, pattern);
    }
    if (const TSimFault* count = Find(faults, K::ByteCount)) {
        if (count->Value > 0)
            payload.append(QByteArray(count->Value, '\0'));
        else
            payload.chop(-count->Value);
    }
    return payload;
}

QByteArray TSimAnswerBuilder::ShapedBytes(QByteArray bytes, const QList<TSimFault>& faults)
{
    if (Find(faults, K::WrongChecksum))
        bytes[bytes.size() - 1] = char(~bytes[bytes.size() - 1]);
    if (const TSimFault* truncated = Find(faults, K::Truncated))
        bytes.chop(truncated->Value);
    if (const TSimFault* trailing = Find(faults, K::TrailingBytes))
        bytes.append(QByteArray(trailing->Value, '\0'));
    if (const TSimFault* noise = Find(faults, K::Noise))
        bytes.prepend(Noise(noise->Value));
    return bytes;
}

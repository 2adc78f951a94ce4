#include "TSimFrameParser.h"

std::optional<TSimFrame> TSimFrameParser::Feed(quint8 byte)
{
    switch (stage) {
    case TStage::Preambles:
        Hunt(byte);
        break;
    case TStage::Address:
        frame.Address.append(char(byte));
        if (frame.Address.size() == (frame.IsLong() ? 5 : 1))
            stage = TStage::Command;
        break;
    case TStage::Command:
        frame.Command = byte;
        stage = TStage::ByteCount;
        break;
    case TStage::ByteCount:
        byteCount = byte;
        stage = byteCount > 0 ? TStage::Data : TStage::Checksum;
        break;
    case TStage::Data:
        frame.Data.append(char(byte));
        if (frame.Data.size() == byteCount)
            stage = TStage::Checksum;
        break;
    case TStage::Checksum:
        frame.Checksum = byte;
        const TSimFrame complete = frame;
        Reset();
        return complete;
    }
    return std::nullopt;
}

void TSimFrameParser::Reset()
{
    stage = TStage::Preambles;
    preambles = 0;
    frame = TSimFrame();
}

void TSimFrameParser::Hunt(quint8 byte)
{
    if (byte == 0xFF) {
        ++preambles;
        return;
    }
    const bool request = byte == TSimFrame::ShortRequest || byte == TSimFrame::LongRequest;
    if (preambles >= 2 && request) {
        frame = TSimFrame();
        frame.Preambles = preambles;
        frame.Delimiter = byte;
        stage = TStage::Address;
    }
    preambles = 0;
}

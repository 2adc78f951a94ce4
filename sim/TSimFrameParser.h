#pragma once

#include "TSimFrame.h"

#include <optional>

// Finds master requests in the byte stream the way a HART slave listens: at
// least two 0xFF preambles, then a request delimiter (0x02 short, 0x82 long),
// then address, command, byte count, data and check byte. Anything else is
// skipped while hunting for the next preamble. The check byte is not judged
// here; the frame carries it.
class TSimFrameParser
{
public:
    // Returns the frame that this byte completes, if any.
    std::optional<TSimFrame> Feed(quint8 byte);

    // Drops a frame begun but not finished (a gap on the line).
    void Reset();

    // A delimiter has been seen and the frame is not complete yet.
    bool InFrame() const { return stage != TStage::Preambles; }

private:
    enum class TStage { Preambles, Address, Command, ByteCount, Data, Checksum };

    void Hunt(quint8 byte);

    TStage stage = TStage::Preambles;
    int preambles = 0;
    int byteCount = 0;
    TSimFrame frame;
};

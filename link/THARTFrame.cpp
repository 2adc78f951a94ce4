#include "link/THARTFrame.h"

#include "link/LinkExceptions.h"

namespace {

bool IsAnswerDelimiter(quint8 delimiter)
{
    return delimiter == 0x02 || delimiter == 0x06 || delimiter == 0x82 || delimiter == 0x86;
}

// Stores the byte at position i (1-based, counted from the first preamble) of
// the frame once the delimiter is known. Header layout after the delimiter:
// address, command, byte count, data, checksum.
void StoreFrameByte(THARTFrame& frame, quint32 i, quint8 b)
{
    const quint32 p = frame.PreambleCount;
    const quint32 addressLength = static_cast<quint32>(frame.Address.size());
    const quint32 commandAt = p + 2 + addressLength;
    const quint32 byteCountAt = commandAt + 1;
    const quint32 dataFrom = byteCountAt + 1;
    const quint32 checksumAt = dataFrom + frame.ByteCount;

    if (i < commandAt) {
        frame.Address[static_cast<int>(i - p - 2)] = static_cast<char>(b);
    } else if (i == commandAt) {
        frame.Command = b;
    } else if (i == byteCountAt) {
        frame.ByteCount = b;
        frame.Data = TArrayChar(b, '\0');
    } else if (i < checksumAt) {
        frame.Data[static_cast<int>(i - dataFrom)] = static_cast<char>(b);
    } else if (i == checksumAt) {
        frame.Checksum = b;
        frame.ChecksumReceived = true;
    }
}

} // namespace

void DecodeHARTAnswer(const QByteArray& received, THARTFrame& frame)
{
    bool preambleDone = false;
    quint32 i = 0;
    for (const char c : received) {
        const auto b = static_cast<quint8>(c);
        ++i;
        if (!preambleDone) {
            if (b == 0xFF) {
                ++frame.PreambleCount;
                continue;
            }
            preambleDone = true;
        }
        if (frame.PreambleCount < 2)
            throw EInconsistentException(QStringLiteral("answer inconsistent (preamble count less than 2)"));

        if (i == frame.PreambleCount + 1) {
            frame.Delimiter = b;
            if (!IsAnswerDelimiter(b))
                throw EInconsistentException(QStringLiteral("answer inconsistent (delimiter invalid)"));
            frame.LongFrame = (b & 0x80) != 0;
            frame.Address = TArrayChar(frame.LongFrame ? 5 : 1, '\0');
        } else {
            StoreFrameByte(frame, i, b);
        }
    }
}

void VerifyHARTChecksum(const THARTFrame& frame)
{
    quint32 check = frame.Delimiter;
    for (const char a : frame.Address)
        check ^= static_cast<quint8>(a);
    check ^= static_cast<quint32>(frame.Command);
    check ^= frame.ByteCount;
    for (const char d : frame.Data)
        check ^= static_cast<quint8>(d);

    if (check == 0xFFFFFFFFu)
        throw EInconsistentException(QStringLiteral("answer inconsistent (framing error)"));
    if (!frame.ChecksumReceived || check != frame.Checksum)
        throw EInconsistentException(QStringLiteral("answer inconsistent (checksum incorrect)"));
}

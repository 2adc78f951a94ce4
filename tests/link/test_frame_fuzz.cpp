// The answer parser fed with random and mutated byte sequences: it must only
// ever produce a frame or raise one of its own messages, and a good answer cut
// short anywhere must never pass. Run it under AddressSanitizer/UBSan to catch
// out-of-range reads.
#include "HexBytes.h"

#include "link/LinkExceptions.h"
#include "link/THARTFrame.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

const QStringList ParserMessages = {
    QStringLiteral("answer inconsistent (preamble count less than 2)"),
    QStringLiteral("answer inconsistent (delimiter invalid)"),
    QStringLiteral("answer inconsistent (framing error)"),
    QStringLiteral("answer inconsistent (checksum incorrect)"),
};

const QList<QByteArray> Seeds = {
    Hex("FF FF 06 80 00 00 86"),
    Hex("FF FF FF FF FF 86 A6 80 01 23 45 01 07 00 00 2D 41 20 00 00 8D"),
    Hex("FF FF FF FF FF 86 A6 80 01 23 45 01 02 D0 00 14"),
};

// What the parser made of the bytes: "ok" or its message.
QString Parse(const QByteArray& received)
{
    THARTFrame frame;
    try {
        DecodeHARTAnswer(received, frame);
        VerifyHARTChecksum(frame);
    } catch (const EInconsistentException& e) {
        return e.Message();
    }
    if (frame.Data.size() != static_cast<int>(frame.ByteCount))
        return QStringLiteral("data length differs from the byte count");
    if (frame.Address.size() != (frame.LongFrame ? 5 : 1))
        return QStringLiteral("address length does not fit the delimiter");
    return QStringLiteral("ok");
}

QByteArray RandomBytesOfLength(QRandomGenerator& random, int length)
{
    QByteArray bytes(length, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random.bounded(256));
    return bytes;
}

QByteArray RandomBytes(QRandomGenerator& random, int maxLength)
{
    QByteArray bytes = RandomBytesOfLength(random, random.bounded(maxLength + 1));
    // Most real buffers start with preambles; give the parser those too.
    if (random.bounded(2) == 0)
        bytes.prepend(QByteArray(random.bounded(1, 6), char(0xFF)));
    return bytes;
}

// A well-formed answer with everything but its framing drawn at random: any
// answer delimiter, address, command, byte count and data, closed by the XOR
// of delimiter through data.
QByteArray RandomGoodAnswer(QRandomGenerator& random)
{
    static const char Delimiters[] = { 0x02, 0x06, char(0x82), char(0x86) };
    const char delimiter = Delimiters[random.bounded(4)];
    QByteArray frame(1, delimiter);
    frame += RandomBytesOfLength(random, (delimiter & 0x80) ? 5 : 1);
    frame += RandomBytesOfLength(random, 1);              // command
    const int byteCount = random.bounded(256);
    frame += static_cast<char>(byteCount);
    frame += RandomBytesOfLength(random, byteCount);
    char check = 0;
    for (const char b : frame)
        check = static_cast<char>(check ^ b);
    return QByteArray(random.bounded(2, 21), char(0xFF)) + frame + check;
}

QByteArray Mutated(QRandomGenerator& random, QByteArray bytes)
{
    const int edits = random.bounded(1, 4);
    for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
        const int at = random.bounded(static_cast<int>(bytes.size()));
        switch (random.bounded(4)) {
        case 0: bytes[at] = static_cast<char>(random.bounded(256)); break;
        case 1: bytes.remove(at, 1); break;
        case 2: bytes.insert(at, static_cast<char>(random.bounded(256))); break;
        default: bytes.truncate(at); break;
        }
    }
    return bytes;
}

void ExpectParserOutcome(const QByteArray& bytes)
{
    const QString outcome = Parse(bytes);
    if (outcome != QLatin1String("ok") && !ParserMessages.contains(outcome))
        QFAIL(qPrintable(QStringLiteral("%1 -> %2").arg(Spaced(bytes), outcome)));
}

} // namespace

class TestFrameFuzz : public QObject
{
    Q_OBJECT

private slots:
    void randomBytes()
    {
        QRandomGenerator random(20261209);
        for (int i = 0; i < 100000; ++i)
            ExpectParserOutcome(RandomBytes(random, 300));
    }

    void mutatedAnswers()
    {
        QRandomGenerator random(4711);
        for (int i = 0; i < 100000; ++i)
            ExpectParserOutcome(Mutated(random, Seeds.at(random.bounded(static_cast<int>(Seeds.size())))));
    }

    // A frame cut short anywhere, even where the bytes so far happen to XOR
    // to zero, is never a good answer.
    void everyCutOfManyGoodAnswersFails()
    {
        QRandomGenerator random(1200);
        for (int i = 0; i < 2000; ++i) {
            const QByteArray good = RandomGoodAnswer(random);
            QCOMPARE(Parse(good), QString("ok"));
            for (int length = 0; length < good.size(); ++length) {
                const QString outcome = Parse(good.left(length));
                QVERIFY2(outcome != QLatin1String("ok") && ParserMessages.contains(outcome),
                         qPrintable(QStringLiteral("%1 -> %2").arg(Spaced(good.left(length)), outcome)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestFrameFuzz)
#include "test_frame_fuzz.moc"

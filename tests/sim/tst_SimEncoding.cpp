// Encodings and framing of the simulator, byte by byte.

#include "TSimFrame.h"
#include "TSimFrameParser.h"
#include "TSimPackedAscii.h"
#include "TSimPayloadReader.h"
#include "TSimPayloadWriter.h"
#include "TSimTestPort.h"
#include "TSimUnits.h"

#include <QtTest>

#include <cmath>
#include <limits>

class TestSimEncoding : public QObject
{
    Q_OBJECT

private:
    static QList<TSimFrame> Parse(const QByteArray& bytes)
    {
        TSimFrameParser parser;
        QList<TSimFrame> frames;
        for (char byte : bytes)
            if (const std::optional<TSimFrame> frame = parser.Feed(quint8(byte)))
                frames.append(*frame);
        return frames;
    }

private slots:
    void PackedAsciiPacksFourCharactersIntoThreeBytes()
    {
        QCOMPARE(Spaced(TSimPackedAscii::Pack("ABCD", 4)), QByteArray("04 20 C4"));
        QCOMPARE(Spaced(TSimPackedAscii::Pack("", 8)), QByteArray("82 08 20 82 08 20"));
        QCOMPARE(Spaced(TSimPackedAscii::Pack("TIVERN", 8)), QByteArray("50 95 85 48 E8 20"));
        QCOMPARE(Spaced(TSimPackedAscii::Pack("HELLO", 32)),
                 QByteArray("20 53 0C 3E 08 20 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20 82 08 20"));
        QCOMPARE(Spaced(TSimPackedAscii::Pack("ABCDEFGH", 4)), QByteArray("04 20 C4"));
    }

    void PackedAsciiUnpacksSixBitCodes()
    {
        QCOMPARE(TSimPackedAscii::Unpack(Hex("04 20 C4")), QByteArray("ABCD"));
        QCOMPARE(TSimPackedAscii::Unpack(Hex("00 00 00")), QByteArray("@@@@"));
        QCOMPARE(TSimPackedAscii::Unpack(Hex("82 08 20")), QByteArray("    "));
        QCOMPARE(TSimPackedAscii::Unpack(Hex("04 20")), QByteArray());
    }

    void PayloadWriterWritesBigEndian()
    {
        TSimPayloadWriter writer;
        writer.Byte(0x2D).UInt16(258).UInt24(0x0A0B0C).UInt32(32000).Float(1.0f).Float(-2.5f);
        QCOMPARE(Spaced(writer.Payload()), QByteArray("2D 01 02 0A 0B 0C 00 00 7D 00 3F 80 00 00 C0 20 00 00"));
    }

    void PayloadWriterSendsTheHartNotANumber()
    {
        TSimPayloadWriter writer;
        writer.Float(std::numeric_limits<float>::quiet_NaN());
        QCOMPARE(Spaced(writer.Payload()), QByteArray("7F A0 00 00"));
    }

    void PayloadReaderReadsBigEndian()
    {
        const TSimPayloadReader reader(Hex("01 02 03 41 20 00 00"));
        QCOMPARE(reader.UInt16(0), quint16(258));
        QCOMPARE(reader.UInt24(0), quint32(0x010203));
        QCOMPARE(reader.Float(3), 10.0f);
        QCOMPARE(reader.Size(), 7);
    }

    void FrameSealsWithTheXorOfDelimiterThroughData()
    {
        TSimFrame frame;
        frame.Delimiter = TSimFrame::LongAnswer;
        frame.Address = Hex("A6 80 01 23 45");
        frame.Command = 1;
        frame.Data = Hex("00 00");
        frame.Seal();
        QCOMPARE(Spaced(frame.Bytes()), QByteArray("FF FF FF FF FF 86 A6 80 01 23 45 01 02 00 00 C4"));
        QVERIFY(frame.ChecksumValid());
    }

    void ParserFindsShortAndLongRequests()
    {
        const QList<TSimFrame> frames =
            Parse(Hex("FF FF 02 83 00 00 81") + Hex("FF FF FF FF FF 82 A6 80 01 23 45 01 00 C2"));
        QCOMPARE(frames.size(), 2);
        QCOMPARE(frames[0].Preambles, 2);
        QVERIFY(!frames[0].IsLong());
        QCOMPARE(Spaced(frames[0].Address), QByteArray("83"));
        QVERIFY(frames[0].ChecksumValid());
        QVERIFY(frames[1].IsLong());
        QCOMPARE(frames[1].Preambles, 5);
        QCOMPARE(Spaced(frames[1].Address), QByteArray("A6 80 01 23 45"));
        QCOMPARE(frames[1].Command, quint8(1));
        QVERIFY(frames[1].ChecksumValid());
    }

    void ParserKeepsPreambleBytesInsideTheData()
    {
        const QList<TSimFrame> frames = Parse(Hex("FF FF FF 82 A6 80 01 23 45 11 03 FF FF 02 D3"));
        QCOMPARE(frames.size(), 1);
        QCOMPARE(Spaced(frames[0].Data), QByteArray("FF FF 02"));
        QVERIFY(frames[0].ChecksumValid());
    }

    void ParserSkipsWhatIsNoRequest()
    {
        QCOMPARE(Parse(Hex("FF 02 80 00 00 82")).size(), 0);          // one preamble
        QCOMPARE(Parse(Hex("FF FF 06 80 00 00 86")).size(), 0);       // an answer
        QCOMPARE(Parse(Hex("FF FF 01 80 00 00 81")).size(), 0);       // burst frame
        QCOMPARE(Parse(Hex("FF 12 FF 02 80 00 00 82")).size(), 0);    // preambles interrupted
        QCOMPARE(Parse(Hex("00 55 AA FF FF 02 80 00 00 82")).size(), 1); // noise before them
    }

    void ParserHandsOverBadChecksums()
    {
        const QList<TSimFrame> frames = Parse(Hex("FF FF 02 80 00 00 83"));
        QCOMPARE(frames.size(), 1);
        QVERIFY(!frames[0].ChecksumValid());
    }

    void ParserDropsAFrameOnReset()
    {
        TSimFrameParser parser;
        for (char byte : Hex("FF FF 82 A6 80"))
            parser.Feed(quint8(byte));
        QVERIFY(parser.InFrame());
        parser.Reset();
        QVERIFY(!parser.InFrame());
        int frames = 0;
        for (char byte : Hex("FF FF 02 80 00 00 82"))
            frames += parser.Feed(quint8(byte)) ? 1 : 0;
        QCOMPARE(frames, 1);
    }

    void UnitsConvertThroughTheBaseUnit()
    {
        QCOMPARE(TSimUnits::ToBase(10.0, TSimUnits::Feet), 3.048);
        QCOMPARE(TSimUnits::FromBase(1.25, TSimUnits::Millimeters), 1250.0);
        QCOMPARE(TSimUnits::FromBase(0.0254, TSimUnits::FeetInSixteenths), 16.0);
        QCOMPARE(TSimUnits::ToBase(212.0, TSimUnits::Fahrenheit), 100.0);
        QCOMPARE(TSimUnits::FromBase(0.0, TSimUnits::Fahrenheit), 32.0);
        QCOMPARE(TSimUnits::DifferenceFromBase(10.0, TSimUnits::Fahrenheit), 18.0);
        QCOMPARE(TSimUnits::DifferenceToBase(50.0, TSimUnits::Centimeters), 0.5);
    }

    void UnitsKnowTheirQuantity()
    {
        QCOMPARE(TSimUnits::QuantityOf(TSimUnits::Inches), TSimQuantity::Length);
        QCOMPARE(TSimUnits::QuantityOf(TSimUnits::FeetInSixteenths), TSimQuantity::Length);
        QCOMPARE(TSimUnits::QuantityOf(TSimUnits::Fahrenheit), TSimQuantity::Temperature);
        QCOMPARE(TSimUnits::QuantityOf(46), TSimQuantity::None);
        QCOMPARE(TSimUnits::QuantityOf(TSimUnits::NotUsed), TSimQuantity::None);
    }
};

QTEST_GUILESS_MAIN(TestSimEncoding)
#include "tst_SimEncoding.moc"

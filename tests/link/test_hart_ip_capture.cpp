// The capture file of a frame trace, as Wireshark's HART-IP dissector reads
// it (through tshark): who sent each frame, with a valid IP header checksum
// (and no UDP checksum, which UDP over IPv4 may leave out), and the sequence
// numbers that pair a request with its answer.
#include "HexBytes.h"

#include "link/UHartIpCapture.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestHartIpCapture : public QObject
{
    Q_OBJECT

private slots:
    // A request and its answer share a sequence number; a request sent again
    // after a time-out is a new message with a number of its own.
    void addressesAndSequenceNumbers()
    {
        const QString tshark = QStandardPaths::findExecutable(QStringLiteral("tshark"));
        if (tshark.isEmpty())
            QSKIP("tshark is not installed: the capture cannot be decoded here");
        const auto frame = [](TTracedFrame::TDirection direction, qint64 time, const char* bytes) {
            return TTracedFrame { direction, time, Hex(bytes) };
        };
        const qint64 start = 1'765'000'000'000'000;
        const QList<TTracedFrame> frames {
            frame(TTracedFrame::Request, start, "FF FF FF FF FF 82 A3 0A 12 34 56 01 00 5A"),
            frame(TTracedFrame::Request, start + 1'000'000, "FF FF FF FF FF 82 A3 0A 12 34 56 01 00 5A"),
            frame(TTracedFrame::Answer, start + 1'200'000, "FF FF FF FF FF 86 A3 0A 12 34 56 01 07 00 00 2D 41 20 00 00 15"),
            frame(TTracedFrame::Request, start + 1'500'000, "FF FF FF FF FF 82 A3 0A 12 34 56 02 00 59"),
            frame(TTracedFrame::Answer, start + 1'700'000, "FF FF FF FF FF 86 A3 0A 12 34 56 02 0A 00 00 41 80 00 00 42 48 00 00 9C"),
        };
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("trace.pcap"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(HartIpCapture(frames));
        file.close();

        QProcess decode;
        decode.start(tshark, { "-r", path, "-o", "ip.check_checksum:TRUE", "-o", "udp.check_checksum:TRUE", "-T", "fields",
                               "-E", "separator=,", "-e", "ip.src", "-e", "udp.srcport", "-e", "ip.dst", "-e", "udp.dstport",
                               "-e", "ip.checksum.status", "-e", "udp.checksum.status", "-e", "hart_ip.message_type",
                               "-e", "hart_ip.transaction_id", "-e", "hart_ip.pt.command", "-e", "frame.time_epoch" });
        QVERIFY(decode.waitForFinished(60000));
        QCOMPARE(decode.exitCode(), 0);
        QCOMPARE(QString::fromLatin1(decode.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 (QStringList { "192.0.2.1,50000,192.0.2.2,5094,1,3,0,1,1,1765000000.000000000",
                                "192.0.2.1,50000,192.0.2.2,5094,1,3,0,2,1,1765000001.000000000",
                                "192.0.2.2,5094,192.0.2.1,50000,1,3,1,2,1,1765000001.200000000",
                                "192.0.2.1,50000,192.0.2.2,5094,1,3,0,3,2,1765000001.500000000",
                                "192.0.2.2,5094,192.0.2.1,50000,1,3,1,3,2,1765000001.700000000" }));
    }
};

QTEST_GUILESS_MAIN(TestHartIpCapture)
#include "test_hart_ip_capture.moc"

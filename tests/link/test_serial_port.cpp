// The serial port adapter and the COM-number mapping, over real pseudo-terminals.
#include "HexBytes.h"
#include "OpenFailureText.h"
#include "PtyPair.h"

#include "link/TComPortNames.h"
#include "link/TComportHARTBasis.h"
#include "link/TSerialPort.h"

#include <QSocketNotifier>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <thread>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray Request = Hex("FF FF FF FF FF 82 A6 80 01 23 45 01 00 C2");
const QByteArray GoodAnswer = Hex("FF FF FF FF FF 86 A6 80 01 23 45 01 07 00 00 2D 41 20 00 00 8D");

// A COM number pointed at a fresh pseudo-terminal.
struct PtyPort
{
    PtyPort(int comNumber, const QString& linkPath)
        : comNumber(comNumber)
        , pty(linkPath)
    {
        TComPortNames::SetOverride(comNumber, pty.LinkPath());
    }
    int comNumber;
    PtyPair pty;
};

QString OpenFailure(TSerialPort& port)
{
    return OpenFailureText([&port] { port.Open(); });
}

// What `step` returns when run by a user without special rights. Root opens
// every node whatever its mode, so a test run as root runs the step in a
// child process that has become the user nobody.
QString AsUnprivilegedUser(const std::function<QString()>& step)
{
    if (::geteuid() != 0)
        return step();
    const passwd* nobody = ::getpwnam("nobody");
    int channel[2];
    if (!nobody || ::pipe(channel) != 0)
        return QStringLiteral("<no user nobody to run as>");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
            ::_exit(1);
        const QByteArray result = step().toUtf8();
        ::_exit(::write(channel[1], result.constData(), result.size()) == result.size() ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray result;
    char buffer[256];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("<the step failed as the user nobody>");
    return QString::fromUtf8(result);
}

// What a transaction over the port raises, with a mark unless it is the loss of the port.
QString LostPortFailure(TComportHARTBasis& basis)
{
    try {
        THARTFrame answer;
        basis.SendRequest(Request, 10000, answer);
    } catch (const EPortLost& e) {
        return e.Message();
    } catch (const Exception& e) {
        return QStringLiteral("not a lost port: ") + e.Message();
    }
    return QStringLiteral("<no exception>");
}

// Whether the port could still wake the program: a running timer, or a
// descriptor it watches.
bool NothingLeftToWakeUp(const QObject& port)
{
    const QList<QTimer*> timers = port.findChildren<QTimer*>();
    const QList<QSocketNotifier*> notifiers = port.findChildren<QSocketNotifier*>();
    return std::none_of(timers.begin(), timers.end(), [](const QTimer* t) { return t->isActive(); })
        && std::none_of(notifiers.begin(), notifiers.end(), [](const QSocketNotifier* n) { return n->isEnabled(); });
}

} // namespace

class TestSerialPort : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        const QString iniPath = InFolder("KORVALMeridal.ini");
        QSettings ini(iniPath, QSettings::IniFormat);
        ini.setValue(QStringLiteral("Ports/COM21"), QStringLiteral("/dev/ttyS9"));
        ini.setValue(QStringLiteral("Ports/COM7"), QStringLiteral("/dev/ttyUSB9"));
        ini.sync();
        TComPortNames::UseIniFile(iniPath);
    }

    void comNumbersMapToDeviceNodes_data()
    {
        QTest::addColumn<int>("comNumber");
        QTest::addColumn<QString>("path");
        QTest::newRow("COM1") << 1 << "/dev/ttyS0";
        QTest::newRow("COM4") << 4 << "/dev/ttyS3";
        QTest::newRow("COM5") << 5 << "/dev/ttyUSB0";
        QTest::newRow("COM12") << 12 << "/dev/ttyUSB7";
        QTest::newRow("COM13") << 13 << "/dev/ttyACM0";
        QTest::newRow("COM20") << 20 << "/dev/ttyACM7";
        QTest::newRow("COM21 from the INI file") << 21 << "/dev/ttyS9";
        QTest::newRow("COM7 from the INI file") << 7 << "/dev/ttyUSB9";
        QTest::newRow("COM22 has none") << 22 << "";
        QTest::newRow("COM0 has none") << 0 << "";
    }

    void comNumbersMapToDeviceNodes()
    {
        QFETCH(int, comNumber);
        QFETCH(QString, path);
        QCOMPARE(TComPortNames::DevicePath(comNumber), path);
    }

    void displayNameShowsTheNode()
    {
        QCOMPARE(TComPortNames::DisplayName(5), QString("COM5 (/dev/ttyUSB0)"));
        QCOMPARE(TComPortNames::DisplayName(22), QString("COM22"));
    }

    void overrideTakesPrecedenceOverTheIniFile()
    {
        TComPortNames::SetOverride(21, QStringLiteral("/dev/ttyACM5"));
        QCOMPARE(TComPortNames::DevicePath(21), QString("/dev/ttyACM5"));
    }

    void openFlushReadWrite()
    {
        PtyPort link(30, InFolder("rw"));
        TSerialPort port(30, 1200, QSerialPort::OddParity);
        port.Open();
        QVERIFY(port.IsOpen());

        QSignalSpy announced(&port, &TComPort::TriggerAvail);
        link.pty.WriteToProgram(Hex("01 02 03"));
        QTRY_VERIFY(!announced.isEmpty());
        port.FlushInput();
        announced.clear();
        link.pty.WriteToProgram(Hex("FF 06"));
        QTRY_VERIFY(!announced.isEmpty());
        QCOMPARE(port.Read(16), Hex("FF 06"));          // the flushed bytes are gone

        port.Write(Request);
        QCOMPARE(link.pty.ReadFromProgram(Request.size(), 2000), Request);
    }

    void unreadBytesStayWaiting()
    {
        PtyPort link(31, InFolder("unread"));
        TSerialPort port(31, 1200, QSerialPort::OddParity);
        port.Open();
        QSignalSpy announced(&port, &TComPort::TriggerAvail);
        link.pty.WriteToProgram(Hex("FF FF 06 80"));
        QTRY_VERIFY(!announced.isEmpty());
        QCOMPARE(port.Read(2), Hex("FF FF"));
        QCOMPARE(port.Read(16), Hex("06 80"));
    }

    void portInUseIsReportedAsAlreadyOpen()
    {
        PtyPort link(32, InFolder("busy"));
        TSerialPort holder(32, 1200, QSerialPort::OddParity);
        holder.Open();
        TSerialPort second(32, 1200, QSerialPort::OddParity);
        QVERIFY(OpenFailure(second).startsWith(QStringLiteral("already open: COM32 (")));
        QVERIFY(TSerialPort::IsPresent(32));
    }

    void missingPortIsAnotherFailure()
    {
        const QString missing = InFolder("no-such-port");
        TComPortNames::SetOverride(33, missing);
        TSerialPort port(33, 1200, QSerialPort::OddParity);
        const QString failure = OpenFailure(port);
        QVERIFY2(failure.startsWith(QStringLiteral("Cannot open COM33 (%1): ").arg(missing)), qPrintable(failure));
        QVERIFY(!TSerialPort::IsPresent(33));

        TSerialPort unmapped(99, 1200, QSerialPort::OddParity);
        QCOMPARE(OpenFailure(unmapped), QString("COM99 has no serial device. Name one in KORVALMeridal.ini, section [Ports]."));
    }

    // The node's owner is refused, and so is everyone else outside its group.
    void portTheUserMayNotOpenSaysHowToGetTheRight()
    {
        const QString node = InFolder("denied");
        QFile file(node);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadGroup | QFile::WriteGroup));
        // The unprivileged user must reach the node to learn what it may do.
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                         | QFile::ReadOther | QFile::ExeOther));
        TComPortNames::SetOverride(38, node);

        const QString group = QFileInfo(node).group();
        QCOMPARE(AsUnprivilegedUser([] {
                     TSerialPort port(38, 1200, QSerialPort::OddParity);
                     return OpenFailure(port);
                 }),
                 QStringLiteral("access denied: COM38 (%1): permission denied.\r\rAdd your user to the group %2"
                                " (sudo usermod -aG %2 $USER), then log out and in again.")
                     .arg(node, group));
        // Listed in the port chooser, so that choosing it tells the user why it does not open.
        QCOMPARE(AsUnprivilegedUser([] { return QString(TSerialPort::IsPresent(38) ? "listed" : "not listed"); }),
                 QString("listed"));
    }

    void presentPortOpensAndCloses()
    {
        PtyPort link(34, InFolder("present"));
        QVERIFY(TSerialPort::IsPresent(34));
        TSerialPort port(34, 1200, QSerialPort::OddParity);
        port.Open();                                    // the test left it free
        port.Close();
        port.Close();                                   // closing a closed port does nothing
        QVERIFY(!port.IsOpen());
        port.Open();
        QVERIFY(port.IsOpen());
    }

    void rtsIsRaisedOnlyWhileTheFrameIsOnTheLine()
    {
        PtyPort link(35, InFolder("rts"));
        TSerialPort port(35, 1200, QSerialPort::OddParity);
        port.Open();
        QVERIFY(!port.IsTransmitting());

        QList<bool> changes;
        QByteArray onLineAtDrop;
        connect(&port, &TSerialPort::TransmittingChanged, this, [&](bool on) {
            changes.append(on);
            if (!on)
                onLineAtDrop = link.pty.ReadFromProgram(Request.size(), 0);
        });
        port.Write(Request);
        QVERIFY(port.IsTransmitting());
        QTRY_COMPARE(changes, (QList<bool> { true, false }));
        QCOMPARE(onLineAtDrop, Request);                 // dropped only once everything had left
    }

    // The modem is unplugged while a transaction waits for its answer.
    void lostPortEndsTheTransactionAndOpensAgain()
    {
        PtyPort link(37, InFolder("lost"));
        auto serial = std::make_unique<TSerialPort>(37, 1200, QSerialPort::OddParity);
        TSerialPort& port = *serial;
        TComportHARTBasis basis(std::move(serial));
        basis.Attempts = 1;
        QVERIFY(!NothingLeftToWakeUp(port));            // an open port watches its descriptor
        const QString lost = QStringLiteral("COM37 (%1) was lost.\r\rReconnect the HART modem, then press Device > Rescan"
                                            " or choose the port again under Device > COM Port.").arg(link.pty.LinkPath());

        std::thread modem([&link] {
            link.pty.ReadFromProgram(Request.size(), 5000);
            link.pty.Unplug();
        });
        const QString failure = LostPortFailure(basis);
        modem.join();
        QCOMPARE(failure, lost);
        QVERIFY(!port.IsOpen());

        basis.Attempts = 3;
        QCOMPARE(LostPortFailure(basis), lost);         // at once, not after three time-outs
        QVERIFY(!port.IsTransmitting());
        QVERIFY(NothingLeftToWakeUp(port));

        link.pty.PlugIn();
        basis.AComPort().Open();                        // what Rescan does once the modem is back
        std::thread device([&link] {
            link.pty.ReadFromProgram(Request.size(), 5000);
            link.pty.WriteToProgram(GoodAnswer);
        });
        THARTFrame answer;
        basis.SendRequest(Request, 2000, answer);
        device.join();
        QCOMPARE(answer.Data, Hex("00 00 2D 41 20 00 00"));
    }

    void transactionOverAPseudoTerminal()
    {
        PtyPort link(36, InFolder("transaction"));
        link.pty.WriteToProgram(Hex("FF FF 06 80 00 00 86"));   // stale: discarded at construction
        QTRY_COMPARE(link.pty.WaitingForProgram(), 7);
        TComportHARTBasis basis(36, 1200);
        // The device ignores the first request and answers the second.
        std::thread device([&link] {
            link.pty.ReadFromProgram(Request.size(), 5000);
            link.pty.ReadFromProgram(Request.size(), 5000);
            link.pty.WriteToProgram(GoodAnswer);
        });
        THARTFrame answer;
        basis.SendRequest(Request, 400, answer);
        device.join();
        QCOMPARE(answer.Data, Hex("00 00 2D 41 20 00 00"));
        QCOMPARE(answer.Address, Hex("A6 80 01 23 45"));
    }

private:
    QString InFolder(const char* name) const { return folder.filePath(QLatin1String(name)); }

    // This run's INI file and terminal links.
    QTemporaryDir folder;
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "test_serial_port.moc"

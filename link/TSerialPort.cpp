#include "link/TSerialPort.h"

#include "link/TComPortNames.h"
#include "link/UOpenFailure.h"

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// Bits per byte on the line: start bit, 8 data bits, parity, stop bit.
constexpr int LineBitsPerByte = 11;

// Driver errors on an open port that mean its device is gone: the descriptor
// can no longer be read or written.
bool MeansDeviceGone(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError || error == QSerialPort::WriteError;
}

} // namespace

TSerialPort::TSerialPort(int comNumber, qint32 baudRate, QSerialPort::Parity parity, QObject* parent)
    : TComPort(parent)
    , port(this)
    , comNumber(comNumber)
    , rtsTimer(this)
{
    port.setBaudRate(baudRate);
    port.setParity(parity);
    port.setDataBits(QSerialPort::Data8);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);

    rtsTimer.setSingleShot(true);
    rtsTimer.setTimerType(Qt::PreciseTimer);
    connect(&rtsTimer, &QTimer::timeout, this, &TSerialPort::dropRtsWhenSent);
    connect(&port, &QSerialPort::readyRead, this, [this] { emit TriggerAvail(static_cast<int>(port.bytesAvailable())); });
    connect(&port, &QSerialPort::errorOccurred, this, &TSerialPort::portErrorOccurred);
}

TSerialPort::~TSerialPort()
{
    Close();
}

void TSerialPort::SetPortNumber(int number)
{
    comNumber = number;
}

void TSerialPort::Open()
{
    const QString path = TComPortNames::DevicePath(comNumber);
    if (path.isEmpty())
        throw Exception(QStringLiteral("%1 has no serial device. Name one in KORVALMeridal.ini, section [Ports].").arg(TComPortNames::DisplayName(comNumber)));

    port.setPortName(path);
    if (port.open(QIODevice::ReadWrite)) {
        modemLinesWork = port.setDataTerminalReady(true);
        if (modemLinesWork)
            modemLinesWork = port.setRequestToSend(false);
        port.clearError();
        transmitting = false;
        lost = false;
        return;
    }

    const QSerialPort::SerialPortError error = port.error();
    const QString reason = port.errorString();
    port.clearError();
    ThrowOpenFailure(TComPortNames::DisplayName(comNumber), error, reason, TNodeAccess::Of(path));
}

void TSerialPort::Close()
{
    rtsTimer.stop();
    if (port.isOpen())
        port.close();
    setTransmitting(false);
}

bool TSerialPort::IsOpen() const
{
    return port.isOpen();
}

void TSerialPort::FlushInput()
{
    if (port.isOpen())
        port.clear(QSerialPort::Input);
}

void TSerialPort::FlushOutput()
{
    if (port.isOpen())
        port.clear(QSerialPort::Output);
}

void TSerialPort::Write(const QByteArray& frame)
{
    if (lost)
        throw EPortLost(lostMessage());
    if (!port.isOpen())
        throw Exception(QStringLiteral("%1 is not open.").arg(TComPortNames::DisplayName(comNumber)));
    setTransmitting(true);
    const bool queued = port.write(frame) == frame.size();
    // A driver that refuses the bytes reports its error here, at the latest.
    port.flush();
    if (!queued && !lost)
        loseDevice();
    if (lost)
        throw EPortLost(lostMessage());
    // The frame cannot have left the line before its own bit time.
    rtsTimer.start(lineTimeMs(static_cast<int>(frame.size())));
}

QByteArray TSerialPort::Read(int count)
{
    return port.read(count);
}

bool TSerialPort::IsPresent(int comNumber)
{
    TSerialPort testPort(comNumber, QSerialPort::Baud9600, QSerialPort::NoParity);
    try {
        testPort.Open();
        testPort.Close();
        return true;
    } catch (const EAlreadyOpen&) {
        return true;
    } catch (const EAccessDenied&) {
        return true;
    } catch (const Exception&) {
        return false;
    }
}

void TSerialPort::portErrorOccurred(QSerialPort::SerialPortError error)
{
    if (port.isOpen() && MeansDeviceGone(error))
        loseDevice();
}

// The descriptor of a vanished device stays readable without data and its
// output never drains: closing it is the only way to stop polling it.
void TSerialPort::loseDevice()
{
    lost = true;
    Close();
    emit PortLost(lostMessage());
}

QString TSerialPort::lostMessage() const
{
    return QStringLiteral("%1 was lost.\r\rReconnect the HART modem, then press Device > Rescan"
                          " or choose the port again under Device > COM Port.")
        .arg(TComPortNames::DisplayName(comNumber));
}

// Announces the change before switching the line: switching the line of a
// vanished device closes the port, and the drop that announces must come last.
void TSerialPort::setTransmitting(bool on)
{
    if (transmitting == on)
        return;
    transmitting = on;
    emit TransmittingChanged(on);
    if (modemLinesWork && port.isOpen()) {
        modemLinesWork = port.setRequestToSend(on);
        port.clearError();
    }
}

void TSerialPort::dropRtsWhenSent()
{
    if (driverHasSentEverything())
        setTransmitting(false);
    else if (port.isOpen())      // the flush may have found the device gone
        rtsTimer.start(1);
}

bool TSerialPort::driverHasSentEverything()
{
    if (!port.isOpen())
        return true;
    if (port.bytesToWrite() > 0) {
        port.flush();
        return false;
    }
#ifdef Q_OS_UNIX
    const int fd = static_cast<int>(port.handle());
    int queued = 0;
    if (::ioctl(fd, TIOCOUTQ, &queued) == 0 && queued > 0)
        return false;
#ifdef TIOCSERGETLSR
    // The output queue empties before the shift register does: wait for the
    // last stop bit where the driver can tell.
    unsigned int lineStatus = 0;
    if (::ioctl(fd, TIOCSERGETLSR, &lineStatus) == 0 && (lineStatus & TIOCSER_TEMT) == 0)
        return false;
#endif
#endif
    return true;
}

int TSerialPort::lineTimeMs(int byteCount) const
{
    const qint64 bits = static_cast<qint64>(byteCount) * LineBitsPerByte;
    const qint32 baud = port.baudRate() > 0 ? port.baudRate() : 1200;
    return static_cast<int>((bits * 1000 + baud - 1) / baud);
}

#include "commands/TComportHART.h"

namespace {

constexpr int HARTBaudRate = 1200;

quint8 XorOf(const QByteArray& bytes, quint8 start = 0)
{
    quint8 check = start;
    for (const char b : bytes)
        check ^= static_cast<quint8>(b);
    return check;
}

} // namespace

TComportHART::TComportHART(int comNumber, QObject* parent)
    : TComportHARTBasis(comNumber, HARTBaudRate, parent)
{
}

TComportHART::TComportHART(std::unique_ptr<TComPort> port, QObject* parent)
    : TComportHARTBasis(std::move(port), parent)
{
}

QByteArray TComportHART::BuildShortFrame0(int pollingAddress) const
{
    QByteArray head;
    head.append(char(0x02));                                    // master to slave, short address
    head.append(char(0x80 | (pollingAddress & 0x3F)));          // primary master, no burst
    head.append(char(0x00));                                    // command 0
    head.append(char(0x00));                                    // no data
    return QByteArray(RequestPreambles, char(0xFF)) + head + char(XorOf(head));
}

void TComportHART::BuildLongAddress()
{
    QByteArray head;
    head.append(char(0x82));                                    // master to slave, long address
    head.append(char(0x80 | (ManufacturerID & 0x3F)));          // primary master, no burst
    head.append(char(DeviceTypeCode & 0xFF));
    head.append(char((DeviceID >> 16) & 0xFF));
    head.append(char((DeviceID >> 8) & 0xFF));
    head.append(char(DeviceID & 0xFF));
    PrefixChecksum = XorOf(head);
    LongAddressPrefix = QByteArray(RequestPreambles, char(0xFF)) + head;
}

QByteArray TComportHART::BuildLongFrame(const QByteArray& commandBytes) const
{
    if (HasNoDevice())
        throw Exception(QStringLiteral("No HART device was found.\r\rNOTE\rConnect a supported HART device to your HART Modem and\rthe HART Modem to the selected COM port."));
    return LongAddressPrefix + commandBytes + char(XorOf(commandBytes, PrefixChecksum));
}

#include "link/UHartIpCapture.h"

namespace {

constexpr quint32 PcapMagicMicroseconds = 0xA1B2C3D4;
constexpr quint32 LinkTypeRawIp = 101;
constexpr quint32 SnapLength = 65535;

constexpr quint32 MasterAddress = 0xC0000201;  // 192.0.2.1, a documentation address
constexpr quint32 DeviceAddress = 0xC0000202;  // 192.0.2.2
constexpr quint16 MasterPort = 50000;
constexpr quint16 HartIpPort = 5094;

constexpr int IpHeaderLength = 20;
constexpr int UdpHeaderLength = 8;
constexpr int HartIpHeaderLength = 8;
constexpr quint8 HartIpVersion = 1;
constexpr quint8 MessageTypeRequest = 0;
constexpr quint8 MessageTypeResponse = 1;
constexpr quint8 MessageIdPassThrough = 3;

// Little-endian for the file's own headers, as the magic number tells.
void AppendLittle32(QByteArray& out, quint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char(value >> shift));
}

void AppendBig16(QByteArray& out, quint16 value)
{
    out.append(char(value >> 8));
    out.append(char(value));
}

void AppendBig32(QByteArray& out, quint32 value)
{
    AppendBig16(out, quint16(value >> 16));
    AppendBig16(out, quint16(value));
}

QByteArray FileHeader()
{
    QByteArray header;
    AppendLittle32(header, PcapMagicMicroseconds);
    AppendLittle32(header, 2 | (4u << 16));  // version 2.4
    AppendLittle32(header, 0);               // time zone: UTC
    AppendLittle32(header, 0);               // accuracy
    AppendLittle32(header, SnapLength);
    AppendLittle32(header, LinkTypeRawIp);
    return header;
}

quint16 IpHeaderChecksum(const QByteArray& header)
{
    quint32 sum = 0;
    for (int i = 0; i + 1 < header.size(); i += 2)
        sum += (quint8(header[i]) << 8) | quint8(header[i + 1]);
    while (sum > 0xFFFF)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

QByteArray IpHeader(int payloadLength, quint32 source, quint32 destination)
{
    QByteArray header;
    header.append(char(0x45));  // IPv4, five words of header
    header.append(char(0));
    AppendBig16(header, quint16(IpHeaderLength + payloadLength));
    AppendBig16(header, 0);       // identification
    AppendBig16(header, 0x4000);  // don't fragment
    header.append(char(64));      // time to live
    header.append(char(17));      // UDP
    AppendBig16(header, 0);       // checksum, filled in below
    AppendBig32(header, source);
    AppendBig32(header, destination);
    const quint16 checksum = IpHeaderChecksum(header);
    header[10] = char(checksum >> 8);
    header[11] = char(checksum);
    return header;
}

QByteArray UdpHeader(int payloadLength, quint16 sourcePort, quint16 destinationPort)
{
    QByteArray header;
    AppendBig16(header, sourcePort);
    AppendBig16(header, destinationPort);
    AppendBig16(header, quint16(UdpHeaderLength + payloadLength));
    AppendBig16(header, 0);  // no checksum, as IPv4 allows
    return header;
}

QByteArray HartIpMessage(const TTracedFrame& frame, quint16 sequenceNumber)
{
    const bool request = frame.Direction == TTracedFrame::Request;
    QByteArray message;
    message.append(char(HartIpVersion));
    message.append(char(request ? MessageTypeRequest : MessageTypeResponse));
    message.append(char(MessageIdPassThrough));
    message.append(char(0));  // status
    AppendBig16(message, sequenceNumber);
    AppendBig16(message, quint16(HartIpHeaderLength + frame.Bytes.size()));
    return message + frame.Bytes;
}

QByteArray Packet(const TTracedFrame& frame, quint16 sequenceNumber)
{
    const bool request = frame.Direction == TTracedFrame::Request;
    const QByteArray message = HartIpMessage(frame, sequenceNumber);
    const quint32 source = request ? MasterAddress : DeviceAddress;
    const quint32 destination = request ? DeviceAddress : MasterAddress;
    const quint16 sourcePort = request ? MasterPort : HartIpPort;
    const quint16 destinationPort = request ? HartIpPort : MasterPort;
    const int udpLength = UdpHeaderLength + message.size();
    return IpHeader(udpLength, source, destination) + UdpHeader(message.size(), sourcePort, destinationPort) + message;
}

QByteArray PacketRecord(const TTracedFrame& frame, quint16 sequenceNumber)
{
    const QByteArray packet = Packet(frame, sequenceNumber);
    QByteArray record;
    AppendLittle32(record, quint32(frame.Time / 1000000));
    AppendLittle32(record, quint32(frame.Time % 1000000));
    AppendLittle32(record, quint32(packet.size()));  // captured
    AppendLittle32(record, quint32(packet.size()));  // on the wire
    return record + packet;
}

} // namespace

QByteArray HartIpCapture(const QList<TTracedFrame>& frames)
{
    QByteArray capture = FileHeader();
    quint16 sequenceNumber = 0;
    for (const TTracedFrame& frame : frames) {
        if (frame.Direction == TTracedFrame::Request)
            ++sequenceNumber;
        capture += PacketRecord(frame, sequenceNumber);
    }
    return capture;
}

#include "ui/TDirectCommandRequest.h"

#include "util/Exceptions.h"
#include "util/UConversions.h"
#include "util/UStringTokenizer.h"
#include "util/UUtilZahlensystem.h"

namespace {

constexpr quint8 PrimaryMasterBit = 0x80;

// The decimal number before the "(" of an identity text such as "227 (0xE3)".
int IdentityNumber(const QString& text)
{
    return StrToInt(TStringTokenizer(text, QStringLiteral("("))[0].trimmed());
}

int CommandNumber(const QString& text)
{
    const int command = StrToInt(text);
    if (command > 255)
        throw Exception(QStringLiteral("Command number greater than 255"));
    if (command < 0)
        throw Exception(QStringLiteral("Command number less than 0"));
    return command;
}

QByteArray DataBytes(const QString& text)
{
    // A line break pasted into the memo separates bytes like a blank.
    QString blankSeparated = text;
    blankSeparated.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QByteArray bytes;
    for (const QString& token : TStringTokenizer(blankSeparated, QStringLiteral(" "))) {
        if (token.isEmpty())
            continue;
        if (token.size() > 2)
            throw Exception(QStringLiteral("Data: Trible chars not allowed."));
        bytes.append(char(HexToUInt32(token)));
    }
    if (bytes.size() > TDirectCommandRequest::MaxDataBytes)
        throw Exception(QStringLiteral("Data: More than 255 bytes not allowed."));
    return bytes;
}

int PreambleCount(const QString& text)
{
    const int count = StrToInt(text);
    if (count < 0)
        throw Exception(QStringLiteral("Preambles Count less than 0"));
    if (count > TDirectCommandRequest::MaxPreambles)
        throw Exception(QStringLiteral("Preambles Count greater than %1").arg(TDirectCommandRequest::MaxPreambles));
    return count;
}

quint8 Checksum(const QByteArray& body)
{
    quint8 checksum = 0;
    for (const char b : body)
        checksum ^= quint8(b);
    return checksum;
}

} // namespace

QByteArray TDirectCommandRequest::Body() const
{
    quint8 address0 = quint8(IdentityNumber(ManufacturerID) & 0x3F);
    if (!SecondaryMaster)
        address0 |= PrimaryMasterBit;
    const quint8 address1 = quint8(IdentityNumber(DeviceCode) & 0xFF);
    const int command = CommandNumber(Command);
    const QByteArray data = DataBytes(Data);

    QByteArray body;
    body.append(char(Delimiter));
    body.append(char(address0));
    body.append(char(address1));
    body.append(IntToBytes(StrToInt(DeviceID), 3));
    body.append(char(command));
    body.append(char(data.size()));
    return body + data;
}

QString TDirectCommandRequest::ChecksumText() const
{
    try {
        return BytesToHex(QByteArray(1, char(Checksum(Body()))));
    } catch (const Exception&) {
        return QStringLiteral("E");
    }
}

QByteArray TDirectCommandRequest::Frame() const
{
    const int preambles = PreambleCount(Preambles);
    const QByteArray body = Body();
    return QByteArray(preambles, char(0xFF)) + body + char(Checksum(body));
}

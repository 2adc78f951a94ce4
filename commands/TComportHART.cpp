#include "commands/TComportHART.h"

#include "commands/UResponseCodes.h"
#include "commands/UUnits.h"
#include "util/UUtilZahlensystem.h"
#include "util/UWindows1252.h"

namespace {

constexpr int HARTBaudRate = 1200;

constexpr int LastPollingAddress = 15;
constexpr int PollingTimeoutMs = 1000;
constexpr quint8 IdentityMark = 254;            // Data[2] of every command-0 answer
constexpr quint8 MoreStatusAvailable = 0x10;
constexpr quint8 CommunicationErrorBit = 0x80;
constexpr quint8 LoopCurrentFixedBit = 0x08;
constexpr int LongTagLength = 32;
constexpr int MessageLength = 32;
constexpr int TagLength = 8;
constexpr int DescriptorLength = 16;
constexpr qint32 LargestFinalAssemblyNumber = 0xFFFFFF;

const QString ConnectNote = QStringLiteral("\r\rNOTE\rConnect a supported HART device to your HART Modem and\rthe HART Modem to the selected COM port.");
const QString NoSupportedDevice = QStringLiteral("No supported HART device was found.");
const QString SearchLabel = QStringLiteral("Search HART device (polling)");
const QString UniqueIdentifierLabel = QStringLiteral("Read Unique Identifier");
const QString CurrentLoopSettingsUnread = QStringLiteral("The device did not report its polling address and loop current mode; nothing was written.");
const QString CurrentTagDescriptorDateUnread = QStringLiteral("The device did not report its tag, descriptor and date; nothing was written.");

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values)
        bytes.append(char(value & 0xFF));
    return bytes;
}

quint8 DataByte(const THARTFrame& frame, int position)
{
    return static_cast<quint8>(frame.Data.at(position));
}

bool Refused(quint8 responseCode)
{
    return ResponseCodeClass(responseCode) == TResponseClass::Error;
}

quint8 FamilyOf(quint16 deviceTypeCode)
{
    switch (deviceTypeCode) {
    case 128:
        return 1;       // TIVERN
    case 129:
        return 2;       // CALDEROS
    default:
        return 0;
    }
}

// Bits 0-5 of the first payload byte of command 48; bits 6 and 7 mean nothing.
void SetAdditionalStatus(TDeviceStatus& status, quint8 bits)
{
    status.HARTParameterError = bits & 0x01;
    status.TransmitterParameterError = bits & 0x02;
    status.MeasurementError = bits & 0x04;
    status.ErrorCounterError = bits & 0x08;
    status.LowVoltageError = bits & 0x10;
    status.DryWarning = bits & 0x20;
}

// The identity in a command-0 answer; raises when the answer is no such answer.
TDeviceIdentity IdentityIn(const THARTFrame& answer)
{
    if (answer.Command != 0 || answer.Data.size() < 14 || DataByte(answer, 2) != IdentityMark)
        throw EInconsistentException(QStringLiteral("answer inconsistent"));
    TDeviceIdentity identity;
    identity.ManufacturerID = DataByte(answer, 3);
    identity.UniversalRevision = DataByte(answer, 6);
    // From universal revision 7 on, Data[3] is the high byte of the expanded device type.
    identity.DeviceTypeCode = identity.UniversalRevision == 7 ? quint16(DataByte(answer, 3) << 8 | DataByte(answer, 4)) : DataByte(answer, 4);
    identity.DeviceRevision = DataByte(answer, 7);
    identity.SoftwareRevision = DataByte(answer, 8);
    identity.HardwareRevision = DataByte(answer, 9) >> 3;     // the low 3 bits are the physical signalling code
    identity.DeviceID = DataByte(answer, 11) << 16 | DataByte(answer, 12) << 8 | DataByte(answer, 13);
    return identity;
}

// A text field in the bytes of its encoding. A character the encoding has no
// code for is refused with the field's name, before any request is built.
QByteArray EncodedField(QByteArray (*encode)(const QString&), const QString& text, const QString& field)
{
    try {
        return encode(text);
    } catch (const EConvertError& error) {
        throw Exception(field + error.Message());
    }
}

QString Padded(const QString& text, int length)
{
    return text.leftJustified(length, QLatin1Char(' '));
}

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
        throw Exception(QStringLiteral("No HART device was found.") + ConnectNote);
    return LongAddressPrefix + commandBytes + char(XorOf(commandBytes, PrefixChecksum));
}

// --- Operation pattern ---

TComportHART::ByteCount TComportHART::ByteCount::AtLeast(int count)
{
    ByteCount byteCount(count);
    byteCount.maximum = 255;
    return byteCount;
}

bool TComportHART::run(const Operation& operation, const std::function<void()>& decode)
{
    valuesConfirmed = false;
    const THARTFrame answer = transact(operation.command, operation.data, operation.timeoutMs);
    const bool decoded = decode && operation.expected.Fits(answer.ByteCount);
    if (decoded)
        decode();
    // A refusal may still carry the request's bytes back: they are no values.
    valuesConfirmed = decoded && !Refused(DataByte(answer, 0));
    if (operation.notify == Notify::BeforeReport)
        NotifyWrite();
    report(answer, operation.label);
    if (operation.notify == Notify::AfterReport)
        NotifyWrite();
    return valuesConfirmed;
}

THARTFrame TComportHART::transact(quint8 command, const QByteArray& data, int timeoutMs)
{
    const QByteArray commandBytes = Bytes({ command, int(data.size()) }) + data;
    THARTFrame answer;
    SendRequest(BuildLongFrame(commandBytes), timeoutMs, answer);
    return answer;
}

// The link layer hands out only answers that carry both status bytes.
void TComportHART::report(const THARTFrame& answer, const QString& label)
{
    ReportStatus(DataByte(answer, 0), DataByte(answer, 1), label, answer.Command);
}

quint8 TComportHART::answerByte(int position) const
{
    return static_cast<quint8>(getIntFromAnswer(position, 1));
}

// False, with `value` unchanged, when the answer carries the not-a-number mark.
bool TComportHART::storeSingleUnlessNaN(int position, float& value) const
{
    try {
        value = getSingleFromAnswer(position);
        return true;
    } catch (const EConvertError& error) {
        if (!IsNotANumber(error))
            throw;
        return false;
    }
}

void TComportHART::requireEcho(int deviceVariable, const QString& message) const
{
    if (answerByte(2) != quint8(deviceVariable))
        throw Exception(message);
}

QString TComportHART::unpackedAt(int position, int length) const
{
    return UnpackASCII(Answer().Data.mid(position, length));
}

// The long tag is zero-padded to 32 bytes; the padding is not part of the text.
QString TComportHART::longTagAt(int position) const
{
    const QByteArray bytes = Answer().Data.mid(position, LongTagLength);
    const int end = bytes.indexOf('\0');
    return FromWindows1252(end < 0 ? bytes : bytes.left(end));
}

QDate TComportHART::dateAt(int position) const
{
    const int day = answerByte(position);
    const int month = answerByte(position + 1);
    const int year = 1900 + answerByte(position + 2);
    const QDate date(year, month, day);
    if (!date.isValid())
        throw EConvertError(QStringLiteral("Invalid date (day %1, month %2, year %3)").arg(day).arg(month).arg(year));
    return date;
}

// --- Status ---

void TComportHART::ReportStatus(quint8 firstStatusByte, quint8 secondStatusByte, const QString& label, int command)
{
    Status.Command = quint8(command);
    Status.OperationName = label;
    Status.CommError = (firstStatusByte & CommunicationErrorBit) != 0;
    Status.ResponseCode = firstStatusByte;
    Status.DeviceStatus = secondStatusByte;
    SetAdditionalStatus(Status, 0);
    if (secondStatusByte & MoreStatusAvailable)
        ReadAdditionalStatus(Status);
    if (OnDeviceStatus)
        OnDeviceStatus(this, Status);
}

void TComportHART::ReadAdditionalStatus(TDeviceStatus& status)
{
    const THARTFrame answer = transact(48, {}, 800);
    SetAdditionalStatus(status, answer.Data.size() > 2 ? DataByte(answer, 2) : 0);
}

QString TComportHART::ResponseCodeText(int command) const
{
    return ::ResponseCodeText(Status.ResponseCode, command);
}

void TComportHART::NotifyWrite()
{
    if (OnWriteCommand)
        OnWriteCommand(this);
}

// --- Identification and discovery ---

THARTFrame TComportHART::pollAddress(int pollingAddress)
{
    THARTFrame answer;
    SendRequest(BuildShortFrame0(pollingAddress), PollingTimeoutMs, answer);
    return answer;
}

void TComportHART::showSearchProgress(TSearchWorker* worker, int pollingAddress) const
{
    if (worker)
        worker->SetStatusText(QStringLiteral("Search HART device (Polling Address %1)").arg(pollingAddress));
}

// Takes the identity of a command-0 answer. A device of another maker, while
// only the maker's are accepted, makes the polling search go on (false) and
// every other kind of identification fail.
bool TComportHART::decodeIdentity(const THARTFrame& answer, Identify kind, TDeviceIdentity* identity)
{
    const TDeviceIdentity found = IdentityIn(answer);
    if (CheckManufacturer && found.ManufacturerID != KorvalManufacturerID) {
        if (kind == Identify::Search)
            return false;
        if (kind == Identify::Scan)
            throw ENoKORVALDeviceException(QStringLiteral("Not a supported HART Device - Ignoring"));
        throw EInconsistentException(NoSupportedDevice);
    }
    ManufacturerID = found.ManufacturerID;
    DeviceTypeCode = found.DeviceTypeCode;
    DeviceID = found.DeviceID;
    // Re-reading the device keeps the family the jobs may have set.
    if (kind != Identify::Reread)
        DeviceFamily = FamilyOf(DeviceTypeCode);
    BuildLongAddress();
    // A life-list scan keeps the revisions to the row it fills and reports nothing.
    if (kind == Identify::Scan) {
        *identity = found;
        return true;
    }
    UniversalRevision = found.UniversalRevision;
    DeviceRevision = found.DeviceRevision;
    SoftwareRevision = found.SoftwareRevision;
    HardwareRevision = found.HardwareRevision;
    report(answer, kind == Identify::Reread ? UniqueIdentifierLabel : SearchLabel);
    return true;
}

bool TComportHART::SearchDevice(TSearchWorker* worker)
{
    for (int address = 0; address <= LastPollingAddress; ++address) {
        showSearchProgress(worker, address);
        THARTFrame answer;
        try {
            answer = pollAddress(address);
        } catch (const ETimeoutException&) {
            if (address == 0 && worker && rescanAfterSilentZero(*worker))
                return SearchDevice(worker);
            if (address == LastPollingAddress)
                throw Exception(NoSupportedDevice + ConnectNote);
            continue;
        }
        if (decodeIdentity(answer, Identify::Search)) {
            PollingAddress = quint8(address);
            return true;
        }
    }
    throw EInconsistentException(NoSupportedDevice);
}

// True: search address 0 again; false: go on with 1-15. Cancelling, or
// closing the question, ends the search.
bool TComportHART::rescanAfterSilentZero(TSearchWorker& worker) const
{
    const int choice = worker.AskZeroRetry(QStringLiteral("No supported HART device found on address 0! \r\rWhat do you like to do?\r"));
    if (choice != TSearchWorker::ZeroRetryRescanZero && choice != TSearchWorker::ZeroRetryScanOthers)
        throw Exception(NoSupportedDevice + ConnectNote);
    return choice == TSearchWorker::ZeroRetryRescanZero;
}

bool TComportHART::ConnectAtPollingAddress(TSearchWorker* worker)
{
    showSearchProgress(worker, PollingAddress);
    THARTFrame answer;
    try {
        answer = pollAddress(PollingAddress);
    } catch (const ETimeoutException&) {
        throw Exception(QStringLiteral("The HART device does not respond.") + ConnectNote);
    }
    return decodeIdentity(answer, Identify::Connect);
}

void TComportHART::ScanAddress(int pollingAddress, TDeviceIdentity& identity)
{
    decodeIdentity(pollAddress(pollingAddress), Identify::Scan, &identity);
}

void TComportHART::ReadUniqueIdentifier()
{
    decodeIdentity(transact(0, {}, 800), Identify::Reread);
}

void TComportHART::ReadConfigChangeCounter(quint16& counter)
{
    run({ 0, {}, 800, ByteCount::AtLeast(18), UniqueIdentifierLabel }, [&] { counter = quint16(getIntFromAnswer(16, 2)); });
}

// --- Units and device-variable names of the current family ---

QString TComportHART::DeviceVariableName(int code, bool shortForm) const
{
    return ::DeviceVariableName(DeviceFamily, code, shortForm);
}

QString TComportHART::MappingText(int code, bool named) const
{
    return ::MappingText(DeviceFamily, code, named);
}

// --- Universal and common-practice commands: reads ---

void TComportHART::ReadPrimaryValue(float& value, QString& unitText)
{
    run({ 1, {}, 800, 7, QStringLiteral("Read Primary Value") }, [&] {
        unitText = UnitName(answerByte(2));
        value = getSingleFromAnswer(3);
    });
}

void TComportHART::ReadLoopCurrent(float& current, float& percentOfRange)
{
    run({ 2, {}, 800, 10, QStringLiteral("Read Loop Current/Percent Of Range") }, [&] {
        current = getSingleFromAnswer(2);
        percentOfRange = getSingleFromAnswer(6);
    });
}

void TComportHART::ReadPollingAddress(quint8& address, bool& loopCurrentMode)
{
    readPollingAddress(address, loopCurrentMode);
}

bool TComportHART::readPollingAddress(quint8& address, bool& loopCurrentMode)
{
    return run({ 7, {}, 800, ByteCount::AtLeast(4), QStringLiteral("Read Polling Address/Loop Current Mode") }, [&] {
        address = answerByte(2) & 0x7F;
        loopCurrentMode = answerByte(3) == 1;
    });
}

void TComportHART::ReadMessage(QString& text)
{
    run({ 12, {}, 800, 26, QStringLiteral("Read Message") }, [&] { text = unpackedAt(2, 24); });
}

void TComportHART::ReadTagDescriptorDate(QString& tag, QString& descriptor, QDate& date)
{
    run({ 13, {}, 900, 23, QStringLiteral("Read Tag/Descriptor/Date") }, [&] { tagDescriptorDateFromAnswer(tag, descriptor, date); });
}

// A write of tag or descriptor must neither need a valid date nor change the
// stored one.
bool TComportHART::ReadStoredTagDescriptorDate(QString& tag, QString& descriptor, QByteArray& dateBytes)
{
    return run({ 13, {}, 900, 23, QStringLiteral("Read Tag/Descriptor/Date") }, [&] {
        tag = unpackedAt(2, 6);
        descriptor = unpackedAt(8, 12);
        dateBytes = Answer().Data.mid(20, 3);
    });
}

void TComportHART::tagDescriptorDateFromAnswer(QString& tag, QString& descriptor, QDate& date) const
{
    tag = unpackedAt(2, 6);
    descriptor = unpackedAt(8, 12);
    date = dateAt(20);
}

void TComportHART::ReadPVLimits(QString& unitText, float& upperLimit, float& lowerLimit)
{
    run({ 14, {}, 800, 18, QStringLiteral("Read PV Limits") }, [&] {
        unitText = UnitName(answerByte(5));
        upperLimit = getSingleFromAnswer(6);
        lowerLimit = getSingleFromAnswer(10);
    });
}

void TComportHART::ReadPVRange(quint8& alarmSelection, float& upperRange, float& lowerRange, QString& unitText)
{
    run({ 15, {}, 800, 20, QStringLiteral("Reas Alarm Selection/PV Range Values") }, [&] {
        alarmSelection = answerByte(2);
        unitText = UnitName(answerByte(4));
        upperRange = getSingleFromAnswer(5);
        lowerRange = getSingleFromAnswer(9);
    });
}

void TComportHART::ReadFinalAssemblyNumber(qint32& number)
{
    run({ 16, {}, 800, 5, QStringLiteral("Read Final Assem. No.") }, [&] { number = getIntFromAnswer(2, 3); });
}

void TComportHART::ReadLongTag(QString& text)
{
    run({ 20, {}, DefaultTimeout, 34, QStringLiteral("Read Long Tag") }, [&] { text = longTagAt(2); });
}

// Four slots of six bytes from position 2: device-variable code, units code,
// value. Each slot fills the output its code names; other codes are dropped.
void TComportHART::ReadDeviceVariables(TDeviceVariable& dv0, TDeviceVariable& dv1, TDeviceVariable& dv2, TDeviceVariable& dv3)
{
    const std::array<TDeviceVariable*, 4> byCode { &dv0, &dv1, &dv2, &dv3 };
    run({ 33, Bytes({ 0, 1, 2, 3 }), DefaultTimeout, 26, QStringLiteral("Read Device Variables") }, [&] {
        for (int position = 2; position < 26; position += 6) {
            const quint8 code = answerByte(position);
            if (code < byCode.size())
                *byCode[code] = deviceVariableAt(position);
        }
    });
}

// A slot is decoded on its own, so that a value or unit never carries over
// from the slot before: a not-a-number value is 0, an unused slot has no unit text.
TDeviceVariable TComportHART::deviceVariableAt(int position) const
{
    TDeviceVariable variable;
    variable.IsNaN = !storeSingleUnlessNaN(position + 2, variable.Value);
    variable.UnitsCode = answerByte(position + 1);
    variable.Valid = variable.UnitsCode != NotUsedCode;
    if (variable.Valid)
        variable.UnitText = UnitName(variable.UnitsCode);
    return variable;
}

void TComportHART::ReadVariableAssignments(quint8& pv, quint8& sv, quint8& tv, quint8& qv)
{
    run({ 50, {}, 1200, 6, QStringLiteral("Read Dynamic Variable Assignments") }, [&] { assignmentsFromAnswer(pv, sv, tv, qv); });
}

void TComportHART::assignmentsFromAnswer(quint8& pv, quint8& sv, quint8& tv, quint8& qv) const
{
    pv = answerByte(2);
    sv = answerByte(3);
    tv = answerByte(4);
    qv = answerByte(5);
}

// Universal revision 7 answers four more bytes.
void TComportHART::ReadDampingValue(int deviceVariable, float& damping)
{
    const int byteCount = UniversalRevision == 7 ? 29 : 25;
    run({ 54, Bytes({ deviceVariable }), 1800, byteCount, QStringLiteral("Read Damping Value (DV%1)").arg(deviceVariable) }, [&] {
        requireEcho(deviceVariable, QStringLiteral("Read Device Variable Information: device does not respond correct Device Variable number"));
        storeSingleUnlessNaN(15, damping);
    });
}

// --- Universal and common-practice commands: writes ---

void TComportHART::WritePollingAddress(quint8& address, bool& loopCurrentMode)
{
    run({ 6, Bytes({ address, loopCurrentMode ? 1 : 0 }), 1200, 4, QStringLiteral("Write Polling Address/Loop Current Mode"), Notify::BeforeReport }, [&] {
        address = answerByte(2) & 0x7F;
        loopCurrentMode = answerByte(3) == 1;
    });
}

void TComportHART::WriteMessage(QString& text)
{
    if (text.size() > MessageLength)
        throw Exception(QStringLiteral("Write Message: the message has more than %1 characters").arg(MessageLength));
    const QString padded = Padded(text, MessageLength);
    const QByteArray packed = EncodedField(PackASCII, padded, QStringLiteral("Write Message: "));
    text = padded;
    run({ 17, packed, 1200, 26, QStringLiteral("Write Message"), Notify::BeforeReport }, [&] { text = unpackedAt(2, 24); });
}

void TComportHART::WriteTagDescriptorDate(QString& tag, QString& descriptor, QDate& date)
{
    QByteArray data = packedTagDescriptor(tag, descriptor);
    if (date.year() < 1900)
        throw Exception(QStringLiteral("Date (year) has to be greater then 1900"));
    if (date.year() > 2155)
        throw Exception(QStringLiteral("Date (year) has to be less then 2156"));
    data += Bytes({ date.day(), date.month(), date.year() - 1900 });
    tag = Padded(tag, TagLength);
    descriptor = Padded(descriptor, DescriptorLength);
    run(tagDescriptorDateWrite(data), [&] { tagDescriptorDateFromAnswer(tag, descriptor, date); });
}

// Checks lengths and characters of both fields before anything is sent.
QByteArray TComportHART::packedTagDescriptor(const QString& tag, const QString& descriptor) const
{
    if (tag.size() > TagLength)
        throw Exception(QStringLiteral("Tag is too long"));
    const QByteArray packedTag = EncodedField(PackASCII, Padded(tag, TagLength), QStringLiteral("Write Tag: "));
    if (descriptor.size() > DescriptorLength)
        throw Exception(QStringLiteral("Descriptor is too long"));
    return packedTag + EncodedField(PackASCII, Padded(descriptor, DescriptorLength), QStringLiteral("Write Descriptor: "));
}

TComportHART::Operation TComportHART::tagDescriptorDateWrite(const QByteArray& data) const
{
    return { 18, data, 1200, 23, QStringLiteral("Write Tag/Descriptor/Date"), Notify::BeforeReport };
}

void TComportHART::WriteFinalAssemblyNumber(qint32& number)
{
    if (number < 0)
        throw Exception(QStringLiteral("Final Assembly Number less than 0"));
    run(finalAssemblyNumberWrite(quint32(number)), [&] { number = getIntFromAnswer(2, 3); });
}

void TComportHART::WriteFinalAssemblyNumber(quint32& number)
{
    run(finalAssemblyNumberWrite(number), [&] { number = quint32(getIntFromAnswer(2, 3)); });
}

// The number has three bytes; a larger one is refused rather than cut.
TComportHART::Operation TComportHART::finalAssemblyNumberWrite(quint32 number) const
{
    if (number > quint32(LargestFinalAssemblyNumber))
        throw Exception(QStringLiteral("Final Assembly Number greater than %1").arg(LargestFinalAssemblyNumber));
    return { 19, IntToBytes(qint32(number), 3), 1200, 5, QStringLiteral("Write Final Assem. No."), Notify::BeforeReport };
}

void TComportHART::WriteLongTag(QString& text)
{
    if (text.size() > LongTagLength)
        throw Exception(QStringLiteral("Write Long Tag: the long tag has more than %1 characters").arg(LongTagLength));
    const QByteArray data = EncodedField(ToWindows1252, text, QStringLiteral("Write Long Tag: ")).leftJustified(LongTagLength, '\0');
    run({ 22, data, 1200, 34, QStringLiteral("Write Long Tag"), Notify::BeforeReport }, [&] { text = longTagAt(2); });
}

void TComportHART::WritePVRange(QString& unitText, float& upperRange, float& lowerRange)
{
    const QByteArray data = Bytes({ UnitCode(unitText) }) + SingleToBytes(upperRange) + SingleToBytes(lowerRange);
    run({ 35, data, 1200, 11, QStringLiteral("Write PV Ranges"), Notify::BeforeReport }, [&] {
        unitText = UnitName(answerByte(2));
        upperRange = getSingleFromAnswer(3);
        lowerRange = getSingleFromAnswer(7);
    });
}

void TComportHART::SetUpperRangeFromFloater()
{
    run({ 36, {}, 1200, ByteCount::Any(), QStringLiteral("Set Upper Range (Floater Position)"), Notify::BeforeReport });
}

void TComportHART::SetLowerRangeFromFloater()
{
    run({ 37, {}, 1200, ByteCount::Any(), QStringLiteral("Set Lower Range (Floater Position)"), Notify::BeforeReport });
}

// From universal revision 7 on the device wants the configuration change
// counter it reported (ReadConfigChangeCounter).
void TComportHART::ResetConfigChangedFlag(quint16& counter)
{
    const QByteArray data = UniversalRevision > 6 ? IntToBytes(counter, 2) : QByteArray();
    run({ 38, data, 800, 4, QStringLiteral("Reset Configuration Changed Flag"), Notify::BeforeReport }, [&] { counter = quint16(getIntFromAnswer(2, 2)); });
}

// An answer without the current leaves -1, which the loop test shows as an error.
void TComportHART::SetFixedCurrent(float& current)
{
    const bool release = current == 0.0f;
    const bool fixedBefore = currentFixed;
    const QByteArray data = SingleToBytes(current);
    // Until the device has answered, the requested current may be in force.
    currentFixed = currentFixed || !release;
    current = -1;
    const bool confirmed = run({ 40, data, 1200, 6, QStringLiteral("Enter/Exit Fixed Current Mode") },
                               [&] { current = getSingleFromAnswer(2); });
    // A refused command changed nothing.
    if (Refused(Status.ResponseCode))
        currentFixed = fixedBefore;
    const bool reportsNotFixed = !(Status.DeviceStatus & LoopCurrentFixedBit);
    if (release && ((confirmed && current == 0.0f) || reportsNotFixed))
        currentFixed = false;
}

void TComportHART::TrimLoopCurrentZero(float& current)
{
    run({ 45, SingleToBytes(current), 1200, 6, QStringLiteral("Trim Loop Current Zero"), Notify::BeforeReport }, [&] { current = getSingleFromAnswer(2); });
}

void TComportHART::TrimLoopCurrentGain(float& current)
{
    run({ 46, SingleToBytes(current), 1200, 6, QStringLiteral("Trim Loop Current Gain"), Notify::BeforeReport }, [&] { current = getSingleFromAnswer(2); });
}

void TComportHART::WriteVariableAssignments(quint8& pv, quint8& sv, quint8& tv, quint8& qv)
{
    run({ 51, Bytes({ pv, sv, tv, qv }), 1200, 6, QStringLiteral("Write Dynamic Variable Assignments"), Notify::BeforeReport }, [&] { assignmentsFromAnswer(pv, sv, tv, qv); });
}

void TComportHART::WriteDeviceVariableUnits(int deviceVariable, QString& unitText)
{
    run({ 53, Bytes({ deviceVariable, UnitCode(unitText) }), 1200, 4, QStringLiteral("Write Device Variable Units (DV%1)").arg(deviceVariable), Notify::BeforeReport }, [&] {
        requireEcho(deviceVariable, QStringLiteral("Write Device Variable Units: device does not respond correct Device Variable number"));
        unitText = UnitName(answerByte(3));
    });
}

void TComportHART::WriteDampingValue(int deviceVariable, float& damping)
{
    run({ 55, Bytes({ deviceVariable }) + SingleToBytes(damping), 1200, 7, QStringLiteral("Write Damping Value (DV%1)").arg(deviceVariable), Notify::BeforeReport }, [&] {
        requireEcho(deviceVariable, QStringLiteral("Write Device Variable Damping Value: device does not respond correct Device Variable number"));
        storeSingleUnlessNaN(3, damping);
    });
}

// --- Composite operations ---
//
// The write puts back, as the device holds them, the fields not being
// changed; when the read does not deliver them, nothing is written, since
// guessed fields would overwrite the device's settings.

void TComportHART::ChangePollingAddress(quint8& address)
{
    quint8 currentAddress = 0;
    bool loopCurrentMode = false;
    if (!readPollingAddress(currentAddress, loopCurrentMode))
        throw Exception(CurrentLoopSettingsUnread);
    WritePollingAddress(address, loopCurrentMode);
}

void TComportHART::ChangeLoopCurrentMode(bool& loopCurrentMode)
{
    quint8 address = 0;
    bool currentMode = false;
    if (!readPollingAddress(address, currentMode))
        throw Exception(CurrentLoopSettingsUnread);
    WritePollingAddress(address, loopCurrentMode);
}

// The stored date goes back byte for byte, also one that is no valid date.
void TComportHART::WriteTagOrDescriptor(QString& text, bool isTag)
{
    QString tag;
    QString descriptor;
    QByteArray storedDate;
    if (!ReadStoredTagDescriptorDate(tag, descriptor, storedDate))
        throw Exception(CurrentTagDescriptorDateUnread);
    (isTag ? tag : descriptor) = text;
    const QByteArray data = packedTagDescriptor(tag, descriptor) + storedDate;
    text = isTag ? Padded(text, TagLength) : Padded(text, DescriptorLength);
    run(tagDescriptorDateWrite(data), [&] { text = isTag ? unpackedAt(2, 6) : unpackedAt(8, 12); });
}

void TComportHART::WriteDate(QDate& date)
{
    QString tag;
    QString descriptor;
    QByteArray storedDate;
    if (!ReadStoredTagDescriptorDate(tag, descriptor, storedDate))
        throw Exception(CurrentTagDescriptorDateUnread);
    WriteTagDescriptorDate(tag, descriptor, date);
}

// Sent as the caller built it; the answer is neither checked nor decoded.
void TComportHART::SendDirectCommand(const QByteArray& frame, int timeoutMs, THARTFrame& answer)
{
    SendRequest(frame, timeoutMs, answer);
    report(answer, QStringLiteral("Direct Command"));
}

// --- The maker's device-specific commands ---

// The only command whose write is notified after its status is reported.
void TComportHART::WriteProtectionMode(quint32 passcode, bool& protect)
{
    run({ 200, Bytes({ protect ? 1 : 0 }) + IntToBytes(qint32(passcode), 2), 1200, 3, QStringLiteral("Write Protection Mode"), Notify::AfterReport }, [&] { protect = answerByte(2) == 1; });
}

void TComportHART::ReadProtectionMode(bool& protect)
{
    run({ 201, {}, 800, 3, QStringLiteral("Read Protection Mode") }, [&] { protect = answerByte(2) == 1; });
}

void TComportHART::WriteAlarmSelection(quint8& alarmSelection)
{
    run({ 202, Bytes({ alarmSelection }), 1200, 3, QStringLiteral("Write Alarm Selection"), Notify::BeforeReport }, [&] { alarmSelection = answerByte(2); });
}

void TComportHART::ChangePasscode(quint32 oldPasscode, quint32 newPasscode)
{
    run({ 204, IntToBytes(qint32(oldPasscode), 2) + IntToBytes(qint32(newPasscode), 2), 1200, ByteCount::Any(), QStringLiteral("Change Passcode"), Notify::BeforeReport });
}

void TComportHART::WriteOffset(int deviceVariable, QString& unitText, float& offset)
{
    const QByteArray data = Bytes({ deviceVariable, UnitCode(unitText) }) + SingleToBytes(offset);
    run({ 205, data, 1200, 8, QStringLiteral("Write Offset (DV%1)").arg(deviceVariable), Notify::BeforeReport }, [&] {
        offsetFromAnswer(deviceVariable, QStringLiteral("Write Device Variable Offset: device does not respond correct Device Variable number"), unitText, offset);
    });
}

void TComportHART::ReadOffset(int deviceVariable, QString& unitText, float& offset)
{
    run({ 206, Bytes({ deviceVariable }), 800, 8, QStringLiteral("Read Offset (DV%1)").arg(deviceVariable) }, [&] {
        offsetFromAnswer(deviceVariable, QStringLiteral("Read Device Variable Offset: device does not respond correct Device Variable number"), unitText, offset);
    });
}

void TComportHART::offsetFromAnswer(int deviceVariable, const QString& mismatch, QString& unitText, float& offset) const
{
    requireEcho(deviceVariable, mismatch);
    unitText = UnitName(answerByte(3));
    offset = getSingleFromAnswer(4);
}

void TComportHART::ReadDiagnostics(TDiagnosticsData& data)
{
    run({ 207, {}, 800, 20, QStringLiteral("Read Diagnostics Data") }, [&] {
        data.QualityQuotient = answerByte(2);
        data.StartLevel = answerByte(3);
        data.DampingLength = quint16(getIntFromAnswer(4, 2));
        data.PulseDuration = answerByte(6);
        data.PulseHeight = answerByte(7);
        data.TimeBaseIsNaN = !storeSingleUnlessNaN(8, data.PulseTimeBase);
        data.HeadTempIsNaN = !storeSingleUnlessNaN(12, data.HeadTemperature);
        data.TubeTempIsNaN = !storeSingleUnlessNaN(16, data.TubeTemperature);
    });
}

void TComportHART::ReadFirmwareVersion(TFirmware& firmware)
{
    run({ 208, {}, 800, 5, QStringLiteral("Read Firmware Version") }, [&] {
        firmware.VersionBytes = Answer().Data.mid(2, 3);
        firmware.VersionText = QStringLiteral("%1.%2.%3").arg(answerByte(2)).arg(answerByte(3)).arg(answerByte(4));
    });
}

void TComportHART::WriteDeviceVariableEnable(int deviceVariable, bool enable)
{
    run({ 209, Bytes({ deviceVariable, enable ? 1 : 0 }), 800, ByteCount::Any(), QStringLiteral("Write Device Variable Enable (%1)").arg(deviceVariable), Notify::BeforeReport });
}

// The answer pairs each device-variable code with its flag.
std::array<quint8, 4> TComportHART::ReadDeviceVariableEnable()
{
    std::array<quint8, 4> flags {};
    run({ 210, Bytes({ 0, 1, 2, 3 }), 800, 10, QStringLiteral("Read Device Variable Enable") }, [&] {
        flags = { answerByte(3), answerByte(5), answerByte(7), answerByte(9) };
    });
    return flags;
}

void TComportHART::RestoreFactoryDefaults()
{
    run({ 211, {}, 1200, ByteCount::Any(), QStringLiteral("Restore Factory Defaults"), Notify::BeforeReport });
}

// The request names the maker and the probe family the defaults belong to.
void TComportHART::StoreFactoryDefaults(qint32 deviceId)
{
    const int deviceType = DeviceFamily == 1 ? 128 : 129;
    const QByteArray data = Bytes({ KorvalManufacturerID, deviceType }) + IntToBytes(deviceId, 3);
    run({ 122, data, 1200, ByteCount::Any(), QStringLiteral("Store Factory Defaults"), Notify::BeforeReport });
}

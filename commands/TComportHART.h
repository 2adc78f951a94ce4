#pragma once

#include "commands/TDeviceIdentity.h"
#include "commands/TDeviceStatus.h"
#include "commands/TDeviceVariable.h"
#include "commands/TDiagnosticsData.h"
#include "commands/TFirmware.h"
#include "commands/TSearchWorker.h"
#include "link/TComportHARTBasis.h"

#include <QDate>

#include <array>
#include <functional>

// A device of another maker was found while only the maker's are accepted.
class ENoKORVALDeviceException : public Exception
{
public:
    using Exception::Exception;
};

// The HART command layer: the identity of the one device it talks to, and
// one operation per HART command the tool uses.
//
// Every operation builds its request, runs one transaction over the current
// device's long address, decodes the answer only when its byte count is the
// expected one (otherwise the outputs stay as they were), notifies a
// configuration write where the command changes the device, and reports the
// answer's status. Response codes never raise; transaction failures do.
class TComportHART : public TComportHARTBasis
{
    Q_OBJECT

public:
    // The maker's manufacturer identification code.
    static constexpr quint16 KorvalManufacturerID = 227;

    explicit TComportHART(int comNumber, QObject* parent = nullptr);
    // Over a ready-made port (a scripted one in tests).
    explicit TComportHART(std::unique_ptr<TComPort> port, QObject* parent = nullptr);

    // Owner notifications, run on the thread that called the operation.
    std::function<void(TComportHART* sender, const TDeviceStatus& status)> OnDeviceStatus;
    std::function<void(TComportHART* sender)> OnWriteCommand;

    // --- Request builders ---
    QByteArray BuildShortFrame0(int pollingAddress) const;
    void BuildLongAddress();
    // commandBytes: command number, byte count and data. Raises when no
    // device is connected.
    QByteArray BuildLongFrame(const QByteArray& commandBytes) const;

    // --- Identification and discovery ---
    // Polling search over addresses 0-15; the worker, when given, shows the
    // progress and answers the address-0 question.
    bool SearchDevice(TSearchWorker* worker);
    bool ConnectAtPollingAddress(TSearchWorker* worker);
    void ScanAddress(int pollingAddress, TDeviceIdentity& identity);
    void ReadUniqueIdentifier();
    void ReadConfigChangeCounter(quint16& counter);
    bool HasNoDevice() const { return LongAddressPrefix.isEmpty(); }
    void ForgetDevice() { LongAddressPrefix.clear(); }
    void SetDeviceTypeCode(quint16 code) { DeviceTypeCode = code; }
    void SetDeviceFamily(quint8 family) { DeviceFamily = family; }

    // --- Status ---
    void ReportStatus(quint8 firstStatusByte, quint8 secondStatusByte, const QString& label, int command);
    void ReadAdditionalStatus(TDeviceStatus& status);
    QString ResponseCodeText(int command) const;
    void NotifyWrite();

    // --- Units and device-variable names of the current family ---
    QString DeviceVariableName(int code, bool shortForm) const;
    QString MappingText(int code, bool named) const;

    // --- Universal and common-practice commands ---
    void ReadPrimaryValue(float& value, QString& unitText);
    void ReadLoopCurrent(float& current, float& percentOfRange);
    void ReadPollingAddress(quint8& address, bool& loopCurrentMode);
    void ReadMessage(QString& text);
    void ReadTagDescriptorDate(QString& tag, QString& descriptor, QDate& date);
    // The date as the device stores it: day, month, year - 1900. A new probe
    // may hold day or month 0, which no date represents. False when the
    // answer did not carry the fields.
    bool ReadStoredTagDescriptorDate(QString& tag, QString& descriptor, QByteArray& dateBytes);
    void ReadPVLimits(QString& unitText, float& upperLimit, float& lowerLimit);
    void ReadPVRange(quint8& alarmSelection, float& upperRange, float& lowerRange, QString& unitText);
    void ReadFinalAssemblyNumber(qint32& number);
    // The 32 Windows-1252 bytes up to the first zero byte: the zero padding is
    // not shown.
    void ReadLongTag(QString& text);
    void ReadDeviceVariables(TDeviceVariable& dv0, TDeviceVariable& dv1, TDeviceVariable& dv2, TDeviceVariable& dv3);
    void ReadVariableAssignments(quint8& pv, quint8& sv, quint8& tv, quint8& qv);
    void ReadDampingValue(int deviceVariable, float& damping);

    void WritePollingAddress(quint8& address, bool& loopCurrentMode);
    // Pads the caller's text with blanks to 32 characters; longer texts and
    // characters packed ASCII has no code for are refused before anything is sent.
    void WriteMessage(QString& text);
    // Checks tag (8), descriptor (16), their characters (packed ASCII) and the
    // year (1900-2155) before anything is sent, then pads tag and descriptor
    // with blanks.
    void WriteTagDescriptorDate(QString& tag, QString& descriptor, QDate& date);
    // 0 to 16777215 (three bytes); other numbers are refused, nothing sent.
    void WriteFinalAssemblyNumber(qint32& number);
    void WriteFinalAssemblyNumber(quint32& number);
    // Zero-padded to 32 Windows-1252 bytes; longer texts and characters
    // without a Windows-1252 byte are refused before anything is sent.
    void WriteLongTag(QString& text);
    void WritePVRange(QString& unitText, float& upperRange, float& lowerRange);
    void SetUpperRangeFromFloater();
    void SetLowerRangeFromFloater();
    void ResetConfigChangedFlag(quint16& counter);
    // 0 mA leaves fixed current mode, any other current enters it.
    void SetFixedCurrent(float& current);
    // Whether the loop may still be held at a current fixed through this
    // object: from the request of a current until the device has confirmed
    // a release (an answer without an error code reporting 0 mA, or a field
    // device status without "Loop Current Fixed"). A request the device
    // refused changes nothing; an unanswered one leaves it set.
    bool CurrentFixed() const { return currentFixed; }
    void TrimLoopCurrentZero(float& current);
    void TrimLoopCurrentGain(float& current);
    void WriteVariableAssignments(quint8& pv, quint8& sv, quint8& tv, quint8& qv);
    void WriteDeviceVariableUnits(int deviceVariable, QString& unitText);
    void WriteDampingValue(int deviceVariable, float& damping);

    // Read, then write back what is not being changed as the device holds it.
    // When the read does not deliver those fields, they raise and write nothing.
    void ChangePollingAddress(quint8& address);
    void ChangeLoopCurrentMode(bool& loopCurrentMode);
    void WriteTagOrDescriptor(QString& text, bool isTag);
    void WriteDate(QDate& date);

    // A complete frame built by the caller, sent unchanged.
    void SendDirectCommand(const QByteArray& frame, int timeoutMs, THARTFrame& answer);

    // --- The maker's device-specific commands ---
    void WriteProtectionMode(quint32 passcode, bool& protect);
    void ReadProtectionMode(bool& protect);
    void WriteAlarmSelection(quint8& alarmSelection);
    void ChangePasscode(quint32 oldPasscode, quint32 newPasscode);
    void WriteOffset(int deviceVariable, QString& unitText, float& offset);
    void ReadOffset(int deviceVariable, QString& unitText, float& offset);
    void ReadDiagnostics(TDiagnosticsData& data);
    void ReadFirmwareVersion(TFirmware& firmware);
    void WriteDeviceVariableEnable(int deviceVariable, bool enable);
    std::array<quint8, 4> ReadDeviceVariableEnable();
    void RestoreFactoryDefaults();
    void StoreFactoryDefaults(qint32 deviceId);

    // Whether the last command's answer carried its values and no error
    // response code. A device that refuses a command may answer without them
    // or echo the request; the caller's values then stay as they were sent,
    // and must not be shown as written or saved as read.
    bool ValuesConfirmed() const { return valuesConfirmed; }

    // --- Identity of the current device; read by the jobs ---
    qint32 DeviceID = 0;
    int RequestPreambles = 5;
    QByteArray LongAddressPrefix;
    quint8 PrefixChecksum = 0;
    quint16 ManufacturerID = 0;
    quint16 DeviceTypeCode = 0;
    TDeviceStatus Status;
    quint8 PollingAddress = 0;
    bool CheckManufacturer = false;
    quint8 DeviceFamily = 0;
    qint32 UniversalRevision = 0;
    qint32 DeviceRevision = 0;
    qint32 SoftwareRevision = 0;
    qint32 HardwareRevision = 0;

private:
    enum class Identify { Search, Connect, Scan, Reread };
    enum class Notify { Never, BeforeReport, AfterReport };

    // The answer byte counts an operation decodes: exactly one, or at least one.
    struct ByteCount
    {
        ByteCount(int exactly) : minimum(exactly), maximum(exactly) {}
        static ByteCount AtLeast(int count);
        static ByteCount Any() { return AtLeast(0); }
        bool Fits(quint32 byteCount) const { return byteCount >= minimum && byteCount <= maximum; }

        quint32 minimum;
        quint32 maximum;
    };

    // One command operation: its request, and what to do with the answer.
    struct Operation
    {
        quint8 command;
        QByteArray data;
        int timeoutMs;
        ByteCount expected;
        QString label;
        Notify notify = Notify::Never;
    };
    // Transaction, then `decode` when the byte count is the expected one,
    // then notify and report. Returns whether the answer was decoded.
    bool run(const Operation& operation, const std::function<void()>& decode = {});
    THARTFrame transact(quint8 command, const QByteArray& data, int timeoutMs);
    void report(const THARTFrame& answer, const QString& label);

    THARTFrame pollAddress(int pollingAddress);
    void showSearchProgress(TSearchWorker* worker, int pollingAddress) const;
    bool rescanAfterSilentZero(TSearchWorker& worker) const;
    bool decodeIdentity(const THARTFrame& answer, Identify kind, TDeviceIdentity* identity = nullptr);

    bool readPollingAddress(quint8& address, bool& loopCurrentMode);
    QByteArray packedTagDescriptor(const QString& tag, const QString& descriptor) const;
    Operation tagDescriptorDateWrite(const QByteArray& data) const;
    Operation finalAssemblyNumberWrite(quint32 number) const;

    // Decoding helpers over the last answer.
    quint8 answerByte(int position) const;
    bool storeSingleUnlessNaN(int position, float& value) const;
    void requireEcho(int deviceVariable, const QString& message) const;
    QString unpackedAt(int position, int length) const;
    QString longTagAt(int position) const;
    QDate dateAt(int position) const;
    void tagDescriptorDateFromAnswer(QString& tag, QString& descriptor, QDate& date) const;
    void assignmentsFromAnswer(quint8& pv, quint8& sv, quint8& tv, quint8& qv) const;
    void offsetFromAnswer(int deviceVariable, const QString& mismatch, QString& unitText, float& offset) const;
    TDeviceVariable deviceVariableAt(int position) const;

    bool valuesConfirmed = false;
    bool currentFixed = false;
};

#include "worker/TProductionTest.h"

#include "commands/UResponseCodes.h"
#include "config/TConfigWriter.h"
#include "config/UConfigValues.h"
#include "util/UConversions.h"
#include "worker/TConfigJobs.h"
#include "worker/TDeviceView.h"
#include "worker/TMaintenanceJobs.h"
#include "worker/TThreadMeridal.h"
#include "worker/TWriteJobs.h"

#include <QDateTime>
#include <QFile>

namespace {

constexpr float LowAlarmCurrent = 3.6f;
constexpr float HighAlarmCurrent = 21.5f;

QString Now()
{
    return DateTimeText(QDateTime::currentDateTime());
}

} // namespace

TProductionTest::TProductionTest(TThreadMeridal& thread)
    : TJobSteps(thread)
{
}

void TProductionTest::JobProductionTest()
{
    thread.CheckTerminated();
    const QString protocolName = thread.ConfigFileName;
    QFile file(protocolName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Exception(QStringLiteral("Error upon creating the file:\r\n  ") + protocolName);
    TConfigWriter protocol(file, thread.ConfigSeparator);
    std::exception_ptr failure;
    try {
        runSteps(protocol, protocolName);
    } catch (const ETerminateException&) {
        throw; // the thread's shutdown releases the current
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        releaseCurrent();
    } catch (const ETerminateException&) {
        throw;
    } catch (...) {
        // A failed release must not hide the error that ended the test.
        if (!failure)
            failure = std::current_exception();
    }
    if (!failure && device().CurrentFixed())
        failure = std::make_exception_ptr(Exception(TMaintenanceJobs::StillFixedText()));
    file.close();
    view().ShowStatus(QStringLiteral("Test beendet"));
    if (failure)
        std::rethrow_exception(failure);
}

void TProductionTest::runSteps(TConfigWriter& protocol, const QString& protocolName)
{
    // Every refusal of the test stays in the log for the user to see.
    view().ClearResponseLog();
    protocol.Line(QStringLiteral("Test gestartet: ") + Now());
    for (const auto& [key, edit] : { std::pair { "Device ID", TField::EditDeviceID }, std::pair { "Device Code", TField::EditDeviceCode },
                                     std::pair { "Device Rev.", TField::EditDeviceRev },
                                     std::pair { "Universal Cmd. Rev.", TField::EditUniversalCmdRev } })
        protocol.KeyValue(QString::fromLatin1(key), view().Text(edit));
    protocol.Line();
    step(protocol, QStringLiteral("Test bei niedriger Stromaufnahme (3,6mA):  "),
         [&] { return snapshot(LowAlarmCurrent, protocolName + QStringLiteral(".bei36")); });
    thread.CheckTerminated();
    step(protocol, QStringLiteral("Test bei hoher Stromaufnahme (21.5mA):  "),
         [&] { return snapshot(HighAlarmCurrent, protocolName + QStringLiteral(".bei215")); });
    step(protocol, QStringLiteral("Schreiben des heutigen Datum:  "), [&] { return writeTodaysDate(); });
    step(protocol, QStringLiteral("Werkeinstellungen speichern:  "), [&] { return storeFactoryDefaults(); });
    protocol.Line();
    protocol.Line(QStringLiteral("Test beendet: ") + Now());
}

// The step's line ends with "fertig" once the device has done it, or with
// the refusal the device answered.
void TProductionTest::step(TConfigWriter& protocol, const QString& text, const std::function<QString()>& body)
{
    protocol.Begin(text);
    const QString refusal = body();
    protocol.Line(refusal.isEmpty() ? QStringLiteral("fertig") : refusal);
}

// Empty unless the device refused the last command with an error code.
QString TProductionTest::refusal() const
{
    const TDeviceStatus& status = device().Status;
    if (ResponseCodeClass(status.ResponseCode) != TResponseClass::Error)
        return QString();
    return QStringLiteral("abgelehnt: Cmd %1, Code %2: %3")
        .arg(status.Command)
        .arg(status.ResponseCode)
        .arg(ResponseCodeText(status.ResponseCode, status.Command));
}

// A refused current is recorded, and the snapshot lists the refusal: it
// shows the device as it was at whatever current it kept.
QString TProductionTest::snapshot(float current, const QString& fileName)
{
    const int firstLogLine = view().ResponseLogLines().size();
    float fixed = current;
    device().SetFixedCurrent(fixed);
    const QString refused = refusal();
    thread.ConfigFileName = fileName;
    TConfigJobs(thread).SaveConfig(firstLogLine);
    return refused;
}

// Tag and descriptor go back as shown, whether edited or not.
QString TProductionTest::writeTodaysDate()
{
    view().SetText(TField::EditDate, DateText(QDate::currentDate()));
    TWriteJobs(thread).StoreTagDescriptorDate(true);
    return refusal();
}

// Nothing is being stored after a refusal: no wait.
QString TProductionTest::storeFactoryDefaults()
{
    device().StoreFactoryDefaults(StrToInt(view().Text(TField::EditDeviceID)));
    const QString refused = refusal();
    if (!refused.isEmpty())
        return refused;
    view().ShowStatus(QStringLiteral("Werkeinstellungen werden gespeichert. Sonde nicht ausschalten!"));
    thread.Wait(FactoryDefaultsWaitMs);
    return QString();
}

void TProductionTest::releaseCurrent()
{
    float release = 0.0f;
    device().SetFixedCurrent(release);
}

#include "worker/TMaintenanceJobs.h"

#include "util/UConversions.h"
#include "util/UPresentation.h"
#include "worker/TDeviceView.h"
#include "worker/TReadJobs.h"
#include "worker/TThreadMeridal.h"

namespace {

// What the command layer leaves when the answer carried no current.
constexpr float NoCurrentReported = -1.0f;

} // namespace

TMaintenanceJobs::TMaintenanceJobs(TThreadMeridal& thread)
    : TJobSteps(thread)
{
}

QString TMaintenanceJobs::StillFixedText()
{
    return QStringLiteral("The analog output is still fixed: the device did not confirm its release.");
}

// --- Loop test ---

void TMaintenanceJobs::JobLoopTestSet()
{
    thread.CheckTerminated();
    const QString text = view().Text(TField::ComboBoxLoopTest).trimmed();
    if (text.isEmpty())
        throw Exception(QStringLiteral("Loop Test value is empty."));
    float current = 0;
    if (!TryStrToFloat(text, current))
        throw Exception(QStringLiteral("Loop Test value is a invalid floating-point number (IEEE 754)."));
    view().ShowStatus(QStringLiteral("Setting Loop"));
    QString fixedAt;
    if (ReportsNaN([&] { device().SetFixedCurrent(current); }))
        fixedAt = QStringLiteral("Error (NaN)");
    else if (current == NoCurrentReported)
        fixedAt = QStringLiteral("Error");
    else
        fixedAt = FormatFixed(current, 3);
    view().SetText(TField::EditFixedAt, fixedAt);
}

void TMaintenanceJobs::JobLoopTestExit()
{
    thread.CheckTerminated();
    float current = 0.0f;
    if (ReportsNaN([&] { device().SetFixedCurrent(current); }))
        view().ShowStatus(QStringLiteral("Exit Loop Test -> Error (NaN)"));
}

// --- D/A trim ---

void TMaintenanceJobs::JobDATrim()
{
    // The Maintenance tab has nothing to read: Refresh stays off afterwards.
    thread.RefreshAllowed = false;
    thread.CheckTerminated();
    const TTrimPoint zero { 4.0f, QStringLiteral("Enter reference meter value (4mA):"), QStringLiteral("4"),
                            QStringLiteral("The 4mA calibration has been adjusted to the entered meter reading.\r"
                                           "Does the reference meter show 4mA now?"),
                            &TComportHART::TrimLoopCurrentZero };
    const TTrimPoint span { 20.0f, QStringLiteral("Enter reference meter value (20 mA):"), QStringLiteral("20"),
                            QStringLiteral("The 20mA calibration has been adjusted to the entered meter reading.\r"
                                           "Does the reference meter show 20mA now?"),
                            &TComportHART::TrimLoopCurrentGain };
    try {
        if (trimEndPoint(zero) && trimEndPoint(span))
            JobLoopTestExit();
    } catch (const ETerminateException&) {
        throw; // the thread's shutdown releases the current
    } catch (...) {
        releaseAfterFailure();
        throw;
    }
    if (device().CurrentFixed())
        throw Exception(StillFixedText());
}

// Whatever failed, also a command 40 answered with a current the device did
// fix, the loop must not stay held: one release attempt before the error is
// shown. Its own failure would only hide the error that matters.
void TMaintenanceJobs::releaseAfterFailure()
{
    if (!device().CurrentFixed())
        return;
    try {
        JobLoopTestExit();
    } catch (const ETerminateException&) {
        throw;
    } catch (const std::exception&) {
    }
}

// The device stays at the set point while the user trims it again and again
// until the meter shows it.
bool TMaintenanceJobs::trimEndPoint(const TTrimPoint& point)
{
    fixCurrent(point.Current);
    do {
        const TAnswer reading = view().Ask({ TQuestion::TKind::Input, point.Prompt, point.Preset });
        if (reading.Result != TAnswer::Accepted) {
            JobLoopTestExit();
            return false;
        }
        trim(point, reading.Text);
    } while (!view().AskContinue(point.Question));
    return true;
}

// A reading that is no number, or a trim command that fails, ends the job.
void TMaintenanceJobs::trim(const TTrimPoint& point, const QString& reading)
{
    thread.CheckTerminated();
    float measured = 0;
    bool trimmed = TryStrToFloat(reading, measured);
    if (trimmed) {
        try {
            (device().*point.Trim)(measured);
        } catch (const ETerminateException&) {
            throw;
        } catch (const std::exception&) {
            trimmed = false;
        }
    }
    if (!trimmed)
        throw Exception(QStringLiteral("Value is a invalid floating-point number (IEEE 754).\r\rTranaction will be terminated."));
}

void TMaintenanceJobs::fixCurrent(float current)
{
    thread.CheckTerminated();
    device().SetFixedCurrent(current);
    view().ShowStatus(QStringLiteral("Analog output has been set to %1mA").arg(FormatFixed(current, 3)));
}

// --- Factory defaults and the configuration-changed flag ---

void TMaintenanceJobs::JobRestoreFactoryDefaults()
{
    thread.CheckTerminated();
    view().ShowStatus(QStringLiteral("Restore Factory Defaults"));
    device().RestoreFactoryDefaults();
    // The window shows what the device holds now.
    TReadJobs(thread).JobIdentifyAddressed();
}

void TMaintenanceJobs::JobResetConfigChanged()
{
    thread.CheckTerminated();
    const TField field = TField::EditConfigurationChangeCounter;
    const QString text = view().Text(field);
    bool ok = false;
    quint16 counter = text.toUShort(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    device().ResetConfigChangedFlag(counter);
    view().SetText(field, QString::number(counter));
}

#include "worker/TDirectCommandJob.h"

#include "commands/TComportHART.h"
#include "util/UPresentation.h"
#include "util/UUtilZahlensystem.h"
#include "worker/TThreadMeridal.h"

TDirectCommandJob::TDirectCommandJob(TThreadMeridal& thread)
    : TJobSteps(thread)
{
}

void TDirectCommandJob::JobDirectCommand()
{
    thread.CheckTerminated();
    THARTFrame answer;
    device().SendDirectCommand(thread.DirectCommandRequest, TimeoutMs, answer);
    // The link layer hands over only answers with both status bytes.
    const struct
    {
        const char* Control;
        QString Text;
    } fields[] = {
        { "EditAnswerCommand", QString::number(answer.Command) },
        { "EditAnswerAddress", HexByteList(answer.Address) },
        { "MemoAnswerData", HexByteList(answer.Data.mid(2)) },
        { "EditResponseCode", BytesToHex(answer.Data.left(1)) },
        { "EditDeviceStatus", BytesToHex(answer.Data.mid(1, 1)) },
        { "EditAnswerCheckSum", BytesToHex(QByteArray(1, char(answer.Checksum))) },
    };
    for (const auto& field : fields)
        thread.SyncSetEditText(control(QLatin1String(field.Control)), field.Text);
}

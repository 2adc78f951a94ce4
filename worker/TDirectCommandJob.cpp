#include "worker/TDirectCommandJob.h"

#include "commands/TComportHART.h"
#include "util/UPresentation.h"
#include "util/UUtilZahlensystem.h"
#include "worker/TDeviceView.h"
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
        TField Field;
        QString Text;
    } fields[] = {
        { TField::EditAnswerCommand, QString::number(answer.Command) },
        { TField::EditAnswerAddress, HexByteList(answer.Address) },
        { TField::MemoAnswerData, HexByteList(answer.Data.mid(2)) },
        { TField::EditResponseCode, BytesToHex(answer.Data.left(1)) },
        { TField::EditDeviceStatus, BytesToHex(answer.Data.mid(1, 1)) },
        { TField::EditAnswerCheckSum, BytesToHex(QByteArray(1, char(answer.Checksum))) },
    };
    for (const auto& field : fields)
        view().SetText(field.Field, field.Text);
}

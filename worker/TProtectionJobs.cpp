#include "worker/TProtectionJobs.h"

#include "util/UConversions.h"
#include "worker/TFamilyJobs.h"
#include "worker/TReadJobs.h"
#include "worker/TThreadMeridal.h"

namespace {

constexpr int LargestPasscode = 65535;

// The number in a passcode field; an empty field is refused with its own message.
int PasscodeNumber(const QString& text, const QString& emptyMessage)
{
    if (text.isEmpty())
        throw Exception(emptyMessage);
    return StrToInt(text);
}

// Passcodes travel as 16 bits: a larger number would reach the device cut
// to a passcode the user never typed.
void CheckPasscodeRange(int passcode, const QString& name)
{
    if (passcode < 0)
        throw Exception(name + QStringLiteral(" less than 0."));
    if (passcode > LargestPasscode)
        throw Exception(name + QStringLiteral(" greater than 65535 (0xFFFF)."));
}

} // namespace

TProtectionJobs::TProtectionJobs(TThreadMeridal& thread)
    : TJobSteps(thread)
{
}

void TProtectionJobs::JobSaveOthers()
{
    ChangePasscodeStep();
    // Switching protection on comes last, switching it off first: the enable
    // flags can only be written while the device is writable.
    QObject* protection = control(QStringLiteral("CheckBoxProtectionMode"));
    TFamilyJobs family(thread);
    if (thread.SyncGetChecked(protection) && thread.SyncIsModified(protection)) {
        family.StoreDeviceVariableEnable();
        ProtectionStep();
    } else {
        ProtectionStep();
        family.StoreDeviceVariableEnable();
    }
    // A refused write changed nothing the counter could tell.
    if (!thread.ResponseLogContains(QStringLiteral("In Write Protect Mode"))
        && !thread.ResponseLogContains(QStringLiteral("Passcode Wrong")))
        TReadJobs(thread).FetchConfigChangeCounter();
    TReadJobs(thread).JobReadOthers();
}

void TProtectionJobs::ChangePasscodeStep()
{
    thread.CheckTerminated();
    QObject* oldEdit = control(QStringLiteral("MaskEditOldPasscode"));
    QObject* newEdit = control(QStringLiteral("MaskEditNewPasscode1"));
    QObject* verifyEdit = control(QStringLiteral("MaskEditNewPasscode2"));
    if (!thread.SyncIsModified(oldEdit) && !thread.SyncIsModified(newEdit) && !thread.SyncIsModified(verifyEdit))
        return;
    const int oldPasscode = PasscodeNumber(thread.SyncGetText(oldEdit), QStringLiteral("Old Passcode is empty."));
    const int newPasscode = PasscodeNumber(thread.SyncGetText(newEdit), QStringLiteral("New Passcode is empty."));
    const int verifyPasscode = PasscodeNumber(thread.SyncGetText(verifyEdit), QStringLiteral("Verify Passcode is empty."));
    CheckPasscodeRange(oldPasscode, QStringLiteral("Old Passcode"));
    if (newPasscode != verifyPasscode)
        throw Exception(QStringLiteral("New Passcode and the verify Passcode does not match."));
    CheckPasscodeRange(newPasscode, QStringLiteral("New Passcode"));
    if (thread.AskContinue(QStringLiteral("If the passcode is changed and the passcode gets lost while the transducer is in "
                                          "Write Protection Mode it will not be possible to do any configuration any more."))
        != TThreadBasis::ResultYes)
        return;
    thread.SetStatusText(QStringLiteral("Change Password"));
    device().ChangePasscode(quint32(oldPasscode), quint32(newPasscode));
    // Sent, whatever the answer: the passcodes leave the window.
    for (QObject* edit : { oldEdit, newEdit, verifyEdit }) {
        thread.SyncSetText(edit, QString());
        thread.SyncSetColor(edit, Qt::white, false);
    }
}

void TProtectionJobs::ProtectionStep()
{
    QObject* box = changedControl(QStringLiteral("CheckBoxProtectionMode"), QStringLiteral("Write Protection Mode"));
    if (!box)
        return;
    QObject* passcodeEdit = control(QStringLiteral("MaskEditPasswcodeProtectionCode"));
    const int passcode = PasscodeNumber(thread.SyncGetText(passcodeEdit), QStringLiteral("Please enter the passcode."));
    CheckPasscodeRange(passcode, QStringLiteral("Passcode"));
    bool protect = thread.SyncGetChecked(box);
    if (protect
        && thread.AskContinue(QStringLiteral("If the passcode is changed to something different from the default value and the "
                                             "passcode gets lost while the transducer is in Write Protection Mode it will not "
                                             "be possible to do any configuration any more."))
            != TThreadBasis::ResultYes)
        return;
    device().WriteProtectionMode(quint32(passcode), protect);
    // The state the device reports is shown by the read-back of the tab.
    thread.SyncSetText(passcodeEdit, QString());
    thread.SyncAcceptValue(box);
}

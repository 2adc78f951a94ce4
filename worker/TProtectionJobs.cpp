#include "worker/TProtectionJobs.h"

#include "util/UConversions.h"
#include "worker/TDeviceView.h"
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
    const TField protection = TField::CheckBoxProtectionMode;
    TFamilyJobs family(thread);
    if (view().Checked(protection) && view().Modified(protection)) {
        family.StoreDeviceVariableEnable();
        ProtectionStep();
    } else {
        ProtectionStep();
        family.StoreDeviceVariableEnable();
    }
    // A refused write changed nothing the counter could tell.
    if (!view().ResponseLogContains(QStringLiteral("In Write Protect Mode"))
        && !view().ResponseLogContains(QStringLiteral("Passcode Wrong")))
        TReadJobs(thread).FetchConfigChangeCounter();
    TReadJobs(thread).JobReadOthers();
}

void TProtectionJobs::ChangePasscodeStep()
{
    thread.CheckTerminated();
    const TField oldEdit = TField::MaskEditOldPasscode;
    const TField newEdit = TField::MaskEditNewPasscode1;
    const TField verifyEdit = TField::MaskEditNewPasscode2;
    if (!view().Modified(oldEdit) && !view().Modified(newEdit) && !view().Modified(verifyEdit))
        return;
    const int oldPasscode = PasscodeNumber(view().Text(oldEdit), QStringLiteral("Old Passcode is empty."));
    const int newPasscode = PasscodeNumber(view().Text(newEdit), QStringLiteral("New Passcode is empty."));
    const int verifyPasscode = PasscodeNumber(view().Text(verifyEdit), QStringLiteral("Verify Passcode is empty."));
    CheckPasscodeRange(oldPasscode, QStringLiteral("Old Passcode"));
    if (newPasscode != verifyPasscode)
        throw Exception(QStringLiteral("New Passcode and the verify Passcode does not match."));
    CheckPasscodeRange(newPasscode, QStringLiteral("New Passcode"));
    if (!view().AskContinue(QStringLiteral("If the passcode is changed and the passcode gets lost while the transducer is in "
                                           "Write Protection Mode it will not be possible to do any configuration any more.")))
        return;
    view().ShowStatus(QStringLiteral("Change Password"));
    device().ChangePasscode(quint32(oldPasscode), quint32(newPasscode));
    // Sent, whatever the answer: the passcodes leave the window.
    for (TField edit : { oldEdit, newEdit, verifyEdit })
        view().Discard(edit);
}

void TProtectionJobs::ProtectionStep()
{
    const TField box = TField::CheckBoxProtectionMode;
    if (!changed(box, QStringLiteral("Write Protection Mode")))
        return;
    const TField passcodeEdit = TField::MaskEditPasswcodeProtectionCode;
    const int passcode = PasscodeNumber(view().Text(passcodeEdit), QStringLiteral("Please enter the passcode."));
    CheckPasscodeRange(passcode, QStringLiteral("Passcode"));
    bool protect = view().Checked(box);
    if (protect
        && !view().AskContinue(QStringLiteral("If the passcode is changed to something different from the default value and "
                                              "the passcode gets lost while the transducer is in Write Protection Mode it will "
                                              "not be possible to do any configuration any more.")))
        return;
    device().WriteProtectionMode(quint32(passcode), protect);
    // The state the device reports is shown by the read-back of the tab.
    view().SetText(passcodeEdit, QString());
    view().Accept(box);
}

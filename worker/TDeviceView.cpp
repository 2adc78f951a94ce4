#include "worker/TDeviceView.h"

bool TDeviceView::AskContinue(const QString& message)
{
    return Ask({ TQuestion::TKind::YesNo, message + QStringLiteral("\r\rDo you want to continue?"), QString() }).Result
        == TAnswer::ResultYes;
}

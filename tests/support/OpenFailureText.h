#pragma once

#include "link/TComPort.h"

#include <QString>

// What opening a port raises, as one line to compare: the failures its
// callers tell apart carry their kind before the message.
template<typename Open>
QString OpenFailureText(Open open)
{
    try {
        open();
    } catch (const EAlreadyOpen& e) {
        return QStringLiteral("already open: ") + e.Message();
    } catch (const EAccessDenied& e) {
        return QStringLiteral("access denied: ") + e.Message();
    } catch (const Exception& e) {
        return e.Message();
    }
    return QStringLiteral("<opened>");
}

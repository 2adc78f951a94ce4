#pragma once

#include "TSimAnswer.h"
#include "TSimDevice.h"
#include "TSimFault.h"
#include "TSimFrame.h"

#include <QList>

// Lets a device answer one request and applies the faults that fire on it:
// first those that keep the request from the device, then those that change
// the response, then those that corrupt the frame on the wire.
class TSimAnswerBuilder
{
public:
    static TSimAnswer Answer(TSimDevice& device, const TSimFrame& request, const QList<TSimFault>& faults);

private:
    static TSimReply Reply(TSimDevice& device, const TSimFrame& request, const QList<TSimFault>& faults,
                           bool& executed);
    static TSimFrame Frame(const TSimFrame& request, int preambles, quint8 responseCode, quint8 status,
                           const QByteArray& payload);
    static QByteArray ShapedPayload(QByteArray payload, const QList<TSimFault>& faults);
    static QByteArray ShapedBytes(QByteArray bytes, const QList<TSimFault>& faults);
};

#pragma once

#include "TSimVariableSettings.h"

#include <QByteArray>
#include <QDate>

#include <array>

// Everything a user may configure, the part that command 122 stores as the
// factory defaults and command 211 brings back. Identity, addressing,
// protection, passcode and the measurements are not part of it.
struct TSimConfiguration
{
    static constexpr quint8 NoVariable = 250; // a dynamic variable mapped to nothing

    QByteArray Tag;        // 8 characters
    QByteArray Descriptor; // 16 characters
    QDate Date;
    QByteArray Message;    // 32 characters
    QByteArray LongTag;    // 32 bytes, zero padded
    quint32 FinalAssemblyNumber = 0;

    quint8 AlarmSelection = 0; // 0 high, 1 low
    quint8 TransferFunction = 0;
    double UpperRangeValue = 0.0; // base unit of the PV
    double LowerRangeValue = 0.0;

    std::array<quint8, 4> Mapping{0, 1, 2, 3}; // device variables of PV, SV, TV, QV
    std::array<TSimVariableSettings, 4> Variables;

    float DacZeroTrim = 0.0f; // mA, corrections from commands 45 and 46
    float DacGainTrim = 0.0f;
};

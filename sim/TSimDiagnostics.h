#pragma once

#include <QtGlobal>

// The probe's diagnostic block of command 207.
struct TSimDiagnostics
{
    quint8 QualityQuotient = 0;
    quint8 StartLevel = 0;
    quint16 DampingLength = 0; // mm
    quint8 PulseDuration = 0;  // time-base counts
    quint8 PulseHeight = 0;
    float ClockValue = 0.0f;
    float HeadTemperature = 0.0f; // °C
    float TubeTemperature = 0.0f; // °C
};

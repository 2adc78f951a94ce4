#pragma once

#include <QtGlobal>

// The probe diagnostics of command 207.
struct TDiagnosticsData
{
    float PulseTimeBase = 0;        // clock value converting PulseDuration
    bool TimeBaseIsNaN = false;
    float HeadTemperature = 0;
    bool HeadTempIsNaN = false;
    float TubeTemperature = 0;
    bool TubeTempIsNaN = false;
    quint8 QualityQuotient = 0;
    quint8 StartLevel = 0;
    quint16 DampingLength = 0;
    quint8 PulseDuration = 0;
    quint8 PulseHeight = 0;
};

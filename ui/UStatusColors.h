#pragma once

#include <QColor>
#include <QString>

// The colours that tell a technician at a glance how a device answered.

// The field device status byte: green when no bit is set; yellow for a cold
// start or a changed configuration, orange for a variable out of limits or a
// saturated or fixed loop current, red for more status available or a
// malfunction. The most serious set bit decides.
QColor DeviceStatusColor(quint8 deviceStatus);

// A response code as hex text: green for success, red for an error, yellow
// for a warning, white for anything else (communication error bits, or no
// number at all).
QColor ResponseCodeColor(const QString& hexText);

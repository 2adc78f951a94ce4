#pragma once

#include <QString>

// Text for a response code as answered to the given command; several codes
// mean different things for different commands.
QString ResponseCodeText(quint8 responseCode, int command);

// Text of a field device status bit 0-7 (bit 7 "Device Malfunction" ...);
// empty for other bit numbers.
QString FieldDeviceStatusText(int bit);

// Text of an additional-status bit 0-5 of command 48 (bit 0 "HART Parameter
// Error" ... bit 5 "Dry Warning"); empty for other bit numbers.
QString AdditionalStatusText(int bit);

// Text shown for a field device status of 0.
QString SuccessText();

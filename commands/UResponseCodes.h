#pragma once

#include <QString>

// Text for a response code as answered to the given command; several codes
// mean different things for different commands.
QString ResponseCodeText(quint8 responseCode, int command);

// What a response code 0-127 tells of the command: carried out, carried out
// with a warning, or refused. (Codes with bit 7 set are communication errors,
// which the link layer raises.)
enum class TResponseClass { Success, Warning, Error };
TResponseClass ResponseCodeClass(quint8 responseCode);

// Text of a field device status bit 0-7 (bit 7 "Device Malfunction" ...);
// empty for other bit numbers.
QString FieldDeviceStatusText(int bit);

// Text of an additional-status bit 0-5 of command 48 (bit 0 "HART Parameter
// Error" ... bit 5 "Dry Warning"); empty for other bit numbers.
QString AdditionalStatusText(int bit);

// Text shown for a field device status of 0.
QString SuccessText();

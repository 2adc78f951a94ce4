#include "commands/UResponseCodes.h"

#include <algorithm>
#include <vector>

namespace {

// A response code's text, either for a list of commands or, with no
// commands listed, for every other command.
struct ResponseText
{
    quint8 code;
    std::vector<int> commands;
    const char* text;

    bool Fits(quint8 responseCode, int command) const
    {
        if (responseCode != code)
            return false;
        return commands.empty() || std::find(commands.begin(), commands.end(), command) != commands.end();
    }
};

// The command-specific texts of a code stand before its general text, which
// ends the code's run.
const std::vector<ResponseText>& ResponseTexts()
{
    static const std::vector<ResponseText> texts {
        { 0, {}, "Success" },
        { 2, { 6 }, "Invalid Poll Address Selection" },
        { 2, {}, "Invalid Selection" },
        { 3, {}, "Passed Parameter Too Large" },
        { 4, {}, "Passed Parameter Too Small" },
        { 5, {}, "Too Few Data Bytes Received" },
        { 6, {}, "Device-Specific Command Error" },
        { 7, {}, "In Write Protect Mode" },
        { 8, { 34, 55, 205, 206 }, "Warning: Set To Nearest Possible Value" },
        { 8, { 35 }, "Warning: Set To Nearest Possible Value (Upper or Lower Range Pushed)" },
        { 8, { 36 }, "Warning: Set To Nearest Possible Value (Upper Range Value Pushed)" },
        { 8, { 48 }, "Warning: Update In Progress" },
        { 8, {}, "Warning: Update Failure" },
        { 9, { 18 }, "Invalid Date Code Detected" },
        { 9, { 35 }, "Lower Range Value Too High" },
        { 9, { 36, 37 }, "Applied Process Too High" },
        { 9, { 38 }, "Configuration Change Counter Mismatch" },
        { 9, { 45, 46 }, "Incorrect Loop Current Mode or Value" },
        { 9, {}, "Invalid Parameter" },
        { 10, { 35 }, "Lower Range Value Too Low" },
        { 10, { 36, 37 }, "Applied Process Too Low" },
        { 10, {}, "Undefined" },
        { 11, { 35 }, "Upper Range Value Too High" },
        { 11, { 40, 45, 46 }, "Loop Current Not Active (Device in Multidrop Mode)" },
        { 11, { 53 }, "Invalid Device Variable Code" },
        { 11, {}, "Undefined" },
        { 12, { 6 }, "Invalid Mode Selection" },
        { 12, { 35 }, "Upper Range Value Too Low" },
        { 12, { 53 }, "Invalid Units Code" },
        { 12, {}, "Invalid Selection" },
        { 14, { 9 }, "Warning: Dynamic Variables Returned for Device Variables" },
        { 14, { 35, 36 }, "Warning: Span Too Small (Device Accuracy May Be Impaired)" },
        { 14, { 37 }, "Warning: New Lower Range Value Pushed Upper Range Value Over Transducer Limit" },
        { 14, {}, "Undefined" },
        { 16, {}, "Access Restricted" },
        { 17, {}, "Invalid Device Variable Index" },
        { 18, {}, "Invalid Units Code" },
        { 19, {}, "Device Variable Index Not Allowed" },
        { 20, {}, "Invalid Extended Command Number" },
        { 29, { 35, 36 }, "Invalid Span" },
        { 29, { 200 }, "Passcode Wrong" },
        { 29, { 204 }, "Old Passcode Wrong" },
        { 29, {}, "Undefined" },
        { 30, { 9 }, "Warning: Command Response Truncated" },
        { 30, {}, "Undefined" },
        { 32, { 22 }, "Busy (A DR Could Not Be Started)" },
        { 32, {}, "Busy" },
        { 33, {}, "Delayed Response (DR) Initiated" },
        { 34, {}, "Delayed Response (DR) Running" },
        { 35, {}, "Delayed Response (DR) Dead" },
        { 36, {}, "Delayed Response (DR) Conflict" },
        { 64, {}, "Command Not Implemented" },
    };
    return texts;
}

// Field device status bits 0-7, least significant first.
const char* const FieldDeviceStatusTexts[] = {
    "Primary Variable Out Of Limits",
    "Non-Primary Variable Out Of Limits",
    "Loop Current Saturated",
    "Loop Current Fixed",
    "More Status Available",
    "Cold Start",
    "Configuration Changed",
    "Device Malfunction",
};

// Bits 0-5 of the first payload byte of command 48.
const char* const AdditionalStatusTexts[] = {
    "HART Parameter Error",
    "Transmitter Parameter Error",
    "Measurement Error",
    "Error Counter Error",
    "Low Voltage Error",
    "Dry Warning",
};

template <std::size_t N>
QString TextOfBit(const char* const (&texts)[N], int bit)
{
    if (bit < 0 || bit >= static_cast<int>(N))
        return QString();
    return QString::fromLatin1(texts[bit]);
}

} // namespace

QString ResponseCodeText(quint8 responseCode, int command)
{
    for (const ResponseText& entry : ResponseTexts()) {
        if (entry.Fits(responseCode, command))
            return QString::fromLatin1(entry.text);
    }
    return QStringLiteral("Response Code unknown: %1").arg(responseCode);
}

TResponseClass ResponseCodeClass(quint8 responseCode)
{
    struct Range
    {
        quint8 First;
        quint8 Last;
    };
    // The HART standard's warnings; every other non-zero code is an error.
    static const Range warnings[] = { { 8, 8 }, { 14, 14 }, { 24, 27 }, { 30, 31 }, { 96, 127 } };
    if (responseCode == 0)
        return TResponseClass::Success;
    for (const Range& range : warnings) {
        if (responseCode >= range.First && responseCode <= range.Last)
            return TResponseClass::Warning;
    }
    return TResponseClass::Error;
}

QString FieldDeviceStatusText(int bit)
{
    return TextOfBit(FieldDeviceStatusTexts, bit);
}

QString AdditionalStatusText(int bit)
{
    return TextOfBit(AdditionalStatusTexts, bit);
}

QString SuccessText()
{
    return QStringLiteral("Success");
}

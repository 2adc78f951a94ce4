#pragma once

#include <QString>

// Maps the COM port numbers the program stores and shows ("COM 5") to the
// device nodes of this platform.
//
// Windows: COM n is "COMn". Linux, unless KORVALMeridal.ini overrides a number
// in its section "Ports" (for example `COM5=/dev/ttyUSB3`):
//   COM1 - COM4   -> /dev/ttyS0   - /dev/ttyS3    (on-board serial ports)
//   COM5 - COM12  -> /dev/ttyUSB0 - /dev/ttyUSB7  (USB serial adapters)
//   COM13 - COM20 -> /dev/ttyACM0 - /dev/ttyACM7  (USB modems of the CDC class)
// Numbers above 20 have a node only when the INI file names one.
class TComPortNames
{
public:
    // The device node for COM n; empty when there is none.
    static QString DevicePath(int comNumber);

    // "COMn" for the list, with the node beside it on platforms whose nodes
    // carry other names, e.g. "COM5 (/dev/ttyUSB0)".
    static QString DisplayName(int comNumber);

    // Points COM n at another node for the rest of the run (demo mode, tests);
    // takes precedence over the INI file.
    static void SetOverride(int comNumber, const QString& devicePath);

    // Takes the section "Ports" from this INI file instead of the program's
    // (see UIniLocation), from now on (tests that must not write beside the
    // program).
    static void UseIniFile(const QString& iniPath);
};

#pragma once

#include "TSimCommand.h"

#include <vector>

// The maker's device-specific commands: 122 (store factory defaults), 200-202
// and 204 (protection, alarm selection, passcode), 205-206 (offsets),
// 207-208 (diagnostics, firmware), 209-210 (device-variable enable) and 211
// (restore factory defaults). Other manufacturers' devices have none of them;
// TIVERN probes before firmware 3 lack 207-211.
class TSimMakerCommands
{
public:
    static std::vector<TSimCommand> Commands();
};

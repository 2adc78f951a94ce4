#pragma once

#include "TSimCommand.h"

#include <vector>

// Universal commands 0, 1, 2, 6, 7, 12-20, 22, 38 and 48.
class TSimUniversalCommands
{
public:
    static std::vector<TSimCommand> Commands();
};

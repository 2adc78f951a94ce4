#pragma once

#include "TSimCommand.h"

#include <vector>

// Common-practice commands 33, 35-37, 40, 45, 46, 50, 51 and 53-55.
class TSimCommonPracticeCommands
{
public:
    static std::vector<TSimCommand> Commands();
};

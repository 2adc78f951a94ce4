#pragma once

#include "TSimCommand.h"

// Every command a simulated device knows: universal, common practice and the
// maker's own.
class TSimCommandTable
{
public:
    // nullptr for a command no device implements.
    static const TSimCommand* Find(int number);
};

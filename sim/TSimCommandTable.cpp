#include "TSimCommandTable.h"

#include "TSimCommonPracticeCommands.h"
#include "TSimMakerCommands.h"
#include "TSimUniversalCommands.h"

#include <vector>

namespace {

std::vector<TSimCommand> AllCommands()
{
    std::vector<TSimCommand> commands;
    for (const auto& part : {TSimUniversalCommands::Commands(), TSimCommonPracticeCommands::Commands(),
                             TSimMakerCommands::Commands()})
        commands.insert(commands.end(), part.begin(), part.end());
    return commands;
}

} // namespace

const TSimCommand* TSimCommandTable::Find(int number)
{
    static const std::vector<TSimCommand> commands = AllCommands();
    for (const TSimCommand& command : commands)
        if (command.Number == number)
            return &command;
    return nullptr;
}

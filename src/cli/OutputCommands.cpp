#include "cli/CliCommand.h"

// filled by the outputs commands
std::vector<CliCommand> OutputCommands()
{
    return {};
}

// The one parser of every command's line: options anywhere among the
// operands, "--" ending them, "--help" or "-h" asking for help, and an
// unknown option a usage error.
#pragma once

#include <string>

#include "Command.h"

namespace cbasis {

enum class Parsed { kRun, kHelp, kUsage };

// Reads words[0..count) for cmd into args. kUsage with the reason in error
// for a line the command cannot take.
Parsed ParseCommandLine(const Command& cmd, char** words, int count, Args& args, std::string& error);

}  // namespace cbasis

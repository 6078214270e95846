// Subcommands of the cbasis tool. Each subcommand lives in its own file and
// registers itself with a static Command object.
#pragma once

#include <string>
#include <vector>

namespace cbasis {

using Args = std::vector<std::string>;

// Exit codes: 0 success, 1 the job failed, 2 the command line was wrong.
enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };

struct Command {
    const char* name;
    const char* synopsis;  // "guid", "ls DIR [PATTERN] [--tree|--bases]", ...
    const char* summary;   // one line for the command list
    const char* help;      // what --help prints below the synopsis
    int (*run)(const Args& args);

    Command(const char* name, const char* synopsis, const char* summary, const char* help,
            int (*run)(const Args&));
};

const std::vector<const Command*>& Commands();

// Prints "cbasis NAME: TEXT" and the synopsis to stderr; returns kUsage.
int UsageError(const Command& cmd, const std::string& text);
// Prints "cbasis NAME: TEXT" to stderr; returns kFailed.
int Failure(const Command& cmd, const std::string& text);

}  // namespace cbasis

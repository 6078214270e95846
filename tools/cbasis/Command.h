// Subcommands of the cbasis tool. Each subcommand lives in its own file and
// registers itself with a static Command object, which names its options;
// main reads every command line with the one parser (CommandLine.h).
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace cbasis {

// Exit codes: 0 success, 1 the job failed, 2 the command line was wrong.
enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };

// An option a command takes: "--tree", with "-y" as a short form where it
// has one, and a value ("--timeout 2" or "--timeout=2") where it takes one.
struct Option {
    const char* name;
    const char* shortName = nullptr;
    bool takesValue = false;
};

// A command line as the parser read it: the operands in order, and the
// options given, each with the value given last.
class Args {
public:
    std::vector<std::string> operands;

    bool Has(const char* option) const { return m_options.count(option) != 0; }
    // The option's value; empty when it was not given.
    std::string Value(const char* option) const;
    void Set(const char* option, std::string value) { m_options[option] = std::move(value); }

private:
    std::map<std::string, std::string> m_options;
};

struct Command {
    const char* name;
    const char* synopsis;  // "guid", "ls DIR [PATTERN] [--tree|--bases]", ...
    const char* summary;   // one line for the command list
    const char* help;      // what --help prints below the synopsis
    std::vector<Option> options;
    int (*run)(const Args& args);
    // What --help adds below the help that only the running tool knows (a
    // path of this installation); the manual page leaves it out. May be null.
    std::string (*helpHere)();

    Command(const char* name, const char* synopsis, const char* summary, const char* help,
            std::initializer_list<Option> options, int (*run)(const Args&), std::string (*helpHere)() = nullptr);
};

// Every command, by name.
std::vector<const Command*> Commands();

// Prints "cbasis NAME: TEXT" and the synopsis to stderr; returns kUsage.
int UsageError(const Command& cmd, const std::string& text);
// Prints the one line of a failed job, "cbasis NAME: SUBJECT: REASON", to
// stderr: the path or name concerned, as the user typed it, and why;
// returns kFailed.
int Failure(const Command& cmd, const std::string& subject, const std::string& reason);
// kOk when name can stand as one entry in a path (PlatformIsPlainName); else
// says why not, as a usage error about what, and returns kUsage.
int CheckPlainName(const Command& cmd, const char* what, const std::string& name);

}  // namespace cbasis

// cbasis: the library's main jobs from a shell.
#include <cstdio>
#include <cstring>

#include "Command.h"
#include "CommandLine.h"
#include "Manual.h"
#include "UndoneReport.h"

namespace {

bool Is(const char* word, const char* a, const char* b = nullptr) {
    return !std::strcmp(word, a) || (b && !std::strcmp(word, b));
}

const cbasis::Command* Find(const char* name) {
    for (const cbasis::Command* cmd : cbasis::Commands())
        if (!std::strcmp(cmd->name, name)) return cmd;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        cbasis::PrintOverview(stderr);
        return cbasis::kUsage;
    }
    const char* name = argv[1];
    if (Is(name, "--help", "-h") || (Is(name, "help") && argc < 3)) {
        cbasis::PrintOverview(stdout);
        return cbasis::kOk;
    }
    if (Is(name, "--version")) {
        cbasis::PrintVersion(stdout);
        return cbasis::kOk;
    }
    if (Is(name, "--man")) {  // the build makes the manual page with it
        cbasis::PrintManPage(stdout);
        return cbasis::kOk;
    }
    if (Is(name, "help")) name = argv[2];  // cbasis help COMMAND
    const cbasis::Command* cmd = Find(name);
    if (!cmd) {
        std::fprintf(stderr, "cbasis: unknown command '%s'\n", name);
        cbasis::PrintOverview(stderr);
        return cbasis::kUsage;
    }
    if (Is(argv[1], "help")) {
        cbasis::PrintCommandHelp(stdout, *cmd);
        return cbasis::kOk;
    }
    cbasis::Args args;
    std::string error;
    switch (cbasis::ParseCommandLine(*cmd, argv + 2, argc - 2, args, error)) {
    case cbasis::Parsed::kHelp: cbasis::PrintCommandHelp(stdout, *cmd); return cbasis::kOk;
    case cbasis::Parsed::kUsage: return cbasis::UsageError(*cmd, error);
    case cbasis::Parsed::kRun: break;
    }
    // Whatever the library had to leave undone is said, and fails the command.
    cbasis::UndoneReport undone;
    int result = cmd->run(args);
    if (undone.Empty()) return result;
    undone.Print(cmd->name);
    return result == cbasis::kOk ? cbasis::kFailed : result;
}

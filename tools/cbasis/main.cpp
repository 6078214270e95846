// cbasis: the library's main jobs from a shell.
#include <cstdio>
#include <cstring>

#include "Command.h"
#include "UndoneReport.h"

namespace cbasis {

namespace {
std::vector<const Command*>& Registry() {
    static std::vector<const Command*> commands;
    return commands;
}
}  // namespace

Command::Command(const char* n, const char* syn, const char* sum, const char* h, int (*r)(const Args&))
    : name(n), synopsis(syn), summary(sum), help(h), run(r) {
    Registry().push_back(this);
}

const std::vector<const Command*>& Commands() { return Registry(); }

int UsageError(const Command& cmd, const std::string& text) {
    std::fprintf(stderr, "cbasis %s: %s\nusage: cbasis %s\n", cmd.name, text.c_str(), cmd.synopsis);
    return kUsage;
}

int Failure(const Command& cmd, const std::string& text) {
    std::fprintf(stderr, "cbasis %s: %s\n", cmd.name, text.c_str());
    return kFailed;
}

}  // namespace cbasis

namespace {

void PrintOverview(FILE* out) {
    std::fprintf(out, "usage: cbasis COMMAND [ARGS...]\n       cbasis COMMAND --help\n\ncommands:\n");
    for (const cbasis::Command* cmd : cbasis::Commands())
        std::fprintf(out, "  %-44s %s\n", cmd->synopsis, cmd->summary);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintOverview(stderr);
        return cbasis::kUsage;
    }
    const char* name = argv[1];
    if (!std::strcmp(name, "--help") || !std::strcmp(name, "-h") || !std::strcmp(name, "help")) {
        PrintOverview(stdout);
        return cbasis::kOk;
    }
    for (const cbasis::Command* cmd : cbasis::Commands()) {
        if (std::strcmp(cmd->name, name) != 0) continue;
        cbasis::Args args(argv + 2, argv + argc);
        for (const std::string& a : args)
            if (a == "--help" || a == "-h") {
                std::printf("usage: cbasis %s\n\n%s\n", cmd->synopsis, cmd->help);
                return cbasis::kOk;
            }
        // Whatever the library had to leave undone is said, and fails the command.
        cbasis::UndoneReport undone;
        int result = cmd->run(args);
        if (undone.Empty()) return result;
        undone.Print(cmd->name);
        return result == cbasis::kOk ? cbasis::kFailed : result;
    }
    std::fprintf(stderr, "cbasis: unknown command '%s'\n", name);
    PrintOverview(stderr);
    return cbasis::kUsage;
}

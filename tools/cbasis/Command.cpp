// The command registry and the error lines every command prints.
#include "Command.h"

#include <algorithm>
#include <cstdio>

#include "platform/kernel/Paths.h"

namespace cbasis {

namespace {

std::vector<const Command*>& Registry() {
    static std::vector<const Command*> commands;
    return commands;
}

}  // namespace

std::string Args::Value(const char* option) const {
    auto it = m_options.find(option);
    return it == m_options.end() ? std::string() : it->second;
}

Command::Command(const char* n, const char* syn, const char* sum, const char* h, std::initializer_list<Option> opts,
                 int (*r)(const Args&), std::string (*here)())
    : name(n), synopsis(syn), summary(sum), help(h), options(opts), run(r), helpHere(here) {
    Registry().push_back(this);
}

std::vector<const Command*> Commands() {
    std::vector<const Command*> commands = Registry();
    std::sort(commands.begin(), commands.end(),
              [](const Command* a, const Command* b) { return std::string(a->name) < b->name; });
    return commands;
}

int UsageError(const Command& cmd, const std::string& text) {
    std::fprintf(stderr, "cbasis %s: %s\nusage: cbasis %s\n", cmd.name, text.c_str(), cmd.synopsis);
    return kUsage;
}

int Failure(const Command& cmd, const std::string& subject, const std::string& reason) {
    std::fprintf(stderr, "cbasis %s: %s: %s\n", cmd.name, subject.c_str(), reason.c_str());
    return kFailed;
}

int CheckPlainName(const Command& cmd, const char* what, const std::string& name) {
    if (name.empty()) return UsageError(cmd, std::string(what) + " is empty");
    if (PlatformIsPlainName(name.c_str())) return kOk;
    return UsageError(cmd, name +
                               ": not a name a path can carry (it holds / \\ : * ? \" < > | or a control "
                               "character, or is . or ..)");
}

}  // namespace cbasis

#include "Manual.h"

#include <string>

namespace cbasis {

namespace {

const char kPurpose[] = "the CBasis1 library's main jobs from a shell";

const char* const kForms[] = {"cbasis COMMAND [ARGS...]", "cbasis COMMAND --help", "cbasis help [COMMAND]",
                              "cbasis --version"};

const char kConventions[] =
    "Paths are typed as usual on Linux, or in the library's form with a drive\n"
    "letter (C:\\dir\\file). Errors name the path as it was typed and say why, on\n"
    "one line: cbasis COMMAND: PATH: REASON. Options may stand anywhere among\n"
    "the operands; \"--\" ends them, for operands that begin with '-'.\n";

const char kExitCodes[] =
    "Exit codes: 0 done, 1 the job failed or was not done whole (what was left\n"
    "undone is listed on stderr), 2 the command line was wrong, 3 event wait\n"
    "timed out.\n";

// Text for roff: backslashes and hyphens kept as typed, and no line taken
// for a request.
std::string Roff(const std::string& text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

}  // namespace

void PrintOverview(FILE* out) {
    std::fprintf(out, "cbasis: %s\n\n", kPurpose);
    for (const char* form : kForms) std::fprintf(out, "%s %s\n", form == kForms[0] ? "usage:" : "      ", form);
    std::fprintf(out, "\ncommands:\n");
    for (const Command* cmd : Commands()) std::fprintf(out, "  %-16s %s\n", cmd->name, cmd->summary);
    std::fprintf(out, "\n%s\n%s", kConventions, kExitCodes);
}

void PrintCommandHelp(FILE* out, const Command& cmd) {
    std::fprintf(out, "usage: cbasis %s\n\n%s\n", cmd.synopsis, cmd.help);
    if (cmd.helpHere) std::fprintf(out, "%s\n", cmd.helpHere().c_str());
}

void PrintVersion(FILE* out) { std::fprintf(out, "cbasis %s\n", CBASIS_VERSION); }

void PrintManPage(FILE* out) {
    std::fprintf(out, ".TH CBASIS 1 \"\" \"cbasis %s\" \"User Commands\"\n", CBASIS_VERSION);
    std::fprintf(out, ".SH NAME\ncbasis \\- %s\n", Roff(kPurpose).c_str());
    std::fprintf(out, ".SH SYNOPSIS\n.nf\n");
    for (const char* form : kForms) std::fprintf(out, "%s\n", Roff(form).c_str());
    std::fprintf(out, ".fi\n");
    std::fprintf(out, ".SH DESCRIPTION\n%s", Roff(kConventions).c_str());
    std::fprintf(out, ".SH COMMANDS\n");
    for (const Command* cmd : Commands()) {
        std::fprintf(out, ".TP\n.B %s\n%s.\n", Roff(cmd->synopsis).c_str(), Roff(cmd->summary).c_str());
        std::fprintf(out, ".RS\n.nf\n%s\n.fi\n.RE\n", Roff(cmd->help).c_str());
    }
    std::fprintf(out, ".SH EXIT STATUS\n%s", Roff(kExitCodes).c_str());
    std::fprintf(out,
                 ".SH SEE ALSO\nThe README and the notes in docs/, installed in share/doc/cbasis1 under the "
                 "installation prefix, with the examples' sources.\n");
}

}  // namespace cbasis

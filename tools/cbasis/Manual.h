// What the tool says about itself: the overview that --help prints, a
// command's help, the version, and the manual page, which is made from the
// same texts (cbasis --man writes it; the build installs it as cbasis.1).
#pragma once

#include <cstdio>

#include "Command.h"

namespace cbasis {

void PrintOverview(FILE* out);
void PrintCommandHelp(FILE* out, const Command& cmd);
void PrintVersion(FILE* out);
void PrintManPage(FILE* out);

}  // namespace cbasis

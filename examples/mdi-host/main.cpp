// cbasis-mdi-host [--profile-dir DIR]: one session of the headless MDI host.
#include <cstdio>
#include <cstring>

#include "MdiHost.h"

int main(int argc, char** argv) {
    std::string profileDir;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--profile-dir") && i + 1 < argc) {
            profileDir = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--profile-dir DIR]\n", argv[0]);
            return 2;
        }
    }
    std::string saveError;
    MdiHostResult result = RunMdiHost(profileDir, stdout, std::string(), std::string(), &saveError);
    if (result == kPlacementNotSaved) std::fprintf(stderr, "the placement could not be saved in %s\n", saveError.c_str());
    return result;
}

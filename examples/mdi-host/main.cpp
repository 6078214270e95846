// cbasis-mdi-host [--headless] [--profile-dir DIR]: the example MDI host. On a
// display it runs until the user closes its window; with --headless, or
// without a display, it runs one scripted session.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "MdiHost.h"

int main(int argc, char** argv) {
    std::string profileDir;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--profile-dir") && i + 1 < argc) {
            profileDir = argv[++i];
        } else if (!std::strcmp(argv[i], "--headless")) {
            setenv("CBASIS_DISPLAY", "headless", 1);  // before any window: the driver is chosen once
        } else {
            std::fprintf(stderr, "usage: %s [--headless] [--profile-dir DIR]\n", argv[0]);
            return 2;
        }
    }
    std::string saveError;
    MdiHostResult result = RunMdiHost(profileDir, stdout, std::string(), std::string(), &saveError);
    if (result == kPlacementNotSaved)
        std::fprintf(stderr, "the placement could not be saved in %s\n", saveError.c_str());
    return result;
}

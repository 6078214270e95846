#include <cstdio>

#include "Command.h"
#include "LibraryPaths.h"
#include "MdiHost.h"

namespace cbasis {
namespace {

int RunFrameDemo(const Args& args);

const Command kFrameDemo(
    "frame-demo", "frame-demo [--profile-dir DIR] [--snapshot FILE.png]",
    "run the headless MDI frame and show its windows",
    "Runs one session of a headless MDI application: the main frame restores its\n"
    "placement from the profile, opens two registered frames with WM_NEWFOCUS,\n"
    "is moved and maximized, and closes, saving its placement. Prints the\n"
    "placement found, the window tree and the saved profile entries; a second\n"
    "run shows the placement the first one saved.\n"
    "With --snapshot, a PNG picture of the main frame is written to FILE.png\n"
    "once its frames are open.\n"
    "The profile is FrameDemo.ini in DIR, or by default\n"
    "$XDG_CONFIG_HOME/FrameDemo/FrameDemo.ini.",
    RunFrameDemo);

int RunFrameDemo(const Args& args) {
    std::string profileDir, snapshot;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--profile-dir" && i + 1 < args.size()) {
            profileDir = args[++i];
        } else if (args[i] == "--snapshot" && i + 1 < args.size()) {
            CString path;
            std::string error;
            if (!ToLibrary(args[++i], true, path, error)) return UsageError(kFrameDemo, error);
            snapshot = static_cast<LPCTSTR>(path);
        } else {
            return UsageError(kFrameDemo, "unexpected argument '" + args[i] + "'");
        }
    }
    switch (RunMdiHost(profileDir, stdout, snapshot)) {
    case 0: return kOk;
    case 2: return Failure(kFrameDemo, "the picture could not be written to " + snapshot);
    default: return Failure(kFrameDemo, "the main frame could not be made");
    }
}

}  // namespace
}  // namespace cbasis

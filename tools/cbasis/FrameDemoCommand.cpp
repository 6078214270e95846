#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "Command.h"
#include "LibraryPaths.h"
#include "MdiHost.h"
#include "platform/kernel/Paths.h"
#include "platform/mfc/Modules.h"

namespace cbasis {
namespace {

// The example plugin installed with the tool, or else the one the build
// made (for a tool run from the build tree).
std::string ExamplePluginPath() {
    char buffer[4096];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    std::string program;
    if (length > 0 && length < sizeof buffer && PlatformToPosixPath(buffer, program)) {
        std::error_code ec;
        auto installed = std::filesystem::path(program).parent_path() / CBASIS_NOTES_PLUGIN_INSTALLED;
        installed = std::filesystem::weakly_canonical(installed, ec);
        if (!ec && std::filesystem::exists(installed, ec)) return installed.string();
    }
    return CBASIS_NOTES_PLUGIN_BUILT;
}

const std::string kHelp =
    "On a display, opens the MDI application's main frame as a window titled\n"
    "\"Frame Demo\" with two frames (a report you can type into, a chart) and\n"
    "runs until you close it; prints \"shown\" and the window tree (screen\n"
    "coordinates) once it is on the screen, and the tree and the saved\n"
    "placement when it closes. The next run opens where you left it. Closing\n"
    "after typing into the report asks \"Save changes to Report.txt?\": Yes\n"
    "saves its text as Report.txt beside the profile, No drops it, Cancel\n"
    "keeps the window open.\n"
    "With --headless, or without a display, runs one scripted session: the main\n"
    "frame restores its placement from the profile, opens two registered frames\n"
    "with WM_NEWFOCUS, is moved and maximized, and closes, saving its placement.\n"
    "Prints the placement found, the window tree and the saved profile entries;\n"
    "a second run shows the placement the first one saved.\n"
    "With --snapshot (always headless), a PNG picture of the main frame is\n"
    "written to FILE.png once its two frames are open.\n"
    "The profile is FrameDemo.ini in DIR, or by default\n"
    "$XDG_CONFIG_HOME/FrameDemo/FrameDemo.ini.\n"
    "With --plugin, the main frame also takes a frame and view from the plugin\n"
    "module FILE (its GetDllView and GetDllFrame exports) and opens it; the\n"
    "window tree shows the plugin's classes. The example plugin:\n  " +
    ExamplePluginPath();

int RunFrameDemo(const Args& args);

const Command kFrameDemo("frame-demo",
                         "frame-demo [--headless] [--profile-dir DIR] [--plugin FILE] [--snapshot FILE.png]",
                         "run the MDI frame (on the display, or headless) and show its windows", kHelp.c_str(),
                         RunFrameDemo);

int RunFrameDemo(const Args& args) {
    std::string profileDir, plugin, snapshot;
    bool headless = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--headless") {
            headless = true;
        } else if (args[i] == "--profile-dir" && i + 1 < args.size()) {
            profileDir = args[++i];
        } else if (args[i] == "--plugin" && i + 1 < args.size()) {
            CString path;
            std::string error;
            if (!ToLibrary(args[++i], true, path, error)) return UsageError(kFrameDemo, error);
            plugin = path;
        } else if (args[i] == "--snapshot" && i + 1 < args.size()) {
            CString path;
            std::string error;
            if (!ToLibrary(args[++i], true, path, error)) return UsageError(kFrameDemo, error);
            snapshot = path;
        } else {
            return UsageError(kFrameDemo, "unexpected argument '" + args[i] + "'");
        }
    }
    // Before any window exists, so the display driver is chosen accordingly.
    if (headless || !snapshot.empty()) setenv("CBASIS_DISPLAY", "headless", 1);
    switch (RunMdiHost(profileDir, stdout, plugin, snapshot)) {
    case kMdiHostOk: return kOk;
    case kPluginNotLoaded:
        return Failure(kFrameDemo, "the plugin '" + plugin + "' could not be loaded; its frame was not shown");
    case kPictureNotWritten: return Failure(kFrameDemo, "the picture could not be written to " + snapshot);
    case kNoMainFrame: break;
    }
    return Failure(kFrameDemo, "the main frame could not be made");
}

}  // namespace
}  // namespace cbasis

// frame-demo: the MDI host on the display, or one headless session, from a shell.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "Command.h"
#include "LibraryPaths.h"
#include "MdiHost.h"
#include "QuietMessageBoxes.h"
#include "Wording.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/FileApi.h"
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

// The example plugin's path, for --help (the manual page, made once for
// every installation, says where it is installed instead).
std::string PluginPathHelp() { return "This installation's example plugin:\n  " + ExamplePluginPath(); }

const char kHelp[] =
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
    "written to FILE.png once its frames are open, the plugin's among them.\n"
    "The profile is FrameDemo.ini in DIR, or by default\n"
    "$XDG_CONFIG_HOME/FrameDemo/FrameDemo.ini.\n"
    "With --plugin, the main frame also takes a frame and view from the plugin\n"
    "module FILE (its GetDllView and GetDllFrame exports) and opens it; the\n"
    "window tree shows the plugin's classes. The example plugin is installed as\n" CBASIS_NOTES_PLUGIN_INSTALLED_NAME
    " under the installation prefix.";

int RunFrameDemo(const Args& args);

const Command kFrameDemo(
    "frame-demo", "frame-demo [--headless] [--profile-dir DIR] [--plugin FILE] [--snapshot FILE.png]",
    "run the MDI frame (on the display, or headless) and show its windows", kHelp,
    {{"--headless"}, {"--profile-dir", nullptr, true}, {"--plugin", nullptr, true}, {"--snapshot", nullptr, true}},
    RunFrameDemo, PluginPathHelp);

// Why the plugin did not load, from the last error when the library said
// so: the system's words for a missing file, the loader's for a file it
// cannot load, and what a plugin lacks otherwise.
std::string PluginReason(DWORD error, const CString& plugin) {
    if (error == ERROR_MOD_NOT_FOUND && GetFileAttributesA(plugin) == INVALID_FILE_ATTRIBUTES) return Reason(error);
    if (error == ERROR_MOD_NOT_FOUND || error == ERROR_BAD_EXE_FORMAT) {
        // "/p/notes.txt: file too short": the path is the one the user typed.
        std::string words = PlatformLoadLibraryError().str();
        size_t colon = words.rfind(": ");
        return colon == std::string::npos ? words : words.substr(colon + 2);
    }
    if (error == ERROR_PROC_NOT_FOUND) return "not a plugin: it exports no GetDllView, or no GetDllFrame";
    return "not a plugin: its GetDllView gives no view class, or its GetDllFrame no frame class";
}

int RunFrameDemo(const Args& args) {
    if (!args.operands.empty()) return UsageError(kFrameDemo, "unexpected argument '" + args.operands[0] + "'");
    CString plugin, snapshot;
    std::string reason;
    for (auto [option, path] : {std::pair{"--plugin", &plugin}, std::pair{"--snapshot", &snapshot}}) {
        std::string typed = args.Value(option);
        if (args.Has(option) && !ToLibrary(typed, true, *path, reason)) return Failure(kFrameDemo, typed, reason);
    }
    // Absolute now: the main frame makes the executable's directory the
    // current one before it saves.
    std::string profileDir = args.Value("--profile-dir");
    if (!profileDir.empty()) {
        std::error_code ec;
        profileDir = std::filesystem::absolute(profileDir, ec).string();
    }
    // Before any window exists, so the display driver is chosen accordingly.
    if (args.Has("--headless") || args.Has("--snapshot")) setenv("CBASIS_DISPLAY", "headless", 1);
    // The library says a plugin it cannot load in a message box.
    QuietMessageBoxes boxes;
    std::string saveError;
    switch (RunMdiHost(profileDir, stdout, plugin.str(), snapshot.str(), &saveError)) {
    case kMdiHostOk:
        if (args.Has("--snapshot")) std::printf("picture: %s\n", args.Value("--snapshot").c_str());
        return kOk;
    case kPluginNotLoaded: return Failure(kFrameDemo, args.Value("--plugin"), PluginReason(boxes.Error(), plugin));
    case kPictureNotWritten: return Failure(kFrameDemo, args.Value("--snapshot"), LastReason());
    case kPlacementNotSaved: {
        // "<profile>: <reason>"; the system's reasons hold no ": ".
        size_t colon = saveError.rfind(": ");
        return Failure(kFrameDemo, "the placement could not be saved in " + saveError.substr(0, colon),
                       colon == std::string::npos ? "unknown reason" : saveError.substr(colon + 2));
    }
    case kNoMainFrame: break;
    }
    return Failure(kFrameDemo, "the main frame", "could not be made");
}

}  // namespace
}  // namespace cbasis

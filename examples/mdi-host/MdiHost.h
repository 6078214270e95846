// An MDI application on the library's main frame. On a display (a driver
// that shows windows, and no picture asked for) the user drives it: the
// frame restores its placement, opens its two frames and, once its first
// pixels are on the screen, prints "shown" and the window tree in screen
// coordinates; it runs until the user closes it, then prints the tree as
// the user left it and the profile entries saved. Otherwise one scripted
// session:
// the main frame restores its placement from the profile, registers two
// frames (a report, and a chart in a two-pane splitter), opens both with
// WM_NEWFOCUS, moves and maximizes the main window and closes it through
// the message loop, which saves the placement. A tool panel is docked at
// the main frame's left edge; its background is painted by a CGenericWnd
// companion, which shares the owner drawing with the panel's glyphs. The
// session prints what a screen would have shown: the placement found at
// start, the window tree, and the profile entries written at the end. The
// next session starts from the saved placement. With a plugin, the session
// also registers the plugin's frame kind and opens it (LoadDLLFrame) before
// the tree is shown.
#pragma once

#include <cstdio>
#include <string>

enum MdiHostResult {
    kMdiHostOk = 0,
    kNoMainFrame = 1,
    kPluginNotLoaded = 2,
    kPictureNotWritten = 3,
    kPlacementNotSaved = 4
};

// profileDir: where the profile file goes; empty for the default place
// (under XDG_CONFIG_HOME). plugin: the plugin module's file as a library
// path (backslashes, drive letter), or empty for none. snapshotPath: when not
// empty, a library path where a picture of the main frame goes once its
// frames are open, the plugin's among them. A session that could not load
// the plugin or write the picture, or whose main frame could not save its
// placement in the profile, still runs to its end, and says so in its
// result (the first such failure), leaving a load or picture failure's code
// as the last error; pSaveError, when given, then receives which profile
// could not be written and why.
MdiHostResult RunMdiHost(const std::string& profileDir, FILE* out, const std::string& plugin = std::string(),
                         const std::string& snapshotPath = std::string(), std::string* pSaveError = nullptr);

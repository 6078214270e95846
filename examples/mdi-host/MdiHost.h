// A headless MDI application on the library's main frame. One session:
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

enum MdiHostResult { kMdiHostOk = 0, kNoMainFrame = 1, kPluginNotLoaded = 2, kPictureNotWritten = 3 };

// profileDir: where the profile file goes; empty for the default place
// (under XDG_CONFIG_HOME). plugin: the plugin module's file as a library
// path (backslashes, drive letter), or empty for none. snapshotPath: when not
// empty, a library path where a picture of the main frame goes once its
// frames are open, the plugin's among them. A session that could not load the
// plugin or write the picture still runs to its end, and says so in its
// result (the first such failure), leaving that failure's code as the last
// error.
MdiHostResult RunMdiHost(const std::string& profileDir, FILE* out, const std::string& plugin = std::string(),
                         const std::string& snapshotPath = std::string());

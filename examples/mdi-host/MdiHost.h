// A headless MDI application on the library's main frame. One session:
// the main frame restores its placement from the profile, registers two
// frames (a report, and a chart in a two-pane splitter), opens both with
// WM_NEWFOCUS, moves and maximizes the main window and closes it through
// the message loop, which saves the placement. The session prints what a
// screen would have shown: the placement found at start, the window tree,
// and the profile entries written at the end. The next session starts
// from the saved placement. With a plugin, the session also registers the
// plugin's frame kind and opens it (LoadDLLFrame) before the tree is shown.
#pragma once

#include <cstdio>
#include <string>

enum MdiHostResult { kMdiHostOk = 0, kNoMainFrame = 1, kPluginNotLoaded = 2 };

// profileDir: where the profile file goes; empty for the default place
// (under XDG_CONFIG_HOME). plugin: the plugin module's file as a library
// path (backslashes, drive letter), or empty for none.
MdiHostResult RunMdiHost(const std::string& profileDir, FILE* out, const std::string& plugin = std::string());

// A headless MDI application on the library's main frame. One session:
// the main frame restores its placement from the profile, registers two
// frames (a report, and a chart in a two-pane splitter), opens both with
// WM_NEWFOCUS, moves and maximizes the main window and closes it through
// the message loop, which saves the placement. A tool panel is docked at
// the main frame's left edge; its background is painted by a CGenericWnd
// companion, which shares the owner drawing with the panel's glyphs. The session prints what a
// screen would have shown: the placement found at start, the window tree,
// and the profile entries written at the end. The next session starts
// from the saved placement.
#pragma once

#include <cstdio>
#include <string>

// profileDir: where the profile file goes; empty for the default place
// (under XDG_CONFIG_HOME). snapshotPath: when not empty, a library path
// where a picture of the main frame goes once its frames are open. Returns
// 0; 1 when the main frame could not be made; 2 when the picture could not
// be written (the session still runs to its end).
int RunMdiHost(const std::string& profileDir, FILE* out, const std::string& snapshotPath = "");

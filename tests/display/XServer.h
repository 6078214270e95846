// The display the display tests run on, and real input for it.
//
// With DISPLAY set (as .ci/run does), the tests use that server; without
// it, the first test of the process starts its own Xvfb (-displayfd) and
// ends it by its process id when the process exits. Input goes through
// XTEST, as a user's would, from a connection of the test's own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/shared/Types.h"

namespace display {

// True when a display is there for the tests; else *why says why not.
bool Ready(std::string* why);

// Starts an X server of its own (Xvfb, 1280 x 1024) for a test that needs
// one to itself (a window manager of its own, say): its process id and
// display name (":N"), or false and *why. The caller ends it by its id.
bool StartXvfb(int* pid, std::string* name, std::string* why);

// XTEST input, flushed at once (screen coordinates).
void MoveTo(int x, int y);
void Button(int button, bool down);
void Click(int x, int y);
// A key by its X keysym name ("a", "Return", "F4", "Alt_L").
void Key(const char* keysym, bool down);
void Tap(const char* keysym);

// Runs the calling thread's message loop as the application's does (its
// windows see each message first, then keys are translated) until pred
// holds or the time is up; true when it held.
bool RunUntil(const std::function<bool()>& pred, int milliseconds = 5000);

// The screen's pixels in the rectangle, 0x00RRGGBB, row by row.
std::vector<uint32_t> Grab(const RECT& r);
// Writes pixels as a PNG (for a person to look at).
void WritePng(const std::vector<uint32_t>& pixels, int width, int height, const std::string& path);

// The X window whose name is title (the top-level GTK made), or 0.
unsigned long FindWindow(const char* title);
// Moves and sizes it as a window manager would.
void MoveResize(unsigned long window, const RECT& r);
// Where it is on the screen (empty when it is not there).
RECT WindowRect(unsigned long window);

// Runs a program (argv[0] found on PATH) with stdin and stdout from and to
// files ("": /dev/null) and stderr to /dev/null, running the calling thread's message loop
// meanwhile so the program can talk to this process's windows (the
// clipboard, say). Its exit status, or -1 when it could not start or did
// not end within the time (it is then killed).
int Run(const std::vector<std::string>& argv, const std::string& input, const std::string& output,
        int milliseconds = 5000);

}  // namespace display

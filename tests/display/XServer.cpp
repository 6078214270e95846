// Starting Xvfb for the display tests when there is no display, and XTEST
// input and screen grabs through Xlib.
#include "XServer.h"

#include <cairo.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "platform/mfc/App.h"
#include "platform/user/Windows.h"

extern char** environ;

namespace display {
namespace {

// Windows of other processes come and go while they are looked at: a
// request about one that is gone fails, and that is not the test's end.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

struct Server {
    int pid = 0;
    Display* x = nullptr;
    std::string why;

    Server() {
        const char* existing = std::getenv("DISPLAY");
        if (!existing || !*existing) Start();
        if (why.empty() && !(x = XOpenDisplay(nullptr))) why = "the display could not be opened";
        XSetErrorHandler(IgnoreError);
        int event, error, major, minor;
        if (x && !XTestQueryExtension(x, &event, &error, &major, &minor)) why = "the display has no XTEST";
    }
    ~Server() {
        if (x) XCloseDisplay(x);
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    void Start() {
        std::string name;
        if (StartXvfb(&pid, &name, &why)) setenv("DISPLAY", name.c_str(), 1);
    }
};

}  // namespace

// Xvfb -displayfd writes its display number to the pipe once it listens.
bool StartXvfb(int* pid, std::string* name, std::string* why) {
    int fds[2];
    if (pipe(fds) != 0) return *why = "no pipe for Xvfb", false;
    std::string fd = std::to_string(fds[1]);
    const char* argv[] = {"Xvfb",         "-displayfd", fd.c_str(), "-screen", "0",
                          "1280x1024x24", "-nolisten",  "tcp",      nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    int failed = posix_spawnp(&child, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (failed) {
        close(fds[0]);
        return *why = "no display, and Xvfb could not be started (install xvfb)", false;
    }
    *pid = child;
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) return *why = "Xvfb started but gave no display number", false;
    *name = ":" + number;
    return true;
}

namespace {

Server& server() {
    static Server s;
    return s;
}

}  // namespace

bool Ready(std::string* why) {
    *why = server().why;
    return why->empty();
}

void MoveTo(int x, int y) {
    XTestFakeMotionEvent(server().x, -1, x, y, CurrentTime);
    XFlush(server().x);
}

void Button(int button, bool down) {
    XTestFakeButtonEvent(server().x, static_cast<unsigned>(button), down, CurrentTime);
    XFlush(server().x);
}

void Click(int x, int y) {
    MoveTo(x, y);
    Button(1, true);
    Button(1, false);
}

void Key(const char* keysym, bool down) {
    KeyCode code = XKeysymToKeycode(server().x, XStringToKeysym(keysym));
    XTestFakeKeyEvent(server().x, code, down, CurrentTime);
    XFlush(server().x);
}

void Tap(const char* keysym) {
    Key(keysym, true);
    Key(keysym, false);
}

bool RunUntil(const std::function<bool()>& pred, int milliseconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    UINT_PTR tick = SetTimer(nullptr, 0, 20, nullptr);  // bounds each wait
    bool held = pred();
    while (!held && std::chrono::steady_clock::now() < deadline) {
        MSG msg;
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
        // As the application's loop: its windows see the message first
        // (the frames' accelerators).
        CWinApp* pApp = AfxGetApp();
        if (!pApp || !pApp->PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        held = pred();
    }
    KillTimer(nullptr, tick);
    return held;
}

std::vector<uint32_t> Grab(const RECT& r) {
    int width = r.right - r.left, height = r.bottom - r.top;
    std::vector<uint32_t> pixels;
    XImage* image = XGetImage(server().x, DefaultRootWindow(server().x), r.left, r.top, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) return pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
    XDestroyImage(image);
    return pixels;
}

void WritePng(const std::vector<uint32_t>& pixels, int width, int height, const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    auto* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y)
        std::memcpy(data + y * stride, pixels.data() + static_cast<size_t>(y) * width, static_cast<size_t>(width) * 4);
    cairo_surface_mark_dirty(surface);
    cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
}

namespace {

unsigned long findIn(Display* x, Window w, const char* title) {
    char* name = nullptr;
    if (XFetchName(x, w, &name) && name) {
        bool match = std::strcmp(name, title) == 0;
        XFree(name);
        if (match) return w;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(x, w, &root, &parent, &children, &count)) return 0;
    unsigned long found = 0;
    for (unsigned i = 0; i < count && !found; ++i) found = findIn(x, children[i], title);
    if (children) XFree(children);
    return found;
}

}  // namespace

unsigned long FindWindow(const char* title) {
    return findIn(server().x, DefaultRootWindow(server().x), title);
}

void MoveResize(unsigned long window, const RECT& r) {
    XMoveResizeWindow(server().x, window, r.left, r.top, static_cast<unsigned>(r.right - r.left),
                      static_cast<unsigned>(r.bottom - r.top));
    XFlush(server().x);
}

RECT WindowRect(unsigned long window) {
    XWindowAttributes attributes;
    Window child;
    int x, y;
    if (!window || !XGetWindowAttributes(server().x, window, &attributes) || attributes.map_state != IsViewable ||
        !XTranslateCoordinates(server().x, window, DefaultRootWindow(server().x), 0, 0, &x, &y, &child))
        return RECT{};
    return RECT{x, y, x + attributes.width, y + attributes.height};
}

int Run(const std::vector<std::string>& argv, const std::string& input, const std::string& output, int milliseconds) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.empty() ? "/dev/null" : input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output.empty() ? "/dev/null" : output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    // A program that stays behind (xclip serving a selection) must not hold the test's stderr.
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    int failed = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) return -1;
    int status = 0;
    if (!RunUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, milliseconds)) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace display

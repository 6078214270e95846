// The desktop around the frame (the GTK 3 driver under X), each figure
// against a baseline of the same run:
//   - text copied in the frame (CF_TEXT through SetClipboardData) until
//     another program (xclip -o, started then) has read it; the baseline is
//     the same hand-over between two other programs, xclip -i then xclip -o,
//     and xclip -o alone reading another xclip's text;
//   - MessageBoxA's call to its window being mapped on the screen; the
//     baseline is a bare X window created and mapped through Xlib.
// The map is seen by a watcher thread on a connection of its own
// (MapNotify on the root window), which then presses Escape through XTEST
// to end the box. Needs a display (DISPLAY, or Xvfb on the path, which it
// starts); run with CBASIS_DISPLAY unset or gtk3. Results:
// docs/performance.md.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <CBasis1.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "Displayed.h"
#include "display/XServer.h"

namespace {

using Clock = std::chrono::steady_clock;

LRESULT OwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND MakeOwner() {
    HWND hWnd = PlatformCreateWindowEx(OwnerProc, 0, "Bench", "Bench", WS_OVERLAPPEDWINDOW, 40, 40, 400, 300, nullptr,
                                       nullptr, nullptr);
    ShowWindow(hWnd, SW_SHOWNORMAL);
    display::RunUntil([hWnd] { return PlatformIsOnScreen(hWnd) != 0; });
    return hWnd;
}

// A file of one line of text, for xclip -i (the caller removes it).
std::string LineFile() {
    std::string path = "/tmp/cbasis-desktop-bench-" + std::to_string(::getpid()) + ".txt";
    if (FILE* f = std::fopen(path.c_str(), "w")) {
        std::fputs("The quick brown fox jumps over the lazy dog\n", f);
        std::fclose(f);
    }
    return path;
}

void BM_CopyInTheFrameUntilXclipReadsIt(benchmark::State& state) {
    if (!Displayed(state)) return;
    HWND hOwner = MakeOwner();
    const std::string text = "The quick brown fox jumps over the lazy dog\r\n";
    for (auto _ : state) {
        OpenClipboard(hOwner);
        EmptyClipboard();
        HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        std::memcpy(GlobalLock(hMem), text.c_str(), text.size() + 1);
        GlobalUnlock(hMem);
        SetClipboardData(CF_TEXT, hMem);
        CloseClipboard();
        if (display::Run({"xclip", "-o", "-selection", "clipboard"}, "", "") != 0)
            state.SkipWithError("xclip -o failed");
    }
    DestroyWindow(hOwner);
    PlatformPumpMessages();
}
BENCHMARK(BM_CopyInTheFrameUntilXclipReadsIt)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

// Two other programs: xclip -i takes the clipboard (and stays behind to
// serve one read), xclip -o reads it.
void BM_XclipCopyUntilXclipReadsIt(benchmark::State& state) {
    if (!Displayed(state)) return;
    std::string input = LineFile();
    for (auto _ : state) {
        if (display::Run({"xclip", "-i", "-loops", "1", "-selection", "clipboard"}, input, "") != 0 ||
            display::Run({"xclip", "-o", "-selection", "clipboard"}, "", "") != 0)
            state.SkipWithError("xclip failed");
    }
    std::remove(input.c_str());
}
BENCHMARK(BM_XclipCopyUntilXclipReadsIt)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

// The read alone, from another program (an xclip serving the text): what
// starting xclip -o and its round trip cost whoever holds the clipboard.
void BM_XclipReadsAnotherProgramsText(benchmark::State& state) {
    if (!Displayed(state)) return;
    std::string input = LineFile();
    display::Run({"xclip", "-i", "-selection", "clipboard"}, input, "");
    for (auto _ : state)
        if (display::Run({"xclip", "-o", "-selection", "clipboard"}, "", "") != 0) state.SkipWithError("xclip failed");
    // Taking the clipboard back ends the xclip serving it.
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    std::remove(input.c_str());
}
BENCHMARK(BM_XclipReadsAnotherProgramsText)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

// Watches the root window for a top-level window being mapped, on its own
// connection; with escape, presses Escape over it (the keyboard follows the
// pointer without a window manager).
class MapWatcher {
public:
    explicit MapWatcher(bool escape) : m_escape(escape), m_x(XOpenDisplay(nullptr)) {
        XSelectInput(m_x, DefaultRootWindow(m_x), SubstructureNotifyMask);
        XSync(m_x, False);
        m_thread = std::thread([this] { Watch(); });
    }
    ~MapWatcher() {
        m_thread.join();
        XCloseDisplay(m_x);
    }
    Display* X() { return m_x; }
    // When the first window was mapped (blocks until then).
    Clock::time_point MappedAt() {
        while (!m_mapped) std::this_thread::yield();
        return m_at;
    }

private:
    void Watch() {
        XEvent event;
        do XNextEvent(m_x, &event);
        while (event.type != MapNotify || event.xmap.override_redirect);
        m_at = Clock::now();
        m_mapped = true;
        if (!m_escape) return;
        XWindowAttributes a;
        int x = 0, y = 0;
        Window child;
        if (XGetWindowAttributes(m_x, event.xmap.window, &a))
            XTranslateCoordinates(m_x, event.xmap.window, DefaultRootWindow(m_x), a.width / 2, a.height / 2, &x, &y,
                                  &child);
        XTestFakeMotionEvent(m_x, -1, x, y, CurrentTime);
        KeyCode escape = XKeysymToKeycode(m_x, XStringToKeysym("Escape"));
        XTestFakeKeyEvent(m_x, escape, True, CurrentTime);
        XTestFakeKeyEvent(m_x, escape, False, CurrentTime);
        XFlush(m_x);
    }

    bool m_escape;
    Display* m_x;
    std::atomic<bool> m_mapped{false};
    Clock::time_point m_at;
    std::thread m_thread;
};

void BM_MessageBoxCallUntilMapped(benchmark::State& state) {
    if (!Displayed(state)) return;
    HWND hOwner = MakeOwner();
    for (auto _ : state) {
        MapWatcher watcher(true);
        Clock::time_point called = Clock::now();
        if (MessageBoxA(hOwner, "Save changes to Report.txt?", "FrameDemo", MB_YESNOCANCEL) != IDCANCEL)
            state.SkipWithError("the box did not answer Escape with IDCANCEL");
        state.SetIterationTime(std::chrono::duration<double>(watcher.MappedAt() - called).count());
    }
    DestroyWindow(hOwner);
    PlatformPumpMessages();
}
BENCHMARK(BM_MessageBoxCallUntilMapped)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

void BM_XlibWindowCreateUntilMapped(benchmark::State& state) {
    if (!Displayed(state)) return;
    for (auto _ : state) {
        MapWatcher watcher(false);
        Display* x = XOpenDisplay(nullptr);
        Clock::time_point called = Clock::now();
        Window w = XCreateSimpleWindow(x, DefaultRootWindow(x), 100, 100, 300, 120, 0, 0, 0xFFFFFF);
        XMapWindow(x, w);
        XFlush(x);
        state.SetIterationTime(std::chrono::duration<double>(watcher.MappedAt() - called).count());
        XDestroyWindow(x, w);
        XCloseDisplay(x);
    }
}
BENCHMARK(BM_XlibWindowCreateUntilMapped)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

}  // namespace

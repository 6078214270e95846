// The user layer's own state, shared by its files and by nothing else: the
// window table, the per-thread queues and the helpers that work on them
// under the one lock.
//
// Sections: records; the table; rectangles; painting state; the wake-up.
//
// One lock guards the table, the classes and every queue. It is never held
// while a window procedure or a driver call runs, since both call back
// into the layer.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/gdi/Objects.h"
#include "platform/user/Input.h"
#include "platform/user/Windows.h"

namespace user {

// ---- Records --------------------------------------------------------------------

struct Window {
    std::shared_ptr<const WindowProc> proc;  // shared, so a running call survives a replacement
    std::thread::id owner;
    HWND parent = nullptr;
    std::vector<HWND> children;  // in creation order
    std::string className;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    HFONT font = nullptr;  // a predefined control's WM_SETFONT font; not owned
    RECT rect{};    // current rectangle
    RECT normal{};  // rectangle of the normal state
    POINT minPos{-1, -1};
    POINT maxPos{-1, -1};
    bool restoreToMax = false;  // a minimized window restores to maximized
    bool destroying = false;
    bool onDisplay = false;     // a top-level window the driver was told of
    RECT update{};              // bounding box of what is to be painted; empty when nothing is
    bool erase = false;         // the background is to be erased first
    bool stale = false;         // top-level: its pixels changed since they were last presented
    bool onScreen = false;      // top-level: the display showed its latest presented pixels
    struct ScrollBar {
        int pos = 0;
        int min = 0;
        int max = 100;
    } scroll[2];  // SB_HORZ, SB_VERT
};

using Clock = std::chrono::steady_clock;

struct Timer {
    HWND hWnd;
    UINT_PTR id;
    UINT elapse;
    TIMERPROC proc;
    Clock::time_point due;
};

// What wakes a thread waiting for messages: set by every post to its
// queue, taken by the wait. Its own lock, so a driver may wait on it
// without the table's.
struct Wakeup {
    std::mutex lock;
    std::condition_variable cv;
    bool set = false;

    void Signal();
    bool Take();
    void Wait(DWORD dwMilliseconds);
};

struct Queue {
    std::deque<MSG> posted;
    std::deque<std::pair<HWND, PlatformInput>> input;  // from the display, for a top-level window, not yet
                                                       // turned into messages
    std::deque<MSG> cooked;           // input turned into messages, taken after the posted ones
    bool quit = false;
    int quitCode = 0;
    HWND focus = nullptr;
    HWND active = nullptr;   // the active top-level window
    HWND capture = nullptr;  // the window that takes the mouse
    std::vector<HWND> needsPaint;  // this thread's windows with an update rectangle, oldest first
    std::vector<Timer> timers;
    BYTE keys[256] = {};           // key state: 0x80 down, 0x01 toggled
    struct KeyChar {
        DWORD time;
        WPARAM vk;
        LPARAM lParam;
        char ch;
    };
    std::deque<KeyChar> keyChars;  // characters of the latest key-down messages, for TranslateMessage
    std::shared_ptr<Wakeup> wakeup = std::make_shared<Wakeup>();
};

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

// ---- The table ------------------------------------------------------------------

// Never destroyed: windows may be destroyed or queried by static
// destructors while the process exits.
struct WindowSystem {
    std::mutex lock;
    std::unordered_map<HWND, Window> windows;
    std::unordered_map<std::thread::id, std::unique_ptr<Queue>> queues;
    std::vector<HWND> topLevel;  // in creation order
    std::map<std::string, WindowProcFactory, NoCaseLess> classes;
    std::map<const void*, WindowRemovalWatcher> removalWatchers;
    std::map<std::string, UINT, NoCaseLess> registeredMessages;  // RegisterWindowMessageA
    uintptr_t lastHandle = 0xFFFF;
    ATOM lastAtom = 0xC000;  // classes and registered messages share 0xC001..0xFFFF
    POINT cursor{0, 0};  // where the pointer was last seen, in screen coordinates
};

WindowSystem& windowSystem();
Window* findLocked(WindowSystem& s, HWND hWnd);
// The calling thread's queue, made on first use; it goes with the thread.
Queue& currentQueueLocked(WindowSystem& s);
// The queue of the window's owner; null once that thread has ended.
Queue* ownerQueueLocked(WindowSystem& s, const Window& w);
// The top-level window above hWnd (hWnd itself for a top-level one).
HWND rootLocked(WindowSystem& s, HWND hWnd);
// Wakes the queue's thread, in the driver's wait too.
void wakeLocked(Queue& q);
DWORD tickCount();

// Runs f on the window under the lock; fallback when hWnd is not a window.
template <class F, class R>
R withWindow(HWND hWnd, R fallback, F f) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Window* window = findLocked(s, hWnd);
    return window ? f(*window) : fallback;
}

// Removes a window whose WM_NCDESTROY has gone, and tells the watchers and
// the driver.
void removeWindow(WindowSystem& s, HWND hWnd);

// The visible children of a window, bottom first: creation order, with
// the active child of an MDI client on top, as the painter draws them and
// the mouse finds them.
std::vector<HWND> paintOrder(HWND hWnd);

// A child window's caption (WS_CHILD with WS_CAPTION) in the window's own
// coordinates: the bar over its top, with the buttons its styles ask for
// at the right (empty rectangles when absent), and the width of the frame
// that sizes it (WS_THICKFRAME). An empty bar for any other window.
struct CaptionLayout {
    RECT bar{};
    RECT minimize{};
    RECT maximize{};
    RECT close{};
    int frame = 0;
};
CaptionLayout captionLayout(DWORD style, int width, int height);

// ---- Rectangles -----------------------------------------------------------------

bool isEmpty(const RECT& r);
RECT intersection(const RECT& a, const RECT& b);
RECT unionOf(const RECT& a, const RECT& b);
RECT clientOf(const Window& w);
// The window and all its ancestors have WS_VISIBLE.
bool visibleLocked(WindowSystem& s, const Window* w);
// The window's rectangle in screen coordinates.
RECT screenRectLocked(WindowSystem& s, const Window& w);

// ---- Painting state (Painting.cpp) ------------------------------------------------

// Adds the rectangle (client coordinates; null: all) to the window's update
// rectangle, then to its visible children's: to all of them with
// allChildren, else only when the window lacks WS_CLIPCHILDREN. The caller
// has checked that the window is visible.
void invalidateLocked(WindowSystem& s, HWND hWnd, Window& w, const RECT* lpRect, bool bErase, bool allChildren);
void validateLocked(WindowSystem& s, HWND hWnd, Window& w);
// A hidden window has nothing to paint, nor have its descendants.
void validateTreeLocked(WindowSystem& s, HWND hWnd, Window& w);
// The pixels of the window's top-level window changed.
void markStaleLocked(WindowSystem& s, HWND hWnd);

// ---- Input (Input.cpp) ------------------------------------------------------------------

// Turns one piece of raw input for the top-level window hTop into messages
// on the calling thread's queue (q.cooked), or applies a display event.
void cookInput(HWND hTop, const PlatformInput& input);

// ---- Changes made by the display (WindowPos.cpp) --------------------------------------

// The display moved or sized a top-level window (screen coordinates).
void applyDisplayRect(HWND hWnd, const RECT& rect);
// The display minimized, maximized or restored it (SIZE_ kinds).
void applyDisplayState(HWND hWnd, WPARAM sizeType);

// ---- Focus and activation (Focus.cpp) ------------------------------------------------

// Makes hTop (null: none) the calling thread's active window, with
// WM_ACTIVATE (nState for the new one) to both; returns the previous one.
HWND activate(HWND hTop, WPARAM nState);

// Forgets a window that leaves the table as the queue's focus, active or
// capture window.
void forgetWindowLocked(Queue& q, HWND hWnd);

}  // namespace user

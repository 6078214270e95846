// Messages: sending, posting, the message loop's calls, timers and the
// wait on the queue and the display.
//
// A thread's messages come out of its queue in the original's order:
// posted messages, then input (turned into messages as it is reached),
// then WM_QUIT, then WM_PAINT for a window with an update rectangle, then
// WM_TIMER for a timer that is due. Before GetMessageA waits, the pixels of
// the thread's shown windows that changed are handed to the driver, so
// what the screen shows follows every paint.
//
// Sections: taking messages; waiting; the calls; timers.
#include <algorithm>

#include "platform/user/UserDriver.h"
#include "platform/user/WindowTable.h"

using namespace user;

namespace {

// ---- Taking messages ------------------------------------------------------------------

bool matches(const MSG& m, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (hWnd && m.hwnd != hWnd) return false;
    if (wMsgFilterMin == 0 && wMsgFilterMax == 0) return true;
    return m.message >= wMsgFilterMin && m.message <= wMsgFilterMax;
}

bool takeFrom(std::deque<MSG>& queue, LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, bool bRemove) {
    auto it = std::find_if(queue.begin(), queue.end(),
                           [&](const MSG& m) { return matches(m, hWnd, wMsgFilterMin, wMsgFilterMax); });
    if (it == queue.end()) return false;
    *lpMsg = *it;
    if (bRemove) queue.erase(it);
    return true;
}

MSG makeMsg(WindowSystem& s, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{hWnd, message, wParam, lParam, tickCount(), s.cursor};
}

enum class Take { Loop, Pump };

// One look at the calling thread's queue. Input met on the way is turned
// into messages (which may send messages, so without the lock). The pump
// leaves WM_QUIT and timers for the loop.
bool takeMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, bool bRemove, Take mode) {
    WindowSystem& s = windowSystem();
    for (;;) {
        std::pair<HWND, PlatformInput> input;
        {
            std::lock_guard<std::mutex> guard(s.lock);
            Queue& q = currentQueueLocked(s);
            if (takeFrom(q.posted, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, bRemove)) return true;
            if (takeFrom(q.cooked, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, bRemove)) return true;
            if (!q.input.empty()) {
                input = q.input.front();
                q.input.pop_front();
            } else {
                if (q.quit && mode == Take::Loop) {
                    *lpMsg = makeMsg(s, nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0);
                    if (bRemove) q.quit = false;
                    return true;
                }
                for (HWND hPaint : q.needsPaint) {
                    MSG paint = makeMsg(s, hPaint, WM_PAINT, 0, 0);
                    if (!matches(paint, hWnd, wMsgFilterMin, wMsgFilterMax)) continue;
                    *lpMsg = paint;
                    return true;
                }
                if (mode == Take::Pump) return false;
                Clock::time_point now = Clock::now();
                for (Timer& t : q.timers) {
                    MSG tick = makeMsg(s, t.hWnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc));
                    if (t.due > now || !matches(tick, hWnd, wMsgFilterMin, wMsgFilterMax)) continue;
                    *lpMsg = tick;
                    if (bRemove) t.due = now + std::chrono::milliseconds(t.elapse);
                    return true;
                }
                return false;
            }
        }
        cookInput(input.first, input.second);
    }
}

// ---- Waiting ----------------------------------------------------------------------------

// Hands the driver the pixels of the thread's shown windows that changed.
void presentStale() {
    auto present = PlatformUserDriver().pPresent;
    if (!present) return;
    std::vector<HWND> stale;
    {
        WindowSystem& s = windowSystem();
        std::lock_guard<std::mutex> guard(s.lock);
        std::thread::id self = std::this_thread::get_id();
        for (HWND hTop : s.topLevel)
            if (Window* w = findLocked(s, hTop); w && w->stale && w->owner == self) {
                w->stale = false;
                w->onScreen = false;
                stale.push_back(hTop);
            }
    }
    for (HWND hTop : stale) present(hTop);
}

// Milliseconds until the thread's next timer is due; INFINITE without one.
DWORD untilNextTimer() {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Queue& q = currentQueueLocked(s);
    if (q.timers.empty()) return INFINITE;
    Clock::time_point next = std::min_element(q.timers.begin(), q.timers.end(), [](const Timer& a, const Timer& b) {
                                 return a.due < b.due;
                             })->due;
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
    return static_cast<DWORD>(std::clamp<long long>(wait, 0, INFINITE - 1));
}

std::shared_ptr<Wakeup> currentWakeup() {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    return currentQueueLocked(s).wakeup;
}

void waitForMore(DWORD dwMilliseconds) {
    auto wait = PlatformUserDriver().pMsgWait;
    if (wait && PlatformIsDisplayThread())
        wait(dwMilliseconds);
    else
        currentWakeup()->Wait(dwMilliseconds);
}

}  // namespace

BOOL PlatformTakeWakeup() { return currentWakeup()->Take() ? TRUE : FALSE; }

void PlatformWaitWakeup(DWORD dwMilliseconds) { currentWakeup()->Wait(dwMilliseconds); }

// ---- The calls -------------------------------------------------------------------------------

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<const WindowProc> proc =
        withWindow(hWnd, std::shared_ptr<const WindowProc>(), [](Window& w) { return w.proc; });
    return proc ? (*proc)(hWnd, Msg, wParam, lParam) : 0;
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Queue* q;
    if (!hWnd) {
        q = &currentQueueLocked(s);
    } else {
        Window* window = findLocked(s, hWnd);
        if (!window || !(q = ownerQueueLocked(s, *window))) return FALSE;
    }
    q->posted.push_back(makeMsg(s, hWnd, Msg, wParam, lParam));
    wakeLocked(*q);
    return TRUE;
}

BOOL PlatformPostInput(HWND hTop, const PlatformInput& input) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Window* window = findLocked(s, hTop);
    Queue* q = window ? ownerQueueLocked(s, *window) : nullptr;
    if (!q) return FALSE;
    PlatformInput stamped = input;
    if (!stamped.time) stamped.time = tickCount();
    q->input.emplace_back(hTop, stamped);
    wakeLocked(*q);
    return TRUE;
}

BOOL GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (!lpMsg) return -1;
    for (;;) {
        if (hWnd && !IsWindow(hWnd)) return -1;
        if (takeMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true, Take::Loop))
            return lpMsg->message == WM_QUIT ? 0 : 1;
        presentStale();
        waitForMore(untilNextTimer());
    }
}

BOOL PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg || (hWnd && !IsWindow(hWnd))) return FALSE;
    return takeMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg & PM_REMOVE, Take::Loop);
}

LRESULT DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg) return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
        reinterpret_cast<TIMERPROC>(lpMsg->lParam)(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, tickCount());
        return 0;
    }
    if (!lpMsg->hwnd) return 0;
    return SendMessageA(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

void PostQuitMessage(int nExitCode) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Queue& q = currentQueueLocked(s);
    q.quit = true;
    q.quitCode = nExitCode;
    wakeLocked(q);
}

int PlatformPumpMessages() {
    int count = 0;
    for (MSG msg; takeMessage(&msg, nullptr, 0, 0, true, Take::Pump); ++count) {
        DispatchMessageA(&msg);
        if (msg.message != WM_PAINT) continue;
        // A handler that never validates would be painted forever; the pump
        // paints each request once.
        WindowSystem& s = windowSystem();
        std::lock_guard<std::mutex> guard(s.lock);
        if (Window* window = findLocked(s, msg.hwnd)) validateLocked(s, msg.hwnd, *window);
    }
    presentStale();
    return count;
}

UINT RegisterWindowMessageA(LPCSTR lpString) {
    if (!lpString || !*lpString) return 0;
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    auto found = s.registeredMessages.find(lpString);
    if (found != s.registeredMessages.end()) return found->second;
    if (s.lastAtom == 0xFFFF) return 0;
    UINT nMessage = ++s.lastAtom;
    s.registeredMessages.emplace(lpString, nMessage);
    return nMessage;
}

// ---- Timers ------------------------------------------------------------------------------------

namespace {

constexpr UINT kMinimumElapse = 10;  // USER_TIMER_MINIMUM
constexpr UINT_PTR kFirstThreadTimer = 0x7FFF;

}  // namespace

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Queue* q = &currentQueueLocked(s);
    if (hWnd) {
        Window* w = findLocked(s, hWnd);
        if (!w || !(q = ownerQueueLocked(s, *w))) return 0;
    } else {
        // A thread timer gets an id of its own; the caller's is ignored.
        nIDEvent = kFirstThreadTimer;
        while (std::any_of(q->timers.begin(), q->timers.end(),
                           [&](const Timer& t) { return !t.hWnd && t.id == nIDEvent; }))
            ++nIDEvent;
    }
    UINT elapse = std::max(uElapse, kMinimumElapse);
    Clock::time_point due = Clock::now() + std::chrono::milliseconds(elapse);
    auto it = std::find_if(q->timers.begin(), q->timers.end(),
                           [&](const Timer& t) { return t.hWnd == hWnd && t.id == nIDEvent; });
    if (it != q->timers.end())
        *it = Timer{hWnd, nIDEvent, elapse, lpTimerFunc, due};
    else
        q->timers.push_back(Timer{hWnd, nIDEvent, elapse, lpTimerFunc, due});
    wakeLocked(*q);  // a waiting loop learns of the new deadline
    return hWnd ? 1 : nIDEvent;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    WindowSystem& s = windowSystem();
    std::lock_guard<std::mutex> guard(s.lock);
    Queue* q = &currentQueueLocked(s);
    if (hWnd) {
        Window* w = findLocked(s, hWnd);
        if (!w || !(q = ownerQueueLocked(s, *w))) return FALSE;
    }
    size_t before = q->timers.size();
    std::erase_if(q->timers, [&](const Timer& t) { return t.hWnd == hWnd && t.id == uIDEvent; });
    if (q->timers.size() == before) return FALSE;
    // A WM_TIMER already taken but not yet dispatched is left alone, as on the original.
    return TRUE;
}

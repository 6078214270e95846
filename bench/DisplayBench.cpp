// The window system on a display (the GTK 3 driver under X), each figure
// beside the same work headless where there is one:
//   - a top-level window from creation to its first pixels on the screen;
//   - an XTEST click to the window procedure's WM_LBUTTONDOWN (median);
//   - a full repaint of a 1280 x 1024 frame with three child frames: every
//     window's WM_PAINT and the painter's pixels into the backing surface;
//   - the CPU an idle frame uses while its loop waits 5 s.
// Needs a display (DISPLAY, or Xvfb on the path, which it starts); run with
// CBASIS_DISPLAY unset or gtk3. Results: docs/performance.md.
#include <benchmark/benchmark.h>

#include <time.h>

#include <CBasis1.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "Displayed.h"
#include "display/XServer.h"

namespace {

using Clock = std::chrono::steady_clock;

// A window that paints a few lines of text over a filled background.
LRESULT PaintedProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(hWnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(hWnd, &ps);
    RECT client;
    GetClientRect(hWnd, &client);
    static HBRUSH hBrush = CreateSolidBrush(RGB(250, 250, 240));
    FillRect(hDC, &client, hBrush);
    for (int line = 0; line < 20; ++line) TextOutA(hDC, 10, 24 + 18 * line, "The quick brown fox jumps over", -1);
    EndPaint(hWnd, &ps);
    return 0;
}

HWND MakeTop(int width, int height) {
    return PlatformCreateWindowEx(PaintedProc, 0, "Bench", "Bench", WS_OVERLAPPEDWINDOW, 40, 40, width, height,
                                  nullptr, nullptr, nullptr);
}

// A frame of 1280 x 1024 with three captioned child frames, each holding a
// painted view.
HWND MakeFrameWithChildren() {
    HWND hTop = MakeTop(1280, 1024);
    for (int i = 0; i < 3; ++i) {
        HWND hChild = PlatformCreateWindowEx(PaintedProc, 0, "Child", "Child",
                                             WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, 30 * i, 30 * i, 900, 700,
                                             hTop, nullptr, nullptr);
        PlatformCreateWindowEx(PaintedProc, 0, "View", "", WS_CHILD | WS_VISIBLE, 0, PLATFORM_CAPTION_HEIGHT, 900,
                               700 - PLATFORM_CAPTION_HEIGHT, hChild, nullptr, nullptr);
    }
    return hTop;
}

void BM_CreateToFirstPaintOnScreen(benchmark::State& state) {
    if (!Displayed(state)) return;
    for (auto _ : state) {
        HWND hWnd = MakeTop(800, 600);
        ShowWindow(hWnd, SW_SHOWNORMAL);
        if (!display::RunUntil([hWnd] { return PlatformIsOnScreen(hWnd) != 0; })) state.SkipWithError("never shown");
        state.PauseTiming();
        DestroyWindow(hWnd);
        PlatformPumpMessages();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateToFirstPaintOnScreen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

int g_downs = 0;
Clock::time_point g_downAt;

LRESULT ClickedProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        g_downAt = Clock::now();
        ++g_downs;
    }
    return PaintedProc(hWnd, message, wParam, lParam);
}

void BM_XTestClickToLButtonDown(benchmark::State& state) {
    if (!Displayed(state)) return;
    HWND hWnd = PlatformCreateWindowEx(ClickedProc, 0, "Bench", "Bench", WS_OVERLAPPEDWINDOW, 40, 40, 400, 300,
                                       nullptr, nullptr, nullptr);
    ShowWindow(hWnd, SW_SHOWNORMAL);
    display::RunUntil([hWnd] { return PlatformIsOnScreen(hWnd) != 0; });
    std::vector<double> latencies;
    for (auto _ : state) {
        int before = g_downs;
        Clock::time_point sent = Clock::now();
        display::Click(140, 140);
        display::RunUntil([before] { return g_downs > before; });
        double ms = std::chrono::duration<double, std::milli>(g_downAt - sent).count();
        latencies.push_back(ms);
        state.SetIterationTime(ms / 1000);
    }
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) state.counters["median_ms"] = latencies[latencies.size() / 2];
    DestroyWindow(hWnd);
    PlatformPumpMessages();
}
BENCHMARK(BM_XTestClickToLButtonDown)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(200);

// Headless baseline: the same paints, no pixels rendered.
void RepaintAll(benchmark::State& state, bool onDisplay) {
    if (onDisplay && !Displayed(state)) return;
    HWND hTop = MakeFrameWithChildren();
    ShowWindow(hTop, SW_SHOWNORMAL);
    if (onDisplay) display::RunUntil([hTop] { return PlatformIsOnScreen(hTop) != 0; });
    std::vector<BYTE> pixels(static_cast<size_t>(1280) * 1024 * 4);
    for (auto _ : state) {
        InvalidateRect(hTop, nullptr, TRUE);
        for (HWND h = GetWindow(hTop, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            InvalidateRect(h, nullptr, TRUE);
            InvalidateRect(GetWindow(h, GW_CHILD), nullptr, TRUE);
        }
        UpdateWindow(hTop);
        if (onDisplay) PlatformRenderWindow(hTop, pixels.data(), 1280, 1024, 1280 * 4, POINT{40, 40});
    }
    DestroyWindow(hTop);
    PlatformPumpMessages();
}
void BM_FullRepaint1280x1024ThreeChildren(benchmark::State& state) { RepaintAll(state, true); }
void BM_FullRepaint1280x1024ThreeChildren_NoPixels(benchmark::State& state) { RepaintAll(state, false); }
BENCHMARK(BM_FullRepaint1280x1024ThreeChildren)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRepaint1280x1024ThreeChildren_NoPixels)->Unit(benchmark::kMillisecond);

double ProcessCpuMs() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void BM_IdleFrameCpuOver5s(benchmark::State& state) {
    if (!Displayed(state)) return;
    HWND hTop = MakeFrameWithChildren();
    ShowWindow(hTop, SW_SHOWNORMAL);
    display::RunUntil([hTop] { return PlatformIsOnScreen(hTop) != 0; });
    for (auto _ : state) {
        double before = ProcessCpuMs();
        UINT_PTR id = SetTimer(nullptr, 0, 5000, nullptr);  // the loop's only wake-up
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER) DispatchMessageA(&msg);
        KillTimer(nullptr, id);
        state.counters["cpu_ms"] = ProcessCpuMs() - before;
    }
    DestroyWindow(hTop);
    PlatformPumpMessages();
}
BENCHMARK(BM_IdleFrameCpuOver5s)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

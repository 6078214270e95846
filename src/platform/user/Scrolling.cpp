// Scroll positions and ranges of the standard bars (there is no bar to
// draw).
#include <algorithm>
#include <utility>

#include "platform/user/WindowTable.h"

using namespace user;

namespace {

bool standardBar(int nBar) { return nBar == SB_HORZ || nBar == SB_VERT; }

}  // namespace

int GetScrollPos(HWND hWnd, int nBar) {
    if (!standardBar(nBar)) return 0;
    return withWindow(hWnd, 0, [nBar](Window& w) { return w.scroll[nBar].pos; });
}

int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL) {
    if (!standardBar(nBar)) return 0;
    return withWindow(hWnd, 0, [nBar, nPos](Window& w) {
        Window::ScrollBar& bar = w.scroll[nBar];
        return std::exchange(bar.pos, std::clamp(nPos, bar.min, bar.max));
    });
}

BOOL GetScrollRange(HWND hWnd, int nBar, int* lpMinPos, int* lpMaxPos) {
    if (!standardBar(nBar) || !lpMinPos || !lpMaxPos) return FALSE;
    return withWindow(hWnd, FALSE, [&](Window& w) {
        *lpMinPos = w.scroll[nBar].min;
        *lpMaxPos = w.scroll[nBar].max;
        return TRUE;
    });
}

BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL) {
    if (!standardBar(nBar) || nMinPos > nMaxPos) return FALSE;
    return withWindow(hWnd, FALSE, [&](Window& w) {
        Window::ScrollBar& bar = w.scroll[nBar];
        bar.min = nMinPos;
        bar.max = nMaxPos;
        bar.pos = std::clamp(bar.pos, nMinPos, nMaxPos);
        return TRUE;
    });
}

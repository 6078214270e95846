// Copies its argument to the clipboard as CF_TEXT from a window on the
// display, then exits: the program whose text outlives it where the desktop
// has a clipboard manager. Exits 1 when the copy was refused.
#include <CBasis1.h>
#include <cstdio>
#include <cstring>

namespace {

LRESULT Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s TEXT\n", argv[0]);
        return 2;
    }
    HWND hWnd = PlatformCreateWindowEx(Proc, 0, "Copier", "Copier", WS_OVERLAPPEDWINDOW, 0, 0, 100, 50, nullptr,
                                       nullptr, nullptr);
    size_t size = std::strlen(argv[1]) + 1;
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(hMem), argv[1], size);
    GlobalUnlock(hMem);
    if (!hWnd || !OpenClipboard(hWnd) || !EmptyClipboard() || SetClipboardData(CF_TEXT, hMem) != hMem) return 1;
    CloseClipboard();
    DestroyWindow(hWnd);
    return 0;
}

// AfxRegisterWndClass: window classes named after their attributes.
#include <cstdio>

#include "platform/mfc/App.h"
#include "platform/mfc/Wnd.h"

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    thread_local char name[128];
    CWinApp* pApp = AfxGetApp();
    HINSTANCE hInstance = pApp ? pApp->m_hInstance : nullptr;
    auto hex = [](const void* handle) { return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(handle)); };
    if (hCursor || hbrBackground || hIcon)
        std::snprintf(name, sizeof name, "Afx:%lx:%x:%lx:%lx:%lx", hex(hInstance), nClassStyle, hex(hCursor),
                      hex(hbrBackground), hex(hIcon));
    else
        std::snprintf(name, sizeof name, "Afx:%lx:%x", hex(hInstance), nClassStyle);
    // The same attributes give the same name: the class is registered once.
    if (!PlatformNewClassProc(name)) {
        WNDCLASSA wc{};
        wc.style = nClassStyle;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = hInstance;
        wc.hIcon = hIcon;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
    return name;
}

#include <gtest/gtest.h>

#include <vector>

#include "platform/atl/Geometry.h"
#include "platform/user/Windows.h"

namespace {

HWND MakeWindow(HWND hParent = nullptr, std::vector<UINT>* pLog = nullptr) {
    return PlatformCreateWindowEx(
        [pLog](HWND h, UINT m, WPARAM w, LPARAM l) {
            if (pLog) pLog->push_back(m == WM_SIZE ? 0x10000 + static_cast<UINT>(w) : m);
            return DefWindowProcA(h, m, w, l);
        },
        0, "Test", "", hParent ? WS_CHILD | WS_VISIBLE : 0, 10, 20, 300, 200, hParent, nullptr, nullptr);
}

}  // namespace

TEST(PlacementTest, ShowStatesMoveTheRectangleAndKeepTheNormalOne) {
    std::vector<UINT> log;
    HWND hWnd = MakeWindow(nullptr, &log);
    EXPECT_FALSE(ShowWindow(hWnd, SW_SHOWMAXIMIZED));  // was hidden
    CRect rect;
    GetWindowRect(hWnd, &rect);
    EXPECT_EQ(rect, CRect(-1, -1, 1025, 769));  // full screen, border outside
    EXPECT_EQ(log.back(), 0x10000u + SIZE_MAXIMIZED);

    ShowWindow(hWnd, SW_MINIMIZE);
    WINDOWPLACEMENT wp;
    ASSERT_TRUE(GetWindowPlacement(hWnd, &wp));
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(wp.flags, WPF_RESTORETOMAXIMIZED);
    EXPECT_EQ(CRect(wp.rcNormalPosition), CRect(10, 20, 310, 220));
    wp.length = 40;
    EXPECT_FALSE(SetWindowPlacement(hWnd, &wp));  // a structure of another size
    ShowWindow(hWnd, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(hWnd));
    ShowWindow(hWnd, SW_RESTORE);
    GetWindowRect(hWnd, &rect);
    EXPECT_EQ(rect, CRect(10, 20, 310, 220));
    EXPECT_FALSE(ShowWindow(hWnd, 99));  // unknown command: nothing
    EXPECT_FALSE(IsZoomed(hWnd) || IsIconic(hWnd));
    DestroyWindow(hWnd);
}

TEST(PlacementTest, MaximizedChildCoversItsParentAndCoordinatesConvert) {
    HWND hParent = MakeWindow();
    HWND hChild = MakeWindow(hParent);
    ShowWindow(hParent, SW_SHOWNORMAL);
    ShowWindow(hChild, SW_SHOWMAXIMIZED);
    CRect rect;
    GetClientRect(hChild, &rect);
    EXPECT_EQ(rect, CRect(0, 0, 300, 200));
    ShowWindow(hChild, SW_SHOWNORMAL);
    CPoint point(35, 67);
    ScreenToClient(hChild, &point);
    EXPECT_EQ(point, CPoint(15, 27));  // less 10+10, 20+20
    ShowWindow(hParent, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(hChild));  // a hidden parent hides its children
    DestroyWindow(hParent);
}

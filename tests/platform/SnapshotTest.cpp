// Pictures of a known window tree, checked pixel by pixel.
#include <gtest/gtest.h>

#include "platform/mfc/Snapshot.h"
#include "platform/user/Painting.h"
#include "support/Picture.h"
#include "support/TempDir.h"

namespace {

using SnapshotTest = TempDirTest;

HWND Make(HWND hParent, LPCSTR lpszClass, DWORD style, RECT r, LPCSTR text = "") {
    return PlatformCreateWindowEx(DefWindowProcA, 0, lpszClass, text, style | (hParent ? WS_CHILD : 0), r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, hParent, nullptr, nullptr);
}

void Fill(HWND hWnd, RECT r, COLORREF color) {
    HDC hDC = GetDC(hWnd);
    HBRUSH hBrush = CreateSolidBrush(color);
    FillRect(hDC, &r, hBrush);
    DeleteObject(hBrush);
    ReleaseDC(hWnd, hDC);
}

constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kCyan = RGB(0, 255, 255);

}  // namespace

TEST_F(SnapshotTest, PicturesShowFacesDrawingClippingAndCaptions) {
    COLORREF paintColor = kYellow;
    HWND hRoot = PlatformCreateWindowEx(
        [&](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
            if (msg != WM_PAINT) return DefWindowProcA(h, msg, w, l);
            PAINTSTRUCT ps;
            HDC hDC = BeginPaint(h, &ps);
            HBRUSH hBrush = CreateSolidBrush(paintColor);
            RECT all{0, 0, 200, 120};
            FillRect(hDC, &all, hBrush);  // the paint's clip box keeps it to the update rectangle
            DeleteObject(hBrush);
            EndPaint(h, &ps);
            return 0;
        },
        0, "Test", "", WS_VISIBLE, 40, 30, 200, 120, nullptr, nullptr, nullptr);
    HWND hA = Make(hRoot, "Test", WS_VISIBLE, {10, 10, 110, 70});
    HWND hB = Make(hA, "Test", WS_VISIBLE, {80, 20, 150, 50});
    HWND hHidden = Make(hRoot, "Test", 0, {120, 10, 190, 60});
    Make(hRoot, "MDIClient", WS_VISIBLE, {120, 80, 190, 110});
    Make(hRoot, "Test", WS_VISIBLE | WS_CAPTION, {10, 80, 110, 115}, "Doc");
    PlatformPumpMessages();
    Fill(hA, {0, 0, 100, 60}, RGB(255, 0, 0));
    Fill(hB, {0, 0, 70, 30}, RGB(0, 0, 255));
    Fill(hHidden, {0, 0, 70, 50}, RGB(0, 255, 0));
    paintColor = kCyan;
    RECT corner{150, 0, 200, 40};
    InvalidateRect(hRoot, &corner, FALSE);
    UpdateWindow(hRoot);

    ASSERT_TRUE(PlatformSnapshotWindow(hRoot, "C:\\tree.png"));
    Picture picture = LoadPicture(Posix("tree.png"));
    ASSERT_EQ(picture.Width(), 200);
    ASSERT_EQ(picture.Height(), 120);
    struct Check {
        int x, y;
        COLORREF expected;
        const char* what;
    };
    const Check checks[] = {
        {5, 5, kYellow, "the root's first paint"},
        {170, 20, kCyan, "the second paint, inside its clip box (the hidden child is not drawn)"},
        {170, 65, kYellow, "outside that clip box"},
        {15, 15, RGB(255, 0, 0), "a child's fill"},
        {95, 35, RGB(0, 0, 255), "a grandchild inside its parent"},
        {115, 35, kYellow, "the grandchild's part outside its parent is clipped"},
        {150, 95, RGB(128, 128, 128), "the MDI client's workspace face"},
        {90, 84, RGB(128, 128, 128), "an inactive title bar"},
        {60, 108, RGB(255, 255, 255), "a window face below the title bar"},
        {10, 100, RGB(0, 0, 0), "the captioned window's frame"},
    };
    for (const Check& check : checks) {
        SCOPED_TRACE(check.what);
        EXPECT_EQ(picture.At(check.x, check.y), check.expected);
    }
    DestroyWindow(hRoot);
}

TEST_F(SnapshotTest, RefusedPicturesLeaveTheFileAsItWas) {
    WriteFile("old.png", "old");
    HWND hWnd = Make(nullptr, "Test", 0, {0, 0, 10, 10});
    EXPECT_FALSE(PlatformSnapshotWindow(hWnd, "C:\\missing\\x.png"));
    HWND hEmpty = Make(nullptr, "Test", 0, {0, 0, 0, 10});
    EXPECT_FALSE(PlatformSnapshotWindow(hEmpty, "C:\\old.png"));
    DestroyWindow(hWnd);
    EXPECT_FALSE(PlatformSnapshotWindow(hWnd, "C:\\old.png"));
    EXPECT_EQ(ReadFile("old.png"), "old");
    DestroyWindow(hEmpty);
}

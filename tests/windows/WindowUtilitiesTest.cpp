// CLP conversions and the CUtils window utilities.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/CUtils.h"
#include "platform/mfc/Wnd.h"
#include "platform/user/Dialogs.h"
#include "platform/user/Painting.h"
#include "support/TempDir.h"
#include "windows/CLP.h"

namespace {

// Records the WM_COPYDATA messages it receives.
class CReceiver : public CWnd {
public:
    struct Status {
        ULONG_PTR code;
        DWORD size;
        std::string text;
    };
    std::vector<Status> m_received;

protected:
    LRESULT OnCopyData(WPARAM, LPARAM lParam) {
        auto* cds = reinterpret_cast<COPYDATASTRUCT*>(lParam);
        m_received.push_back({cds->dwData, cds->cbData, static_cast<const char*>(cds->lpData)});
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReceiver, CWnd)
    ON_MESSAGE(WM_COPYDATA, OnCopyData)
END_MESSAGE_MAP()

class WindowUtilitiesTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "", WS_VISIBLE, 100, 50, 500, 300, nullptr, nullptr));
        ASSERT_TRUE(m_child.Create(nullptr, "", WS_VISIBLE, CRect(20, 30, 120, 130), &m_frame, 1));
    }
    void TearDown() override {
        PlatformSetOpenFileResponder({});
        TempDirTest::TearDown();
    }

    CReceiver m_frame;
    CWnd m_child;
    CUtils m_utils;
};

}  // namespace

TEST_F(WindowUtilitiesTest, LogicalCoordinatesAddTheScrollPosition) {
    m_child.SetScrollPos(SB_HORZ, 30);
    m_child.SetScrollPos(SB_VERT, 500);
    EXPECT_EQ(m_child.SetScrollPos(SB_VERT, 40), 100);  // it was kept in the default range 0 to 100
    CLP lp(&m_child);
    EXPECT_EQ(lp.GetScrollPos(), CPoint(30, 40));
    CPoint screen(10, 10);
    m_child.ClientToScreen(&screen);  // (130, 90)

    CPoint point = screen;
    lp.ConvertToLP(point);
    EXPECT_EQ(point, CPoint(40, 50));
    CPoint local = point;
    lp.ConvertLPToLocalScreen(local);
    EXPECT_EQ(local, CPoint(10, 10));
    lp.ConvertToDP(point);
    EXPECT_EQ(point, screen);

    CRect rect(screen.x, screen.y, screen.x + 5, screen.y + 6);
    lp.ConvertToLP(rect);
    EXPECT_EQ(rect, CRect(40, 50, 45, 56));
    CRect localRect = rect;
    lp.ConvertLPToLocalScreen(localRect);
    EXPECT_EQ(localRect, CRect(10, 10, 15, 16));
    lp.ConvertToDP(rect);
    EXPECT_EQ(rect, CRect(screen.x, screen.y, screen.x + 5, screen.y + 6));

    CLP none(nullptr);  // no window: nothing moves
    CPoint still(3, 4);
    none.ConvertToLP(still);
    none.ConvertToDP(still);
    EXPECT_EQ(still, CPoint(3, 4));
}

TEST_F(WindowUtilitiesTest, ResizeRectMovesOnlyRectanglesLeftOfZero) {
    CRect moved(-20, 5, 80, 50);
    m_utils.ResizeRect(moved);
    EXPECT_EQ(moved, CRect(0, 5, 100, 50));
    RECT kept{10, -5, 20, 5};
    m_utils.ResizeRect(kept);
    EXPECT_EQ(CRect(kept), CRect(10, -5, 20, 5));
    RECT plain{-1, 0, 1, 2};
    m_utils.ResizeRect(plain);
    EXPECT_EQ(CRect(plain), CRect(0, 0, 2, 2));
}

TEST_F(WindowUtilitiesTest, ChildrenDockFromBothSidesOfTheRemainingArea) {
    m_child.ShowWindow(SW_HIDE);
    CRect area(0, 0, 500, 300);
    m_utils.SetChildWindowPlacement(area, &m_child, 100, 1);
    EXPECT_EQ(m_utils.GetWindowRect(&m_child), CRect(0, 0, 100, 300));
    EXPECT_EQ(area, CRect(100, 0, 500, 300));
    EXPECT_TRUE(m_child.IsWindowVisible());
    CWnd right;
    ASSERT_TRUE(right.Create(nullptr, "", 0, CRect(0, 0, 1, 1), &m_frame, 2));
    m_utils.SetChildWindowPlacement(area, &right, 100, 2);
    EXPECT_EQ(m_utils.GetWindowRect(&right), CRect(400, 0, 500, 300));
    EXPECT_EQ(area, CRect(100, 0, 400, 300));

    m_utils.SetChildWindowPlacement(area, nullptr, 50, 1);
    EXPECT_EQ(area, CRect(100, 0, 400, 300));

    right.ShowWindow(SW_MAXIMIZE);  // the normal position, not the current rectangle
    EXPECT_EQ(m_utils.GetWindowRect(&right), CRect(400, 0, 500, 300));
    EXPECT_EQ(m_utils.GetWindowRect(nullptr), CRect());
}

TEST_F(WindowUtilitiesTest, StatusTextsTravelAsCopyData) {
    char text[] = "ready";
    m_utils.SetViewStatus(text, m_frame.m_hWnd, 17);
    char empty[] = "";
    m_utils.SetViewStatus(empty, m_frame.m_hWnd, 2);
    m_utils.SetViewStatus(nullptr, m_frame.m_hWnd, 3);
    m_utils.SetViewStatus(text, nullptr, 4);  // nobody to tell
    ASSERT_EQ(m_frame.m_received.size(), 3u);
    EXPECT_EQ(m_frame.m_received[0].code, 17u);
    EXPECT_EQ(m_frame.m_received[0].size, 6u);
    EXPECT_EQ(m_frame.m_received[0].text, "ready");
    EXPECT_EQ(m_frame.m_received[1].size, 1u);
    EXPECT_EQ(m_frame.m_received[2].size, 1u);
}

TEST_F(WindowUtilitiesTest, OpenFileDialogAsksWithTheOriginalStructure) {
    CString path = "stale";
    m_utils.OpenFileDialog(m_frame.m_hWnd, path);  // cancelled
    EXPECT_EQ(path, "");

    PlatformSetOpenFileResponder([this](const OPENFILENAMEA& ofn, CString& chosen) {
        EXPECT_EQ(ofn.lStructSize, 76u);
        EXPECT_EQ(ofn.hwndOwner, m_frame.m_hWnd);
        EXPECT_EQ(ofn.nMaxFile, 100u);
        EXPECT_STREQ(ofn.lpstrFile, "");
        EXPECT_STREQ(ofn.lpstrTitle, "Open File");
        EXPECT_EQ(ofn.Flags, 0x81000u);
        EXPECT_EQ(ofn.lpstrFilter, nullptr);
        chosen = "\\tmp";  // a directory: refused as a file that must exist
        return TRUE;
    });
    m_utils.OpenFileDialog(m_frame.m_hWnd, path);
    EXPECT_EQ(path, "");

    WriteFile("notes.txt", "n");
    PlatformSetOpenFileResponder([](const OPENFILENAMEA&, CString& chosen) {
        chosen = "C:\\notes.txt";
        return TRUE;
    });
    m_utils.OpenFileDialog(m_frame.m_hWnd, path);
    EXPECT_EQ(path, "C:\\notes.txt");
}

TEST_F(WindowUtilitiesTest, BackgroundColourChangeReleasesTheBrushAndRepaints) {
    PlatformPumpMessages();
    HBRUSH hBrush = CreateSolidBrush(RGB(1, 1, 1));
    HBRUSH hOld = hBrush;
    COLORREF color = 0;
    m_utils.ChangeBackgroundColor(&m_child, RGB(0, 200, 0), color, hBrush);
    EXPECT_EQ(color, RGB(0, 200, 0));
    EXPECT_NE(hBrush, hOld);
    LOGBRUSH log;
    EXPECT_EQ(GetObjectA(hOld, sizeof log, &log), 0);
    ASSERT_NE(GetObjectA(hBrush, sizeof log, &log), 0);
    EXPECT_EQ(log.lbColor, RGB(0, 200, 0));
    EXPECT_EQ(PlatformPumpMessages(), 0);  // the parent (and the child it covers) painted at once
    m_utils.ChangeBackgroundColor(nullptr, RGB(1, 2, 3), color, hBrush);
    DeleteObject(hBrush);
}

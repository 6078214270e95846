#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc/Wnd.h"

namespace {

constexpr UINT WM_PING = WM_USER + 5;
constexpr UINT WM_PONG = WM_USER + 6;

std::vector<std::string> calls;
int deleted = 0;

class CBaseWnd : public CWnd {
protected:
    LRESULT OnPing(WPARAM w, LPARAM) {
        calls.push_back("base ping");
        return static_cast<LRESULT>(w) + 1;
    }
    LRESULT OnPong(WPARAM, LPARAM) {
        calls.push_back("base pong");
        return 7;
    }
    void PostNcDestroy() override { ++deleted; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_MESSAGE(WM_PING, OnPing)
    ON_MESSAGE(WM_PONG, OnPong)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
protected:
    LRESULT OnPing(WPARAM w, LPARAM l) {
        calls.push_back("derived ping");
        return CBaseWnd::OnPing(w, l) * 10;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_MESSAGE(WM_PING, OnPing)
END_MESSAGE_MAP()

class CRefusingWnd : public CWnd {
public:
    static int s_nDeleted;

protected:
    int OnCreate(LPCREATESTRUCT) { return -1; }
    void PostNcDestroy() override {
        ++s_nDeleted;
        delete this;
    }
    DECLARE_MESSAGE_MAP()
};
int CRefusingWnd::s_nDeleted = 0;

BEGIN_MESSAGE_MAP(CRefusingWnd, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

}  // namespace

TEST(WndTest, MessagesFindTheMostDerivedHandlerThenTheBases) {
    calls.clear();
    deleted = 0;
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", 0, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_EQ(wnd.SendMessage(WM_PING, 4), 50);
    EXPECT_EQ(wnd.SendMessage(WM_PONG), 7);
    EXPECT_EQ(calls, (std::vector<std::string>{"derived ping", "base ping", "base pong"}));
    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(text, "w");  // unmapped messages reach DefWindowProcA

    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);  // detached
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(CWnd::FromHandle(hWnd), nullptr);
}

TEST(WndTest, RefusedCreationCleansUpOnce) {
    CRefusingWnd::s_nDeleted = 0;
    auto* pWnd = new CRefusingWnd;
    EXPECT_FALSE(pWnd->CreateEx(0, nullptr, "", 0, 0, 0, 1, 1, nullptr, nullptr));
    EXPECT_EQ(CRefusingWnd::s_nDeleted, 1);

    auto* pOrphan = new CRefusingWnd;  // the parent is no window: refused before any message
    CWnd parent;
    EXPECT_FALSE(pOrphan->Create(nullptr, "", 0, CRect(0, 0, 1, 1), &parent, 1));
    EXPECT_EQ(CRefusingWnd::s_nDeleted, 2);
}

TEST(WndTest, TemporaryObjectsNeverDestroyWindows) {
    HWND hParent = PlatformCreateWindowEx(DefWindowProcA, 0, "Plain", "", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr);
    HWND hPane = PlatformCreateWindowEx(DefWindowProcA, 0, "Plain", "", WS_CHILD, 0, 0, 10, 10, hParent,
                                        reinterpret_cast<HMENU>(5), nullptr);
    CWnd* pTemp = CWnd::FromHandle(hParent);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hParent), nullptr);
    EXPECT_EQ(pTemp->GetDlgItem(5)->m_hWnd, hPane);
    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(hParent));
    DestroyWindow(hParent);
}

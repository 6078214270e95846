// Brushes, device contexts, update rectangles, painting and buttons.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/mfc/Controls.h"
#include "platform/mfc/GdiObjects.h"

namespace {

// A window whose procedure answers through a handler and logs the messages
// it gets; what the handler does not answer goes to DefWindowProcA.
struct TestWindow {
    using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;
    HWND hWnd = nullptr;
    std::vector<UINT> messages;

    TestWindow(HWND hParent, DWORD style, RECT r, Handler handler = {}) {
        hWnd = PlatformCreateWindowEx(
            [this, handler](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
                messages.push_back(msg);
                LRESULT result = 0;
                if (handler && handler(h, msg, w, l, result)) return result;
                return DefWindowProcA(h, msg, w, l);
            },
            0, "Test", "", style | (hParent ? WS_CHILD : 0), r.left, r.top, r.right - r.left, r.bottom - r.top,
            hParent, nullptr, nullptr);
    }
    ~TestWindow() { DestroyWindow(hWnd); }
    int Count(UINT msg) const { return static_cast<int>(std::count(messages.begin(), messages.end(), msg)); }
};

std::vector<COLORREF> FillColors(const std::vector<PlatformDrawing>& drawing) {
    std::vector<COLORREF> colors;
    for (const PlatformDrawing& op : drawing)
        if (op.kind == PlatformDrawing::Kind::fill) colors.push_back(op.color);
    return colors;
}

}  // namespace

TEST(PaintingTest, DeletedBrushesAreRefusedNeverUsed) {
    HBRUSH hRed = CreateSolidBrush(RGB(255, 0, 0));
    ASSERT_NE(hRed, nullptr);
    HDC hDC = GetDC(nullptr);
    RECT r{0, 0, 10, 10};
    EXPECT_TRUE(FillRect(hDC, &r, hRed));
    EXPECT_TRUE(DeleteObject(hRed));
    EXPECT_FALSE(DeleteObject(hRed));
    EXPECT_FALSE(FillRect(hDC, &r, hRed));
    EXPECT_FALSE(FillRect(hDC, &r, nullptr));
    LOGBRUSH log;
    EXPECT_EQ(GetObjectA(hRed, sizeof log, &log), 0);
    EXPECT_TRUE(FillRect(hDC, &r, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))));  // paints nothing
    EXPECT_TRUE(FillRect(hDC, &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
    EXPECT_EQ(FillColors(PlatformGetDrawing(hDC)), (std::vector<COLORREF>{RGB(255, 0, 0), RGB(212, 208, 200)}));

    HGDIOBJ hWhite = GetStockObject(WHITE_BRUSH);
    EXPECT_TRUE(DeleteObject(hWhite));  // accepted, and the stock brush stays
    EXPECT_EQ(GetObjectA(hWhite, sizeof log, &log), static_cast<int>(sizeof log));
    EXPECT_EQ(log.lbColor, RGB(255, 255, 255));
    EXPECT_EQ(ReleaseDC(nullptr, hDC), 1);
    EXPECT_FALSE(FillRect(hDC, &r, hRed));  // the released context is gone too
    EXPECT_EQ(CDC::FromHandle(hDC), nullptr);
}

TEST(PaintingTest, BrushQuotaBoundsTheTable) {
    std::vector<HBRUSH> brushes;
    while (HBRUSH h = CreateSolidBrush(RGB(1, 2, 3))) {
        brushes.push_back(h);
        ASSERT_LE(brushes.size(), 10000u);
    }
    EXPECT_EQ(brushes.size(), 10000u);
    DeleteObject(brushes.back());
    brushes.back() = CreateSolidBrush(0);
    EXPECT_NE(brushes.back(), nullptr);
    for (HBRUSH h : brushes) DeleteObject(h);
}

TEST(PaintingTest, WindowDrawingOutlivesTheContextAndRestartsOnWholeAreaFills) {
    TestWindow w(nullptr, WS_VISIBLE, {0, 0, 100, 50});
    CBrush red(RGB(255, 0, 0)), blue(RGB(0, 0, 255));
    {
        CClientDC dc(CWnd::FromHandle(w.hWnd));
        CRect part(10, 10, 20, 20);
        dc.FillRect(&part, &red);
        dc.SetTextColor(RGB(0, 128, 0));
        dc.TextOut(5, 6, CString("hi"));
        dc.FillRect(&part, nullptr);  // a null brush fills nothing
    }
    std::vector<PlatformDrawing> drawing = PlatformGetWindowDrawing(w.hWnd);
    ASSERT_EQ(drawing.size(), 2u);
    EXPECT_EQ(drawing[0].color, RGB(255, 0, 0));
    EXPECT_EQ(CRect(drawing[0].clip), CRect(0, 0, 100, 50));
    EXPECT_EQ(drawing[1].text, "hi");
    EXPECT_EQ(drawing[1].color, RGB(0, 128, 0));

    CClientDC dc(CWnd::FromHandle(w.hWnd));
    CRect all(-5, -5, 200, 200);
    dc.FillRect(&all, &blue);  // covers everything drawn before
    EXPECT_EQ(FillColors(PlatformGetWindowDrawing(w.hWnd)), (std::vector<COLORREF>{RGB(0, 0, 255)}));
}

TEST(PaintingTest, InvalidatedWindowsArePaintedByThePumpWithErase) {
    HDC hErased = nullptr;
    RECT paintClip{};
    BOOL fErase = TRUE;
    TestWindow w(nullptr, WS_VISIBLE, {0, 0, 100, 50}, [&](HWND h, UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
        if (msg == WM_ERASEBKGND) {
            hErased = reinterpret_cast<HDC>(wp);
            result = 1;
            return true;
        }
        if (msg != WM_PAINT) return false;
        PAINTSTRUCT ps;
        HDC hDC = BeginPaint(h, &ps);
        EXPECT_EQ(hDC, hErased);  // erased on the paint's own context
        GetClipBox(hDC, &paintClip);
        fErase = ps.fErase;
        EndPaint(h, &ps);
        return true;
    });
    PlatformPumpMessages();  // the paint of being shown
    EXPECT_EQ(w.Count(WM_PAINT), 1);

    RECT part{10, 5, 30, 25};
    InvalidateRect(w.hWnd, &part, TRUE);
    EXPECT_TRUE(GetUpdateRect(w.hWnd, nullptr, FALSE));
    EXPECT_EQ(PlatformPumpMessages(), 1);
    EXPECT_EQ(CRect(paintClip), CRect(part));
    EXPECT_FALSE(fErase);  // WM_ERASEBKGND answered that it erased
    EXPECT_FALSE(GetUpdateRect(w.hWnd, nullptr, FALSE));
    EXPECT_EQ(PlatformPumpMessages(), 0);

    ShowWindow(w.hWnd, SW_HIDE);
    InvalidateRect(w.hWnd, nullptr, TRUE);  // hidden windows are not painted
    EXPECT_EQ(PlatformPumpMessages(), 0);
    EXPECT_FALSE(InvalidateRect(nullptr, nullptr, TRUE));
}

TEST(PaintingTest, PostedMessagesComeBeforePaintsAndPaintsStayUntilValidated) {
    int paints = 0;
    TestWindow w(nullptr, WS_VISIBLE, {0, 0, 10, 10}, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
        paints += msg == WM_PAINT;
        return msg == WM_PAINT;  // never validates
    });
    PostMessageA(w.hWnd, WM_USER, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // still there
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    EXPECT_EQ(PlatformPumpMessages(), 1);  // the pump paints once and moves on
    EXPECT_EQ(paints, 1);
}

TEST(PaintingTest, ChildrenRepaintUnlessTheParentClipsThem) {
    for (DWORD clip : {0u, static_cast<DWORD>(WS_CLIPCHILDREN)}) {
        SCOPED_TRACE(clip);
        TestWindow parent(nullptr, WS_VISIBLE | clip, {0, 0, 200, 100});
        TestWindow under(parent.hWnd, WS_VISIBLE, {10, 10, 60, 60});
        TestWindow away(parent.hWnd, WS_VISIBLE, {150, 10, 190, 60});
        PlatformPumpMessages();
        RECT left{0, 0, 100, 100};
        InvalidateRect(parent.hWnd, &left, FALSE);
        RECT update;
        EXPECT_EQ(GetUpdateRect(under.hWnd, &update, FALSE), clip ? FALSE : TRUE);
        if (!clip) {
            EXPECT_EQ(CRect(update), CRect(0, 0, 50, 50));
        }
        EXPECT_FALSE(GetUpdateRect(away.hWnd, nullptr, FALSE));
        EXPECT_TRUE(UpdateWindow(parent.hWnd));  // paints at once, children too
        EXPECT_EQ(parent.Count(WM_PAINT), 2);
        EXPECT_EQ(under.Count(WM_PAINT), clip ? 1 : 2);
        EXPECT_EQ(PlatformPumpMessages(), 0);
    }
}

namespace {

class COwnerButton : public CButton {
public:
    std::vector<DRAWITEMSTRUCT> items;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override {
        items.push_back(*lpDIS);
        CBrush brush(RGB(0, 255, 0));
        CDC::FromHandle(lpDIS->hDC)->FillRect(&lpDIS->rcItem, &brush);
    }
};

class CColorParent : public CWnd {
public:
    CBrush m_brush{RGB(9, 9, 9)};
    std::vector<UINT> kinds;

protected:
    HBRUSH OnCtlColor(CDC*, CWnd*, UINT nCtlColor) {
        kinds.push_back(nCtlColor);
        return m_brush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColorParent, CWnd)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

}  // namespace

TEST(PaintingTest, ButtonsDrawThroughTheirParent) {
    CColorParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    COwnerButton owner;
    ASSERT_TRUE(owner.Create("", WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 50, 30), &parent, 7));
    CButton plain;
    ASSERT_TRUE(plain.Create("OK", WS_VISIBLE, CRect(60, 10, 100, 30), &parent, 8));
    PlatformPumpMessages();

    ASSERT_EQ(owner.items.size(), 1u);  // the parent's default WM_DRAWITEM handed it on
    EXPECT_EQ(owner.items[0].CtlType, static_cast<UINT>(ODT_BUTTON));
    EXPECT_EQ(owner.items[0].CtlID, 7u);
    EXPECT_EQ(owner.items[0].hwndItem, owner.m_hWnd);
    EXPECT_EQ(CRect(owner.items[0].rcItem), CRect(0, 0, 40, 20));
    EXPECT_EQ(FillColors(PlatformGetWindowDrawing(owner.m_hWnd)), (std::vector<COLORREF>{RGB(0, 255, 0)}));

    EXPECT_EQ(parent.kinds, (std::vector<UINT>{CTLCOLOR_BTN}));
    std::vector<PlatformDrawing> drawn = PlatformGetWindowDrawing(plain.m_hWnd);
    ASSERT_EQ(drawn.size(), 6u);  // the face, the frame's four sides, the caption
    EXPECT_EQ(drawn[0].color, RGB(9, 9, 9));
    EXPECT_EQ(drawn[5].text, "OK");
    EXPECT_EQ(drawn[5].format, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(drawn[5].bkMode, TRANSPARENT);
}

// Mapping modes: conversions between logical and device units, and drawing
// under them.
#include <gtest/gtest.h>

#include "platform/mfc/GdiObjects.h"

namespace {

struct ScreenDC {
    HDC hDC = GetDC(nullptr);
    ~ScreenDC() { ReleaseDC(nullptr, hDC); }
};

}  // namespace

TEST(MapModeTest, FixedModesAtNinetySixPixelsAnInch) {
    struct Case {
        int mode;
        POINT logical;
        POINT device;
    };
    const Case cases[] = {
        {MM_TEXT, {100, 50}, {100, 50}},         {MM_LOMETRIC, {254, 254}, {96, -96}},  // 25.4 mm
        {MM_HIMETRIC, {2540, -1270}, {96, 48}},  {MM_LOENGLISH, {100, 50}, {96, -48}},  // hundredths of an inch
        {MM_HIENGLISH, {1000, 1000}, {96, -96}}, {MM_TWIPS, {1440, 720}, {96, -48}},
    };
    ScreenDC dc;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SetMapMode(dc.hDC, c.mode);
        EXPECT_EQ(GetMapMode(dc.hDC), c.mode);
        POINT p = c.logical;
        ASSERT_TRUE(LPtoDP(dc.hDC, &p, 1));
        EXPECT_EQ(p.x, c.device.x);
        EXPECT_EQ(p.y, c.device.y);
        ASSERT_TRUE(DPtoLP(dc.hDC, &p, 1));
        EXPECT_EQ(p.x, c.logical.x);
        EXPECT_EQ(p.y, c.logical.y);
        SIZE ext{};
        EXPECT_TRUE(SetWindowExtEx(dc.hDC, 7, 7, &ext));
        GetWindowExtEx(dc.hDC, &ext);
        EXPECT_NE(ext.cx, 7) << "the extents of a fixed mode do not change";
    }
}

TEST(MapModeTest, ScalableModesAndOrigins) {
    ScreenDC dc;
    SetMapMode(dc.hDC, MM_ANISOTROPIC);
    SetWindowExtEx(dc.hDC, 100, 100, nullptr);
    SetViewportExtEx(dc.hDC, 200, 50, nullptr);
    SetWindowOrgEx(dc.hDC, 10, 10, nullptr);
    SetViewportOrgEx(dc.hDC, 5, 5, nullptr);
    POINT p{60, 30};
    LPtoDP(dc.hDC, &p, 1);
    EXPECT_EQ(p.x, 105);  // (60 - 10) * 2 + 5
    EXPECT_EQ(p.y, 15);   // (30 - 10) / 2 + 5

    SetMapMode(dc.hDC, MM_ISOTROPIC);
    SetWindowExtEx(dc.hDC, 100, 100, nullptr);
    SetViewportExtEx(dc.hDC, 200, -50, nullptr);
    SIZE viewport{};
    GetViewportExtEx(dc.hDC, &viewport);
    EXPECT_EQ(viewport.cx, 50) << "one scale both ways: the larger extent shrinks";
    EXPECT_EQ(viewport.cy, -50);
    EXPECT_FALSE(SetViewportExtEx(dc.hDC, 0, 10, nullptr));

    CDC* pDC = CDC::FromHandle(dc.hDC);
    pDC->SetMapMode(MM_TEXT);
    CPoint oldOrg = pDC->SetViewportOrg(20, 30);
    EXPECT_EQ(oldOrg, CPoint(5, 5));
    CRect r(0, 0, 10, 10);
    pDC->LPtoDP(&r);
    EXPECT_EQ(r, CRect(20 - 10, 30 - 10, 30 - 10, 40 - 10)) << "the window origin (10, 10) stays";
}

TEST(MapModeTest, DrawingFollowsTheMapping) {
    ScreenDC dc;
    SetMapMode(dc.hDC, MM_LOENGLISH);
    SetViewportOrgEx(dc.hDC, 0, 200, nullptr);
    ASSERT_TRUE(Rectangle(dc.hDC, 0, 100, 100, 0));  // an inch square, y up
    HPEN hPen = CreatePen(PS_SOLID, 10, 0);          // a tenth of an inch
    SelectObject(dc.hDC, hPen);
    MoveToEx(dc.hDC, 0, 0, nullptr);
    LineTo(dc.hDC, 100, 0);
    HFONT hFont = CreateFontA(-50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");  // half an inch
    SelectObject(dc.hDC, hFont);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.hDC, &tm);
    EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, 50, 2) << "metrics are logical too";
    std::vector<PlatformDrawing> drawn = PlatformGetDrawing(dc.hDC);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(CRect(drawn[0].rect), CRect(0, 104, 96, 200));
    EXPECT_EQ(drawn[1].penWidth, 10);  // 0.1 inch at 96 pixels an inch, rounded
    SelectObject(dc.hDC, GetStockObject(BLACK_PEN));
    SelectObject(dc.hDC, GetStockObject(SYSTEM_FONT));
    DeleteObject(hPen);
    DeleteObject(hFont);
}

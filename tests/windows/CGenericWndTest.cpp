// CGenericWnd: colours, owner drawing shared with children, copies and
// glyph moves.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/mfc/ColorDialog.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/GdiObjects.h"
#include "windows/CGenericWnd.h"

namespace {

// A host window that counts its paints and records WM_DRAWOWNWINDOW.
class CHostWnd : public CWnd {
public:
    int m_nPaints = 0;
    std::vector<CDC*> m_ownDraws;

    BOOL Make(CWnd* pParent, CRect rect, UINT nID = 0) {
        return pParent ? Create(nullptr, "", WS_VISIBLE, rect, pParent, nID)
                       : CreateEx(0, nullptr, "", WS_VISIBLE, rect.left, rect.top, rect.Width(), rect.Height(),
                                  nullptr, nullptr);
    }

protected:
    void OnPaint() {
        ++m_nPaints;
        CWnd::OnPaint();
    }
    LRESULT OnDrawOwnWindow(WPARAM wParam, LPARAM) {
        m_ownDraws.push_back(reinterpret_cast<CDC*>(wParam));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_DRAWOWNWINDOW, OnDrawOwnWindow)
END_MESSAGE_MAP()

class CGlyphButton : public CButton {
public:
    std::vector<UINT> m_drawnIds;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { m_drawnIds.push_back(lpDIS->CtlID); }
};

COLORREF BrushColor(HBRUSH hBrush) {
    LOGBRUSH log{};
    return GetObjectA(hBrush, sizeof log, &log) ? log.lbColor : CLR_INVALID;
}

CRect ScreenRect(const CWnd& wnd) {
    CRect rect;
    wnd.GetWindowRect(&rect);
    return rect;
}

DRAWITEMSTRUCT Item(UINT nID, HDC hDC = nullptr, CRect rect = CRect(0, 0, 20, 10)) {
    return DRAWITEMSTRUCT{ODT_BUTTON, nID, 0, ODA_DRAWENTIRE, 0, nullptr, hDC, rect, 0};
}

class CGenericWndTest : public ::testing::Test {
protected:
    void TearDown() override { PlatformSetColorDialogResponder({}); }
};

}  // namespace

TEST_F(CGenericWndTest, ChildItemsGoToTheChildNumberedByTheirControlId) {
    CHostWnd host;
    ASSERT_TRUE(host.Make(nullptr, CRect(0, 0, 200, 100)));
    CGlyphButton glyphs[3];
    CGenericWnd generic;
    for (UINT i = 0; i < 3; ++i) {
        ASSERT_TRUE(glyphs[i].Create("", BS_OWNERDRAW, CRect(0, 0, 5, 5), &host, i + 1));
        EXPECT_EQ(generic.AddToChildDraws(&glyphs[i]), i + 1);
    }
    DRAWITEMSTRUCT third = Item(3);
    generic.OnDrawItem(99, &third);  // the structure's id counts, not the argument
    for (UINT id : {0u, 4u}) {
        DRAWITEMSTRUCT outside = Item(id);
        generic.DrawChildItem(&outside);
    }
    EXPECT_TRUE(glyphs[0].m_drawnIds.empty());
    EXPECT_TRUE(glyphs[1].m_drawnIds.empty());
    EXPECT_EQ(glyphs[2].m_drawnIds, (std::vector<UINT>{3}));

    CGenericWnd empty;  // no list yet: nothing happens
    empty.DrawChildItem(&third);
    empty.DrawChildItem(nullptr);
    EXPECT_EQ(glyphs[2].m_drawnIds.size(), 1u);
}

TEST_F(CGenericWndTest, CreateTakesColourIdAndTheInfoFields) {
    CGenericWnd plain;
    CGenericInfo info;
    info.m_dwValue1 = 11;
    info.m_dwValue2 = 22;
    CGenericInfo* pInfo = &info;
    int nParam = 5;
    EXPECT_TRUE(plain.Create(nullptr, 0, CRect(), nullptr, 9, pInfo, nParam));
    EXPECT_EQ(BrushColor(plain.m_hBackgroundBrush), 0xFFFFFFu);  // white without a colour
    EXPECT_EQ(plain.m_nInfoValue1, 11u);
    EXPECT_EQ(plain.m_nInfoValue2, 22u);

    HBRUSH hFirst = plain.m_hBackgroundBrush;
    CGenericInfo* none = nullptr;
    EXPECT_TRUE(plain.Create(nullptr, 0, CRect(), nullptr, 1, RGB(1, 2, 3), none, nParam));
    EXPECT_EQ(BrushColor(hFirst), CLR_INVALID);  // a second Create releases the first brush
    EXPECT_EQ(plain.m_nInfoValue1, 0u);
}

TEST_F(CGenericWndTest, CtlColorColoursDialogsStaticsAndButtonsOnly) {
    CGenericWnd generic;
    generic.Create(nullptr, 0, CRect(), nullptr, 1, RGB(10, 20, 30));
    CClientDC dc(nullptr);
    HBRUSH hDefault = GetSysColorBrush(COLOR_WINDOW);
    dc.SetTextColor(RGB(255, 0, 0));
    EXPECT_EQ(generic.OnCtlColor(&dc, nullptr, CTLCOLOR_EDIT, hDefault), hDefault);
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));  // black all the same
    EXPECT_EQ(dc.GetBkColor(), RGB(255, 255, 255));
    for (UINT kind : {CTLCOLOR_DLG, CTLCOLOR_STATIC, CTLCOLOR_BTN}) {
        EXPECT_EQ(generic.OnCtlColor(&dc, nullptr, kind, hDefault), generic.m_hBackgroundBrush);
        EXPECT_EQ(dc.GetBkColor(), RGB(10, 20, 30));
    }
    EXPECT_EQ(generic.OnCtlColor(nullptr, nullptr, CTLCOLOR_BTN, hDefault), generic.m_hBackgroundBrush);
}

TEST_F(CGenericWndTest, DrawItemFillsAsksTheWindowAndInvalidatesTheChildren) {
    CHostWnd host, child;
    ASSERT_TRUE(host.Make(nullptr, CRect(0, 0, 200, 100)));
    ASSERT_TRUE(child.Make(&host, CRect(10, 10, 60, 60), 1));
    PlatformPumpMessages();
    CGenericWnd generic;
    generic.Create(nullptr, 0, CRect(), nullptr, 1, RGB(0, 128, 128));
    generic.m_pWnd = &host;
    generic.AddToChildDraws(&child);

    CClientDC dc(&host);
    DRAWITEMSTRUCT item = Item(1, dc.m_hDC, CRect(0, 0, 40, 30));
    generic.DrawItem(&item);
    std::vector<PlatformDrawing> drawn = PlatformGetDrawing(dc.m_hDC);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].color, RGB(0, 128, 128));
    EXPECT_EQ(CRect(drawn[0].rect), CRect(0, 0, 40, 30));
    EXPECT_EQ(host.m_ownDraws, (std::vector<CDC*>{CDC::FromHandle(dc.m_hDC)}));
    RECT update;
    EXPECT_TRUE(GetUpdateRect(child.m_hWnd, &update, FALSE));
    EXPECT_EQ(CRect(update), CRect(0, 0, 40, 30));
    BOOL bErase = TRUE;
    PlatformTakeUpdate(child.m_hWnd, nullptr, &bErase);
    EXPECT_FALSE(bErase);

    generic.DeleteBackgroundBrush(0);
    generic.m_pWnd = nullptr;
    generic.DrawItem(&item);  // a null brush fills nothing; no window, no message
    EXPECT_EQ(PlatformGetDrawing(dc.m_hDC).size(), 1u);
    EXPECT_EQ(host.m_ownDraws.size(), 1u);
    generic.DrawItem(nullptr);
}

TEST_F(CGenericWndTest, CopiesOwnTheirBrushAndList) {
    CHostWnd host;
    std::optional<CGenericWnd> source(std::in_place);
    CGenericWnd* pSource = &*source;
    pSource->Create(nullptr, 0, CRect(), nullptr, 1, RGB(5, 6, 7));
    pSource->AddToChildDraws(&host);
    CGenericWnd copy(*pSource);
    CGenericWnd assigned;
    assigned.Create(nullptr, 0, CRect(), nullptr, 2, RGB(9, 9, 9));
    HBRUSH hReplaced = assigned.m_hBackgroundBrush;
    assigned = *pSource;
    assigned = assigned;
    EXPECT_EQ(BrushColor(hReplaced), CLR_INVALID);
    for (CGenericWnd* p : {&copy, &assigned}) {
        EXPECT_NE(p->m_hBackgroundBrush, pSource->m_hBackgroundBrush);
        EXPECT_NE(p->m_pChildDraws, pSource->m_pChildDraws);
    }
    source.reset();  // its brush and list go; the copies keep theirs
    for (CGenericWnd* p : {&copy, &assigned}) {
        EXPECT_EQ(BrushColor(p->m_hBackgroundBrush), RGB(5, 6, 7));
        ASSERT_EQ(p->m_pChildDraws->m_nCount, 1u);
        EXPECT_EQ(*p->m_pChildDraws->m_pHead->pValue, &host);
        EXPECT_EQ(p->AddToChildDraws(&host), 2u);
    }
}

TEST_F(CGenericWndTest, NewColoursRepaintTheParentAndReleaseTheOldBrush) {
    CHostWnd parent, served;
    ASSERT_TRUE(parent.Make(nullptr, CRect(0, 0, 200, 100)));
    ASSERT_TRUE(served.Make(&parent, CRect(10, 10, 60, 60), 1));
    PlatformPumpMessages();
    CGenericWnd generic;
    generic.Create(nullptr, 0, CRect(), nullptr, 1, RGB(1, 1, 1));
    generic.m_pWnd = &served;
    HBRUSH hOld = generic.m_hBackgroundBrush;
    int paints = parent.m_nPaints;
    generic.ChangeBackgroundColor(RGB(0, 0, 200));
    EXPECT_EQ(BrushColor(hOld), CLR_INVALID);
    EXPECT_EQ(BrushColor(generic.m_hBackgroundBrush), RGB(0, 0, 200));
    EXPECT_EQ(parent.m_nPaints, paints + 1);  // at once, not at the next pump

    COLORREF* custom = CColorDialog::GetSavedCustomColors();
    PlatformSetColorDialogResponder([](CHOOSECOLORA& cc) {
        EXPECT_EQ(cc.rgbResult, RGB(200, 250, 0));
        EXPECT_EQ(cc.hwndOwner, nullptr);
        cc.rgbResult = RGB(1, 2, 3);
        cc.lpCustColors[0] = RGB(7, 8, 9);
        return TRUE;
    });
    generic.SelectNewColor();
    EXPECT_EQ(generic.m_crBackground, RGB(7, 8, 9));  // the saved custom colour, not the selected one
    custom[0] = RGB(255, 255, 255);
    PlatformSetColorDialogResponder({});
    generic.SelectNewColor();  // cancelled: unchanged
    EXPECT_EQ(generic.m_crBackground, RGB(7, 8, 9));

    CGenericWnd alone;  // no window, or a window without a parent: nothing to repaint
    alone.ChangeBackgroundColor(RGB(3, 3, 3));
    alone.m_pWnd = &parent;
    alone.ChangeBackgroundColor(RGB(4, 4, 4));
    alone.LoadBackgroundColor(0);
    EXPECT_EQ(BrushColor(alone.m_hBackgroundBrush), RGB(4, 4, 4));
}

TEST_F(CGenericWndTest, GlyphsMoveByDeltasAndDragTheirParent) {
    CHostWnd board, panel, glyph;
    ASSERT_TRUE(board.Make(nullptr, CRect(100, 100, 600, 500)));
    ASSERT_TRUE(panel.Make(&board, CRect(50, 40, 250, 240), 1));
    ASSERT_TRUE(glyph.Make(&panel, CRect(10, 10, 30, 30), 2));
    CGenericWnd panelCompanion, glyphCompanion;
    panelCompanion.m_pWnd = &panel;
    glyphCompanion.m_pWnd = &glyph;

    glyphCompanion.MoveGlyph(CPoint(8, 9), CPoint(3, 4));
    EXPECT_EQ(ScreenRect(glyph), CRect(165, 155, 185, 175));
    CPoint back(-5, -5);
    glyphCompanion.MoveWndByDelta(back);
    CPoint inPanel(1, 2);
    glyphCompanion.ConvertToParentPoints(inPanel);
    EXPECT_EQ(inPanel, CPoint(11, 12));

    glyphCompanion.OnLButtonDown(1, CPoint(5, 5));
    glyphCompanion.MoveParentGeneric(CPoint(15, 25));  // the panel's companion moves the panel
    EXPECT_EQ(ScreenRect(panel), CRect(160, 160, 360, 360));
    EXPECT_EQ(glyphCompanion.m_ptLastClick, CPoint(5, 5));

    CGenericWnd unattached;  // before Create and without m_pWnd
    unattached.MoveGlyph(CPoint(1, 1), CPoint(0, 0));
    unattached.MoveParentGeneric(CPoint(1, 1));
    CPoint untouched(4, 4);
    unattached.ConvertToParentPoints(untouched);
    EXPECT_EQ(untouched, CPoint(4, 4));
    panelCompanion.MoveParentGeneric(CPoint(1, 1));  // the board has no companion
}

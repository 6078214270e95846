// Pens, brushes and shapes: selecting objects, and pictures of each drawing
// call checked at known pixels.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/Snapshot.h"
#include "support/Picture.h"
#include "support/TempDir.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class DrawingTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        m_hWnd = PlatformCreateWindowEx(DefWindowProcA, 0, "Test", "", WS_VISIBLE, 0, 0, 120, 100, nullptr, nullptr,
                                        nullptr);
        ASSERT_NE(m_hWnd, nullptr);
    }
    void TearDown() override {
        DestroyWindow(m_hWnd);
        TempDirTest::TearDown();
    }

    // Draws on a fresh window drawing (a white background) and takes its picture.
    Picture Draw(const std::function<void(HDC)>& draw) {
        HDC hDC = GetDC(m_hWnd);
        RECT all{0, 0, 120, 100};
        FillRect(hDC, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        draw(hDC);
        ReleaseDC(m_hWnd, hDC);
        EXPECT_TRUE(PlatformSnapshotWindow(m_hWnd, "C:\\drawing.png"));
        return LoadPicture(Posix("drawing.png"));
    }

    HWND m_hWnd = nullptr;
};

// Selects a blue pen of the style and width and a red brush, and draws.
std::function<void(HDC)> WithPenAndBrush(int style, int width, std::function<void(HDC)> draw) {
    return [=](HDC hDC) {
        HPEN hPen = CreatePen(style, width, kBlue);
        HBRUSH hBrush = CreateSolidBrush(kRed);
        HGDIOBJ oldPen = SelectObject(hDC, hPen);
        HGDIOBJ oldBrush = SelectObject(hDC, hBrush);
        draw(hDC);
        SelectObject(hDC, oldPen);
        SelectObject(hDC, oldBrush);
        EXPECT_TRUE(DeleteObject(hPen));
        EXPECT_TRUE(DeleteObject(hBrush));
    };
}

}  // namespace

TEST(GdiObjectsTest, SelectionGivesThePreviousObjectAndKeepsSelectedObjectsAlive) {
    HDC hDC = GetDC(nullptr);
    HPEN hPen = CreatePen(PS_DASH, 3, kRed);
    HFONT hFont = CreateFontA(-20, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    ASSERT_NE(hPen, nullptr);
    ASSERT_NE(hFont, nullptr);
    EXPECT_EQ(SelectObject(hDC, hPen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(hDC, hFont), GetStockObject(SYSTEM_FONT));
    EXPECT_FALSE(DeleteObject(hPen)) << "a selected pen is not deleted";
    EXPECT_FALSE(DeleteObject(hFont));
    EXPECT_EQ(GetCurrentObject(hDC, OBJ_PEN), hPen);

    LOGPEN pen{};
    EXPECT_EQ(GetObjectA(hPen, sizeof pen, &pen), static_cast<int>(sizeof pen));
    EXPECT_EQ(pen.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(pen.lopnWidth.x, 3);
    LOGFONTA font{};
    EXPECT_EQ(GetObjectA(hFont, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, -20);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(GetObjectA(hFont, sizeof pen, &font), 0) << "a buffer too small for a LOGFONT";

    EXPECT_EQ(SelectObject(hDC, GetStockObject(NULL_PEN)), hPen);
    EXPECT_EQ(SelectObject(hDC, GetStockObject(DEFAULT_GUI_FONT)), hFont);
    EXPECT_TRUE(DeleteObject(hPen)) << "selected out, it goes";
    EXPECT_TRUE(DeleteObject(hFont));
    EXPECT_FALSE(DeleteObject(hPen)) << "a deleted handle names nothing";
    EXPECT_EQ(SelectObject(hDC, hPen), nullptr);
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_PEN))) << "stock objects stay";
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_PEN)), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(GetObjectType(GetStockObject(ANSI_VAR_FONT)), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(GetObjectType(hDC), static_cast<DWORD>(OBJ_DC));
    EXPECT_EQ(CreatePen(42, 1, 0), nullptr);
    ReleaseDC(nullptr, hDC);
}

TEST(GdiObjectsTest, ReleasingAContextEndsItsSelections) {
    HDC hDC = GetDC(nullptr);
    HBRUSH hBrush = CreateSolidBrush(kRed);
    SelectObject(hDC, hBrush);
    EXPECT_FALSE(DeleteObject(hBrush));
    ReleaseDC(nullptr, hDC);
    EXPECT_TRUE(DeleteObject(hBrush));
}

TEST(GdiObjectsTest, CdcSelectionGivesTemporaryObjectsOfTheRightClass) {
    CClientDC dc(nullptr);
    CPen pen(PS_SOLID, 2, kRed);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "Times New Roman", &dc));
    LOGFONT log{};
    font.GetLogFont(&log);
    EXPECT_EQ(log.lfHeight, -16) << "12 points at 96 pixels an inch";
    CPen* oldPen = dc.SelectObject(&pen);
    ASSERT_NE(oldPen, nullptr);
    EXPECT_EQ(oldPen->m_hObject, GetStockObject(BLACK_PEN));
    CFont* oldFont = dc.SelectObject(&font);
    ASSERT_NE(oldFont, nullptr);
    EXPECT_EQ(oldFont->m_hObject, GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(dc.GetCurrentPen()->m_hObject, pen.m_hObject);
    CGdiObject* previous = dc.SelectStockObject(NULL_PEN);
    ASSERT_NE(dynamic_cast<CPen*>(previous), nullptr);
    EXPECT_EQ(previous->m_hObject, pen.m_hObject);
    dc.SelectObject(oldFont);
    EXPECT_TRUE(pen.DeleteObject()) << "selected out";
}

TEST_F(DrawingTest, ShapesLandOnTheOriginalsPixels) {
    struct Case {
        const char* what;
        std::function<void(HDC)> draw;
        std::vector<std::pair<POINT, COLORREF>> pixels;
    };
    const POINT star[] = {{60, 10}, {72, 50}, {40, 25}, {80, 25}, {48, 50}};
    const Case cases[] = {
        {"Rectangle: the pen on the edge pixels, right and bottom left out",
         WithPenAndBrush(PS_SOLID, 1, [](HDC h) { Rectangle(h, 10, 10, 30, 30); }),
         {{{10, 10}, kBlue}, {{29, 29}, kBlue}, {{30, 30}, kWhite}, {{20, 20}, kRed}, {{11, 11}, kRed}}},
        {"Rectangle with a null pen: the fill stops a pixel short",
         WithPenAndBrush(PS_NULL, 1, [](HDC h) { Rectangle(h, 10, 10, 30, 30); }),
         {{{10, 10}, kRed}, {{28, 28}, kRed}, {{29, 29}, kWhite}}},
        {"Rectangle with a null brush: only the outline",
         [](HDC h) {
             SelectObject(h, GetStockObject(NULL_BRUSH));
             SelectObject(h, GetStockObject(BLACK_PEN));
             RECT all{0, 0, 120, 100};
             FillRect(h, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
             Rectangle(h, 10, 10, 30, 30);
         },
         {{{10, 20}, kBlack}, {{20, 20}, RGB(128, 128, 128)}}},
        {"Ellipse: filled inside, corners untouched",
         WithPenAndBrush(PS_SOLID, 1, [](HDC h) { Ellipse(h, 40, 10, 80, 30); }),
         {{{60, 20}, kRed}, {{40, 10}, kWhite}, {{79, 29}, kWhite}, {{40, 20}, kBlue}, {{60, 10}, kBlue}}},
        {"RoundRect: rounded corners, straight edges",
         WithPenAndBrush(PS_SOLID, 1, [](HDC h) { RoundRect(h, 10, 40, 60, 80, 20, 20); }),
         {{{10, 40}, kWhite}, {{35, 40}, kBlue}, {{10, 60}, kBlue}, {{35, 60}, kRed}}},
        {"LineTo: from the current position up to, not on, the end",
         WithPenAndBrush(PS_SOLID, 1,
                         [](HDC h) {
                             MoveToEx(h, 10, 50, nullptr);
                             LineTo(h, 30, 50);
                             LineTo(h, 30, 70);
                         }),
         {{{10, 50}, kBlue},
          {{29, 50}, kBlue},
          {{30, 50}, kBlue},
          {{30, 69}, kBlue},
          {{30, 70}, kWhite},
          {{20, 51}, kWhite}}},
        {"A wide pen is centred on the line",
         WithPenAndBrush(PS_SOLID, 5,
                         [](HDC h) {
                             MoveToEx(h, 10, 50, nullptr);
                             LineTo(h, 100, 50);
                         }),
         {{{50, 48}, kBlue}, {{50, 52}, kBlue}, {{50, 45}, kWhite}, {{50, 55}, kWhite}}},
        {"Polygon, ALTERNATE: the star's centre is outside",
         WithPenAndBrush(PS_NULL, 1, [&](HDC h) { Polygon(h, star, 5); }),
         {{{60, 32}, kWhite}, {{60, 18}, kRed}}},
        {"Polygon, WINDING: the star's centre is inside",
         WithPenAndBrush(PS_NULL, 1,
                         [&](HDC h) {
                             SetPolyFillMode(h, WINDING);
                             Polygon(h, star, 5);
                         }),
         {{{60, 32}, kRed}, {{60, 18}, kRed}}},
        {"Polyline: an open outline, never filled",
         WithPenAndBrush(PS_SOLID, 1, [&](HDC h) { Polyline(h, star, 5); }),
         {{{60, 18}, kWhite}, {{60, 25}, kBlue}}},
        {"Pie: the quarter from 3 o'clock counter-clockwise to 12",
         WithPenAndBrush(PS_NULL, 1, [](HDC h) { Pie(h, 20, 20, 80, 80, 80, 50, 50, 20); }),
         {{{60, 40}, kRed}, {{40, 40}, kWhite}, {{60, 60}, kWhite}, {{40, 60}, kWhite}}},
        {"Arc: only the curve, from 9 o'clock counter-clockwise to 6",
         WithPenAndBrush(PS_SOLID, 1, [](HDC h) { Arc(h, 20, 20, 80, 80, 20, 50, 50, 80); }),
         {{{23, 63}, kBlue}, {{42, 78}, kBlue}, {{79, 50}, kWhite}, {{35, 65}, kWhite}, {{23, 37}, kWhite}}},
        {"FrameRect: a one-pixel border in the brush's colour",
         [](HDC h) {
             RECT r{10, 10, 40, 40};
             FrameRect(h, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
         },
         {{{10, 10}, kBlack}, {{39, 20}, kBlack}, {{20, 39}, kBlack}, {{20, 20}, kWhite}, {{40, 40}, kWhite}}},
        {"InvertRect: every pixel inverted",
         [](HDC h) {
             RECT black{10, 10, 20, 20}, inverted{15, 15, 30, 30};
             FillRect(h, &black, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
             InvertRect(h, &inverted);
         },
         {{{12, 12}, kBlack}, {{17, 17}, kWhite}, {{25, 25}, kBlack}, {{35, 35}, kWhite}}},
        {"SetPixel", [](HDC h) { EXPECT_EQ(SetPixel(h, 5, 6, kRed), kRed); }, {{{5, 6}, kRed}, {{6, 6}, kWhite}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Picture picture = Draw(c.draw);
        for (const auto& [at, expected] : c.pixels) {
            SCOPED_TRACE(::testing::Message() << "at " << at.x << "," << at.y);
            EXPECT_EQ(picture.At(at.x, at.y), expected);
        }
    }
}

TEST_F(DrawingTest, PenStylesDashAndDot) {
    struct Case {
        int style;
        const char* pattern;  // the first pixels along the line: '#' the pen, '.' the background
    };
    const Case cases[] = {
        {PS_SOLID, "########################"},
        {PS_DASH, "##################......##"},
        {PS_DOT, "###...###...###"},
        {PS_DASHDOT, "#########......###......##"},
        {PS_NULL, "......"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        Picture picture = Draw(WithPenAndBrush(c.style, 1, [](HDC h) {
            MoveToEx(h, 0, 50, nullptr);
            LineTo(h, 100, 50);
        }));
        std::string seen;
        for (size_t x = 0; x < std::string(c.pattern).size(); ++x)
            seen += picture.At(static_cast<int>(x), 50) == kBlue ? '#' : '.';
        EXPECT_EQ(seen, c.pattern);
    }
}

TEST_F(DrawingTest, AWindowRepaintedWithWholeAreaBlitsKeepsOneOperation) {
    HDC hDC = GetDC(m_hWnd);
    HDC hMem = CreateCompatibleDC(hDC);
    HBITMAP hBitmap = CreateCompatibleBitmap(hDC, 120, 100);
    HGDIOBJ old = SelectObject(hMem, hBitmap);
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(BitBlt(hDC, 0, 0, 120, 100, hMem, 0, 0, SRCCOPY));
    EXPECT_EQ(PlatformGetWindowDrawing(m_hWnd).size(), 1u) << "a copy over the whole area hides what was before";
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(BitBlt(hDC, 0, 0, 60, 50, hMem, 0, 0, SRCINVERT));
    EXPECT_EQ(PlatformGetWindowDrawing(m_hWnd).size(), 51u) << "operations that read the window are kept";
    SelectObject(hMem, old);
    DeleteDC(hMem);
    DeleteObject(hBitmap);
    ReleaseDC(m_hWnd, hDC);
}

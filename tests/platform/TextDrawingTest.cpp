// Text in the selected font: extents and metrics that follow the font, the
// DrawText formats, alignment, and what a picture of the text shows.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/Snapshot.h"
#include "support/Picture.h"
#include "support/TempDir.h"

namespace {

// A screen device context with a font of that height selected for its life.
struct FontDC {
    HDC hDC = GetDC(nullptr);
    HFONT hFont;
    explicit FontDC(int height, int weight = FW_NORMAL, const char* face = "Arial")
        : hFont(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, face)) {
        SelectObject(hDC, hFont);
    }
    ~FontDC() {
        ReleaseDC(nullptr, hDC);
        DeleteObject(hFont);
    }
    SIZE Extent(const std::string& text) const {
        SIZE size{};
        EXPECT_TRUE(GetTextExtentPoint32A(hDC, text.c_str(), static_cast<int>(text.size()), &size));
        return size;
    }
    TEXTMETRICA Metrics() const {
        TEXTMETRICA tm{};
        EXPECT_TRUE(GetTextMetricsA(hDC, &tm));
        return tm;
    }
};

}  // namespace

TEST(TextDrawingTest, ExtentsAndMetricsFollowTheFont) {
    SIZE previous{0, 0};
    for (int height : {-10, -16, -24, -40}) {
        SCOPED_TRACE(height);
        FontDC dc(height);
        SIZE size = dc.Extent("Hello, world");
        EXPECT_GT(size.cx, previous.cx);
        EXPECT_GT(size.cy, previous.cy);
        previous = size;
        TEXTMETRICA tm = dc.Metrics();
        EXPECT_EQ(tm.tmHeight, size.cy) << "a line is the font's height";
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
        EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, -height, 1) << "a negative height is the character height";
        EXPECT_GT(tm.tmMaxCharWidth, tm.tmAveCharWidth);
        EXPECT_EQ(dc.Extent("ab").cx, dc.Extent("a").cx + dc.Extent("b").cx) << "widths add up";
    }
    for (int height : {12, 20, 33}) {
        SCOPED_TRACE(height);
        EXPECT_NEAR(FontDC(height).Metrics().tmHeight, height, 1) << "a positive height is the cell height";
    }
    EXPECT_GT(FontDC(-16, FW_BOLD).Extent("Hello").cx, FontDC(-16).Extent("Hello").cx);
    EXPECT_LT(FontDC(-16, FW_NORMAL, "Courier New").Extent("iiii").cx,
              FontDC(-16, FW_NORMAL, "Courier New").Extent("WWWW").cx + 1)
        << "a fixed-pitch face";
    EXPECT_EQ(FontDC(-16, FW_NORMAL, "Courier New").Extent("iiii").cx,
              FontDC(-16, FW_NORMAL, "Courier New").Extent("WWWW").cx);
}

TEST(TextDrawingTest, TheStockFontKeepsItsLines) {
    HDC hDC = GetDC(nullptr);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32A(hDC, "Text", 4, &size));
    EXPECT_EQ(size.cy, 16);
    SIZE screenless{};
    ASSERT_TRUE(GetTextExtentPoint32A(nullptr, "Text", 4, &screenless));
    EXPECT_EQ(screenless.cx, size.cx);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(hDC, &tm));
    EXPECT_EQ(tm.tmHeight, 16);
    EXPECT_EQ(tm.tmAscent, 12);
    RECT r{0, 0, 200, 100};
    EXPECT_EQ(DrawTextA(hDC, "one\ntwo", -1, &r, DT_CALCRECT), 32);
    ReleaseDC(nullptr, hDC);
}

TEST(TextDrawingTest, DrawTextFormats) {
    FontDC dc(-20);
    int line = dc.Metrics().tmHeight;
    int width = dc.Extent("File").cx;
    struct Case {
        const char* what;
        const char* text;
        UINT format;
        LONG width;  // the rectangle's width going in
        LONG right, bottom;
    };
    const Case cases[] = {
        {"one line", "File", DT_SINGLELINE, 500, width, line},
        {"the & prefix is not drawn", "&File", DT_SINGLELINE, 500, width, line},
        {"&& draws one &", "A&&B", DT_SINGLELINE, 500, dc.Extent("A&B").cx, line},
        {"DT_NOPREFIX keeps the &", "&File", DT_SINGLELINE | DT_NOPREFIX, 500, dc.Extent("&File").cx, line},
        {"line feeds make lines", "File\nFile\nFile", 0, 500, width, 3 * line},
        {"DT_SINGLELINE ignores them", "File\nFile", DT_SINGLELINE, 500, dc.Extent("File File").cx, line},
        {"DT_WORDBREAK breaks between words", "File File File", DT_WORDBREAK, width + 2, width, 3 * line},
        {"a rectangle wide enough keeps one line", "File File", DT_WORDBREAK, 500, dc.Extent("File File").cx, line},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RECT r{0, 0, c.width, 10};
        int height = DrawTextA(dc.hDC, c.text, -1, &r, c.format | DT_CALCRECT);
        EXPECT_EQ(height, c.bottom);
        EXPECT_EQ(r.right, c.right);
        EXPECT_EQ(r.bottom, c.bottom);
    }
    RECT narrow{0, 0, width, line};
    EXPECT_TRUE(DrawTextA(dc.hDC, "File File File File", -1, &narrow, DT_SINGLELINE | DT_END_ELLIPSIS));
    std::vector<PlatformDrawing> drawn = PlatformGetDrawing(dc.hDC);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().text, "File File File File") << "the recording keeps the text given";
}

TEST(TextDrawingTest, AlignmentAndTheCurrentPosition) {
    FontDC dc(-20);
    SIZE size = dc.Extent("Text");
    TEXTMETRICA tm = dc.Metrics();
    struct Case {
        UINT align;
        LONG left, top;  // where the text's box lands for (100, 100)
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, 100, 100},
        {TA_RIGHT | TA_TOP, 100 - size.cx, 100},
        {TA_CENTER | TA_TOP, 100 - size.cx / 2, 100},
        {TA_LEFT | TA_BASELINE, 100, 100 - tm.tmAscent},
        {TA_LEFT | TA_BOTTOM, 100, 100 - tm.tmHeight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        SetTextAlign(dc.hDC, c.align);
        ASSERT_TRUE(TextOutA(dc.hDC, 100, 100, "Text", 4));
        EXPECT_EQ(CRect(PlatformGetDrawing(dc.hDC).back().rect), CRect(c.left, c.top, c.left, c.top));
    }
    SetTextAlign(dc.hDC, TA_UPDATECP);
    MoveToEx(dc.hDC, 10, 10, nullptr);
    TextOutA(dc.hDC, 500, 500, "Text", 4);
    TextOutA(dc.hDC, 500, 500, "Text", 4);
    POINT at{};
    GetCurrentPositionEx(dc.hDC, &at);
    EXPECT_EQ(at.x, 10 + 2 * size.cx) << "each text moves the position past it";
    EXPECT_EQ(CRect(PlatformGetDrawing(dc.hDC).back().rect).left, 10 + size.cx);
}

using TextPictureTest = TempDirTest;

TEST_F(TextPictureTest, BiggerFontsCoverMorePixels) {
    HWND hWnd =
        PlatformCreateWindowEx(DefWindowProcA, 0, "Test", "", WS_VISIBLE, 0, 0, 300, 120, nullptr, nullptr, nullptr);
    HDC hDC = GetDC(hWnd);
    HFONT hBig = CreateFontA(-48, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    SetTextColor(hDC, RGB(0, 0, 255));
    SetBkColor(hDC, RGB(255, 255, 0));
    TextOutA(hDC, 10, 5, "MM", 2);  // the stock font, on an opaque background
    HGDIOBJ old = SelectObject(hDC, hBig);
    SetBkMode(hDC, TRANSPARENT);
    SIZE big{};
    GetTextExtentPoint32A(hDC, "MM", 2, &big);
    TextOutA(hDC, 10, 40, "MM", 2);
    SelectObject(hDC, old);
    ReleaseDC(hWnd, hDC);
    ASSERT_TRUE(PlatformSnapshotWindow(hWnd, "C:\\text.png"));
    Picture picture = LoadPicture(Posix("text.png"));
    // Ink: the blue text, whole or blended into either background (both full red).
    auto ink = [](COLORREF c) { return GetRValue(c) < 128; };
    auto count = [&](int top, int bottom, const std::function<bool(COLORREF)>& is) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < 300; ++x) n += is(picture.At(x, y));
        return n;
    };
    auto yellow = [](COLORREF c) { return c == RGB(255, 255, 0); };
    int small = count(0, 38, ink), large = count(38, 120, ink);
    EXPECT_GT(small, 20);
    EXPECT_GT(large, 4 * small) << "a 48-pixel face covers far more than the 12-pixel one";
    EXPECT_GT(count(0, 38, yellow), 0) << "the opaque background behind the first text";
    EXPECT_EQ(count(38, 120, yellow), 0) << "none behind the transparent one";
    for (int y = 38; y < 120; ++y)
        for (int x = 10 + big.cx + 2; x < 300; ++x) ASSERT_FALSE(ink(picture.At(x, y))) << "past the extent";
    DeleteObject(hBig);
    DestroyWindow(hWnd);
}

// Memory device contexts, blits with raster operations, and bitmaps decoded
// from packed DIBs, hostile ones included.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/Snapshot.h"
#include "support/Picture.h"
#include "support/TempDir.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// A memory device context holding a w x h bitmap filled with a colour.
struct MemoryDC {
    HDC hDC = CreateCompatibleDC(nullptr);
    HBITMAP hBitmap;
    HGDIOBJ old;
    MemoryDC(int w, int h, COLORREF fill) : hBitmap(CreateBitmap(w, h, 1, 32, nullptr)) {
        old = SelectObject(hDC, hBitmap);
        RECT all{0, 0, w, h};
        HBRUSH hBrush = CreateSolidBrush(fill);
        FillRect(hDC, &all, hBrush);
        DeleteObject(hBrush);
    }
    ~MemoryDC() {
        SelectObject(hDC, old);
        DeleteDC(hDC);
        DeleteObject(hBitmap);
    }
};

// A packed DIB: header, palette, rows as given.
std::string Dib(LONG width, LONG height, WORD bits, const std::vector<uint32_t>& palette, const std::string& rows,
                DWORD clrUsed = 0) {
    if (!clrUsed) clrUsed = static_cast<DWORD>(palette.size());
    BITMAPINFOHEADER h{sizeof(BITMAPINFOHEADER), width, height, 1, bits, BI_RGB, 0, 0, 0, clrUsed, 0};
    std::string bytes(reinterpret_cast<const char*>(&h), sizeof h);
    bytes.append(reinterpret_cast<const char*>(palette.data()), palette.size() * 4);
    return bytes + rows;
}

std::vector<COLORREF> Pixels(HBITMAP hBitmap) {
    BITMAP bm{};
    GetObjectA(hBitmap, sizeof bm, &bm);
    HDC hDC = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(hDC, hBitmap);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth; ++x) pixels.push_back(GetPixel(hDC, x, y));
    SelectObject(hDC, old);
    DeleteDC(hDC);
    return pixels;
}

}  // namespace

TEST(BitmapsTest, MemoryContextsDrawIntoTheirBitmap) {
    HDC hMem = CreateCompatibleDC(nullptr);
    ASSERT_NE(hMem, nullptr);
    EXPECT_EQ(GetObjectType(hMem), static_cast<DWORD>(OBJ_MEMDC));
    HBITMAP hMono = CreateCompatibleBitmap(hMem, 8, 8);
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(hMono, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmBitsPixel, 1) << "a fresh memory context is monochrome";
    HDC hScreen = GetDC(nullptr);
    HBITMAP hColour = CreateCompatibleBitmap(hScreen, 40, 30);
    ASSERT_EQ(GetObjectA(hColour, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 40);
    EXPECT_EQ(bm.bmHeight, 30);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(SelectObject(hScreen, hColour), nullptr) << "only a memory context holds a bitmap";

    HGDIOBJ old = SelectObject(hMem, hColour);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(GetPixel(hMem, 5, 5), RGB(0, 0, 0)) << "a new bitmap is black";
    HDC hOther = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(hOther, hColour), nullptr) << "a bitmap is in one context at a time";
    EXPECT_FALSE(DeleteObject(hColour));
    HBRUSH hRed = CreateSolidBrush(kRed);
    SelectObject(hMem, hRed);
    SelectObject(hMem, GetStockObject(NULL_PEN));
    Ellipse(hMem, 0, 0, 40, 30);
    EXPECT_EQ(GetPixel(hMem, 20, 15), kRed);
    EXPECT_EQ(GetPixel(hMem, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(hMem, 40, 0), CLR_INVALID) << "outside the bitmap";
    EXPECT_TRUE(PlatformGetDrawing(hMem).empty()) << "nothing is kept: it is drawn";
    SelectObject(hMem, old);
    EXPECT_TRUE(DeleteDC(hMem));
    EXPECT_FALSE(DeleteDC(hScreen)) << "a window's context is released, not deleted";
    EXPECT_TRUE(DeleteObject(hColour));
    EXPECT_TRUE(DeleteObject(hRed));
    EXPECT_TRUE(DeleteObject(hMono));
    DeleteDC(hOther);
    ReleaseDC(nullptr, hScreen);
}

TEST(BitmapsTest, RasterOperations) {
    const COLORREF source = RGB(0xF0, 0x0F, 0x55), dest = RGB(0x3C, 0xC3, 0xFF), pattern = RGB(0x12, 0x34, 0x56);
    struct Case {
        DWORD rop;
        COLORREF expected;
    };
    const Case cases[] = {
        {SRCCOPY, source},
        {SRCAND, source & dest},
        {SRCPAINT, source | dest},
        {SRCINVERT, source ^ dest},
        {NOTSRCCOPY, ~source & 0xFFFFFF},
        {DSTINVERT, ~dest & 0xFFFFFF},
        {PATCOPY, pattern},
        {PATINVERT, pattern ^ dest},
        {BLACKNESS, RGB(0, 0, 0)},
        {WHITENESS, RGB(255, 255, 255)},
    };
    MemoryDC from(4, 4, source);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.rop);
        MemoryDC to(4, 4, dest);
        HBRUSH hBrush = CreateSolidBrush(pattern);
        HGDIOBJ old = SelectObject(to.hDC, hBrush);
        ASSERT_TRUE(BitBlt(to.hDC, 1, 1, 2, 2, from.hDC, 0, 0, c.rop));
        EXPECT_EQ(GetPixel(to.hDC, 1, 1), c.expected);
        EXPECT_EQ(GetPixel(to.hDC, 2, 2), c.expected);
        EXPECT_EQ(GetPixel(to.hDC, 0, 0), dest) << "outside the rectangle";
        EXPECT_EQ(GetPixel(to.hDC, 3, 3), dest);
        SelectObject(to.hDC, old);
        DeleteObject(hBrush);
    }
}

TEST(BitmapsTest, StretchingTakesTheNearestPixel) {
    MemoryDC from(2, 2, RGB(0, 0, 0));
    SetPixel(from.hDC, 1, 0, kRed);
    SetPixel(from.hDC, 0, 1, kRed);
    MemoryDC to(6, 6, RGB(255, 255, 255));
    SetStretchBltMode(to.hDC, COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(to.hDC, 0, 0, 6, 6, from.hDC, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(GetPixel(to.hDC, 2, 2), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(to.hDC, 3, 0), kRed);
    EXPECT_EQ(GetPixel(to.hDC, 0, 5), kRed);
    EXPECT_EQ(GetPixel(to.hDC, 5, 5), RGB(0, 0, 0));
    MemoryDC shrunk(1, 1, RGB(255, 255, 255));
    ASSERT_TRUE(StretchBlt(shrunk.hDC, 0, 0, 1, 1, to.hDC, 0, 0, 6, 6, SRCCOPY));
    EXPECT_EQ(GetStretchBltMode(to.hDC), COLORONCOLOR);
    EXPECT_FALSE(StretchBlt(to.hDC, 0, 0, -6, 6, from.hDC, 0, 0, 2, 2, SRCCOPY)) << "mirroring is refused";
}

TEST(BitmapsTest, BlitsFromWindowsAreRefused) {
    HDC hScreen = GetDC(nullptr);
    MemoryDC to(4, 4, kRed);
    SetLastError(0);
    EXPECT_FALSE(BitBlt(to.hDC, 0, 0, 4, 4, hScreen, 0, 0, SRCCOPY));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_TRUE(BitBlt(to.hDC, 0, 0, 4, 4, hScreen, 0, 0, WHITENESS)) << "an operation without a source needs none";
    ReleaseDC(nullptr, hScreen);
}

using BitmapPictureTest = TempDirTest;

TEST_F(BitmapPictureTest, ABlitFromMemoryShowsOnTheWindow) {
    HWND hWnd =
        PlatformCreateWindowEx(DefWindowProcA, 0, "Test", "", WS_VISIBLE, 0, 0, 100, 80, nullptr, nullptr, nullptr);
    CClientDC dc(CWnd::FromHandle(hWnd));
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&dc));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 20, 20));
    CBitmap* old = memory.SelectObject(&bitmap);
    memory.FillSolidRect(0, 0, 20, 20, kRed);
    memory.FillSolidRect(10, 10, 10, 10, RGB(0, 0, 255));
    ASSERT_TRUE(dc.BitBlt(30, 30, 20, 20, &memory, 0, 0, SRCCOPY));
    ASSERT_TRUE(dc.StretchBlt(60, 0, 40, 40, &memory, 0, 0, 20, 20, SRCCOPY));
    memory.SelectObject(old);
    ASSERT_TRUE(PlatformSnapshotWindow(hWnd, "C:\\blit.png"));
    Picture picture = LoadPicture(Posix("blit.png"));
    EXPECT_EQ(picture.At(30, 30), kRed);
    EXPECT_EQ(picture.At(49, 49), RGB(0, 0, 255));
    EXPECT_EQ(picture.At(50, 50), RGB(255, 255, 255));
    EXPECT_EQ(picture.At(61, 1), kRed);
    EXPECT_EQ(picture.At(99, 39), RGB(0, 0, 255)) << "stretched to twice the size";
    EXPECT_EQ(picture.At(70, 45), RGB(255, 255, 255));
    DestroyWindow(hWnd);
}

TEST(BitmapsTest, PackedDibsOfEveryDepth) {
    const COLORREF kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0);
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};  // black, red, green, blue
    struct Case {
        const char* what;
        std::string dib;
        std::vector<COLORREF> pixels;  // top row first
    };
    const Case cases[] = {
        {"1 bit, bottom-up",
         Dib(2, 2, 1, {0x000000, 0xFFFFFF}, std::string("\x40\0\0\0\x80\0\0\0", 8)),
         {RGB(255, 255, 255), kBlack, kBlack, RGB(255, 255, 255)}},
        {"4 bits, palette, bottom-up", Dib(2, 1, 4, palette, std::string("\x13\0\0\0", 4)), {kRed, kBlue}},
        {"8 bits, top-down",
         Dib(2, -2, 8, palette, std::string("\x01\x02\0\0\x03\x00\0\0", 8)),
         {kRed, kGreen, kBlue, kBlack}},
        {"8 bits, an index past the palette is black", Dib(1, 1, 8, palette, std::string("\x09\0\0\0", 4)), {kBlack}},
        {"24 bits, rows padded to 4 bytes", Dib(1, 2, 24, {}, std::string("\xFF\0\0\0\0\0\xFF\0", 8)), {kRed, kBlue}},
        {"32 bits", Dib(1, 1, 32, {}, std::string("\x00\xFF\x00\x00", 4)), {kGreen}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HBITMAP hBitmap = PlatformBitmapFromDib(c.dib.data(), c.dib.size());
        ASSERT_NE(hBitmap, nullptr);
        EXPECT_EQ(Pixels(hBitmap), c.pixels);
        DeleteObject(hBitmap);
    }
}

TEST(BitmapsTest, HostileDibsFailCleanly) {
    const std::string good = Dib(4, 4, 8, std::vector<uint32_t>(256), std::string(16, '\1'));
    auto with = [&](size_t offset, uint32_t value, size_t width = 4) {
        std::string bytes = good;
        std::memcpy(&bytes[offset], &value, width);
        return bytes;
    };
    struct Case {
        const char* what;
        std::string dib;
    };
    const Case cases[] = {
        {"empty", ""},
        {"a header cut short", good.substr(0, 20)},
        {"the rows cut short", good.substr(0, good.size() - 1)},
        {"a header size past the end", with(0, 0x7FFFFFFF)},
        {"a header size too small", with(0, 12)},
        {"a huge width", with(4, 0x7FFFFFFF)},
        {"a zero width", with(4, 0)},
        {"the most negative height", with(8, 0x80000000)},
        {"a width times height past the limit", with(8, 16385)},
        {"2 planes", with(12, 2, 2)},
        {"16 bits a pixel", with(14, 16, 2)},
        {"compressed", with(16, 1)},
        {"more colours than 8 bits hold", with(32, 257)},
        {"a colour count past the end", with(32, 0xFFFFFFFF)},
    };
    HBITMAP hGood = PlatformBitmapFromDib(good.data(), good.size());
    EXPECT_NE(hGood, nullptr);
    DeleteObject(hGood);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        EXPECT_EQ(PlatformBitmapFromDib(c.dib.data(), c.dib.size()), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    }
    EXPECT_EQ(PlatformBitmapFromDib(nullptr, 100), nullptr);
}

TEST(BitmapsTest, BitmapBitsComeBackInTheLayoutCreateBitmapTakes) {
    // 32 bits: blue, green, red, 0 a pixel; 1 bit: word-aligned rows, set for white.
    const BYTE colour[] = {0x01, 0x02, 0x03, 0, 0xFF, 0x00, 0x80, 0};
    const BYTE mono[] = {0xA0, 0, 0x40, 0};  // 3 x 2
    const struct {
        const char* what;
        int width, height;
        UINT bits;
        std::string bytes;
    } cases[] = {
        {"32 bits", 2, 1, 32, std::string(reinterpret_cast<const char*>(colour), sizeof colour)},
        {"1 bit", 3, 2, 1, std::string(reinterpret_cast<const char*>(mono), sizeof mono)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HBITMAP hBitmap = CreateBitmap(c.width, c.height, 1, c.bits, c.bytes.data());
        std::string back(c.bytes.size() + 4, '\x55');
        EXPECT_EQ(GetBitmapBits(hBitmap, static_cast<LONG>(back.size()), back.data()),
                  static_cast<LONG>(c.bytes.size()));
        EXPECT_EQ(back.substr(0, c.bytes.size()), c.bytes);
        EXPECT_EQ(back.substr(c.bytes.size()), std::string(4, '\x55')) << "nothing past the bits is written";
        char first = 0;
        EXPECT_EQ(GetBitmapBits(hBitmap, 1, &first), 1) << "a short buffer gets what fits";
        EXPECT_EQ(first, c.bytes[0]);
        DeleteObject(hBitmap);
    }
    char buffer[4];
    EXPECT_EQ(GetBitmapBits(static_cast<HBITMAP>(GetStockObject(WHITE_BRUSH)), 4, buffer), 0) << "a brush";
}

// Icons and cursors from the test program's script (compiled by windres
// from .ico and .cur files), the standard ones, and drawing through the
// icon's mask.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Library.h"
#include "platform/mfc/App.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/Snapshot.h"
#include "platform/user/Controls.h"
#include "platform/user/DialogBox.h"
#include "platform/user/Input.h"
#include "resource.h"
#include "support/Picture.h"
#include "support/TempDir.h"

namespace {

constexpr COLORREF kBackground = RGB(0, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0);

HINSTANCE Program() { return reinterpret_cast<HINSTANCE>(GetModuleHandleA(nullptr)); }

// What GetIconInfo tells of an icon, its bitmaps' sizes instead of the
// copies (which it frees); kind -1 when it fails.
struct Facts {
    int kind = -1;  // 1 icon, 0 cursor
    DWORD xHotspot = 0, yHotspot = 0;
    LONG width = 0;
    WORD maskBits = 0;
};

Facts FactsOf(HICON hIcon) {
    ICONINFO info{};
    if (!GetIconInfo(hIcon, &info)) return Facts{};
    BITMAP colour{}, mask{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return Facts{info.fIcon ? 1 : 0, info.xHotspot, info.yHotspot, colour.bmWidth, mask.bmBitsPixel};
}

// Draws the icon on a 40 x 40 memory bitmap of the background colour and
// gives the pixel at each point.
std::vector<COLORREF> Drawn(HICON hIcon, const std::vector<POINT>& points, int size = 0) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.Attach(CreateBitmap(40, 40, 1, 32, nullptr));
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 40, 40, kBackground);
    EXPECT_TRUE(DrawIconEx(dc.m_hDC, 0, 0, hIcon, size, size, 0, nullptr, DI_NORMAL));
    std::vector<COLORREF> pixels;
    for (POINT p : points) pixels.push_back(dc.GetPixel(p.x, p.y));
    dc.SelectObject(old);
    return pixels;
}

}  // namespace

TEST(IconsTest, AnIconFromTheScriptIsItsImageNearest32AndDrawsThroughItsMask) {
    HICON hIcon = LoadIconA(Program(), MAKEINTRESOURCE(IDI_TEST));
    ASSERT_NE(hIcon, nullptr);
    Facts facts = FactsOf(hIcon);
    EXPECT_EQ(facts.kind, 1);
    EXPECT_EQ(facts.width, 32) << "the 32 x 32 image, not the 16 x 16 one";
    EXPECT_EQ(facts.maskBits, 1);

    // The transparent corner shows the background; the rest is the image.
    EXPECT_EQ(Drawn(hIcon, {{0, 0}, {7, 7}, {8, 8}, {31, 0}, {16, 16}, {23, 23}, {24, 24}, {35, 35}}),
              (std::vector<COLORREF>{kBackground, kBackground, kBlue, kBlue, kGreen, kGreen, kBlue, kBackground}));
    EXPECT_EQ(Drawn(hIcon, {{1, 1}, {15, 15}, {9, 9}, {16, 16}}, 16),
              (std::vector<COLORREF>{kBackground, kBlue, kGreen, kBackground}))
        << "stretched to half its size";
    EXPECT_TRUE(DestroyIcon(hIcon)) << "a shared icon stays";
    EXPECT_EQ(LoadIconA(Program(), MAKEINTRESOURCE(IDI_TEST)), hIcon);
    EXPECT_EQ(Drawn(hIcon, {{8, 8}}).front(), kBlue);
}

TEST(IconsTest, ACursorKeepsItsHotSpot) {
    HCURSOR hCursor = LoadCursorA(Program(), MAKEINTRESOURCE(IDC_TEST_CURSOR));
    ASSERT_NE(hCursor, nullptr);
    Facts facts = FactsOf(hCursor);
    EXPECT_EQ(facts.kind, 0);
    EXPECT_EQ(facts.xHotspot, 5u);
    EXPECT_EQ(facts.yHotspot, 7u);
    EXPECT_EQ(Drawn(hCursor, {{0, 0}, {20, 20}}), (std::vector<COLORREF>{kBackground, kGreen}));
    EXPECT_TRUE(DestroyCursor(hCursor));
    EXPECT_EQ(LoadIconA(Program(), MAKEINTRESOURCE(IDC_TEST_CURSOR)), nullptr) << "a cursor is no icon";
}

TEST(IconsTest, StandardIconsAndCursorsAreSharedHandlesThatStay) {
    const struct {
        const char* what;
        bool icon;
        LPCSTR id;
    } cases[] = {
        {"IDI_APPLICATION", true, IDI_APPLICATION},
        {"IDI_HAND", true, IDI_HAND},
        {"IDI_INFORMATION", true, IDI_INFORMATION},
        {"IDC_ARROW", false, IDC_ARROW},
        {"IDC_IBEAM", false, IDC_IBEAM},
        {"IDC_HELP", false, IDC_HELP},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HICON first = c.icon ? LoadIconA(nullptr, c.id) : LoadCursorA(nullptr, c.id);
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(c.icon ? DestroyIcon(first) : DestroyCursor(first));
        EXPECT_EQ(c.icon ? LoadIconA(nullptr, c.id) : LoadCursorA(nullptr, c.id), first) << "the same handle, kept";
        POINT inside = c.icon ? POINT{16, 16} : POINT{2, 10};  // a disk or window; an arrow
        EXPECT_NE(Drawn(first, {inside}).front(), kBackground) << "it draws something";
    }
    EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), LoadCursorA(nullptr, IDC_ARROW)) << "the same number, two kinds";
}

TEST(IconsTest, WhatCannotBeLoadedIsNullWithTheReason) {
    const struct {
        const char* what;
        HINSTANCE module;
        LPCSTR name;
        DWORD error;
    } cases[] = {
        {"no such icon in the module", Program(), MAKEINTRESOURCE(9999), ERROR_RESOURCE_NAME_NOT_FOUND},
        {"no such standard icon", nullptr, MAKEINTRESOURCE(5), ERROR_RESOURCE_NAME_NOT_FOUND},
        {"a standard id asked of a module", Program(), IDI_APPLICATION, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"an image stored as PNG", Program(), MAKEINTRESOURCE(IDI_PNG), ERROR_NOT_SUPPORTED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        testing::internal::CaptureStderr();
        EXPECT_EQ(LoadIconA(c.module, c.name), nullptr);
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error));
        EXPECT_EQ(said.find("PNG") != std::string::npos, c.error == ERROR_NOT_SUPPORTED) << said;
    }
}

TEST(IconsTest, ImagesMadeFromResourceBitsAreFreedAndDamagedOnesRefused) {
    HRSRC hInfo = FindResourceA(Program(), MAKEINTRESOURCE(2), RT_ICON);  // windres numbers the images from 1
    ASSERT_NE(hInfo, nullptr);
    const auto* bits = static_cast<const BYTE*>(LockResource(LoadResource(Program(), hInfo)));
    std::string good(reinterpret_cast<const char*>(bits), SizeofResource(Program(), hInfo));
    HICON hMade = CreateIconFromResource(reinterpret_cast<const BYTE*>(good.data()), static_cast<DWORD>(good.size()),
                                         TRUE, 0x00030000);
    ASSERT_NE(hMade, nullptr);
    EXPECT_EQ(Drawn(hMade, {{0, 0}, {8, 8}}), (std::vector<COLORREF>{kBackground, kBlue}));
    EXPECT_TRUE(DestroyIcon(hMade));
    SetLastError(0);
    EXPECT_FALSE(DestroyIcon(hMade)) << "freed already";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ICON_HANDLE));
    EXPECT_FALSE(DrawIcon(nullptr, 0, 0, hMade));
    auto with = [&](size_t offset, LONG value) {
        std::string bytes = good;
        std::memcpy(&bytes[offset], &value, sizeof value);
        return bytes;
    };
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"cut short of its mask", good.substr(0, good.size() - 1)},
        {"cut inside the header", good.substr(0, 20)},
        {"an odd height", with(8, 63)},
        {"a huge width", with(4, 0x7FFFFFFF)},
        {"a negative height", with(8, -64)},
        {"a header size past the end", with(0, 0x10000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        EXPECT_EQ(CreateIconFromResource(reinterpret_cast<const BYTE*>(c.bytes.data()),
                                         static_cast<DWORD>(c.bytes.size()), TRUE, 0x00030000),
                  nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    }
}

using IconStaticTest = TempDirTest;

TEST_F(IconStaticTest, TheApplicationLoadsIconsAndCursorsAndAnIconStaticShowsItsIcon) {
    CWinApp app;
    HICON hIcon = app.LoadIcon(IDI_TEST);
    EXPECT_NE(hIcon, nullptr);
    DestroyIcon(hIcon);
    HCURSOR hCursor = app.LoadCursor(IDC_TEST_CURSOR);
    EXPECT_NE(hCursor, nullptr);
    DestroyCursor(hCursor);
    EXPECT_EQ(app.LoadStandardIcon(IDI_ERROR), LoadIconA(nullptr, IDI_HAND));
    EXPECT_EQ(app.LoadStandardCursor(IDC_ARROW), LoadCursorA(nullptr, IDC_ARROW));

    // The About box's ICON control names IDR_MAINFRAME by its number.
    HWND hDlg = CreateDialogParamA(Program(), MAKEINTRESOURCE(IDD_ABOUTBOX), nullptr, nullptr, 0);
    ASSERT_NE(hDlg, nullptr);
    HWND hStatic = GetDlgItem(hDlg, IDC_ABOUT_ICON);
    ASSERT_NE(hStatic, nullptr);
    auto hShown = reinterpret_cast<HICON>(SendMessageA(hStatic, STM_GETICON, 0, 0));
    EXPECT_EQ(hShown, LoadIconA(Program(), MAKEINTRESOURCE(IDR_MAINFRAME)));
    EXPECT_EQ(FactsOf(hShown).width, 32);
    ShowWindow(hDlg, SW_SHOWNORMAL);
    PlatformPumpMessages();
    ASSERT_TRUE(PlatformSnapshotWindow(hStatic, "C:\\icon.png"));
    Picture picture = LoadPicture(Posix("icon.png"));
    EXPECT_EQ(picture.At(2, 2), GetSysColor(COLOR_BTNFACE)) << "the icon's transparent corner";
    EXPECT_EQ(picture.At(10, 10), kBlue);
    EXPECT_EQ(picture.Width(), 32) << "the static takes its icon's size";
    HICON hStandard = LoadIconA(nullptr, IDI_ASTERISK);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(hStatic, STM_SETICON, reinterpret_cast<WPARAM>(hStandard), 0)),
              hShown);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(hStatic, STM_GETICON, 0, 0)), hStandard);
    DestroyWindow(hDlg);
}

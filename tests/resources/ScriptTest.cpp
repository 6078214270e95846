// What the test program's script holds for the other loaders (menus,
// toolbars, their bitmaps, dialog templates) is found in the forms they
// read, and the constants a script names agree with C++'s.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/mfc/Controls.h"
#include "platform/mfc/StandardIds.h"
#include "platform/user/Accelerators.h"
#include "platform/user/EditCore.h"
#include "platform/user/MessageBox.h"
#include "platform/user/Windows.h"
#include "resource.h"

namespace {

// The resource's data as little-endian words.
std::vector<WORD> Words(LPCSTR name, LPCSTR type) {
    HRSRC hRes = FindResourceA(nullptr, name, type);
    EXPECT_NE(hRes, nullptr);
    if (!hRes) return {};
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, hRes)));
    std::vector<WORD> words(SizeofResource(nullptr, hRes) / 2);
    for (size_t i = 0; i < words.size(); ++i) words[i] = static_cast<WORD>(data[2 * i] | data[2 * i + 1] << 8);
    return words;
}

DWORD Dword(const std::vector<WORD>& words, size_t at) {
    return words.at(at) | static_cast<DWORD>(words.at(at + 1)) << 16;
}

TEST(ScriptTest, ToolbarAndItsBitmapAreThere) {
    // windres lays a toolbar out in 32-bit fields without a version (button
    // width, height, item count, the items with separators as 0), where the
    // original's compiler writes 16-bit fields after version 1: a toolbar
    // reader takes both.
    EXPECT_EQ(Words(MAKEINTRESOURCE(IDR_MAINFRAME), RT_TOOLBAR),
              (std::vector<WORD>{16, 0, 15, 0, 4, 0, ID_FILE_NEW, 0, 0, 0, ID_TEST_ALPHA, 0, ID_TEST_BETA, 0}));
    // A packed DIB: the info header (40 bytes), 48 pixels wide, 15 high.
    std::vector<WORD> bitmap = Words(MAKEINTRESOURCE(IDR_MAINFRAME), RT_BITMAP);
    EXPECT_EQ(Dword(bitmap, 0), 40u);
    EXPECT_EQ(Dword(bitmap, 2), 48u);
    EXPECT_EQ(Dword(bitmap, 4), 15u);
}

TEST(ScriptTest, MenuAndDialogTemplatesAreThere) {
    // A normal menu template starts with version 0 and header size 0, then
    // the first popup's flags (MF_POPUP) and its text.
    std::vector<WORD> menu = Words(MAKEINTRESOURCE(IDR_MAINFRAME), RT_MENU);
    ASSERT_GE(menu.size(), 4u);
    EXPECT_EQ(menu[0], 0);
    EXPECT_EQ(menu[1], 0);
    EXPECT_EQ(menu[2] & 0x10, 0x10);
    EXPECT_EQ(menu[3], '&');

    // DIALOG: the style comes first; DIALOGEX: version 1 and 0xFFFF.
    std::vector<WORD> settings = Words(MAKEINTRESOURCE(IDD_SETTINGS), RT_DIALOG);
    ASSERT_GE(settings.size(), 2u);
    const DWORD setFontModalFrame = 0x40 | 0x80;
    EXPECT_EQ(Dword(settings, 0), setFontModalFrame | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    std::vector<WORD> about = Words(MAKEINTRESOURCE(IDD_ABOUTBOX), RT_DIALOG);
    ASSERT_GE(about.size(), 2u);
    EXPECT_EQ(about[0], 1);
    EXPECT_EQ(about[1], 0xFFFF);
}

TEST(ScriptTest, ScriptConstantsAgreeWithCpp) {
    struct Named {
        const char* name;
        DWORD value;
    };
#define CONSTANT(name) {#name, static_cast<DWORD>(name)},
    const Named expected[] = {
#include "SharedConstants.inc"
    };
#undef CONSTANT
    std::vector<WORD> words = Words(MAKEINTRESOURCE(IDR_CONSTANTS), RT_RCDATA);
    ASSERT_EQ(words.size(), 2 * (std::size(expected) + 1));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(Dword(words, 2 * i), expected[i].value);
    }
}

}  // namespace

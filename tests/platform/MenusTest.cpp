// Menus: items and their states built by calls and read from the binary
// menu templates a resource compiler writes, and CMenu's handle maps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc/Menu.h"

namespace {

enum : UINT { ID_NEW = 100, ID_OPEN, ID_SAVE, ID_EXIT, ID_CUT, ID_COPY, ID_ZOOM_IN, ID_ZOOM_OUT };

// Writes menu templates as a resource compiler does: little-endian words,
// texts in UTF-16 with a terminator.
class TemplateWriter {
public:
    explicit TemplateWriter(bool extended = false) : m_extended(extended) {
        if (extended) {
            Word(1);
            Word(4);
            Dword(0);
        } else {
            Word(0);
            Word(0);
        }
    }
    // Normal layout.
    TemplateWriter& Item(UINT flags, UINT id, const std::u16string& text) {
        Word(flags);
        Word(id);
        Text(text);
        return *this;
    }
    TemplateWriter& Popup(UINT flags, const std::u16string& text) {
        Word(flags | MF_POPUP);
        Text(text);
        return *this;
    }
    // Extended layout: resInfo 0x01 for a popup, 0x80 for the last item.
    TemplateWriter& ItemEx(DWORD type, DWORD state, DWORD id, UINT resInfo, const std::u16string& text) {
        while (m_bytes.size() % 4) m_bytes.push_back(0);
        Dword(type);
        Dword(state);
        Dword(id);
        Word(resInfo);
        Text(text);
        if (resInfo & 0x01) {
            while (m_bytes.size() % 4) m_bytes.push_back(0);
            Dword(0);
        }
        return *this;
    }
    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    void Word(UINT w) {
        m_bytes.push_back(static_cast<BYTE>(w));
        m_bytes.push_back(static_cast<BYTE>(w >> 8));
    }
    void Dword(DWORD d) {
        Word(d & 0xFFFF);
        Word(d >> 16);
    }
    void Text(const std::u16string& text) {
        for (char16_t c : text) Word(c);
        Word(0);
    }
    bool m_extended;
    std::vector<BYTE> m_bytes;
};

// &File: New, Open (grayed), separator, Exit; &Edit: Cut (checked), a
// nested Zoom popup with In and Out; Help without a popup.
std::vector<BYTE> AppMenuTemplate() {
    return TemplateWriter()
        .Popup(0, u"&File")
        .Item(0, ID_NEW, u"&New\tCtrl+N")
        .Item(MF_GRAYED, ID_OPEN, u"&Open...")
        .Item(0, 0, u"")  // MENUITEM SEPARATOR
        .Item(MF_END, ID_EXIT, u"E&xit")
        .Popup(0, u"&Edit")
        .Item(MF_CHECKED, ID_CUT, u"Cu&t")
        .Popup(MF_END, u"&Zoom")
        .Item(0, ID_ZOOM_IN, u"Zoom &In")
        .Item(MF_END, ID_ZOOM_OUT, u"Zoom &Out \u00e9\U0001F600")
        .Item(MF_END, ID_SAVE, u"&Help")
        .Bytes();
}

std::string MenuString(HMENU hMenu, UINT item, UINT flags) {
    char text[64] = {};
    GetMenuStringA(hMenu, item, text, sizeof text, flags);
    return text;
}

}  // namespace

TEST(MenusTest, ATemplateGivesItsItemsWithTheirStatesTextsAndNesting) {
    std::vector<BYTE> bytes = AppMenuTemplate();
    HMENU hMenu = LoadMenuIndirectA(bytes.data());
    ASSERT_NE(hMenu, nullptr);
    ASSERT_EQ(GetMenuItemCount(hMenu), 3);
    HMENU hFile = GetSubMenu(hMenu, 0);
    HMENU hEdit = GetSubMenu(hMenu, 1);
    ASSERT_NE(hFile, nullptr);
    ASSERT_NE(hEdit, nullptr);
    EXPECT_EQ(GetSubMenu(hMenu, 2), nullptr);
    EXPECT_EQ(GetMenuItemID(hMenu, 0), static_cast<UINT>(-1));  // a popup has no id
    EXPECT_EQ(GetMenuItemID(hMenu, 2), ID_SAVE);
    EXPECT_EQ(GetMenuState(hMenu, 0, MF_BYPOSITION), (4u << 8) | MF_POPUP);  // count in the high byte

    ASSERT_EQ(GetMenuItemCount(hFile), 4);
    EXPECT_EQ(MenuString(hFile, 0, MF_BYPOSITION), "&New\tCtrl+N");
    EXPECT_EQ(GetMenuState(hFile, ID_OPEN, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(GetMenuState(hFile, 2, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(hFile, 2), 0u);
    EXPECT_EQ(GetMenuItemID(hFile, 3), ID_EXIT);

    HMENU hZoom = GetSubMenu(hEdit, 1);
    EXPECT_EQ(GetMenuState(hEdit, ID_CUT, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(GetMenuItemCount(hZoom), 2);
    // By command, popups are searched in depth, from the top menu.
    EXPECT_EQ(MenuString(hMenu, ID_ZOOM_OUT, MF_BYCOMMAND), "Zoom &Out \xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_TRUE(DestroyMenu(hMenu));
    EXPECT_FALSE(IsMenu(hZoom));  // submenus go with their menu
}

TEST(MenusTest, AnExtendedTemplateGivesTheSameMenu) {
    std::vector<BYTE> bytes = TemplateWriter(true)
                                  .ItemEx(MFT_STRING, 0, 0, 0x01, u"&File")
                                  .ItemEx(MFT_STRING, MFS_GRAYED, ID_NEW, 0, u"&New")
                                  .ItemEx(MFT_SEPARATOR, 0, 0, 0, u"")
                                  .ItemEx(MFT_RADIOCHECK, MFS_CHECKED, ID_OPEN, 0x80, u"&Open")
                                  .ItemEx(MFT_STRING, 0, ID_EXIT, 0x80, u"E&xit")
                                  .Bytes();
    HMENU hMenu = PlatformLoadMenuTemplate(bytes.data(), bytes.size());
    ASSERT_NE(hMenu, nullptr);
    ASSERT_EQ(GetMenuItemCount(hMenu), 2);
    HMENU hFile = GetSubMenu(hMenu, 0);
    ASSERT_EQ(GetMenuItemCount(hFile), 3);
    EXPECT_EQ(GetMenuState(hFile, ID_NEW, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(GetMenuState(hFile, 1, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(hFile, ID_OPEN, MF_BYCOMMAND), MF_CHECKED | MFT_RADIOCHECK);
    EXPECT_EQ(MenuString(hMenu, 1, MF_BYPOSITION), "E&xit");
    DestroyMenu(hMenu);
}

// Every cut of a good template, and templates whose structure lies: none
// reads past its bytes (the sanitizers watch) and each gives no menu.
TEST(MenusTest, ATruncatedOrMalformedTemplateGivesNoMenu) {
    std::vector<BYTE> bytes = AppMenuTemplate();
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        std::vector<BYTE> part(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(cut));
        EXPECT_EQ(PlatformLoadMenuTemplate(part.data(), part.size()), nullptr);
    }
    std::vector<BYTE> badVersion = bytes;
    badVersion[0] = 7;
    EXPECT_EQ(PlatformLoadMenuTemplate(badVersion.data(), badVersion.size()), nullptr);
    std::vector<BYTE> bigOffset = bytes;
    bigOffset[2] = 0xFF;
    bigOffset[3] = 0xFF;
    EXPECT_EQ(PlatformLoadMenuTemplate(bigOffset.data(), bigOffset.size()), nullptr);
    // Popups nested deeper than any real menu, each opening the next.
    TemplateWriter deep;
    for (int i = 0; i < 1000; ++i) deep.Popup(0, u"p");
    EXPECT_EQ(PlatformLoadMenuTemplate(deep.Bytes().data(), deep.Bytes().size()), nullptr);
    EXPECT_EQ(PlatformLoadMenuTemplate(nullptr, 10), nullptr);
}

TEST(MenusTest, ItemsChangeByPositionAndByCommandAndReportTheirPreviousState) {
    HMENU hMenu = CreateMenu();
    HMENU hPopup = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuA(hPopup, MF_STRING, ID_CUT, "Cu&t"));
    ASSERT_TRUE(AppendMenuA(hPopup, MF_STRING, ID_COPY, "&Copy"));
    ASSERT_TRUE(AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), "&Edit"));
    ASSERT_TRUE(InsertMenuA(hPopup, ID_COPY, MF_BYCOMMAND | MF_STRING, ID_NEW, "&New"));
    ASSERT_TRUE(InsertMenuA(hPopup, 99, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr));  // past the end appends
    EXPECT_EQ(GetMenuItemID(hPopup, 1), ID_NEW);
    EXPECT_EQ(GetMenuState(hPopup, 3, MF_BYPOSITION), MF_SEPARATOR);

    EXPECT_EQ(CheckMenuItem(hMenu, ID_COPY, MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(CheckMenuItem(hMenu, ID_COPY, MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(EnableMenuItem(hMenu, ID_CUT, MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(EnableMenuItem(hPopup, 0, MF_BYPOSITION | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
    EXPECT_EQ(CheckMenuItem(hMenu, 12345, MF_CHECKED), static_cast<DWORD>(-1));
    EXPECT_EQ(EnableMenuItem(hMenu, 12345, MF_GRAYED), -1);
    EXPECT_EQ(GetMenuState(hMenu, 12345, MF_BYCOMMAND), static_cast<UINT>(-1));

    ASSERT_TRUE(ModifyMenuA(hPopup, ID_NEW, MF_BYCOMMAND | MF_STRING | MF_CHECKED, ID_SAVE, "&Save"));
    EXPECT_EQ(MenuString(hMenu, ID_SAVE, MF_BYCOMMAND), "&Save");
    EXPECT_EQ(GetMenuState(hMenu, ID_SAVE, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(GetMenuState(hMenu, ID_NEW, MF_BYCOMMAND), static_cast<UINT>(-1));

    // A text longer than the buffer is cut, with its terminator.
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetMenuStringA(hMenu, ID_SAVE, small, sizeof small, MF_BYCOMMAND), 3);
    EXPECT_STREQ(small, "&Sa");
    EXPECT_EQ(GetMenuStringA(hMenu, ID_SAVE, nullptr, 0, MF_BYCOMMAND), 5);
    DestroyMenu(hMenu);
}

TEST(MenusTest, RadioItemsCheckOneOfTheirRange) {
    HMENU hMenu = CreatePopupMenu();
    for (UINT id = ID_NEW; id <= ID_EXIT; ++id) AppendMenuA(hMenu, MF_STRING, id, "item");
    ASSERT_TRUE(CheckMenuRadioItem(hMenu, ID_NEW, ID_SAVE, ID_OPEN, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuState(hMenu, ID_OPEN, MF_BYCOMMAND), MF_CHECKED | MFT_RADIOCHECK);
    ASSERT_TRUE(CheckMenuRadioItem(hMenu, 0, 2, 2, MF_BYPOSITION));
    EXPECT_EQ(GetMenuState(hMenu, ID_OPEN, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(GetMenuState(hMenu, ID_SAVE, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(GetMenuState(hMenu, ID_EXIT, MF_BYCOMMAND) & MF_CHECKED, 0u);  // outside the range
    DestroyMenu(hMenu);
}

// DeleteMenu destroys a popup's submenu, RemoveMenu hands it back alive;
// every call on a destroyed menu fails instead of reaching freed memory.
TEST(MenusTest, RemovingKeepsASubmenuDeletingDestroysItAndStaleHandlesFail) {
    HMENU hMenu = CreateMenu();
    HMENU hKept = CreatePopupMenu();
    HMENU hGone = CreatePopupMenu();
    AppendMenuA(hKept, MF_STRING, ID_CUT, "Cut");
    AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hKept), "&Kept");
    AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hGone), "&Gone");
    EXPECT_TRUE(RemoveMenu(hMenu, 0, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(hKept));
    EXPECT_TRUE(DeleteMenu(hMenu, 0, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(hGone));
    EXPECT_EQ(GetMenuItemCount(hMenu), 0);
    EXPECT_FALSE(AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hGone), "&Stale"));
    EXPECT_TRUE(DestroyMenu(hMenu));
    EXPECT_FALSE(DestroyMenu(hMenu));
    EXPECT_EQ(GetMenuItemCount(hMenu), -1);
    EXPECT_FALSE(AppendMenuA(hMenu, MF_STRING, ID_NEW, "New"));
    EXPECT_EQ(GetSubMenu(hMenu, 0), nullptr);
    EXPECT_EQ(GetMenuStringA(hMenu, 0, nullptr, 0, MF_BYPOSITION), 0);
    DestroyMenu(hKept);
}

TEST(MenusTest, CMenuOwnsWhatItCreatesAndFromHandleFindsTheAttachedObject) {
    HMENU hMenu = nullptr;
    HMENU hSub = nullptr;
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreateMenu());
        EXPECT_FALSE(menu.CreateMenu());  // holds one already
        CMenu popup;
        ASSERT_TRUE(popup.CreatePopupMenu());
        ASSERT_TRUE(popup.AppendMenu(MF_STRING, ID_COPY, "&Copy"));
        hSub = popup.Detach();
        ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), "&Edit"));
        hMenu = menu.m_hMenu;
        EXPECT_EQ(CMenu::FromHandle(hMenu), &menu);
        CMenu* pSub = menu.GetSubMenu(0);  // a temporary object over the submenu
        ASSERT_NE(pSub, nullptr);
        EXPECT_EQ(pSub->m_hMenu, hSub);
        EXPECT_EQ(CMenu::FromHandle(hSub), pSub);
        CString text;
        EXPECT_EQ(pSub->GetMenuString(ID_COPY, text, MF_BYCOMMAND), 5);
        EXPECT_EQ(text, CString("&Copy"));
        EXPECT_EQ(pSub->CheckMenuItem(ID_COPY, MF_CHECKED), MF_UNCHECKED);
    }
    EXPECT_FALSE(IsMenu(hMenu));  // the owner destroyed it, with its submenu
    EXPECT_FALSE(IsMenu(hSub));
    EXPECT_EQ(CMenu::FromHandle(hMenu), nullptr);

    HMENU hLoose = CreateMenu();
    {
        CMenu attached;
        ASSERT_TRUE(attached.Attach(hLoose));
        EXPECT_EQ(attached.Detach(), hLoose);
    }
    EXPECT_TRUE(IsMenu(hLoose));  // detached before the object went
    DestroyMenu(hLoose);
}

// Menus, tool bars and prompts from the test program's compiled script: a
// frame loads its menu bar and tool bar from IDR_MAINFRAME, and the status
// bar shows the string table's prompt of the highlighted item.
#include <gtest/gtest.h>

#include <string>

#include "platform/mfc/App.h"
#include "platform/mfc/ControlBars.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/StandardIds.h"
#include "resource.h"

namespace {

std::string ItemText(HMENU hMenu, UINT item, UINT flags) {
    char text[64] = {};
    GetMenuStringA(hMenu, item, text, sizeof text, flags);
    return text;
}

class CResourceFrame : public CFrameWnd {
public:
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) {
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};
        if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
        if (!m_wndToolBar.CreateEx(this) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) return -1;
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 2)) return -1;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CResourceFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

}  // namespace

TEST(MenuResourcesTest, TheScriptsMenuHasItsItemsStatesAndPopups) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MAINFRAME));
    ASSERT_EQ(menu.GetMenuItemCount(), 2u);
    CMenu* pFile = menu.GetSubMenu(0);
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(ItemText(*pFile, 0, MF_BYPOSITION), "&New\tCtrl+N");
    EXPECT_EQ(pFile->GetMenuState(1, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(pFile->GetMenuItemID(2), static_cast<UINT>(ID_APP_EXIT));
    EXPECT_EQ(menu.GetMenuState(ID_TEST_ALPHA, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(menu.GetMenuState(ID_TEST_BETA, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(ItemText(menu, ID_TEST_GAMMA, MF_BYCOMMAND), "&Gamma");
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(IDR_DATA));  // an id with no menu
    EXPECT_EQ(missing.m_hMenu, nullptr);
}

TEST(MenuResourcesTest, AFrameLoadsItsMenuBarToolBarAndPrompts) {
    CWinApp app;
    auto* pFrame = new CResourceFrame;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_MAINFRAME));
    app.m_pMainWnd = pFrame;
    HMENU hMenu = ::GetMenu(pFrame->m_hWnd);
    ASSERT_NE(hMenu, nullptr);
    EXPECT_EQ(hMenu, pFrame->m_hMenuDefault);
    EXPECT_EQ(ItemText(hMenu, 1, MF_BYPOSITION), "&Test");

    // The tool bar resource, as windres writes it: four items, one a separator.
    CToolBar& bar = pFrame->m_wndToolBar;
    ASSERT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.GetItemID(0), static_cast<UINT>(ID_FILE_NEW));
    EXPECT_EQ(bar.GetButtonStyle(1) & TBBS_SEPARATOR, TBBS_SEPARATOR);
    EXPECT_EQ(bar.GetItemID(3), static_cast<UINT>(ID_TEST_BETA));
    CRect button;
    bar.GetItemRect(0, &button);
    EXPECT_EQ(button.Size(), CSize(16 + 7, 15 + 7));

    // The prompt is the string up to its "\n"; the idle message is "Ready".
    pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_TEST_ALPHA, 0), reinterpret_cast<LPARAM>(hMenu));
    EXPECT_EQ(pFrame->m_wndStatusBar.GetPaneText(0), CString("Runs the first test"));
    pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(pFrame->m_wndStatusBar.GetPaneText(0), CString("Ready"));
    pFrame->DestroyWindow();
    app.m_pMainWnd = nullptr;
    EXPECT_FALSE(IsMenu(hMenu));  // the frame's own menu went with it
}

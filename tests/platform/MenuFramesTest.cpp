// Frames and their menu bars in an MDI application: the document type's
// shared menu while its child is active, the Window menu's list of
// children, items updated through ON_UPDATE_COMMAND_UI before a popup
// opens, and the bar used with the keyboard and the mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc/App.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/StandardIds.h"
#include "platform/user/Input.h"

namespace {

enum : UINT { IDR_MAIN = 1, IDR_DOC = 2, ID_HELP_ABOUT = 200 };

std::vector<UINT> g_commands;

class CMenuDoc : public CDocument {
    DECLARE_DYNCREATE(CMenuDoc)
};
IMPLEMENT_DYNCREATE(CMenuDoc, CDocument)

// Copy has a handler; Cut has none (so it shows disabled); Paste has one and
// an update handler that checks it and renames it.
class CMenuView : public CView {
    DECLARE_DYNCREATE(CMenuView)
public:
    void OnDraw(CDC*) override {}

protected:
    afx_msg void OnCopy() { g_commands.push_back(ID_EDIT_COPY); }
    afx_msg void OnPaste() { g_commands.push_back(ID_EDIT_PASTE); }
    afx_msg void OnUpdatePaste(CCmdUI* pCmdUI) {
        pCmdUI->SetCheck(1);
        pCmdUI->SetText("&Paste Twice");
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CMenuView, CView)
BEGIN_MESSAGE_MAP(CMenuView, CView)
ON_COMMAND(ID_EDIT_COPY, OnCopy)
ON_COMMAND(ID_EDIT_PASTE, OnPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdatePaste)
END_MESSAGE_MAP()

class CMenuChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CMenuChild)
};
IMPLEMENT_DYNCREATE(CMenuChild, CMDIChildWnd)

class CMenuMain : public CMDIFrameWnd {
protected:
    afx_msg void OnAbout() { g_commands.push_back(ID_HELP_ABOUT); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMenuMain, CMDIFrameWnd)
ON_COMMAND(ID_HELP_ABOUT, OnAbout)
END_MESSAGE_MAP()

class CMenuApp : public CWinApp {
protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMenuApp, CWinApp)
ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
END_MESSAGE_MAP()

HMENU MakePopup(std::initializer_list<std::pair<UINT, const char*>> items) {
    HMENU hPopup = CreatePopupMenu();
    for (const auto& [id, text] : items) AppendMenuA(hPopup, id ? MF_STRING : MF_SEPARATOR, id, text);
    return hPopup;
}

HMENU MakeBar(std::initializer_list<std::pair<const char*, HMENU>> popups) {
    HMENU hMenu = CreateMenu();
    for (const auto& [text, hPopup] : popups) AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), text);
    return hMenu;
}

HWND ChildById(HWND hParent, int nID) {
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (::GetWindowLongPtrA(h, GWLP_ID) == nID) return h;
    return nullptr;
}

std::string ItemText(HMENU hMenu, int nPos) {
    char text[128] = {};
    GetMenuStringA(hMenu, static_cast<UINT>(nPos), text, sizeof text, MF_BYPOSITION);
    return text;
}

class MenuFramesTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_commands.clear();
        AfxSetMessageBoxEcho(false);
        m_pMain = new CMenuMain;
        ASSERT_TRUE(m_pMain->LoadFrame(IDR_MAIN));
        // The frame's and the document type's menus, as their resources give them.
        m_pMain->m_hMenuDefault = MakeBar({{"&File", MakePopup({{ID_FILE_NEW, "&New"}, {ID_APP_EXIT, "E&xit"}})},
                                           {"&Help", MakePopup({{ID_HELP_ABOUT, "&About"}})}});
        m_pMain->OnUpdateFrameMenu(nullptr);
        m_pMain->ShowWindow(SW_SHOWNORMAL);
        m_app.m_pMainWnd = m_pMain;
        auto* pTemplate = new CMultiDocTemplate(IDR_DOC, RUNTIME_CLASS(CMenuDoc), RUNTIME_CLASS(CMenuChild),
                                                RUNTIME_CLASS(CMenuView));
        pTemplate->m_hMenuShared = MakeBar(
            {{"&File", MakePopup({{ID_FILE_NEW, "&New"}, {ID_FILE_CLOSE, "&Close"}})},
             {"&Edit", MakePopup({{ID_EDIT_COPY, "&Copy\tCtrl+C"}, {ID_EDIT_CUT, "Cu&t"}, {ID_EDIT_PASTE, "&Paste"}})},
             {"&Window", MakePopup({{ID_WINDOW_NEW, "&New Window"}, {ID_WINDOW_CASCADE, "&Cascade"}})}});
        m_hShared = pTemplate->m_hMenuShared;
        m_app.AddDocTemplate(pTemplate);
    }
    void TearDown() override {
        if (::IsWindow(m_pMain->m_hWnd)) m_pMain->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
    }

    CDocument* OpenDocument() {
        m_app.OnFileNew();
        Pump();
        CMDIChildWnd* pChild = m_pMain->MDIGetActive();
        return pChild ? pChild->GetActiveDocument() : nullptr;
    }
    // The application's loop, translating keys, until nothing is left.
    static void Pump() {
        MSG msg;
        for (int n = 0; n < 10000 && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    void Key(UINT vk, char ch = 0, bool up = false) {
        PlatformInput in;
        in.message = up ? WM_KEYUP : WM_KEYDOWN;
        in.vk = vk;
        in.ch = ch;
        ASSERT_TRUE(PlatformPostInput(m_pMain->m_hWnd, in));
    }
    void AltKey(UINT vk, char ch) {
        Key(VK_MENU);
        Key(vk, ch);
        Key(vk, ch, true);
        Key(VK_MENU, 0, true);
        Pump();
    }
    void Click(POINT screen) {
        PlatformInput in;
        in.message = WM_LBUTTONDOWN;
        in.pt = screen;
        ASSERT_TRUE(PlatformPostInput(m_pMain->m_hWnd, in));
        in.message = WM_LBUTTONUP;
        ASSERT_TRUE(PlatformPostInput(m_pMain->m_hWnd, in));
        Pump();
    }
    HMENU Popup(const char* title) {
        HMENU hBar = ::GetMenu(m_pMain->m_hWnd);
        for (int i = 0; i < GetMenuItemCount(hBar); ++i)
            if (ItemText(hBar, i) == title) return GetSubMenu(hBar, i);
        return nullptr;
    }

    CMenuApp m_app;
    CMenuMain* m_pMain = nullptr;
    HMENU m_hShared = nullptr;
};

}  // namespace

TEST_F(MenuFramesTest, TheBarIsAChildStripAndTheClientAreaLiesBelowIt) {
    HWND hBar = ChildById(m_pMain->m_hWnd, PLATFORM_MENUBAR_ID);
    ASSERT_NE(hBar, nullptr);
    char name[16] = {};
    ::GetClassNameA(hBar, name, sizeof name);
    EXPECT_STREQ(name, "MenuBar");
    CRect frame, bar, client;
    m_pMain->GetClientRect(&frame);
    ::GetWindowRect(hBar, &bar);
    m_pMain->ScreenToClient(&bar);
    ::GetWindowRect(m_pMain->m_hWndMDIClient, &client);
    m_pMain->ScreenToClient(&client);
    EXPECT_EQ(bar, CRect(0, 0, frame.right, PLATFORM_MENUBAR_HEIGHT));
    EXPECT_EQ(client, CRect(0, PLATFORM_MENUBAR_HEIGHT, frame.right, frame.bottom));
    // The bar follows the frame's width.
    m_pMain->MoveWindow(10, 10, 500, 300);
    ::GetWindowRect(hBar, &bar);
    EXPECT_EQ(bar.Width(), 500);
}

TEST_F(MenuFramesTest, TheSharedMenuShowsWhileAChildOfItsTypeIsActive) {
    HMENU hDefault = m_pMain->m_hMenuDefault;
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), hDefault);
    CDocument* pDoc = OpenDocument();
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), m_hShared);
    OpenDocument();
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), m_hShared);
    m_app.CloseAllDocuments(FALSE);
    Pump();
    EXPECT_EQ(m_pMain->MDIGetActive(), nullptr);
    EXPECT_EQ(::GetMenu(m_pMain->m_hWnd), hDefault);  // the last child went
    EXPECT_TRUE(IsMenu(m_hShared));                   // the template still owns it
}

TEST_F(MenuFramesTest, TheWindowMenuListsTheChildrenAndItsItemsActivateThem) {
    OpenDocument();
    OpenDocument();
    HMENU hWindow = Popup("&Window");
    ASSERT_NE(hWindow, nullptr);
    ASSERT_EQ(GetMenuItemCount(hWindow), 5);  // New Window, Cascade, a separator, two children
    EXPECT_EQ(GetMenuState(hWindow, 2, MF_BYPOSITION), MF_SEPARATOR);
    CMDIChildWnd* pSecond = m_pMain->MDIGetActive();
    CString title;
    pSecond->GetWindowText(title);
    EXPECT_EQ(ItemText(hWindow, 4), "&2 " + std::string(title));
    EXPECT_EQ(GetMenuItemID(hWindow, 3), static_cast<UINT>(AFX_IDM_FIRST_MDICHILD));
    EXPECT_EQ(GetMenuState(hWindow, 4, MF_BYPOSITION) & MF_CHECKED, MF_CHECKED);  // the active one
    EXPECT_EQ(GetMenuState(hWindow, 3, MF_BYPOSITION) & MF_CHECKED, 0u);

    m_pMain->SendMessage(WM_COMMAND, AFX_IDM_FIRST_MDICHILD, 0);
    CMDIChildWnd* pFirst = m_pMain->MDIGetActive();
    EXPECT_NE(pFirst, pSecond);
    EXPECT_EQ(GetMenuState(hWindow, 3, MF_BYPOSITION) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(GetMenuState(hWindow, 4, MF_BYPOSITION) & MF_CHECKED, 0u);

    pFirst->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(GetMenuItemCount(hWindow), 4);  // one child left
    m_app.CloseAllDocuments(FALSE);
    Pump();
    EXPECT_EQ(GetMenuItemCount(hWindow), 2);  // the list went with the last child
}

TEST_F(MenuFramesTest, OpeningAPopupUpdatesItsItemsThroughTheCommandRoute) {
    OpenDocument();
    HMENU hEdit = Popup("&Edit");
    ASSERT_NE(hEdit, nullptr);
    m_pMain->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hEdit), MAKELPARAM(1, FALSE));
    EXPECT_EQ(GetMenuState(hEdit, ID_EDIT_COPY, MF_BYCOMMAND) & MF_GRAYED, 0u);        // the view handles it
    EXPECT_EQ(GetMenuState(hEdit, ID_EDIT_CUT, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);  // nobody does
    EXPECT_EQ(GetMenuState(hEdit, ID_EDIT_PASTE, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(ItemText(hEdit, 2), "&Paste Twice");
    EXPECT_EQ(GetMenuItemID(hEdit, 2), static_cast<UINT>(ID_EDIT_PASTE));  // renamed, same command
    // The Window menu's own commands are enabled by the MDI frame while a child is open.
    HMENU hWindow = Popup("&Window");
    m_pMain->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hWindow), MAKELPARAM(2, FALSE));
    EXPECT_EQ(GetMenuState(hWindow, ID_WINDOW_CASCADE, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(GetMenuState(hWindow, AFX_IDM_FIRST_MDICHILD, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(MenuFramesTest, AltAndAnAccessKeyOpenAPopupAndReturnSendsTheItemsCommand) {
    OpenDocument();
    HWND hView = ::GetFocus();
    AltKey('E', 'e');
    HWND hPopup = PlatformGetOpenMenuPopup();
    ASSERT_NE(hPopup, nullptr);
    EXPECT_EQ(::GetFocus(), hPopup);
    EXPECT_EQ(::GetParent(hPopup), m_pMain->m_hWnd);
    // The popup was updated before it opened: Cut is disabled.
    EXPECT_EQ(GetMenuState(Popup("&Edit"), ID_EDIT_CUT, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    Key(VK_RETURN);  // Copy, the first item, is highlighted
    Pump();
    EXPECT_EQ(PlatformGetOpenMenuPopup(), nullptr);
    EXPECT_FALSE(::IsWindow(hPopup));
    EXPECT_EQ(g_commands, std::vector<UINT>{ID_EDIT_COPY});
    EXPECT_EQ(::GetFocus(), hView);  // the keyboard went back

    // Down moves over the disabled item, Return sends Paste; Escape sends nothing.
    AltKey('E', 'e');
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RETURN);
    Pump();
    AltKey('E', 'e');
    Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(PlatformGetOpenMenuPopup(), nullptr);
    EXPECT_EQ(g_commands, (std::vector<UINT>{ID_EDIT_COPY, ID_EDIT_PASTE}));
    // Return on a disabled item does nothing; the access key of an item in
    // an open popup chooses it.
    AltKey('E', 'e');
    Key(VK_DOWN);
    Key(VK_RETURN);
    Pump();
    EXPECT_NE(PlatformGetOpenMenuPopup(), nullptr);
    Key('C', 'c');
    Pump();
    EXPECT_EQ(PlatformGetOpenMenuPopup(), nullptr);
    EXPECT_EQ(g_commands, (std::vector<UINT>{ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_COPY}));
}

TEST_F(MenuFramesTest, ClicksOnTheBarAndOnAnItemSendTheItemsCommand) {
    HWND hBar = ChildById(m_pMain->m_hWnd, PLATFORM_MENUBAR_ID);
    CPoint help(60, PLATFORM_MENUBAR_HEIGHT / 2);  // "&File" is narrower than 55 pixels: this is "&Help"
    ::ClientToScreen(hBar, &help);
    Click(help);
    HWND hPopup = PlatformGetOpenMenuPopup();
    ASSERT_NE(hPopup, nullptr);
    CRect popup;
    ::GetWindowRect(hPopup, &popup);
    Click(CPoint(popup.left + 20, popup.top + 10));
    EXPECT_EQ(PlatformGetOpenMenuPopup(), nullptr);
    EXPECT_EQ(g_commands, std::vector<UINT>{ID_HELP_ABOUT});
    // A click outside closes the menu without a command.
    Click(help);
    ASSERT_NE(PlatformGetOpenMenuPopup(), nullptr);
    CRect frame;
    m_pMain->GetWindowRect(&frame);
    Click(CPoint(frame.right - 5, frame.bottom - 5));
    EXPECT_EQ(PlatformGetOpenMenuPopup(), nullptr);
    EXPECT_EQ(g_commands.size(), 1u);
}

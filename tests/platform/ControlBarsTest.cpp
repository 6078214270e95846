// Control bars in a frame as the application wizard makes them: the tool
// bar's buttons send their commands and follow their update handlers, the
// status bar shows prompts and key indicators, and RecalcLayout gives the
// bars their edges and the pane the rest.
#include <gtest/gtest.h>

#include <vector>

#include "platform/mfc/App.h"
#include "platform/mfc/ControlBars.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/StandardIds.h"
#include "platform/user/Input.h"

namespace {

enum : UINT { ID_DRAW_LINE = 300, ID_DRAW_BOX, ID_DRAW_GRID };

std::vector<UINT> g_commands;
bool g_boxEnabled = true;

// The tool bar resource: version 1, 16 x 15 images, five items with a
// separator.
const WORD kToolBarResource[] = {1, 16, 15, 5, ID_FILE_NEW, 0, ID_DRAW_LINE, ID_DRAW_BOX, ID_DRAW_GRID};

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

class CBarsView : public CView {
    DECLARE_DYNCREATE(CBarsView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CBarsView, CView)

class CBarsFrame : public CFrameWnd {
public:
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;

    // The string table's prompts: the text before "\n" is the status bar's.
    void GetMessageString(UINT nID, CString& rMessage) const override {
        if (nID == ID_DRAW_LINE)
            rMessage = "Draws a line";
        else
            CFrameWnd::GetMessageString(nID, rMessage);
    }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) {
        if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
        if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                                   WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY) ||
            !m_wndToolBar.PlatformLoadToolBarData(kToolBarResource, sizeof kToolBarResource))
            return -1;
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(kIndicators, 4)) return -1;
        m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndToolBar);
        return 0;
    }
    afx_msg void OnDraw(UINT nID) { g_commands.push_back(nID); }
    afx_msg void OnUpdateBox(CCmdUI* pCmdUI) { pCmdUI->Enable(g_boxEnabled); }
    afx_msg void OnUpdateGrid(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBarsFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND_RANGE(ID_DRAW_LINE, ID_DRAW_GRID, OnDraw)
ON_UPDATE_COMMAND_UI(ID_DRAW_BOX, OnUpdateBox)
ON_UPDATE_COMMAND_UI(ID_DRAW_GRID, OnUpdateGrid)
END_MESSAGE_MAP()

class ControlBarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_commands.clear();
        g_boxEnabled = true;
        AfxSetMessageBoxEcho(false);
        m_pFrame = new CBarsFrame;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CBarsView);
        ASSERT_TRUE(m_pFrame->LoadFrame(1, WS_OVERLAPPEDWINDOW, nullptr, &context));
        m_pFrame->ShowWindow(SW_SHOWNORMAL);
        m_app.m_pMainWnd = m_pFrame;
        PlatformPumpMessages();
    }
    void TearDown() override {
        if (::IsWindow(m_pFrame->m_hWnd)) m_pFrame->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
    }
    // The loop going idle: the bars update their items.
    void Idle() { m_app.OnIdle(0); }
    void ClickButton(int nIndex) {
        CRect item;
        m_pFrame->m_wndToolBar.GetItemRect(nIndex, &item);
        CPoint at((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        m_pFrame->m_wndToolBar.ClientToScreen(&at);
        PlatformInput in;
        in.message = WM_LBUTTONDOWN;
        in.pt = at;
        PlatformPostInput(m_pFrame->m_hWnd, in);
        in.message = WM_LBUTTONUP;
        PlatformPostInput(m_pFrame->m_hWnd, in);
        PlatformPumpMessages();
    }
    CRect PlaceOf(CWnd& wnd) {
        CRect rect;
        wnd.GetWindowRect(&rect);
        m_pFrame->ScreenToClient(&rect);
        return rect;
    }

    CWinApp m_app;
    CBarsFrame* m_pFrame = nullptr;
};

}  // namespace

TEST_F(ControlBarsTest, TheBarsTakeTheirEdgesAndTheViewTheRest) {
    CRect client;
    m_pFrame->GetClientRect(&client);
    CRect tool = PlaceOf(m_pFrame->m_wndToolBar);
    CRect status = PlaceOf(m_pFrame->m_wndStatusBar);
    CWnd* pView = m_pFrame->GetDlgItem(AFX_IDW_PANE_FIRST);
    ASSERT_NE(pView, nullptr);
    CRect view = PlaceOf(*pView);
    EXPECT_EQ(tool.TopLeft(), CPoint(0, 0));
    EXPECT_EQ(tool.Width(), client.Width());
    EXPECT_EQ(tool.Height(), 22 + 2 * 2);  // 16 x 15 images make 23 x 22 buttons
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.Width(), client.Width());
    EXPECT_EQ(view, CRect(0, tool.bottom, client.right, status.top));
    EXPECT_EQ(m_pFrame->GetControlBar(AFX_IDW_TOOLBAR), &m_pFrame->m_wndToolBar);
    EXPECT_EQ(m_pFrame->GetControlBar(AFX_IDW_STATUS_BAR), &m_pFrame->m_wndStatusBar);

    // Hiding the tool bar gives its room to the view; a menu bar goes above all.
    m_pFrame->ShowControlBar(&m_pFrame->m_wndToolBar, FALSE, FALSE);
    EXPECT_EQ(PlaceOf(*pView).top, 0);
    CMenu menu;
    menu.CreateMenu();
    menu.AppendMenu(MF_STRING, ID_DRAW_LINE, "&Line");
    m_pFrame->SetMenu(&menu);
    m_pFrame->ShowControlBar(&m_pFrame->m_wndToolBar, TRUE, FALSE);
    EXPECT_EQ(PlaceOf(m_pFrame->m_wndToolBar).top, PLATFORM_MENUBAR_HEIGHT);
    EXPECT_EQ(PlaceOf(*pView).top, PLATFORM_MENUBAR_HEIGHT + tool.Height());
    m_pFrame->SetMenu(nullptr);
}

TEST_F(ControlBarsTest, TheResourceGivesTheButtonsAndSeparators) {
    CToolBar& bar = m_pFrame->m_wndToolBar;
    ASSERT_EQ(bar.GetCount(), 5);
    UINT id = 0, style = 0;
    int image = 0;
    bar.GetButtonInfo(1, id, style, image);
    EXPECT_EQ(style & TBBS_SEPARATOR, TBBS_SEPARATOR);
    bar.GetButtonInfo(3, id, style, image);
    EXPECT_EQ(id, static_cast<UINT>(ID_DRAW_BOX));
    EXPECT_EQ(image, 2);  // separators take no image
    EXPECT_EQ(bar.CommandToIndex(ID_DRAW_GRID), 4);
    EXPECT_EQ(bar.CommandToIndex(12345), -1);
    // Layouts that are not a tool bar resource.
    const WORD badVersion[] = {2, 16, 15, 1, ID_FILE_NEW};
    const WORD shortIds[] = {1, 16, 15, 9, ID_FILE_NEW};
    CToolBar other;
    EXPECT_FALSE(other.PlatformLoadToolBarData(badVersion, sizeof badVersion));
    EXPECT_FALSE(other.PlatformLoadToolBarData(shortIds, sizeof shortIds));
    EXPECT_FALSE(other.PlatformLoadToolBarData(kToolBarResource, 6));
}

TEST_F(ControlBarsTest, AClickedButtonSendsItsCommandUnlessItsUpdateDisabledIt) {
    ClickButton(2);
    EXPECT_EQ(g_commands, std::vector<UINT>{ID_DRAW_LINE});
    g_boxEnabled = false;
    Idle();
    CToolBar& bar = m_pFrame->m_wndToolBar;
    EXPECT_EQ(bar.GetButtonStyle(3) & TBBS_DISABLED, TBBS_DISABLED);
    EXPECT_EQ(bar.GetButtonStyle(4) & TBBS_CHECKED, TBBS_CHECKED);
    EXPECT_EQ(bar.GetButtonStyle(2) & TBBS_DISABLED, 0u);  // a handler and no update handler
    ClickButton(3);
    EXPECT_EQ(g_commands.size(), 1u);
    g_boxEnabled = true;
    Idle();
    EXPECT_EQ(bar.GetButtonStyle(3) & TBBS_DISABLED, 0u);
    ClickButton(3);
    EXPECT_EQ(g_commands, (std::vector<UINT>{ID_DRAW_LINE, ID_DRAW_BOX}));
    // ID_FILE_NEW has no handler in this frame: disabled by the update.
    EXPECT_EQ(bar.GetButtonStyle(0) & TBBS_DISABLED, TBBS_DISABLED);
}

TEST_F(ControlBarsTest, TheMessagePaneShowsTextsAndMenuPrompts) {
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    ASSERT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.GetPaneText(0), CString("Ready"));  // from the start, before any menu
    EXPECT_EQ(bar.GetPaneStyle(0) & SBPS_STRETCH, SBPS_STRETCH);
    EXPECT_EQ(bar.GetPaneText(1), CString("CAP"));
    m_pFrame->SetMessageText("Saving...");
    EXPECT_EQ(bar.GetPaneText(0), CString("Saving..."));
    // A highlighted menu item shows its prompt; a closed menu, the idle message.
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_DRAW_LINE, MF_STRING), 1);
    EXPECT_EQ(bar.GetPaneText(0), CString("Draws a line"));
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), 1);
    EXPECT_EQ(bar.GetPaneText(0), CString(""));
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(bar.GetPaneText(0), CString("Ready"));
    // The message pane stretches: the indicators sit at the right edge.
    CRect client, last;
    bar.GetClientRect(&client);
    bar.GetItemRect(3, &last);
    EXPECT_GE(last.right, client.right - 4);
    EXPECT_LE(last.right, client.right);
}

TEST_F(ControlBarsTest, KeyIndicatorsFollowTheToggleKeys) {
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    Idle();
    bool capsOn = ::GetKeyState(VK_CAPITAL) & 1;
    EXPECT_EQ((bar.GetPaneStyle(1) & SBPS_DISABLED) == 0, capsOn);
    PlatformInput in;
    in.message = WM_KEYDOWN;
    in.vk = VK_CAPITAL;
    PlatformPostInput(m_pFrame->m_hWnd, in);
    in.message = WM_KEYUP;
    PlatformPostInput(m_pFrame->m_hWnd, in);
    PlatformPumpMessages();
    Idle();
    EXPECT_EQ((bar.GetPaneStyle(1) & SBPS_DISABLED) == 0, !capsOn);
}

TEST_F(ControlBarsTest, TheViewMenuShowsAndHidesTheBars) {
    CMenu popup;
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_STRING, ID_VIEW_TOOLBAR, "&Toolbar");
    popup.AppendMenu(MF_STRING, ID_VIEW_STATUS_BAR, "&Status Bar");
    auto state = [&](UINT nID) {
        m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), 0);
        return popup.GetMenuState(nID, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED);
    };
    EXPECT_EQ(state(ID_VIEW_TOOLBAR), static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(state(ID_VIEW_STATUS_BAR), static_cast<UINT>(MF_CHECKED));
    CWnd* pView = m_pFrame->GetDlgItem(AFX_IDW_PANE_FIRST);
    ASSERT_NE(pView, nullptr);
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(m_pFrame->m_wndToolBar.IsWindowVisible());
    EXPECT_EQ(PlaceOf(*pView).top, 0);
    EXPECT_EQ(state(ID_VIEW_TOOLBAR), 0u);
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(m_pFrame->m_wndToolBar.IsWindowVisible());
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(m_pFrame->m_wndStatusBar.IsWindowVisible());
    EXPECT_EQ(state(ID_VIEW_STATUS_BAR), 0u);
    // A frame without the bar leaves its item disabled.
    m_pFrame->m_wndStatusBar.DestroyWindow();
    EXPECT_EQ(state(ID_VIEW_STATUS_BAR), static_cast<UINT>(MF_GRAYED));
}

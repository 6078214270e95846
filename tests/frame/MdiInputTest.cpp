// The main frame's child frames under the mouse: a click activates one, its
// caption drags it, and the frame's placement follows what the display did.
#include <gtest/gtest.h>

#include "FrameHost.h"
#include "platform/user/Input.h"

namespace {

class MdiInputTest : public FrameTest {
protected:
    // Two note frames, the second one active.
    void OpenTwo() {
        ASSERT_NE(OpenMainFrame(), nullptr);
        OpenTwoNoteFrames(&n1, &n2);
        PlatformPumpMessages();
    }
    void Click(POINT at, UINT down = WM_LBUTTONDOWN) {
        PlatformInput in;
        in.message = down;
        in.pt = at;
        ASSERT_TRUE(PlatformPostInput(m_pMain->m_hWnd, in));
        in.message = down + 1;
        ASSERT_TRUE(PlatformPostInput(m_pMain->m_hWnd, in));
        PlatformPumpMessages();
    }
    HWND Frame(int n) { return m_pMain->GetFrame(n)->hWnd; }

    int n1 = 0, n2 = 0;
};

}  // namespace

TEST_F(MdiInputTest, AClickOnABackFrameActivatesItAndFocusesItsView) {
    OpenTwo();
    ASSERT_EQ(m_pMain->MDIGetActive()->m_hWnd, Frame(n2));
    CRect first, second;
    ::GetWindowRect(Frame(n1), &first);
    ::GetWindowRect(Frame(n2), &second);
    ASSERT_GT(second.left, first.left);  // cascaded: the first frame's left strip is its own
    Click(CPoint(first.left + 5, first.top + 60));
    EXPECT_EQ(m_pMain->MDIGetActive()->m_hWnd, Frame(n1));
    EXPECT_EQ(::GetParent(::GetFocus()), Frame(n1));  // its view has the keyboard
    EXPECT_EQ(::GetActiveWindow(), m_pMain->m_hWnd);
}

TEST_F(MdiInputTest, DraggingACaptionMovesTheFrameByTheDrag) {
    OpenTwo();
    CRect before;
    ::GetWindowRect(Frame(n2), &before);
    PlatformInput in;
    in.message = WM_LBUTTONDOWN;
    in.pt = POINT{before.left + 40, before.top + 8};
    PlatformPostInput(m_pMain->m_hWnd, in);
    in.message = WM_MOUSEMOVE;
    in.pt = POINT{before.left + 40 + 33, before.top + 8 + 21};
    PlatformPostInput(m_pMain->m_hWnd, in);
    in.message = WM_LBUTTONUP;
    PlatformPostInput(m_pMain->m_hWnd, in);
    PlatformPumpMessages();
    CRect after;
    ::GetWindowRect(Frame(n2), &after);
    EXPECT_EQ(after, CRect(before.left + 33, before.top + 21, before.right + 33, before.bottom + 21));
}

TEST_F(MdiInputTest, ASizeTheDisplayGaveIsSavedAndComesBack) {
    ASSERT_NE(OpenMainFrame(), nullptr);
    PlatformInput in;
    in.message = WM_WINDOWPOSCHANGED;
    in.rect = RECT{70, 80, 670, 580};
    PlatformPostInput(m_pMain->m_hWnd, in);
    PlatformPumpMessages();
    ASSERT_TRUE(CloseMainFrame());
    RestartApp();
    int nCmdShow = 0;
    ASSERT_NE(OpenMainFrame(&nCmdShow), nullptr);
    CRect rect;
    m_pMain->GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(70, 80, 670, 580));
}

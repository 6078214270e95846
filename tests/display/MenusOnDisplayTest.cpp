// The main frame's menu bar, tool bar and accelerators on a real X display,
// used with the keyboard and the mouse through XTEST.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "DisplayFrameTest.h"
#include "MenusOnDisplayIds.h"
#include "platform/mfc/ControlBars.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/Snapshot.h"
#include "platform/user/Input.h"

namespace {

class MenusOnDisplayTest : public DisplayFrameTest {
protected:
    // The main frame with a "&Shape" menu, the script's tool bar and
    // accelerators, on the screen; the commands that reach the frame are
    // recorded.
    void Open() {
        ASSERT_NE(OpenMainFrame(), nullptr);
        m_pMain->m_bAutoMenuEnable = FALSE;  // the commands' handler is not in a message map
        HMENU hShape = CreatePopupMenu();
        AppendMenuA(hShape, MF_STRING, ID_SHAPE_LINE, "&Line");
        AppendMenuA(hShape, MF_STRING, ID_SHAPE_BOX, "&Box\tCtrl+B");
        AppendMenuA(hShape, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(hShape, MF_STRING, ID_SHAPE_CIRCLE, "&Circle");
        HMENU hMenu = CreateMenu();
        AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hShape), "&Shape");
        m_menu.Attach(hMenu);
        m_pMain->SetMenu(&m_menu);
        ASSERT_TRUE(m_bar.CreateEx(m_pMain));
        ASSERT_TRUE(m_bar.LoadToolBar(IDR_SHAPES));
        ASSERT_TRUE(m_pMain->LoadAccelTable(MAKEINTRESOURCE(IDR_SHAPES)));
        m_pMain->RecalcLayout();
        m_previous = PlatformSetWindowProc(m_pMain->m_hWnd, [this](HWND hWnd, UINT message, WPARAM w, LPARAM l) {
            if (message == WM_COMMAND && LOWORD(w) >= ID_SHAPE_LINE && LOWORD(w) <= ID_SHAPE_CIRCLE) {
                m_commands.push_back(LOWORD(w));
                return LRESULT{0};
            }
            return m_previous(hWnd, message, w, l);
        });
        ASSERT_TRUE(display::RunUntil([this] { return PlatformIsOnScreen(m_pMain->m_hWnd) != 0; }));
    }
    void TearDown() override {
        if (m_pMain && ::IsWindow(m_pMain->m_hWnd)) ::SetMenu(m_pMain->m_hWnd, nullptr);
        DisplayFrameTest::TearDown();
    }
    void Screenshot(const char* name) {
        CRect r;
        m_pMain->GetWindowRect(&r);
        std::vector<uint32_t> screen = display::Grab(r);
        display::WritePng(screen, r.Width(), r.Height(), Posix(name));
        if (const char* dir = std::getenv("CBASIS_DISPLAY_SCREENSHOT_DIR"))
            display::WritePng(screen, r.Width(), r.Height(), std::string(dir) + "/" + name);
    }

    CMenu m_menu;
    CToolBar m_bar;
    WindowProc m_previous;
    std::vector<UINT> m_commands;
};

}  // namespace

TEST_F(MenusOnDisplayTest, AltAndALetterOpenAMenuAndReturnSendsTheItemsCommand) {
    Open();
    display::Key("Alt_L", true);
    display::Tap("s");
    display::Key("Alt_L", false);
    ASSERT_TRUE(display::RunUntil([] { return PlatformGetOpenMenuPopup() != nullptr; }));
    display::Tap("Down");
    display::RunUntil([] { return false; }, 300);  // the key's way through the loop
    ASSERT_TRUE(display::RunUntil([this] { return PlatformIsOnScreen(m_pMain->m_hWnd) != 0; }));
    Screenshot("menu-open.png");
    display::Tap("Return");
    ASSERT_TRUE(display::RunUntil([this] { return !m_commands.empty(); }));
    EXPECT_EQ(m_commands, std::vector<UINT>{ID_SHAPE_BOX});
    EXPECT_EQ(PlatformGetOpenMenuPopup(), nullptr);
}

TEST_F(MenusOnDisplayTest, AClickOnAToolBarButtonSendsItsCommand) {
    Open();
    CRect button;
    m_bar.GetItemRect(3, &button);
    m_bar.ClientToScreen(&button);
    display::Click((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ASSERT_TRUE(display::RunUntil([this] { return !m_commands.empty(); }));
    EXPECT_EQ(m_commands, std::vector<UINT>{ID_SHAPE_CIRCLE});
    Screenshot("toolbar.png");
}

TEST_F(MenusOnDisplayTest, TheToolBarsButtonsShowTheBitmapsImagesOnTheScreen) {
    Open();
    // The second image (on the third button) is a navy square with a
    // yellow centre, on the standard grey that becomes the button face.
    CRect button;
    m_bar.GetItemRect(2, &button);
    m_bar.ClientToScreen(&button);
    CPoint image(button.left + (button.Width() - 16) / 2, button.top + (button.Height() - 15) / 2);
    const struct {
        CPoint at;  // in the image
        COLORREF colour;
    } points[] = {{{7, 6}, RGB(255, 255, 0)}, {{4, 4}, RGB(0, 0, 128)}, {{0, 0}, GetSysColor(COLOR_BTNFACE)}};
    bool shown = display::RunUntil([&] {
        std::vector<uint32_t> screen = display::Grab(CRect(image, CSize(16, 15)));
        for (const auto& p : points) {
            uint32_t pixel = screen.size() == 16 * 15 ? screen[p.at.y * 16 + p.at.x] : 0;
            if (RGB(pixel >> 16, (pixel >> 8) & 0xFF, pixel & 0xFF) != p.colour) return false;
        }
        return true;
    });
    Screenshot("toolbar-images.png");
    EXPECT_TRUE(shown) << "the image's pixels are on the screen";
}

TEST_F(MenusOnDisplayTest, AnAcceleratorKeySendsItsCommand) {
    Open();
    display::Key("Control_L", true);
    display::Tap("b");
    display::Key("Control_L", false);
    ASSERT_TRUE(display::RunUntil([this] { return !m_commands.empty(); }));
    EXPECT_EQ(m_commands, std::vector<UINT>{ID_SHAPE_BOX});
    EXPECT_EQ(PlatformGetOpenMenuPopup(), nullptr) << "the key opens no menu";
}

// A modal dialog on a real X display: its own top-level window over a
// disabled main frame, driven with XTEST from a timer the dialog's own
// modal loop runs, as a user at the keyboard would drive it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "DisplayFrameTest.h"
#include "platform/dialogs/DialogTestIds.h"
#include "platform/mfc/Dialog.h"
#include "platform/user/EditCore.h"
#include "platform/user/Input.h"

namespace {

// The order form with its name exchanged, and a script of steps run one
// per timer tick while the dialog is up: a step returns false to be
// tried again at the next tick. A script not done within kTimeLimit ends
// the dialog with kTimedOut.
constexpr std::chrono::seconds kTimeLimit{10};
constexpr INT_PTR kTimedOut = -2;

class CNameDlg : public CDialog {
public:
    CNameDlg() : CDialog(IDD_ORDER) {}

    CString m_strName = "Ada";
    std::vector<std::function<bool(HWND)>> m_steps;

protected:
    BOOL OnInitDialog() override {
        BOOL result = CDialog::OnInitDialog();
        g_running = this;
        m_started = std::chrono::steady_clock::now();
        ::SetTimer(m_hWnd, 1, 50, [](HWND hDlg, UINT, UINT_PTR, DWORD) {
            CNameDlg* pDlg = g_running;
            if (!pDlg || pDlg->m_steps.empty()) return;
            if (std::chrono::steady_clock::now() - pDlg->m_started > kTimeLimit)
                ::EndDialog(hDlg, kTimedOut);
            else if (pDlg->m_steps.front()(hDlg))
                pDlg->m_steps.erase(pDlg->m_steps.begin());
        });
        return result;
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, m_strName); }

    std::chrono::steady_clock::time_point m_started;
    static inline CNameDlg* g_running = nullptr;
};

class DialogOnDisplayTest : public DisplayFrameTest {
protected:
    void SetUp() override {
        DisplayFrameTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_NE(OpenMainFrame(), nullptr);
        ASSERT_TRUE(display::RunUntil([this] { return PlatformIsOnScreen(m_pMain->m_hWnd) != 0; }));
        // Input that reaches the main frame or its MDI client is recorded.
        for (HWND hWnd : {m_pMain->m_hWnd, m_pMain->m_hWndMDIClient}) {
            auto pPrevious = std::make_shared<WindowProc>();
            *pPrevious = PlatformSetWindowProc(hWnd, [this, pPrevious](HWND h, UINT message, WPARAM w, LPARAM l) {
                if (message == WM_LBUTTONDOWN || message == WM_KEYDOWN || message == WM_CHAR)
                    m_ownerInput.push_back(message);
                return (*pPrevious)(h, message, w, l);
            });
        }
    }
    // The dialog's X window, once it is on the screen.
    static unsigned long DialogWindow(HWND hDlg) { return PlatformIsOnScreen(hDlg) ? display::FindWindow("Order") : 0; }
    void Screenshot(const RECT& r, const char* name) {
        std::vector<uint32_t> screen = display::Grab(r);
        display::WritePng(screen, r.right - r.left, r.bottom - r.top, Posix(name));
        if (const char* dir = std::getenv("CBASIS_DISPLAY_SCREENSHOT_DIR"))
            display::WritePng(screen, r.right - r.left, r.bottom - r.top, std::string(dir) + "/" + name);
    }

    std::vector<UINT> m_ownerInput;
};

}  // namespace

// The dialog is a top-level window of its own, found by its title; while it
// is up the main frame is disabled and a click and keys on it change
// nothing; text typed goes to the focused edit and comes back through
// DDX; Return is the default button's (IDOK).
TEST_F(DialogOnDisplayTest, ModalDialogTakesTheInputAndReturnEndsItWithOk) {
    CNameDlg dlg;
    bool ownerDisabled = false;
    RECT frame{}, dialog{};
    dlg.m_steps = {
        [&](HWND hDlg) {
            unsigned long x = DialogWindow(hDlg);
            if (!x) return false;
            dialog = display::WindowRect(x);
            ::GetWindowRect(m_pMain->m_hWnd, &frame);
            ownerDisabled = !::IsWindowEnabled(m_pMain->m_hWnd);
            Screenshot(dialog, "dialog-order.png");
            Screenshot(RECT{0, 0, std::max(frame.right, dialog.right), std::max(frame.bottom, dialog.bottom)},
                       "dialog-over-frame.png");
            // A click and a key where the frame shows beside the dialog.
            POINT beside{frame.right - 20, frame.bottom - 20};
            EXPECT_FALSE(beside.x < dialog.right && beside.y < dialog.bottom);
            display::Click(beside.x, beside.y);
            display::Tap("x");
            return true;
        },
        [&](HWND hDlg) {
            // A click in the name field, its text selected: typing replaces it.
            RECT name;
            ::GetWindowRect(::GetDlgItem(hDlg, IDC_NAME), &name);
            display::Click(name.left + 5, name.top + 5);
            return true;
        },
        [&](HWND hDlg) {
            if (::GetFocus() != ::GetDlgItem(hDlg, IDC_NAME)) return false;
            ::SendDlgItemMessageA(hDlg, IDC_NAME, EM_SETSEL, 0, -1);
            for (const char* key : {"g", "r", "a", "c", "e"}) display::Tap(key);
            return true;
        },
        [&](HWND hDlg) {
            char text[16] = "";
            ::GetDlgItemTextA(hDlg, IDC_NAME, text, sizeof text);
            if (std::string(text) != "grace") return false;
            display::Tap("Return");
            return true;
        },
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.m_steps.empty());
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(m_pMain->m_hWnd));
    EXPECT_TRUE(m_ownerInput.empty());
    EXPECT_EQ(dlg.m_strName, "grace");
    // Its own top-level window, not a part of the frame's.
    EXPECT_FALSE(dialog.left >= frame.left && dialog.right <= frame.right && dialog.top >= frame.top &&
                 dialog.bottom <= frame.bottom && dialog.right - dialog.left == frame.right - frame.left);
    EXPECT_GT(dialog.right - dialog.left, 0);
}

// Escape is Cancel: the dialog ends with IDCANCEL and the members keep
// their values.
TEST_F(DialogOnDisplayTest, EscapeEndsItWithCancel) {
    CNameDlg dlg;
    dlg.m_steps = {
        [](HWND hDlg) {
            if (!DialogWindow(hDlg)) return false;
            RECT name;
            ::GetWindowRect(::GetDlgItem(hDlg, IDC_NAME), &name);
            display::Click(name.left + 5, name.top + 5);
            display::Tap("z");
            display::Tap("Escape");
            return true;
        },
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_strName, "Ada");
}

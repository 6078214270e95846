// Message-map entries for registered messages and WM_NOTIFY, and windows of
// classes made by AfxRegisterWndClass.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc/Wnd.h"

namespace {

std::vector<std::string> g_calls;

const UINT kWmSketchPing = RegisterWindowMessageA("Sketch.Ping");
const UINT kWmSketchPong = RegisterWindowMessageA("Sketch.Pong");

constexpr UINT ID_LIST = 7;
constexpr UINT kNmFirstCode = 0u - 100u;  // notification codes are negative numbers
constexpr UINT kNmOtherCode = 0u - 101u;

class CPanelBase : public CWnd {
protected:
    afx_msg LRESULT OnPong(WPARAM w, LPARAM) {
        g_calls.push_back("base pong " + std::to_string(w));
        return 2;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPanelBase, CWnd)
ON_REGISTERED_MESSAGE(kWmSketchPong, OnPong)
END_MESSAGE_MAP()

class CPanel : public CPanelBase {
protected:
    afx_msg LRESULT OnPing(WPARAM w, LPARAM l) {
        g_calls.push_back("ping " + std::to_string(w) + " " + std::to_string(l));
        return 1;
    }
    afx_msg void OnListNotify(NMHDR* pNMHDR, LRESULT* pResult) {
        g_calls.push_back("notify from " + std::to_string(pNMHDR->idFrom));
        *pResult = 42;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPanel, CPanelBase)
ON_REGISTERED_MESSAGE(kWmSketchPing, OnPing)
ON_NOTIFY(kNmFirstCode, ID_LIST, OnListNotify)
END_MESSAGE_MAP()

class MessageMapEntriesTest : public ::testing::Test {
protected:
    void SetUp() override { g_calls.clear(); }
};

}  // namespace

TEST_F(MessageMapEntriesTest, RegisteredNamesGetOneNumberEachInTheirRange) {
    EXPECT_GE(kWmSketchPing, 0xC000u);
    EXPECT_LE(kWmSketchPing, 0xFFFFu);
    EXPECT_NE(kWmSketchPing, kWmSketchPong);
    EXPECT_EQ(RegisterWindowMessageA("SKETCH.PING"), kWmSketchPing);  // names compare without case
    EXPECT_EQ(RegisterWindowMessageA(""), 0u);
    EXPECT_EQ(RegisterWindowMessageA(nullptr), 0u);
}

TEST_F(MessageMapEntriesTest, RegisteredMessagesReachTheirHandlersAndTheBaseMaps) {
    CPanel panel;
    ASSERT_TRUE(panel.CreateEx(0, nullptr, "panel", 0, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(panel.SendMessage(kWmSketchPing, 3, 4), 1);
    EXPECT_EQ(panel.SendMessage(kWmSketchPong, 5), 2);
    // A registered number no entry names goes to the default procedure.
    EXPECT_EQ(panel.SendMessage(RegisterWindowMessageA("Sketch.Unheard"), 1, 1), 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"ping 3 4", "base pong 5"}));
    panel.DestroyWindow();
}

TEST_F(MessageMapEntriesTest, NotificationsGoByCodeAndControlIdAndReturnTheHandlersResult) {
    CPanel panel;
    ASSERT_TRUE(panel.CreateEx(0, nullptr, "panel", 0, 0, 0, 50, 50, nullptr, nullptr));
    CWnd list;
    ASSERT_TRUE(list.Create(nullptr, "list", WS_CHILD, CRect(0, 0, 10, 10), &panel, ID_LIST));
    CWnd other;
    ASSERT_TRUE(other.Create(nullptr, "other", WS_CHILD, CRect(0, 0, 10, 10), &panel, ID_LIST + 1));

    const struct {
        const char* name;
        HWND hwndFrom;
        UINT_PTR idFrom;
        UINT code;
        LRESULT result;
    } cases[] = {
        {"the mapped code from the mapped control", list.m_hWnd, ID_LIST, kNmFirstCode, 42},
        {"another code from that control", list.m_hWnd, ID_LIST, kNmOtherCode, 0},
        {"the code from another control", other.m_hWnd, ID_LIST + 1, kNmFirstCode, 0},
        // The sender's window decides its id, whatever idFrom says.
        {"a sender whose idFrom lies", other.m_hWnd, ID_LIST, kNmFirstCode, 0},
        {"no sender window: idFrom decides", nullptr, ID_LIST, kNmFirstCode, 42},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_calls.clear();
        NMHDR hdr{c.hwndFrom, c.idFrom, c.code};
        EXPECT_EQ(panel.SendMessage(WM_NOTIFY, c.idFrom, reinterpret_cast<LPARAM>(&hdr)), c.result);
        EXPECT_EQ(g_calls.size(), c.result ? 1u : 0u);
    }
    EXPECT_EQ(panel.SendMessage(WM_NOTIFY, ID_LIST, 0), 0);  // no header: nothing to route
    panel.DestroyWindow();
}

TEST_F(MessageMapEntriesTest, RegisteredWindowClassesAreNamedByTheirAttributesAndServeMessageMaps) {
    std::string plain = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW);
    EXPECT_EQ(plain.rfind("Afx:", 0), 0u);
    EXPECT_EQ(plain, AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW));  // registered once, same name
    auto hBrush = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(0x10));
    std::string brushed = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr, hBrush);
    EXPECT_NE(brushed, plain);
    EXPECT_NE(brushed.find(":10:"), std::string::npos) << brushed;
    EXPECT_TRUE(PlatformNewClassProc(plain.c_str()));
    EXPECT_TRUE(PlatformNewClassProc(brushed.c_str()));

    CPanel panel;
    ASSERT_TRUE(panel.CreateEx(0, AfxRegisterWndClass(0), "panel", 0, 0, 0, 50, 50, nullptr, nullptr));
    EXPECT_EQ(panel.SendMessage(kWmSketchPing, 1, 2), 1);
    CString text;
    panel.GetWindowText(text);
    EXPECT_EQ(text, "panel");  // the rest reaches DefWindowProcA through the class
    panel.DestroyWindow();
}

// The edit control as a user drives it: typing, the caret keys, selection
// with Shift and with the mouse, and what it paints.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/TextMetrics.h"
#include "platform/user/EditCore.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"

namespace {

class EditTypingTest : public ::testing::Test {
protected:
    void SetUp() override {
        hTop = PlatformCreateWindowEx(DefWindowProcA, 0, "Test", "", WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr,
                                      nullptr);
        hEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 10, 10, 300, 200, hTop, nullptr,
                                nullptr, nullptr);
        ASSERT_NE(hEdit, nullptr);
    }
    void TearDown() override {
        DestroyWindow(hTop);
        PlatformPumpMessages();
    }
    void Send(PlatformInput in) { ASSERT_TRUE(PlatformPostInput(hTop, in)); }
    void Key(UINT vk, char ch = 0, bool down = true) {
        PlatformInput in;
        in.message = down ? WM_KEYDOWN : WM_KEYUP;
        in.vk = vk;
        in.ch = ch;
        Send(in);
        if (down && vk != VK_SHIFT) Key(vk, 0, false);
    }
    void Type(const std::string& text) {
        for (char c : text) Key(static_cast<UINT>(std::toupper(static_cast<unsigned char>(c))), c);
    }
    // Client point of the edit control at (x, y), in screen coordinates.
    void Mouse(UINT message, int x, int y) {
        PlatformInput in;
        in.message = message;
        in.pt = POINT{100 + 10 + x, 100 + 10 + y};
        Send(in);
    }
    static void Loop() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    std::string Text() const {
        char buffer[256];
        GetWindowTextA(hEdit, buffer, sizeof buffer);
        return buffer;
    }
    std::pair<DWORD, DWORD> Sel() const {
        DWORD start = 0, end = 0;
        SendMessageA(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    static int Width(const char* text) {
        SIZE size;
        GetTextExtentPoint32A(nullptr, text, static_cast<int>(std::string(text).size()), &size);
        return size.cx;
    }

    HWND hTop = nullptr;
    HWND hEdit = nullptr;
};

}  // namespace

TEST_F(EditTypingTest, TypedTextAndTheCaretKeysEditAtTheCaret) {
    Mouse(WM_LBUTTONDOWN, 5, 5);
    Mouse(WM_LBUTTONUP, 5, 5);
    Loop();
    ASSERT_EQ(GetFocus(), hEdit);  // a click gives it the focus
    Type("ab");
    Key(VK_RETURN, '\r');
    Type("cd");
    Loop();
    EXPECT_EQ(Text(), "ab\r\ncd");
    struct Step {
        UINT vk;
        bool shift;
        std::pair<DWORD, DWORD> sel;
        const char* what;
    };
    const Step steps[] = {
        {VK_HOME, false, {4, 4}, "Home: the start of the line"},
        {VK_END, true, {4, 6}, "Shift+End selects to the end of the line"},
        {VK_LEFT, false, {4, 4}, "Left collapses the selection to its start"},
        {VK_LEFT, false, {2, 2}, "Left over a line end steps over both its bytes"},
        {VK_DOWN, false, {6, 6}, "Down keeps the column"},
        {VK_UP, false, {2, 2}, "and Up too"},
        {VK_HOME, false, {0, 0}, "Home on the first line"},
        {VK_RIGHT, true, {0, 1}, "Shift+Right extends"},
        {VK_DOWN, true, {0, 5}, "Shift+Down extends to the next line"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.shift) Key(VK_SHIFT);
        Key(step.vk);
        if (step.shift) Key(VK_SHIFT, 0, false);
        Loop();
        EXPECT_EQ(Sel(), step.sel);
    }
    Key(VK_BACK, '\b');  // deletes the selection
    Loop();
    EXPECT_EQ(Text(), "d");
    Key(VK_DELETE);
    Loop();
    EXPECT_EQ(Text(), "");
}

TEST_F(EditTypingTest, TheMouseSelectsAndShiftClickExtends) {
    SetWindowTextA(hEdit, "hello world");
    int five = 2 + Width("hello");
    Mouse(WM_LBUTTONDOWN, 3, 5);
    Mouse(WM_MOUSEMOVE, five, 6);
    Mouse(WM_LBUTTONUP, five, 6);
    Loop();
    EXPECT_EQ(Sel(), std::make_pair(DWORD(0), DWORD(5)));
    EXPECT_EQ(GetCapture(), nullptr);
    Key(VK_SHIFT);
    Mouse(WM_LBUTTONDOWN, 2 + Width("hello wor"), 5);
    Mouse(WM_LBUTTONUP, 2 + Width("hello wor"), 5);
    Key(VK_SHIFT, 0, false);
    Loop();
    EXPECT_EQ(Sel(), std::make_pair(DWORD(0), DWORD(9)));
    SendMessageA(hEdit, EM_SETREADONLY, TRUE, 0);
    Type("x");
    Loop();
    EXPECT_EQ(Text(), "hello world");  // read-only takes no text
}

TEST_F(EditTypingTest, ItPaintsItsTextSelectionAndCaret) {
    SetWindowTextA(hEdit, "abc");
    SetFocus(hEdit);
    SendMessageA(hEdit, EM_SETSEL, 1, 2);
    UpdateWindow(hEdit);
    bool text = false, highlight = false, caret = false;
    for (const PlatformDrawing& op : PlatformGetWindowDrawing(hEdit)) {
        if (op.kind == PlatformDrawing::Kind::text && op.text == "b") highlight = op.color == GetSysColor(COLOR_HIGHLIGHTTEXT);
        if (op.kind == PlatformDrawing::Kind::text && op.text == "a") text = true;
        if (op.kind == PlatformDrawing::Kind::fill && op.rect.right - op.rect.left == 1 &&
            op.rect.left == 2 + Width("ab"))
            caret = true;
    }
    EXPECT_TRUE(text);
    EXPECT_TRUE(highlight);
    EXPECT_TRUE(caret);
}

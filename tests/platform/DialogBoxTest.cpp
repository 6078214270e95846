// The dialog manager with templates the resource compiler made: the
// controls a template describes, keyboard navigation, the controls'
// messages and notifications, the modal loop without a screen, and
// templates that lie about their size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/DialogSupport.h"
#include "platform/crt/Crt.h"
#include "platform/gdi/TextMetrics.h"
#include "platform/user/Controls.h"
#include "platform/user/DialogTemplate.h"
#include "platform/user/EditCore.h"
#include "support/FontUnits.h"

using crt::_stricmp;
using dialogs::PressKey;
using dialogs::Pump;

namespace {

struct Command {
    int id;
    int code;
};

// Every WM_COMMAND the dialog procedure sees, and what it answers.
std::vector<Command> g_commands;
INT_PTR g_endOn = 0;  // ends the dialog with the command of that id

INT_PTR CALLBACK_Record(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return FALSE;
    g_commands.push_back(Command{LOWORD(wParam), HIWORD(wParam)});
    if (g_endOn && (LOWORD(wParam) == g_endOn || LOWORD(wParam) == IDCANCEL)) EndDialog(hDlg, LOWORD(wParam));
    return TRUE;
}

class DialogBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_commands.clear();
        g_endOn = 0;
        m_order = dialogs::Template(IDD_ORDER);
        ASSERT_FALSE(m_order.empty());
        m_owner =
            CreateWindowExA(0, "Static", "owner", WS_VISIBLE, 100, 100, 600, 500, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        PlatformSetDialogResponder({});
        if (IsWindow(m_dlg)) DestroyWindow(m_dlg);
        DestroyWindow(m_owner);
        PlatformPumpMessages();
    }
    HWND Open() {
        m_dlg = CreateDialogIndirectParamA(nullptr, dialogs::AsTemplate(m_order), m_owner, CALLBACK_Record, 0);
        ShowWindow(m_dlg, SW_SHOWNORMAL);
        Pump(m_dlg);
        return m_dlg;
    }
    HWND Item(int id) const { return GetDlgItem(m_dlg, id); }
    bool Saw(int id, int code) const {
        for (const Command& c : g_commands)
            if (c.id == id && c.code == code) return true;
        return false;
    }

    std::vector<BYTE> m_order;
    HWND m_owner = nullptr;
    HWND m_dlg = nullptr;
};

std::string ClassOf(HWND hWnd) {
    char name[32] = "";
    GetClassNameA(hWnd, name, sizeof name);
    return name;
}

}  // namespace

// Each item becomes a child of its class with its id and style, placed in
// pixels from dialog units of the dialog's font (DialogFontTest checks that
// font); the dialog sits at its offset from the owner's client origin with
// the template's size.
TEST_F(DialogBoxTest, TemplateItemsBecomeControlsPlacedInDialogUnits) {
    ASSERT_TRUE(Open());
    SIZE base = support::FontBaseUnits(support::FontOf(m_dlg));
    int bx = base.cx, by = base.cy;
    auto px = [&](int x) { return (x * bx + 2) / 4; };
    auto py = [&](int y) { return (y * by + 4) / 8; };
    RECT dlg;
    GetWindowRect(m_dlg, &dlg);
    EXPECT_EQ(dlg.left, 100 + px(10));
    EXPECT_EQ(dlg.top, 100 + py(20));
    EXPECT_EQ(dlg.right - dlg.left, px(220));
    EXPECT_EQ(dlg.bottom - dlg.top, py(180));
    char title[32];
    GetWindowTextA(m_dlg, title, sizeof title);
    EXPECT_STREQ(title, "Order");

    struct Expected {
        int id;
        const char* className;
        DWORD style;  // bits that must be set
        int x, y, cx, cy;
        const char* text;
    };
    const Expected table[] = {
        {IDC_NAME_LABEL, "Static", WS_CHILD | WS_VISIBLE | WS_GROUP, 7, 9, 40, 8, "&Name:"},
        {IDC_NAME, "Edit", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 50, 7, 100, 14, ""},
        {IDC_GIFT, "Button", WS_TABSTOP | BS_AUTOCHECKBOX, 100, 27, 60, 10, "&Gift wrap"},
        {IDC_SIZE_GROUP, "Button", BS_GROUPBOX, 7, 42, 80, 50, "Size"},
        {IDC_SMALL, "Button", WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 14, 54, 60, 10, "&Small"},
        {IDC_COLOURS, "ListBox", LBS_SORT | LBS_NOTIFY | WS_VSCROLL, 95, 42, 60, 50, ""},
        {IDOK, "Button", WS_GROUP | BS_DEFPUSHBUTTON, 50, 159, 50, 14, "OK"},
        {IDC_APPLY, "Button", WS_TABSTOP, 160, 159, 50, 14, "&Apply"},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.id);
        HWND h = Item(e.id);
        ASSERT_TRUE(h);
        EXPECT_EQ(GetParent(h), m_dlg);
        EXPECT_EQ(GetDlgCtrlID(h), e.id);
        EXPECT_EQ(_stricmp(ClassOf(h).c_str(), e.className), 0) << ClassOf(h);
        DWORD style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
        EXPECT_EQ(style & e.style, e.style);
        RECT r;
        GetWindowRect(h, &r);
        EXPECT_EQ(r.left - dlg.left, px(e.x));
        EXPECT_EQ(r.top - dlg.top, py(e.y));
        EXPECT_EQ(r.right - r.left, px(e.cx));
        EXPECT_EQ(r.bottom - r.top, py(e.cy));
        char text[32];
        GetWindowTextA(h, text, sizeof text);
        EXPECT_STREQ(text, e.text);
    }
    // A combo box keeps its field's height; the template's is its open list's.
    RECT combo;
    GetWindowRect(Item(IDC_SHAPE), &combo);
    EXPECT_LT(combo.bottom - combo.top, py(60));
    RECT mapped{4, 8, 8, 16};
    ASSERT_TRUE(MapDialogRect(m_dlg, &mapped));
    EXPECT_EQ(mapped.left, bx);
    EXPECT_EQ(mapped.bottom, 2 * by);
    EXPECT_FALSE(MapDialogRect(m_owner, &mapped));
}

// The About box's extended template: its font, its icon by ordinal (kept
// as an empty text) and a default button.
TEST_F(DialogBoxTest, ExtendedTemplateKeepsFontAndIconOrdinal) {
    std::vector<BYTE> about = dialogs::Template(IDD_ABOUTBOX);
    platform::DialogTemplate t;
    ASSERT_TRUE(platform::ParseDialogTemplate(about.data(), about.size(), &t));
    EXPECT_TRUE(t.extended);
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.face, "MS Shell Dlg");
    EXPECT_EQ(t.title, "About Demo");
    ASSERT_EQ(t.items.size(), 4u);
    EXPECT_EQ(t.items[0].className.ordinal, 0x0082);
    EXPECT_EQ(t.items[0].title.ordinal, 128);
    EXPECT_EQ(static_cast<int>(static_cast<short>(t.items[0].id)), -1);
    EXPECT_EQ(t.items[3].id, static_cast<DWORD>(IDOK));
}

// Every shortened copy of a real template fails without a window made, as
// do counts and sizes the bytes cannot hold; only the whole one succeeds.
TEST_F(DialogBoxTest, TruncatedAndLyingTemplatesFailCleanly) {
    size_t windowsBefore = 0;
    for (HWND h = GetWindow(m_owner, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT)) ++windowsBefore;
    for (size_t size = 0; size < m_order.size(); ++size) {
        SCOPED_TRACE(size);
        std::vector<BYTE> part(m_order.begin(), m_order.begin() + static_cast<long>(size));
        ASSERT_EQ(PlatformCreateDialog(part.data(), part.size(), m_owner, nullptr, 0), nullptr);
    }
    size_t windowsAfter = 0;
    for (HWND h = GetWindow(m_owner, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT)) ++windowsAfter;
    EXPECT_EQ(windowsAfter, windowsBefore);

    std::vector<BYTE> lying = m_order;
    lying[8] = 0xFF;  // the item count, far beyond the bytes
    lying[9] = 0xFF;
    EXPECT_EQ(PlatformCreateDialog(lying.data(), lying.size(), m_owner, nullptr, 0), nullptr);
    // An unknown class name fails the dialog.
    platform::DialogTemplate t;
    std::vector<BYTE> whole = m_order;
    HWND h = PlatformCreateDialog(whole.data(), whole.size(), m_owner, nullptr, 0);
    ASSERT_TRUE(h);
    DestroyWindow(h);
    EXPECT_FALSE(platform::ParseDialogTemplate(nullptr, 10, &t));
}

// Tab and Shift+Tab visit the visible, enabled tab stops in order and wrap;
// entering the radio group lands on its checked button; arrows move within
// the group and check automatic radio buttons.
TEST_F(DialogBoxTest, TabShiftTabAndArrowsMoveTheFocus) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(GetFocus(), Item(IDC_NAME));  // the first tab stop
    CheckRadioButton(m_dlg, IDC_SMALL, IDC_LARGE, IDC_MEDIUM);
    const int forward[] = {IDC_COUNT, IDC_GIFT, IDC_MEDIUM, IDC_COLOURS, IDC_SHAPE, IDC_CITY,
                           IDC_RATIO, IDOK,     IDCANCEL,   IDC_APPLY,   IDC_NAME};
    for (int id : forward) {
        SCOPED_TRACE(id);
        PressKey(m_dlg, VK_TAB);
        Pump(m_dlg);
        HWND hFocus = GetFocus();
        if (id == IDC_CITY) hFocus = GetParent(hFocus);  // the combo's edit field
        EXPECT_EQ(hFocus, Item(id));
    }
    PressKey(m_dlg, VK_TAB, VK_SHIFT);
    Pump(m_dlg);
    EXPECT_EQ(GetFocus(), Item(IDC_APPLY));

    SendMessageA(m_dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_MEDIUM)), TRUE);
    PressKey(m_dlg, VK_DOWN);
    Pump(m_dlg);
    EXPECT_EQ(GetFocus(), Item(IDC_LARGE));
    EXPECT_EQ(IsDlgButtonChecked(m_dlg, IDC_LARGE), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(m_dlg, IDC_MEDIUM), static_cast<UINT>(BST_UNCHECKED));
    PressKey(m_dlg, VK_DOWN);  // wraps within the group, not into the list
    Pump(m_dlg);
    EXPECT_EQ(GetFocus(), Item(IDC_SMALL));
    EXPECT_TRUE(Saw(IDC_SMALL, BN_CLICKED));
    EXPECT_EQ(GetNextDlgGroupItem(m_dlg, Item(IDC_SMALL), TRUE), Item(IDC_LARGE));
}

// Return clicks the default button (or the focused push button), Escape
// sends IDCANCEL, Alt and a letter clicks or focuses its control.
TEST_F(DialogBoxTest, ReturnEscapeAndMnemonicsSendTheirCommands) {
    ASSERT_TRUE(Open());
    PressKey(m_dlg, VK_RETURN);
    PressKey(m_dlg, VK_ESCAPE);
    Pump(m_dlg);
    ASSERT_EQ(g_commands.size(), 2u);
    EXPECT_EQ(g_commands[0].id, IDOK);
    EXPECT_EQ(g_commands[1].id, IDCANCEL);

    SendMessageA(m_dlg, DM_SETDEFID, IDC_APPLY, 0);
    EXPECT_EQ(SendMessageA(m_dlg, DM_GETDEFID, 0, 0), MAKELONG(IDC_APPLY, DC_HASDEFID));
    EXPECT_EQ(GetWindowLongA(Item(IDOK), GWL_STYLE) & BS_TYPEMASK, static_cast<LONG>(BS_PUSHBUTTON));
    g_commands.clear();
    PressKey(m_dlg, VK_RETURN);
    Pump(m_dlg);
    EXPECT_TRUE(Saw(IDC_APPLY, BN_CLICKED));
    SendMessageA(m_dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDCANCEL)), TRUE);
    g_commands.clear();
    PressKey(m_dlg, VK_RETURN);  // on a push button, Return is that button's
    Pump(m_dlg);
    EXPECT_TRUE(Saw(IDCANCEL, BN_CLICKED));

    g_commands.clear();
    PressKey(m_dlg, 'G', VK_MENU);
    PressKey(m_dlg, 'N', VK_MENU);
    Pump(m_dlg);
    EXPECT_EQ(IsDlgButtonChecked(m_dlg, IDC_GIFT), static_cast<UINT>(BST_CHECKED));
    EXPECT_TRUE(Saw(IDC_GIFT, BN_CLICKED));
    EXPECT_EQ(GetFocus(), Item(IDC_NAME));  // the label's control
}

// A disabled default button takes no Return; a hidden control is no tab stop.
TEST_F(DialogBoxTest, DisabledAndHiddenControlsAreSkipped) {
    ASSERT_TRUE(Open());
    EnableWindow(Item(IDOK), FALSE);
    PressKey(m_dlg, VK_RETURN);
    Pump(m_dlg);
    EXPECT_FALSE(Saw(IDOK, BN_CLICKED));
    EXPECT_EQ(GetNextDlgTabItem(m_dlg, Item(IDC_RATIO), FALSE), Item(IDCANCEL));
    EXPECT_EQ(GetNextDlgTabItem(m_dlg, Item(IDCANCEL), TRUE), Item(IDC_RATIO));
}

// Buttons, edits, lists and combos tell the dialog what the user did.
TEST_F(DialogBoxTest, ControlsNotifyTheDialog) {
    ASSERT_TRUE(Open());
    HWND hName = Item(IDC_NAME);
    SetFocus(hName);
    PlatformInput in;
    in.message = WM_KEYDOWN;
    in.vk = 'A';
    PlatformPostInput(m_dlg, in);
    Pump(m_dlg);
    EXPECT_TRUE(Saw(IDC_NAME, EN_CHANGE));

    HWND hList = Item(IDC_COLOURS);
    for (const char* colour : {"red", "Green", "blue"})
        SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(colour));
    RECT r;
    GetWindowRect(hList, &r);
    in = PlatformInput();
    in.message = WM_LBUTTONDOWN;
    in.pt = POINT{r.left + 5, r.top + 1 + PLATFORM_LINE_HEIGHT + 4};  // the second row
    PlatformPostInput(m_dlg, in);
    in.message = WM_LBUTTONUP;
    PlatformPostInput(m_dlg, in);
    Pump(m_dlg);
    EXPECT_TRUE(Saw(IDC_COLOURS, LBN_SELCHANGE));
    EXPECT_EQ(SendMessageA(hList, LB_GETCURSEL, 0, 0), 1);  // "Green", sorted after "blue"

    HWND hShape = Item(IDC_SHAPE);
    for (const char* shape : {"square", "circle"})
        SendMessageA(hShape, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shape));
    SendMessageA(m_dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hShape), TRUE);
    PressKey(m_dlg, VK_DOWN);
    Pump(m_dlg);
    EXPECT_TRUE(Saw(IDC_SHAPE, CBN_SELCHANGE));
    char text[16];
    GetWindowTextA(hShape, text, sizeof text);
    EXPECT_STREQ(text, "circle");

    GetWindowRect(Item(IDC_GIFT), &r);
    in = PlatformInput();
    in.message = WM_LBUTTONDOWN;
    in.pt = POINT{r.left + 3, r.top + 3};
    PlatformPostInput(m_dlg, in);
    in.message = WM_LBUTTONUP;
    PlatformPostInput(m_dlg, in);
    Pump(m_dlg);
    EXPECT_TRUE(Saw(IDC_GIFT, BN_CLICKED));
    EXPECT_EQ(IsDlgButtonChecked(m_dlg, IDC_GIFT), static_cast<UINT>(BST_CHECKED));
}

// The list messages as the original's list box and combo box answer them.
TEST_F(DialogBoxTest, ListAndComboMessages) {
    ASSERT_TRUE(Open());
    for (UINT base : {0u, 1u}) {
        HWND h = Item(base ? IDC_SHAPE : IDC_COLOURS);
        SCOPED_TRACE(base ? "combo" : "list");
        auto send = [&](UINT lb, UINT cb, WPARAM w, LPARAM l) { return SendMessageA(h, base ? cb : lb, w, l); };
        auto add = [&](const char* s) { return send(LB_ADDSTRING, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s)); };
        EXPECT_EQ(add("pear"), 0);
        EXPECT_EQ(add("Apple"), 0);  // sorted, without regard to case
        EXPECT_EQ(add("banana"), 1);
        EXPECT_EQ(add("apple"), 1);  // after the equal one
        EXPECT_EQ(send(LB_GETCOUNT, CB_GETCOUNT, 0, 0), 4);
        EXPECT_EQ(send(LB_GETCURSEL, CB_GETCURSEL, 0, 0), -1);
        EXPECT_EQ(send(LB_SETCURSEL, CB_SETCURSEL, 9, 0), -1);
        EXPECT_EQ(send(LB_SELECTSTRING, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("BAN")), 2);
        EXPECT_EQ(send(LB_GETCURSEL, CB_GETCURSEL, 0, 0), 2);
        EXPECT_EQ(send(LB_GETTEXTLEN, CB_GETLBTEXTLEN, 3, 0), 4);
        char text[16] = "";
        EXPECT_EQ(send(LB_GETTEXT, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(text)), 4);
        EXPECT_STREQ(text, "pear");
        EXPECT_EQ(send(LB_GETTEXT, CB_GETLBTEXT, 4, reinterpret_cast<LPARAM>(text)), -1);
        // A find starts after the index given and wraps.
        EXPECT_EQ(send(LB_FINDSTRING, CB_FINDSTRING, 1, reinterpret_cast<LPARAM>("a")), 0);
        EXPECT_EQ(
            send(LB_FINDSTRINGEXACT, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("APPLE")),
            0);
        EXPECT_EQ(
            send(LB_FINDSTRINGEXACT, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("app")), -1);
        // Deleting before the selection moves it; deleting it clears it.
        EXPECT_EQ(send(LB_DELETESTRING, CB_DELETESTRING, 0, 0), 3);
        EXPECT_EQ(send(LB_GETCURSEL, CB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(send(LB_DELETESTRING, CB_DELETESTRING, 1, 0), 2);
        EXPECT_EQ(send(LB_GETCURSEL, CB_GETCURSEL, 0, 0), -1);
        EXPECT_EQ(send(LB_DELETESTRING, CB_DELETESTRING, 7, 0), -1);
        EXPECT_EQ(send(LB_SETITEMDATA, CB_SETITEMDATA, 1, 42), 0);
        EXPECT_EQ(send(LB_GETITEMDATA, CB_GETITEMDATA, 1, 0), 42);
        send(LB_RESETCONTENT, CB_RESETCONTENT, 0, 0);
        EXPECT_EQ(send(LB_GETCOUNT, CB_GETCOUNT, 0, 0), 0);
    }
    // A drop-down combo's text is its edit field's; choosing an item puts
    // that item's text there.
    HWND hCity = Item(IDC_CITY);
    SetWindowTextA(hCity, "Lyon");
    char text[16];
    GetWindowTextA(GetDlgItem(hCity, 1001), text, sizeof text);
    EXPECT_STREQ(text, "Lyon");
    SendMessageA(hCity, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Paris"));
    SendMessageA(hCity, CB_SETCURSEL, 0, 0);
    GetWindowTextA(hCity, text, sizeof text);
    EXPECT_STREQ(text, "Paris");
    EXPECT_FALSE(Saw(IDC_CITY, CBN_EDITCHANGE));  // not the user's doing
    // The open list lies over the dialog below the field; a click there chooses.
    SendMessageA(hCity, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Berlin"));
    SendMessageA(hCity, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_TRUE(SendMessageA(hCity, CB_GETDROPPEDSTATE, 0, 0));
    RECT field;
    GetWindowRect(hCity, &field);
    PlatformInput in;
    in.message = WM_LBUTTONDOWN;
    in.pt = POINT{field.left + 5, field.bottom + 1 + PLATFORM_LINE_HEIGHT + 4};  // the second row: "Berlin"
    PlatformPostInput(m_dlg, in);
    Pump(m_dlg);
    EXPECT_FALSE(SendMessageA(hCity, CB_GETDROPPEDSTATE, 0, 0));
    GetWindowTextA(hCity, text, sizeof text);
    EXPECT_STREQ(text, "Berlin");
    EXPECT_TRUE(Saw(IDC_CITY, CBN_SELCHANGE));
}

// Text and numbers in and out of the dialog's items.
TEST_F(DialogBoxTest, ItemTextAndNumbers) {
    ASSERT_TRUE(Open());
    struct Case {
        const char* text;
        BOOL bSigned;
        UINT value;
        BOOL translated;
    };
    const Case cases[] = {
        {"42", TRUE, 42, TRUE},
        {"  -7 ", TRUE, static_cast<UINT>(-7), TRUE},
        {"+5", FALSE, 5, TRUE},
        {"-5", FALSE, 0, FALSE},
        {"2147483647", TRUE, 2147483647u, TRUE},
        {"2147483648", TRUE, 0, FALSE},
        {"-2147483648", TRUE, 0x80000000u, TRUE},
        {"4294967295", FALSE, 4294967295u, TRUE},
        {"4294967296", FALSE, 0, FALSE},
        {"12a", TRUE, 0, FALSE},
        {"", TRUE, 0, FALSE},
        {"-", TRUE, 0, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(SetDlgItemTextA(m_dlg, IDC_COUNT, c.text));
        BOOL translated = !c.translated;
        EXPECT_EQ(GetDlgItemInt(m_dlg, IDC_COUNT, &translated, c.bSigned), c.value);
        EXPECT_EQ(translated, c.translated);
    }
    SetDlgItemInt(m_dlg, IDC_COUNT, static_cast<UINT>(-12), TRUE);
    char text[16];
    EXPECT_EQ(GetDlgItemTextA(m_dlg, IDC_COUNT, text, sizeof text), 3u);
    EXPECT_STREQ(text, "-12");
    EXPECT_EQ(GetDlgItemTextA(m_dlg, 4242, text, sizeof text), 0u);
    EXPECT_STREQ(text, "");
    BOOL translated = TRUE;
    EXPECT_EQ(GetDlgItemInt(m_dlg, 4242, &translated, TRUE), 0u);
    EXPECT_FALSE(translated);
    CheckDlgButton(m_dlg, IDC_GIFT, BST_INDETERMINATE);  // not a three-state box
    EXPECT_EQ(IsDlgButtonChecked(m_dlg, IDC_GIFT), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(SendDlgItemMessageA(m_dlg, IDC_COLOURS, LB_GETCOUNT, 0, 0), 0);
}

// Without a screen a modal dialog never waits: the responder answers, or
// the dialog is cancelled; the owner is disabled only meanwhile.
TEST_F(DialogBoxTest, ModalDialogWithoutAScreenAsksTheResponder) {
    g_endOn = IDOK;
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, dialogs::AsTemplate(m_order), m_owner, CALLBACK_Record, 0), IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(m_owner));

    bool ownerDisabled = false;
    PlatformSetDialogResponder([&](HWND h) {
        ownerDisabled = !IsWindowEnabled(m_owner);
        SetDlgItemTextA(h, IDC_NAME, "typed");
        PressKey(h, VK_RETURN);
    });
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, dialogs::AsTemplate(m_order), m_owner, CALLBACK_Record, 0), IDOK);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(m_owner));

    // A procedure that ignores IDCANCEL still cannot keep the dialog up.
    g_endOn = 0;
    PlatformSetDialogResponder({});
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, dialogs::AsTemplate(m_order), m_owner, CALLBACK_Record, 0), IDCANCEL);
    std::vector<BYTE> broken(m_order.begin(), m_order.begin() + 20);
    EXPECT_EQ(PlatformCreateDialog(broken.data(), broken.size(), m_owner, nullptr, 0), nullptr);
}

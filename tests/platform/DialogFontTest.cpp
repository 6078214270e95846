// Dialogs in the font their template names: dialog units from that font's
// own metrics, the font handed to every control and drawn with, and the
// system font's units where a template names none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/DialogSupport.h"
#include "platform/gdi/TextLayout.h"
#include "platform/user/Controls.h"
#include "platform/user/DialogTemplate.h"
#include "platform/user/EditCore.h"
#include "support/FontUnits.h"

namespace {

// A template and the font its FONT statement names (no points: none).
struct Form {
    WORD id;
    int points;
};
constexpr Form kSmall{IDD_ORDER, 8};
constexpr Form kLarge{IDD_LARGE_FONT, 12};
constexpr Form kPlain{IDD_NO_FONT, 0};
constexpr const char* kFace = "MS Shell Dlg";

class DialogFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_owner =
            CreateWindowExA(0, "Static", "owner", WS_VISIBLE, 100, 100, 600, 500, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        if (IsWindow(m_dlg)) DestroyWindow(m_dlg);
        DestroyWindow(m_owner);
        for (HFONT hFont : m_fonts) DeleteObject(hFont);
        PlatformPumpMessages();
    }
    // The form's dialog, shown and painted, and its template as read.
    HWND Open(const Form& form, platform::DialogTemplate* pTemplate) {
        m_bytes = dialogs::Template(form.id);
        EXPECT_TRUE(platform::ParseDialogTemplate(m_bytes.data(), m_bytes.size(), pTemplate));
        m_dlg = CreateDialogIndirectParamA(nullptr, dialogs::AsTemplate(m_bytes), m_owner, nullptr, 0);
        ShowWindow(m_dlg, SW_SHOWNORMAL);
        dialogs::Pump(m_dlg);
        return m_dlg;
    }
    // The base units the form's font gives, measured on a font of our own.
    SIZE ExpectedUnits(const Form& form) {
        if (!form.points) return support::FontBaseUnits(nullptr);
        HFONT hFont = support::CreateDialogFont(form.points, kFace);
        m_fonts.push_back(hFont);
        return support::FontBaseUnits(hFont);
    }

    HWND m_owner = nullptr;
    HWND m_dlg = nullptr;
    std::vector<BYTE> m_bytes;
    std::vector<HFONT> m_fonts;
};

// The font the text drawn in a window was laid out in; null when the window
// drew no text.
std::shared_ptr<const gdi::Font> DrawnFont(HWND hWnd) {
    for (const PlatformDrawing& op : PlatformGetWindowDrawing(hWnd))
        if (op.kind == PlatformDrawing::Kind::text && !op.text.empty()) return op.font;
    return nullptr;
}

}  // namespace

// The dialog and each control are placed in units of the template's font:
// the 12-point form's units are larger than the 8-point one's as that
// font's own metrics say, and a form without a font keeps the system
// font's, which GetDialogBaseUnits reports whatever the dialogs use.
TEST_F(DialogFontTest, UnitsComeFromTheTemplatesFont) {
    SIZE system = support::FontBaseUnits(nullptr);
    EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(system.cx, system.cy));
    SIZE small = ExpectedUnits(kSmall), large = ExpectedUnits(kLarge);
    EXPECT_GT(large.cx, small.cx);
    EXPECT_GT(large.cy, small.cy);
    for (const Form& form : {kSmall, kLarge, kPlain}) {
        SCOPED_TRACE(form.points);
        SIZE base = ExpectedUnits(form);
        platform::DialogTemplate t;
        ASSERT_TRUE(Open(form, &t));
        RECT dlg;
        GetWindowRect(m_dlg, &dlg);
        RECT want = support::ToPixels(base, t.x, t.y, t.cx, t.cy);
        EXPECT_EQ(dlg.left - 100, want.left);
        EXPECT_EQ(dlg.top - 100, want.top);
        EXPECT_EQ(dlg.right - dlg.left, want.right - want.left);
        EXPECT_EQ(dlg.bottom - dlg.top, want.bottom - want.top);
        for (const platform::DialogItemTemplate& item : t.items) {
            SCOPED_TRACE(static_cast<int>(item.id));
            RECT r;
            ASSERT_TRUE(GetWindowRect(GetDlgItem(m_dlg, static_cast<int>(item.id)), &r));
            want = support::ToPixels(base, item.x, item.y, item.cx, item.cy);
            EXPECT_EQ(r.left - dlg.left, want.left);
            EXPECT_EQ(r.top - dlg.top, want.top);
            EXPECT_EQ(r.right - r.left, want.right - want.left);
            if (item.className.ordinal != 0x0085) {  // a combo box keeps its field's height
                EXPECT_EQ(r.bottom - r.top, want.bottom - want.top);
            }
        }
        RECT mapped{4, 8, 40, 80};
        ASSERT_TRUE(MapDialogRect(m_dlg, &mapped));
        EXPECT_EQ(mapped.left, base.cx);
        EXPECT_EQ(mapped.top, base.cy);
        EXPECT_EQ(mapped.right, 10 * base.cx);
        EXPECT_EQ(mapped.bottom, 10 * base.cy);
        DestroyWindow(m_dlg);
    }
    EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(system.cx, system.cy));
}

// Every control answers WM_GETFONT with the dialog's font and draws its text
// in it; without a template font they answer null and draw in the system
// font. The dialog's font goes with the dialog.
TEST_F(DialogFontTest, ControlsGetTheDialogsFontAndDrawWithIt) {
    for (const Form& form : {kLarge, kPlain}) {
        SCOPED_TRACE(form.points);
        platform::DialogTemplate t;
        ASSERT_TRUE(Open(form, &t));
        HFONT hFont = support::FontOf(m_dlg);
        EXPECT_EQ(hFont != nullptr, form.points != 0);
        if (hFont) {
            LOGFONTA log{};
            ASSERT_EQ(GetObjectA(hFont, sizeof log, &log), static_cast<int>(sizeof log));
            EXPECT_STREQ(log.lfFaceName, kFace);
            EXPECT_EQ(log.lfHeight, -16);  // 12 points at 96 pixels an inch
        }
        SetDlgItemTextA(m_dlg, IDC_NAME, "typed");
        SendDlgItemMessageA(m_dlg, IDC_COLOURS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("teal"));
        dialogs::Pump(m_dlg);
        int lineHeight = ExpectedUnits(form).cy;
        for (int id : {IDC_NAME_LABEL, IDC_NAME, IDC_COLOURS, IDOK}) {
            SCOPED_TRACE(id);
            HWND hItem = GetDlgItem(m_dlg, id);
            EXPECT_EQ(support::FontOf(hItem), hFont);
            std::shared_ptr<const gdi::Font> drawn = DrawnFont(hItem);
            ASSERT_TRUE(drawn);
            EXPECT_EQ(drawn->height, lineHeight);
        }
        DestroyWindow(m_dlg);
        if (hFont) {
            EXPECT_EQ(GetObjectType(hFont), 0u);
        }
    }
}

// WM_SETFONT changes what a control draws and measures: the edit control
// puts a click between the characters of its own font, and a null font is
// the system font again.
TEST_F(DialogFontTest, SetFontChangesWhatAControlDrawsAndMeasures) {
    platform::DialogTemplate t;
    ASSERT_TRUE(Open(kPlain, &t));
    HFONT hLarge = support::CreateDialogFont(kLarge.points, kFace);
    m_fonts.push_back(hLarge);
    HWND hName = GetDlgItem(m_dlg, IDC_NAME);
    SetWindowTextA(hName, "mmmmmmmm");
    SendMessageA(hName, WM_SETFONT, reinterpret_cast<WPARAM>(hLarge), TRUE);
    EXPECT_EQ(support::FontOf(hName), hLarge);
    dialogs::Pump(m_dlg);
    std::shared_ptr<const gdi::Font> drawn = DrawnFont(hName);
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawn->height, support::FontBaseUnits(hLarge).cy);

    // A click where the fourth character ends in the large font lands
    // there, not where the system font's narrower characters would put it.
    HDC hDC = CreateCompatibleDC(nullptr);
    SelectObject(hDC, hLarge);
    SIZE four{};
    GetTextExtentPoint32A(hDC, "mmmm", 4, &four);
    DeleteDC(hDC);
    constexpr int kTextLeft = 2;  // the edit control's margin
    RECT r;
    GetWindowRect(hName, &r);
    PlatformInput in;
    in.message = WM_LBUTTONDOWN;
    in.pt = POINT{r.left + kTextLeft + four.cx, r.top + 4};
    PlatformPostInput(m_dlg, in);
    in.message = WM_LBUTTONUP;
    PlatformPostInput(m_dlg, in);
    dialogs::Pump(m_dlg);
    DWORD start = 0, end = 0;
    SendMessageA(hName, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 4u);
    EXPECT_EQ(end, 4u);

    SendMessageA(hName, WM_SETFONT, 0, TRUE);
    EXPECT_EQ(support::FontOf(hName), nullptr);
    dialogs::Pump(m_dlg);
    drawn = DrawnFont(hName);
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawn->height, support::FontBaseUnits(nullptr).cy);
}

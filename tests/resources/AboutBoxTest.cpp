// The About box of the test program's script, opened as a wizard-made
// application opens it: by id from its template, in its 8-point font.
#include <gtest/gtest.h>

#include <string>

#include "platform/user/DialogBox.h"
#include "resource.h"
#include "support/FontUnits.h"

namespace {

void PressReturn(HWND hDlg) {
    PlatformInput in;
    in.message = WM_KEYDOWN;
    in.vk = VK_RETURN;
    PlatformPostInput(hDlg, in);
    in.message = WM_KEYUP;
    PlatformPostInput(hDlg, in);
}

}  // namespace

TEST(AboutBoxTest, OpensInItsFontAndReturnEndsIt) {
    HFONT hExpected = support::CreateDialogFont(8, "MS Shell Dlg");
    SIZE base = support::FontBaseUnits(hExpected);
    std::string title;
    RECT dlg{}, ok{};
    HFONT hDialogFont = nullptr, hButtonFont = nullptr;
    PlatformSetDialogResponder([&](HWND hDlg) {
        char text[64] = "";
        GetWindowTextA(hDlg, text, sizeof text);
        title = text;
        GetWindowRect(hDlg, &dlg);
        HWND hOk = GetDlgItem(hDlg, IDOK);
        GetWindowRect(hOk, &ok);
        hDialogFont = support::FontOf(hDlg);
        hButtonFont = support::FontOf(hOk);
        PressReturn(hDlg);
    });
    DLGPROC endOnCommand = [](HWND hDlg, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        return message == WM_COMMAND && EndDialog(hDlg, LOWORD(wParam));
    };
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCE(IDD_ABOUTBOX), nullptr, endOnCommand, 0), IDOK);
    PlatformSetDialogResponder({});
    EXPECT_EQ(title, "About Resource Test");
    // DIALOGEX 0, 0, 170, 62 and DEFPUSHBUTTON "OK", IDOK, 113, 41, 50, 14.
    RECT size = support::ToPixels(base, 0, 0, 170, 62);
    EXPECT_EQ(dlg.right - dlg.left, size.right);
    EXPECT_EQ(dlg.bottom - dlg.top, size.bottom);
    RECT want = support::ToPixels(base, 113, 41, 50, 14);
    EXPECT_EQ(ok.left - dlg.left, want.left);
    EXPECT_EQ(ok.top - dlg.top, want.top);
    EXPECT_EQ(ok.right - ok.left, want.right - want.left);
    EXPECT_EQ(ok.bottom - ok.top, want.bottom - want.top);
    EXPECT_NE(hDialogFont, nullptr);
    EXPECT_EQ(hButtonFont, hDialogFont);
    DeleteObject(hExpected);
}

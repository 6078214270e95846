// CDialog from templates the resource compiler made: the wizard's About
// box, data exchange both ways for each kind, validation that keeps the
// dialog open, and CDialogEx's background.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/DialogSupport.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/Edit.h"
#include "platform/mfc/MessageBox.h"
#include "platform/user/Painting.h"

using dialogs::PressKey;

namespace {

// The About box as the application wizard writes it.
class CAboutDlg : public CDialog {
public:
    CAboutDlg() : CDialog(CAboutDlg::IDD) {}
    enum { IDD = IDD_ABOUTBOX };

protected:
    void DoDataExchange(CDataExchange* pDX) override { CDialog::DoDataExchange(pDX); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

// The order form with a member for every kind of exchange.
class COrderDlg : public CDialog {
public:
    COrderDlg() : CDialog(IDD_ORDER) {}

    CString m_strName = "Ada";
    int m_nCount = 3;
    int m_nGift = BST_CHECKED;
    int m_nSize = 1;
    CString m_strColour = "blue";
    int m_nShape = 1;
    CString m_strCity = "Oslo";
    double m_dRatio = 0.25;
    CEdit m_editName;
    int m_nMaxCount = 10;
    int m_nInits = 0;

protected:
    BOOL OnInitDialog() override {
        ++m_nInits;
        for (const char* colour : {"red", "green", "blue"})
            SendDlgItemMessageA(m_hWnd, IDC_COLOURS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(colour));
        for (const char* shape : {"square", "circle", "star"})
            SendDlgItemMessageA(m_hWnd, IDC_SHAPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shape));
        for (const char* city : {"Oslo", "Rome"})
            SendDlgItemMessageA(m_hWnd, IDC_CITY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(city));
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_NAME, m_editName);
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 8);
        DDX_Text(pDX, IDC_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 1, m_nMaxCount);
        DDX_Check(pDX, IDC_GIFT, m_nGift);
        DDX_Radio(pDX, IDC_SMALL, m_nSize);
        DDX_LBString(pDX, IDC_COLOURS, m_strColour);
        DDX_CBIndex(pDX, IDC_SHAPE, m_nShape);
        DDX_CBString(pDX, IDC_CITY, m_strCity);
        DDX_Text(pDX, IDC_RATIO, m_dRatio);
    }
};

class CDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_order = dialogs::Template(IDD_ORDER);
        m_about = dialogs::Template(IDD_ABOUTBOX);
        ASSERT_FALSE(m_order.empty());
        m_previousHook = AfxSetMessageBoxHook([this](const CString& text, UINT) {
            m_messages.push_back(std::string(text));
            return IDOK;
        });
        m_previousEcho = PlatformSetMessageBoxEcho(false);
    }
    void TearDown() override {
        PlatformSetDialogResponder({});
        AfxSetMessageBoxHook(m_previousHook);
        PlatformSetMessageBoxEcho(m_previousEcho);
        PlatformPumpMessages();
    }
    static std::string Text(HWND hDlg, int id) {
        char text[64] = "";
        GetDlgItemTextA(hDlg, id, text, sizeof text);
        return text;
    }

    std::vector<BYTE> m_order;
    std::vector<BYTE> m_about;
    std::vector<std::string> m_messages;
    MessageBoxHook m_previousHook;
    bool m_previousEcho = true;
};

}  // namespace

// The wizard's About box opens from its template, shows its texts, and
// Return (its default OK button) closes it with IDOK; with nobody to answer
// it is cancelled.
TEST_F(CDialogTest, AboutBoxWorksFromItsTemplate) {
    CAboutDlg aboutDlg;
    aboutDlg.InitModalIndirect(dialogs::AsTemplate(m_about));
    EXPECT_EQ(aboutDlg.DoModal(), IDCANCEL);
    std::string shown;
    PlatformSetDialogResponder([&](HWND hDlg) {
        char title[32];
        GetWindowTextA(hDlg, title, sizeof title);
        shown = title;
        EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, IDOK));
        PressKey(hDlg, VK_RETURN);
    });
    EXPECT_EQ(aboutDlg.DoModal(), IDOK);
    EXPECT_EQ(shown, "About Demo");
    EXPECT_EQ(aboutDlg.m_hWnd, nullptr);  // gone after DoModal
    // By id, from the program's own resources.
    CAboutDlg byId;
    shown.clear();
    EXPECT_EQ(byId.DoModal(), IDOK);
    EXPECT_EQ(shown, "About Demo");
    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
    // Through the dialog box call, with a procedure that ends it on a command
    // (without one, OK would leave it open, as on the original).
    DLGPROC endOnCommand = [](HWND hDlg, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        return message == WM_COMMAND && EndDialog(hDlg, LOWORD(wParam));
    };
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCE(IDD_ABOUTBOX), nullptr, endOnCommand, 0), IDOK);
}

// OnInitDialog puts every member into its control; OK takes every control
// back into its member.
TEST_F(CDialogTest, DataExchangeBothWaysForEachKind) {
    COrderDlg dlg;
    dlg.InitModalIndirect(dialogs::AsTemplate(m_order));
    PlatformSetDialogResponder([&](HWND hDlg) {
        struct Shown {
            int id;
            const char* text;
        };
        for (const Shown& s : {Shown{IDC_NAME, "Ada"}, Shown{IDC_COUNT, "3"}, Shown{IDC_SHAPE, "square"},
                               Shown{IDC_CITY, "Oslo"}, Shown{IDC_RATIO, "0.25"}}) {
            SCOPED_TRACE(s.id);
            EXPECT_EQ(Text(hDlg, s.id), s.text);
        }
        EXPECT_EQ(IsDlgButtonChecked(hDlg, IDC_GIFT), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(hDlg, IDC_MEDIUM), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(SendDlgItemMessageA(hDlg, IDC_COLOURS, LB_GETCURSEL, 0, 0), 0);  // "blue", sorted first
        EXPECT_EQ(dlg.m_editName.m_hWnd, GetDlgItem(hDlg, IDC_NAME));              // DDX_Control attached it

        dlg.m_editName.SetWindowText("Grace");
        SetDlgItemTextA(hDlg, IDC_COUNT, " 7 ");
        CheckDlgButton(hDlg, IDC_GIFT, BST_UNCHECKED);
        CheckRadioButton(hDlg, IDC_SMALL, IDC_LARGE, IDC_LARGE);
        SendDlgItemMessageA(hDlg, IDC_COLOURS, LB_SETCURSEL, 2, 0);
        SendDlgItemMessageA(hDlg, IDC_SHAPE, CB_SETCURSEL, 2, 0);
        SetDlgItemTextA(hDlg, IDC_CITY, "Lima");
        SetDlgItemTextA(hDlg, IDC_RATIO, "1e3");
        PressKey(hDlg, VK_RETURN);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nInits, 1);
    EXPECT_EQ(dlg.m_strName, "Grace");
    EXPECT_EQ(dlg.m_nCount, 7);
    EXPECT_EQ(dlg.m_nGift, BST_UNCHECKED);
    EXPECT_EQ(dlg.m_nSize, 2);
    EXPECT_EQ(dlg.m_strColour, "red");
    EXPECT_EQ(dlg.m_nShape, 2);
    EXPECT_EQ(dlg.m_strCity, "Lima");
    EXPECT_EQ(dlg.m_dRatio, 1000.0);
    EXPECT_TRUE(m_messages.empty());
}

// Text that is no number, or a number out of its range, or text too long:
// the original's message, the dialog stays open with the focus (and the
// selection) on the control, and the members after it are left alone.
TEST_F(CDialogTest, FailedValidationKeepsTheDialogOpen) {
    struct Case {
        int id;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {IDC_COUNT, "many", "Please enter an integer."},
        {IDC_COUNT, "11", "Please enter an integer between 1 and 10."},
        {IDC_COUNT, "99999999999", "Please enter an integer."},
        {IDC_NAME, "Maximilian", "Please enter no more than 8 characters."},
        {IDC_RATIO, "1/2", "Please enter a number."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_messages.clear();
        COrderDlg dlg;
        dlg.InitModalIndirect(dialogs::AsTemplate(m_order));
        bool stayedOpen = false;
        HWND hFocus = nullptr;
        PlatformSetDialogResponder([&](HWND hDlg) {
            SetDlgItemTextA(hDlg, c.id, c.text);
            CheckDlgButton(hDlg, IDC_GIFT, BST_UNCHECKED);
            SendMessageA(hDlg, WM_COMMAND, IDOK, 0);
            stayedOpen = IsWindow(hDlg) && IsWindowVisible(hDlg);
            hFocus = GetFocus();
            DWORD start = 1, end = 0;
            SendMessageA(hFocus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, static_cast<DWORD>(strlen(c.text)));
            SetDlgItemTextA(hDlg, c.id, c.id == IDC_RATIO ? "0.5" : "5");
            SendMessageA(hDlg, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(m_messages, std::vector<std::string>{c.message});
        EXPECT_EQ(dlg.m_nGift, BST_UNCHECKED);  // taken on the second OK
    }
}

// A modeless dialog: Create, the focus moved by NextDlgCtrl, the default
// button, EndDialog only hiding it; CDialogEx paints its colour.
TEST_F(CDialogTest, ModelessDialogAndBackgroundColour) {
    CDialogEx dlg;
    dlg.SetBackgroundColor(RGB(10, 20, 30));
    ASSERT_TRUE(dlg.CreateIndirect(dialogs::AsTemplate(m_order)));
    dlg.ShowWindow(SW_SHOWNORMAL);
    PlatformPumpMessages();
    EXPECT_EQ(::GetFocus(), dlg.GetDlgItem(IDC_NAME)->m_hWnd);
    dlg.NextDlgCtrl();
    EXPECT_EQ(::GetFocus(), dlg.GetDlgItem(IDC_COUNT)->m_hWnd);
    dlg.PrevDlgCtrl();
    dlg.PrevDlgCtrl();
    EXPECT_EQ(::GetFocus(), dlg.GetDlgItem(IDC_APPLY)->m_hWnd);
    EXPECT_EQ(dlg.GetDefID(), static_cast<DWORD>(MAKELONG(IDOK, DC_HASDEFID)));
    dlg.SetDefID(IDC_APPLY);
    EXPECT_EQ(LOWORD(dlg.GetDefID()), IDC_APPLY);
    HDC hDC = GetDC(dlg.m_hWnd);
    auto hBrush = reinterpret_cast<HBRUSH>(
        SendMessageA(dlg.m_hWnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(dlg.m_hWnd)));
    EXPECT_NE(hBrush, GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(GetBkColor(hDC), RGB(10, 20, 30));
    ReleaseDC(dlg.m_hWnd, hDC);
    dlg.EndDialog(IDCANCEL);
    EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
    EXPECT_FALSE(dlg.IsWindowVisible());
    dlg.DestroyWindow();
}

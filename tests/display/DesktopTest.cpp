// The desktop around the frame on a real X display: the clipboard shared
// with other programs (xclip), and message boxes and the colour dialog as
// the desktop's own modal windows, answered from the keyboard through XTEST.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "DisplayFrameTest.h"
#include "platform/mfc/ColorDialog.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/OleDataSource.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Dialogs.h"
#include "platform/user/EditCore.h"
#include "platform/user/UserDriver.h"

extern char** environ;

namespace {

class DesktopTest : public DisplayFrameTest {
protected:
    void SetUp() override {
        DisplayFrameTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_NE(OpenMainFrame(), nullptr);
        ASSERT_TRUE(display::RunUntil([this] { return PlatformIsOnScreen(m_pMain->m_hWnd) != 0; }));
    }
    void TearDown() override {
        // Taking the clipboard back ends any xclip still serving it.
        if (m_pMain && ::OpenClipboard(m_pMain->m_hWnd)) {
            ::EmptyClipboard();
            ::CloseClipboard();
        }
        FrameTest::TearDown();
    }

    void Copy(const std::string& text) {
        ASSERT_TRUE(::OpenClipboard(m_pMain->m_hWnd));
        ASSERT_TRUE(::EmptyClipboard());
        HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        std::memcpy(::GlobalLock(hMem), text.c_str(), text.size() + 1);
        ::GlobalUnlock(hMem);
        EXPECT_EQ(::SetClipboardData(CF_TEXT, hMem), hMem);
        ::CloseClipboard();
    }
    // CF_TEXT as this process sees it; "<none>" without text.
    std::string Pasted() {
        if (!::OpenClipboard(m_pMain->m_hWnd)) return "<not opened>";
        std::string text = "<none>";
        if (HANDLE hMem = ::GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(::GlobalLock(hMem));
            ::GlobalUnlock(hMem);
        }
        ::CloseClipboard();
        return text;
    }
    std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    // An open-file request titled "Pick a file", owned by the main frame.
    OPENFILENAMEA PickAFile(const char* filter, char* file, DWORD size) {
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = m_pMain->m_hWnd;
        ofn.lpstrFilter = filter;
        ofn.lpstrFile = file;
        ofn.nMaxFile = size;
        ofn.lpstrTitle = "Pick a file";
        return ofn;
    }
    // Another program's copy of the text, to the named selection, until
    // the selection is taken from it (or, with loops, read that often).
    void OtherProgramCopies(const std::string& text, const char* selection = "clipboard", const char* loops = "0") {
        WriteFile(Posix("in.txt"), text);
        ASSERT_EQ(display::Run({"xclip", "-i", "-loops", loops, "-selection", selection}, Posix("in.txt"), ""), 0);
    }
};

// The keys that type the text on a US layout ("Shift_L+x": with Shift held),
// with a pause after the first while what it opens (a location entry, say)
// takes the keyboard.
std::vector<std::string> KeysFor(const std::string& text) {
    std::vector<std::string> keys;
    for (char c : text) {
        if (keys.size() == 1) keys.insert(keys.end(), 10, "");
        if (std::isupper(static_cast<unsigned char>(c)))
            keys.push_back(std::string("Shift_L+") + static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        else if (c == '/')
            keys.push_back("slash");
        else if (c == '.')
            keys.push_back("period");
        else if (c == '-')
            keys.push_back("minus");
        else if (c == '_')
            keys.push_back("Shift_L+minus");
        else
            keys.push_back(std::string(1, c));
    }
    return keys;
}

// A user at the keyboard while a modal window is up: once the window titled
// caption is on the screen, the pointer goes over it (the keyboard follows
// the pointer without a window manager) and the keys are pressed, one a
// tick ("": a tick without one). Before the first key a click goes to
// clickAt, on the owner.
struct User {
    User(const char* pszCaption, std::vector<std::string> keyList) : caption(pszCaption), keys(std::move(keyList)) {}
    static User* current;
    const char* caption;
    std::vector<std::string> keys;
    POINT clickAt{-1, -1};
    HWND hOwner = nullptr;
    size_t next = 0;
    int ticks = 0;
    int ticksAfterKeys = 0;
    bool ownerEnabledWhileUp = false;
    std::string screenshot;  // where to keep a picture of the window, if anywhere

    static void Tick(HWND, UINT, UINT_PTR, DWORD) { current->Act(); }
    void Act() {
        RECT r = display::WindowRect(display::FindWindow(caption));
        if (r.right <= r.left) return;
        ++ticks;
        if (hOwner && ::IsWindowEnabled(hOwner)) ownerEnabledWhileUp = true;
        if (ticks == 3 && !screenshot.empty())
            display::WritePng(display::Grab(r), r.right - r.left, r.bottom - r.top, screenshot);
        if (ticks == 1 && clickAt.x >= 0) {
            display::Click(clickAt.x, clickAt.y);
            return;
        }
        if (ticks < 4) return;  // the click has been handled by now
        if (next >= keys.size()) {
            // Still up long after the last key: the keys went astray. Escape
            // ends the call so the test fails instead of hanging.
            if (++ticksAfterKeys == 150) display::Tap("Escape");
            return;
        }
        display::MoveTo((r.left + r.right) / 2, r.top + 10);
        std::string key = keys[next++];
        if (key.empty()) return;  // a pause
        bool shift = key.starts_with("Shift_L+");
        if (shift) display::Key("Shift_L", true);
        display::Tap(key.c_str() + (shift ? 8 : 0));
        if (shift) display::Key("Shift_L", false);
    }
    // Runs while the modal call does.
    template <class Call>
    auto During(Call call) {
        current = this;
        UINT_PTR timer = ::SetTimer(nullptr, 0, 30, Tick);
        auto result = call();
        ::KillTimer(nullptr, timer);
        current = nullptr;
        return result;
    }
};
User* User::current = nullptr;

}  // namespace

TEST_F(DesktopTest, TextCopiedInTheFrameIsAnotherProgramsUtf8) {
    // Windows-1252's é and a valid UTF-8 € side by side; CR LF becomes LF.
    Copy("caf\xE9 \xE2\x82\xAC\r\nline 2\r\n");
    ASSERT_EQ(display::Run({"xclip", "-o", "-selection", "clipboard"}, "", Posix("out.txt")), 0);
    EXPECT_EQ(ReadFile(Posix("out.txt")), "caf\xC3\xA9 \xE2\x82\xAC\nline 2\n");
    EXPECT_EQ(Pasted(), "caf\xE9 \xE2\x82\xAC\r\nline 2\r\n") << "this process keeps its own bytes";
}

TEST_F(DesktopTest, AnotherProgramsTextPastesIntoAnEditControl) {
    OtherProgramCopies("zwei\nZeilen \xC3\xBC");
    // xclip's first process may end before the one it leaves behind holds the clipboard.
    ASSERT_TRUE(display::RunUntil([] { return ::IsClipboardFormatAvailable(CF_TEXT) != 0; }));
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 200, 80,
                                   m_pMain->m_hWndMDIClient, nullptr, nullptr, nullptr);
    ASSERT_NE(hEdit, nullptr);
    ::SendMessageA(hEdit, WM_PASTE, 0, 0);
    char text[64] = {};
    ::GetWindowTextA(hEdit, text, sizeof text);
    EXPECT_STREQ(text, "zwei\r\nZeilen \xC3\xBC");
    ::DestroyWindow(hEdit);

    // The primary selection (what is merely selected) is not the clipboard.
    OtherProgramCopies("only selected", "primary", "1");
    EXPECT_EQ(Pasted(), "zwei\r\nZeilen \xC3\xBC");
    ASSERT_EQ(display::Run({"xclip", "-o", "-selection", "primary"}, "", Posix("primary.txt")), 0);
    EXPECT_EQ(ReadFile(Posix("primary.txt")), "only selected") << "it was there, and its xclip is done";

    // Once the clipboard is this process's again, its own text is what pastes.
    Copy("mine");
    EXPECT_EQ(Pasted(), "mine");
}

TEST_F(DesktopTest, AMessageBoxIsAWindowThatBlocksItsOwnerAndAnswersTheKeyboard) {
    int n1, n2;
    OpenTwoNoteFrames(&n1, &n2);
    ASSERT_TRUE(display::RunUntil([&] { return ::IsWindowVisible(m_pMain->GetFrame(n2)->hWnd) != 0; }));
    CRect first;
    ::GetWindowRect(m_pMain->GetFrame(n1)->hWnd, &first);
    const char* keep = std::getenv("CBASIS_DISPLAY_SCREENSHOT");
    struct Case {
        UINT type;
        std::vector<std::string> keys;
        int expected;
    } cases[] = {
        {MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, {"Return"}, IDNO},
        {MB_YESNOCANCEL, {"Escape"}, IDCANCEL},
        {MB_OK | MB_ICONEXCLAMATION, {"Escape"}, IDOK},
        {MB_OKCANCEL, {"Return"}, IDOK},
        {MB_YESNO, {"Escape", "Return"}, IDYES},  // Escape does nothing without Cancel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << std::hex << c.type);
        User user{"Box under test", c.keys};
        user.hOwner = m_pMain->m_hWnd;
        if (&c == &cases[0]) {
            user.clickAt = POINT{first.left + 6, first.top + 80};  // would activate the first note frame
            if (keep) user.screenshot = std::string(keep) + ".box.png";
        }
        int answer = user.During(
            [&] { return ::MessageBoxA(m_pMain->m_hWnd, "Save changes to notes.txt?", "Box under test", c.type); });
        EXPECT_EQ(answer, c.expected);
        EXPECT_EQ(user.next, c.keys.size());
        EXPECT_FALSE(user.ownerEnabledWhileUp);
        EXPECT_TRUE(::IsWindowEnabled(m_pMain->m_hWnd));
        EXPECT_TRUE(display::RunUntil([] {
            return display::WindowRect(display::FindWindow("Box under test")).right == 0;
        })) << "the box is gone";
    }
    display::RunUntil([] { return false; }, 100);
    EXPECT_EQ(m_pMain->MDIGetActive()->m_hWnd, m_pMain->GetFrame(n2)->hWnd) << "the click under the box was dropped";
}

TEST_F(DesktopTest, TheColourDialogAnswersReturnWithItsColourAndEscapeWithCancel) {
    const COLORREF start = RGB(10, 200, 30);
    struct Case {
        const char* key;
        INT_PTR expected;
    } cases[] = {{"Return", IDOK}, {"Escape", IDCANCEL}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        CColorDialog dialog(start, 0, m_pMain);
        User user{"Color", {c.key}};
        user.hOwner = m_pMain->m_hWnd;
        if (const char* keep = std::getenv("CBASIS_DISPLAY_SCREENSHOT"))
            user.screenshot = std::string(keep) + ".colour.png";
        EXPECT_EQ(user.During([&] { return dialog.DoModal(); }), c.expected);
        EXPECT_FALSE(user.ownerEnabledWhileUp);
        if (c.expected == IDOK) {
            EXPECT_EQ(dialog.GetColor(), start);
        }
    }
}

TEST_F(DesktopTest, TheOpenFileDialogIsAWindowThatEscapeCancels) {
    // A filter list that ends after its description: the patterns are
    // missing, and nothing past the list's end is read.
    static const char filter[] = "Text files\0";
    char file[260] = "";
    OPENFILENAMEA ofn = PickAFile(filter, file, sizeof file);
    User user{"Pick a file", {"Escape"}};
    user.hOwner = m_pMain->m_hWnd;
    EXPECT_FALSE(user.During([&] { return ::GetOpenFileNameA(&ofn); }));
    EXPECT_EQ(user.next, 1u);
    EXPECT_FALSE(user.ownerEnabledWhileUp);
    EXPECT_EQ(::CommDlgExtendedError(), 0u);
    EXPECT_STREQ(file, "");
}

TEST_F(DesktopTest, TheOpenFileDialogReturnsTheFileTypedIntoIt) {
    WriteFile(Posix("picked.txt"), "x");
    static const char filter[] = "Text files\0*.txt\0All files\0*\0";
    char file[260] = "";
    OPENFILENAMEA ofn = PickAFile(filter, file, sizeof file);
    // A path typed from "/" opens the dialog's location entry; Return takes it.
    std::vector<std::string> keys = KeysFor(Posix("picked.txt"));
    keys.push_back("Return");
    User user{"Pick a file", keys};
    user.hOwner = m_pMain->m_hWnd;
    ASSERT_TRUE(user.During([&] { return ::GetOpenFileNameA(&ofn); })) << ::CommDlgExtendedError();
    EXPECT_FALSE(user.ownerEnabledWhileUp);
    EXPECT_STREQ(file, "C:\\picked.txt");
    EXPECT_STREQ(file + ofn.nFileOffset, "picked.txt");
}

TEST_F(DesktopTest, OleDataTextGoesThroughTheDesktopsClipboardBothWays) {
    // A data source the frame puts on the clipboard is what another program reads.
    auto* source = new COleDataSource;  // the clipboard takes it
    const char text[] = "OLE caf\xE9\r\n";
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, sizeof text);
    std::memcpy(::GlobalLock(hMem), text, sizeof text);
    ::GlobalUnlock(hMem);
    source->CacheGlobalData(CF_TEXT, hMem);
    source->SetClipboard();
    ASSERT_EQ(COleDataSource::GetClipboardOwner(), source);
    ASSERT_EQ(display::Run({"xclip", "-o", "-selection", "clipboard"}, "", Posix("out.txt")), 0);
    EXPECT_EQ(ReadFile(Posix("out.txt")), "OLE caf\xC3\xA9\n");

    // Another program's text is what a data object on the clipboard reads.
    OtherProgramCopies("from xclip \xC3\xA9");
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    // xclip's first process may end before the one it leaves behind holds the clipboard.
    std::string read;
    EXPECT_TRUE(display::RunUntil([&] {
        HGLOBAL hRead = data.GetGlobalData(CF_TEXT);
        read = hRead ? static_cast<const char*>(::GlobalLock(hRead)) : "<none>";
        if (hRead) {
            ::GlobalUnlock(hRead);
            ::GlobalFree(hRead);
        }
        return read == "from xclip \xC3\xA9";
    })) << read;
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr) << "the source went with the clipboard's contents";
}

namespace {

// The test's clipboard manager, from when it says it is ready until the
// object goes.
struct ClipboardManager {
    pid_t pid = 0;
    bool ready = false;
    ClipboardManager() {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        char* argv[] = {const_cast<char*>(CBASIS_CLIPBOARD_MANAGER), nullptr};
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ) != 0) pid = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        char said[8] = {};
        ready = pid && read(fds[0], said, 6) == 6 && std::string(said) == "ready\n";
        close(fds[0]);
    }
    ~ClipboardManager() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

}  // namespace

TEST_F(DesktopTest, TextCopiedByAProgramThatExitedStaysWhereTheDesktopHasAClipboardManager) {
    // Without a manager, the text goes with the program that copied it.
    ASSERT_EQ(display::Run({CBASIS_CLIPBOARD_COPIER, "gone with it"}, "", ""), 0);
    EXPECT_NE(display::Run({"xclip", "-o", "-selection", "clipboard"}, "", Posix("out.txt")), 0)
        << "still there: " << ReadFile(Posix("out.txt"));

    ClipboardManager manager;
    ASSERT_TRUE(manager.ready);
    ASSERT_EQ(display::Run({CBASIS_CLIPBOARD_COPIER, "kept caf\xE9"}, "", ""), 0);
    ASSERT_EQ(display::Run({"xclip", "-o", "-selection", "clipboard"}, "", Posix("out.txt")), 0);
    EXPECT_EQ(ReadFile(Posix("out.txt")), "kept caf\xC3\xA9");
}

// The sketch example on a display, used as a user uses it: its window tree
// has the menu bar, tool bar, status bar and panel its resources and its
// main frame make; Alt and a menu's underlined letter open the menu and
// Return sends the item's command; an accelerator and a tool bar button
// send theirs; the About box opens from the Help menu as a window of its own and Return
// closes it; Alt+F4 ends the program, which saves its placement. The
// program runs with -report: it prints its window tree once shown, then
// each command that reaches its main frame.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "XServer.h"
#include "support/TempDir.h"

namespace {

// The ids the program's resource script gives its commands.
const char kFileNew[] = "command 57600";
const char kAppAbout[] = "command 57664";

class SketchOnDisplayTest : public TempDirTest {
protected:
    void SetUp() override {
        std::string why;
        if (!display::Ready(&why)) GTEST_SKIP() << "no display for the display tests: " << why;
        TempDirTest::SetUp();
    }
    void TearDown() override {
        if (m_pipe) ::pclose(m_pipe);
        TempDirTest::TearDown();
    }

    // Starts the program and reads its tree; true once its window is on
    // the screen, with the pointer over its status bar (the keys go to
    // the window under the pointer: there is no window manager).
    bool Start() {
        std::string command = "cd '" + m_root + "' && XDG_CONFIG_HOME='" + m_root +
                              "/config' CBASIS_DISPLAY=gtk3 timeout 60 '" CBASIS_SKETCH_PATH "' -report 2>&1";
        m_pipe = ::popen(command.c_str(), "r");
        if (!m_pipe || !ReadUntil("MenuBar")) return false;
        m_frame = WaitForWindow("Sketch", true);
        if (m_frame.right <= m_frame.left) return false;
        display::MoveTo((m_frame.left + m_frame.right) / 2, m_frame.bottom - 8);
        return true;
    }

    // Reads the program's lines until one holds the text (an empty text:
    // to the end); what was read is kept in m_out.
    bool ReadUntil(const std::string& text) {
        char buffer[1024];
        while (std::fgets(buffer, sizeof buffer, m_pipe)) {
            m_out += buffer;
            if (!text.empty() && std::string(buffer).find(text) != std::string::npos) return true;
        }
        return false;
    }

    // Waits (the program is another process) until a window titled title
    // is on the screen, or gone; its rectangle.
    static RECT WaitForWindow(const char* title, bool present) {
        for (int i = 0; i < 250; ++i) {
            RECT r = display::WindowRect(display::FindWindow(title));
            if ((r.right > r.left) == present) return r;
            ::usleep(20000);
        }
        return RECT{};
    }

    static void Chord(const char* modifier, const char* key) {
        display::Key(modifier, true);
        display::Tap(key);
        display::Key(modifier, false);
    }

    void Screenshot(const RECT& r, const char* name) {
        if (const char* dir = std::getenv("CBASIS_DISPLAY_SCREENSHOT_DIR"))
            display::WritePng(display::Grab(r), r.right - r.left, r.bottom - r.top, std::string(dir) + "/" + name);
    }

    // Alt+F4 on the main window; true when the program then ended well.
    bool Close() {
        Chord("Alt_L", "F4");
        ReadUntil("");
        int status = ::pclose(m_pipe);
        m_pipe = nullptr;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    FILE* m_pipe = nullptr;
    std::string m_out;
    RECT m_frame{};
};

}  // namespace

TEST_F(SketchOnDisplayTest, ItsBarsShowItsKeysSendCommandsAndItKeepsItsPlacement) {
    ASSERT_TRUE(Start()) << m_out;
    // The frame's children: the bars and the menu bar along its edges, the
    // panel on the left and the MDI client with the first sketch.
    for (const char* line : {"\n    CToolBar ", "\n    CStatusBar ", "\n    MenuBar ", "\n    CButton \"Tools\" (",
                             "\n    MDIClient ", "\n      CMDIChildWnd \"Sketch1\"", "\n        CSketchView "}) {
        SCOPED_TRACE(line);
        EXPECT_NE(m_out.find(line), std::string::npos) << m_out;
    }
    // The panel is painted in its colour down the frame's left edge (once
    // the program has drawn its window).
    int middle = (m_frame.top + m_frame.bottom) / 2;
    uint32_t panel = 0;
    for (int i = 0; i < 100 && panel != 0x008080u; ++i, ::usleep(20000)) {
        std::vector<uint32_t> pixel = display::Grab(RECT{m_frame.left + 60, middle, m_frame.left + 61, middle + 1});
        panel = pixel.empty() ? 0 : pixel[0];
    }
    EXPECT_EQ(panel, 0x008080u);
    Screenshot(m_frame, "sketch.png");

    // New three ways: the accelerator, the File menu's first item and the
    // tool bar's first button.
    Chord("Control_L", "n");
    ASSERT_TRUE(ReadUntil(kFileNew)) << m_out;
    Chord("Alt_L", "f");
    display::RunUntil([] { return false; }, 300);  // the menu opens
    Screenshot(m_frame, "sketch-file-menu.png");
    display::Tap("Return");
    ASSERT_TRUE(ReadUntil(kFileNew)) << m_out;

    // A click on the tool bar's first button (New), at its left end.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(m_out, m, std::regex("\n    CToolBar \"[^\"]*\" \\((-?\\d+),(-?\\d+)\\)"))) << m_out;
    display::Click(std::stoi(m[1]) + 12, std::stoi(m[2]) + 13);
    ASSERT_TRUE(ReadUntil(kFileNew)) << m_out;
    display::MoveTo((m_frame.left + m_frame.right) / 2, m_frame.bottom - 8);

    ASSERT_TRUE(Close()) << m_out;
    std::string profile = ReadFile("config/CBasis1 Examples/Sketch.ini");
    EXPECT_NE(profile.find("[Mainframe Settings]"), std::string::npos) << profile;
    EXPECT_NE(profile.find("Left=" + std::to_string(m_frame.left)), std::string::npos) << profile;
    EXPECT_NE(profile.find("Maximized=0"), std::string::npos) << profile;
}

TEST_F(SketchOnDisplayTest, TheAboutBoxOpensFromTheHelpMenuAndReturnClosesIt) {
    ASSERT_TRUE(Start()) << m_out;
    Chord("Alt_L", "h");
    display::RunUntil([] { return false; }, 300);
    display::Tap("Return");
    ASSERT_TRUE(ReadUntil(kAppAbout)) << m_out;
    RECT box = WaitForWindow("About Sketch", true);
    ASSERT_GT(box.right, box.left) << "no About box on the screen";
    display::MoveTo((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    display::RunUntil([] { return false; }, 300);  // drawn
    Screenshot(box, "sketch-about.png");
    display::Tap("Return");
    EXPECT_EQ(WaitForWindow("About Sketch", false).right, 0);
    display::MoveTo((m_frame.left + m_frame.right) / 2, m_frame.bottom - 8);
    EXPECT_TRUE(Close()) << m_out;
}

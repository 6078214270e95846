// `cbasis frame-demo` on a display, as a user runs it: it says when it is
// on the screen, takes typing into its report and closes with Alt+F4,
// printing what the user did and saving where the window was.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "XServer.h"
#include "support/TempDir.h"

namespace {

class FrameDemoOnDisplayTest : public TempDirTest {
protected:
    void SetUp() override {
        std::string why;
        if (!display::Ready(&why)) GTEST_SKIP() << "no display for the display tests: " << why;
        TempDirTest::SetUp();
    }
};

// Reads lines from the pipe until one holds the text (an empty text: to
// the end); what was read goes to *out.
bool ReadUntil(FILE* pipe, const std::string& text, std::string* out) {
    char buffer[1024];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        *out += buffer;
        if (!text.empty() && std::string(buffer).find(text) != std::string::npos) return true;
    }
    return false;
}

// Waits (without a message loop: the demo is another process) until a
// window titled title is on the screen, or gone; its rectangle.
RECT WaitForWindow(const char* title, bool present) {
    for (int i = 0; i < 250; ++i) {
        RECT r = display::WindowRect(display::FindWindow(title));
        if ((r.right > r.left) == present) return r;
        ::usleep(20000);
    }
    return RECT{};
}

}  // namespace

TEST_F(FrameDemoOnDisplayTest, ItShowsTakesTypingAndClosesWithAltF4) {
    std::string command = "cd '" + m_root + "' && CBASIS_DISPLAY=gtk3 timeout 60 '" CBASIS_TOOL_PATH
                          "' frame-demo --profile-dir '" + m_root + "/profile' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    ASSERT_TRUE(ReadUntil(pipe, "shown", &out)) << out;
    std::string tree;
    ASSERT_TRUE(ReadUntil(pipe, "CReportView", &tree)) << tree;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(tree, m, std::regex("CReportView \"[^\"]*\" \\((-?\\d+),(-?\\d+)\\)-"))) << tree;
    int left = std::stoi(m[1]), top = std::stoi(m[2]);
    display::Click(left + 200, top + 200);  // below the text: the caret goes to its end
    for (const char* key : {"H", "i"}) {
        if (*key == 'H') display::Key("Shift_L", true);
        display::Tap(key);
        if (*key == 'H') display::Key("Shift_L", false);
    }
    // The report was edited: closing asks whether to save it. Escape
    // cancels and the frame stays; the second time Return saves (Yes).
    for (const char* answer : {"Escape", "Return"}) {
        SCOPED_TRACE(answer);
        display::Click(left + 200, top + 200);
        display::Key("Alt_L", true);
        display::Tap("F4");
        display::Key("Alt_L", false);
        RECT box = WaitForWindow("FrameDemo", true);
        ASSERT_GT(box.right, box.left) << "no box asked to save the report";
        display::MoveTo((box.left + box.right) / 2, box.top + 10);
        display::Tap(answer);
        ASSERT_EQ(WaitForWindow("FrameDemo", false).right, 0);
    }
    std::string rest;
    ReadUntil(pipe, "", &rest);
    int status = ::pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out << tree << rest;
    EXPECT_NE(rest.find("Report line 6Hi\""), std::string::npos) << rest;  // what the user typed, in the tree
    EXPECT_NE(rest.find("saved in [Mainframe Settings]:"), std::string::npos) << rest;
    EXPECT_NE(rest.find("  Maximized=0"), std::string::npos) << rest;
    std::ifstream saved(m_root + "/profile/Report.txt", std::ios::binary);
    std::string report((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_NE(report.find("Report line 5\r\nReport line 6Hi"), std::string::npos) << "saved: " << report;
}

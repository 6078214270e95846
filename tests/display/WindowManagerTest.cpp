// `cbasis frame-demo` under a real window manager (openbox), and on a
// display scaled by two, each on an X server of the test's own so the
// window manager reaches no other test's windows. The user's actions are
// the desktop's own tools: wmctrl asks the window manager to maximize or
// close, xprop and xwininfo say what the X server holds.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <regex>
#include <string>

#include "XServer.h"
#include "support/TempDir.h"

extern char** environ;

namespace {

// An Xvfb of the test's own, with openbox on it when asked; both end by
// their process ids with the object.
class OwnDisplay {
public:
    explicit OwnDisplay(bool withWindowManager) {
        if (!display::StartXvfb(&m_xvfb, &m_name, &m_why) || !withWindowManager) return;
        std::string variable = "DISPLAY=" + m_name;
        const char* argv[] = {"env", variable.c_str(), "openbox", "--sm-disable", nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&m_wm, "env", &actions, nullptr, const_cast<char**>(argv), environ) != 0) m_wm = 0;
        posix_spawn_file_actions_destroy(&actions);
        if (!m_wm) m_why = "openbox could not be started (scripts/install-deps.sh installs it)";
        // Managing the screen once it answers as the window manager.
        else if (!WaitFor([this] { return Shell("wmctrl -m").find("Openbox") != std::string::npos; }))
            m_why = "openbox did not take the screen";
    }
    ~OwnDisplay() {
        for (pid_t pid : {static_cast<pid_t>(m_wm), static_cast<pid_t>(m_xvfb)})
            if (pid > 0) {
                kill(pid, SIGTERM);
                waitpid(pid, nullptr, 0);
            }
    }
    const std::string& Why() const { return m_why; }

    // A shell command on this display; what it printed on stdout.
    std::string Shell(const std::string& command) const {
        std::string output;
        FILE* pipe = popen(("DISPLAY=" + m_name + " " + command + " 2>/dev/null").c_str(), "r");
        if (!pipe) return output;
        char buffer[512];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
        pclose(pipe);
        return output;
    }
    // Polls the condition for up to five seconds.
    template <class Pred>
    static bool WaitFor(Pred pred) {
        for (int i = 0; i < 250; ++i) {
            if (pred()) return true;
            usleep(20000);
        }
        return false;
    }
    // Where the X window is on the screen, in device pixels.
    RECT Geometry(const std::string& window) const {
        std::string info = Shell("xwininfo -id " + window);
        std::smatch m;
        static const std::regex fields(
            "Absolute upper-left X: +(-?\\d+)\\s+Absolute upper-left Y: +(-?\\d+)[\\s\\S]*Width: (\\d+)\\s+Height: "
            "(\\d+)");
        if (!std::regex_search(info, m, fields)) return RECT{};
        int x = std::stoi(m[1]), y = std::stoi(m[2]);
        return RECT{x, y, x + std::stoi(m[3]), y + std::stoi(m[4])};
    }
    bool Maximized(const std::string& window) const {
        std::string state = Shell("xprop -id " + window + " _NET_WM_STATE");
        return state.find("_NET_WM_STATE_MAXIMIZED_VERT") != std::string::npos &&
               state.find("_NET_WM_STATE_MAXIMIZED_HORZ") != std::string::npos;
    }
    bool Minimized(const std::string& window) const {
        return Shell("xprop -id " + window + " _NET_WM_STATE").find("_NET_WM_STATE_HIDDEN") != std::string::npos;
    }

    std::string m_name;

private:
    int m_xvfb = 0;
    int m_wm = 0;
    std::string m_why;
};

// One run of frame-demo on the display, its output read as it comes.
class Demo {
public:
    Demo(const OwnDisplay& display, const std::string& profileDir, const std::string& environment = "") {
        std::string command = "DISPLAY=" + display.m_name + " CBASIS_DISPLAY=gtk3 " + environment +
                              " timeout 60 '" CBASIS_TOOL_PATH "' frame-demo --profile-dir '" + profileDir + "' 2>&1";
        m_pipe = popen(command.c_str(), "r");
    }
    ~Demo() {
        if (m_pipe) pclose(m_pipe);
    }
    // Reads until it is on the screen: the main frame's rectangle (logical
    // coordinates) from the first line of the tree it prints.
    bool Shown(RECT* main, std::string* line) {
        if (!ReadUntil("shown\n") || !ReadUntil("\n")) return false;
        *line = m_out.substr(m_out.rfind('\n', m_out.size() - 2) + 1);
        std::smatch m;
        if (!std::regex_search(*line, m, std::regex("\\((-?\\d+),(-?\\d+)\\)-\\((-?\\d+),(-?\\d+)\\)"))) return false;
        *main = RECT{std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4])};
        return true;
    }
    // Everything to the end, and whether it exited with 0.
    bool Finish() {
        ReadUntil("");
        int status = pclose(m_pipe);
        m_pipe = nullptr;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    const std::string& Out() const { return m_out; }

private:
    bool ReadUntil(const std::string& text) {
        size_t from = m_out.size();
        int c;
        while (m_pipe && (c = std::fgetc(m_pipe)) != EOF) {
            m_out += static_cast<char>(c);
            if (!text.empty() && m_out.size() - from >= text.size() && m_out.ends_with(text)) return true;
        }
        return false;
    }

    FILE* m_pipe = nullptr;
    std::string m_out;
};

std::string Saved(const RECT& r, int iconic, int maximized) {
    return "  Right=" + std::to_string(r.right) + "\n  Left=" + std::to_string(r.left) +
           "\n  Top=" + std::to_string(r.top) + "\n  Bottom=" + std::to_string(r.bottom) +
           "\n  Iconic=" + std::to_string(iconic) + "\n  Maximized=" + std::to_string(maximized) + "\n";
}

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

class WindowManagerTest : public TempDirTest {
protected:
    void SetUp() override {
        std::string why;
        if (!display::Ready(&why)) GTEST_SKIP() << "no display for the display tests: " << why;
        TempDirTest::SetUp();
    }
    // The frame's X window (the demo's only top-level window), shown or not.
    static std::string WindowOf(const OwnDisplay& d) {
        std::string id;
        OwnDisplay::WaitFor([&] {
            id = d.Shell("xdotool search --name '^Frame Demo'");
            return !id.empty();
        });
        return id.substr(0, id.find('\n'));
    }
};

}  // namespace

TEST_F(WindowManagerTest, MaximizedAndMinimizedByTheWindowManagerTheFrameComesBackSoOverItsNormalPosition) {
    OwnDisplay d(true);
    ASSERT_EQ(d.Why(), "");
    RECT normal{};
    {
        Demo first(d, m_root + "/profile");
        std::string line;
        ASSERT_TRUE(first.Shown(&normal, &line)) << first.Out();
        std::string window = WindowOf(d);
        ASSERT_FALSE(window.empty());
        d.Shell("wmctrl -i -r " + window + " -b add,maximized_vert,maximized_horz");
        ASSERT_TRUE(OwnDisplay::WaitFor([&] {
            return d.Maximized(window) &&
                   d.Geometry(window).right - d.Geometry(window).left > normal.right - normal.left;
        }));
        d.Shell("wmctrl -i -c " + window);  // as the title bar's close button
        ASSERT_TRUE(first.Finish()) << first.Out();
        EXPECT_NE(first.Out().find(Saved(normal, 0, 1)), std::string::npos) << first.Out();
    }
    Demo second(d, m_root + "/profile");
    RECT shown{};
    std::string line;
    ASSERT_TRUE(second.Shown(&shown, &line)) << second.Out();
    EXPECT_NE(second.Out().find("restored placement: maximized, normal position " + Text(normal)), std::string::npos)
        << second.Out();
    EXPECT_NE(line.find(" maximized"), std::string::npos) << line;
    std::string window = WindowOf(d);
    ASSERT_TRUE(OwnDisplay::WaitFor([&] { return d.Maximized(window); })) << "the window manager was not asked";

    // Restoring gives back the normal position from before.
    d.Shell("wmctrl -i -r " + window + " -b remove,maximized_vert,maximized_horz");
    RECT restored{};
    EXPECT_TRUE(OwnDisplay::WaitFor([&] {
        restored = d.Geometry(window);
        return Text(restored) == Text(normal);
    })) << Text(restored)
        << " for " << Text(normal);

    // Minimized by the window manager and closed so: it starts minimized,
    // and restoring it gives back the normal position.
    d.Shell("xdotool windowminimize " + window);
    ASSERT_TRUE(OwnDisplay::WaitFor([&] { return d.Minimized(window); }));
    d.Shell("wmctrl -i -c " + window);
    ASSERT_TRUE(second.Finish()) << second.Out();
    EXPECT_NE(second.Out().find(Saved(normal, 1, 0)), std::string::npos) << second.Out();

    Demo third(d, m_root + "/profile");
    window = WindowOf(d);
    ASSERT_TRUE(OwnDisplay::WaitFor([&] { return d.Minimized(window); })) << "the window manager was not asked";
    d.Shell("wmctrl -i -a " + window);  // as the task bar's button
    ASSERT_TRUE(third.Shown(&shown, &line)) << third.Out();
    // The frame hears of the restore before the close the window manager
    // sends after it; closing while still minimized would save it so.
    ASSERT_TRUE(OwnDisplay::WaitFor([&] { return !d.Minimized(window); })) << "the window manager did not restore it";
    EXPECT_NE(third.Out().find("restored placement: minimized, normal position " + Text(normal)), std::string::npos)
        << third.Out();
    EXPECT_TRUE(OwnDisplay::WaitFor([&] {
        restored = d.Geometry(window);
        return Text(restored) == Text(normal);
    })) << Text(restored)
        << " for " << Text(normal);
    d.Shell("wmctrl -i -c " + window);
    ASSERT_TRUE(third.Finish()) << third.Out();
    EXPECT_NE(third.Out().find(Saved(normal, 0, 0)), std::string::npos) << third.Out();
}

TEST_F(WindowManagerTest, AtScaleTwoTheWindowHasTwiceItsLogicalSizeAndTheProfileKeepsLogicalOnes) {
    OwnDisplay d(false);
    ASSERT_EQ(d.Why(), "");
    Demo demo(d, m_root + "/profile", "GDK_SCALE=2");
    RECT logical{};
    std::string line;
    ASSERT_TRUE(demo.Shown(&logical, &line)) << demo.Out();
    std::string window = WindowOf(d);
    RECT device = d.Geometry(window);
    EXPECT_EQ(device.right - device.left, 2 * (logical.right - logical.left)) << Text(device) << " " << Text(logical);
    EXPECT_EQ(device.bottom - device.top, 2 * (logical.bottom - logical.top)) << Text(device) << " " << Text(logical);
    EXPECT_EQ(device.left, 2 * logical.left);
    EXPECT_EQ(device.top, 2 * logical.top);
    // Alt+F4 where the pointer is (the keyboard follows it without a window manager).
    d.Shell("xdotool mousemove " + std::to_string(device.left + 200) + " " + std::to_string(device.top + 200) +
            " click 1 key alt+F4");
    ASSERT_TRUE(demo.Finish()) << demo.Out();
    EXPECT_NE(demo.Out().find(Saved(logical, 0, 0)), std::string::npos) << demo.Out();
}

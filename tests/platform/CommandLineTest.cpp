// The application's command line and the place of its profile.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/kernel/Profile.h"
#include "platform/mfc/App.h"

namespace {

// Parses the arguments as the program's own (the program's name first).
void Parse(CWinApp& app, std::vector<std::string> args, CCommandLineInfo& info) {
    args.insert(args.begin(), "program");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    int oldArgc = __argc;
    char** oldArgv = __argv;
    __argc = static_cast<int>(argv.size());
    __argv = argv.data();
    app.ParseCommandLine(info);
    __argc = oldArgc;
    __argv = oldArgv;
}

}  // namespace

TEST(CommandLineTest, ArgumentsBecomeShellCommandsAndFiles) {
    CWinApp app;
    const struct {
        std::vector<std::string> args;
        int command;
        const char* file;
        BOOL bSplash;
    } cases[] = {
        {{}, CCommandLineInfo::FileNew, "", TRUE},
        {{"/home/a/notes.skt"}, CCommandLineInfo::FileOpen, "/home/a/notes.skt", TRUE},  // '/' starts a path
        {{"-nologo", "b.skt", "c.skt"}, CCommandLineInfo::FileOpen, "b.skt", FALSE},     // the first file counts
        {{"-P", "d.skt"}, CCommandLineInfo::FilePrint, "d.skt", TRUE},                   // flags in any case
        {{"-Embedding"}, CCommandLineInfo::FileNew, "", FALSE},
        {{"-unknown"}, CCommandLineInfo::FileNew, "", TRUE},
        {{"-"}, CCommandLineInfo::FileOpen, "-", TRUE},  // a lone dash is a name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args[0]);
        CCommandLineInfo info;
        Parse(app, c.args, info);
        EXPECT_EQ(info.m_nShellCommand, c.command);
        EXPECT_EQ(info.m_strFileName, c.file);
        EXPECT_EQ(info.m_bShowSplash, c.bSplash);
    }
}

TEST(CommandLineTest, RegistryKeyPlacesTheProfileAndCannotLeaveTheConfigFolder) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    const struct {
        const char* app;
        const char* key;
        const char* profile;
    } cases[] = {
        {"sketch", nullptr, "/cfg/sketch/sketch.ini"},
        {"sketch", "Acme Tools", "/cfg/Acme Tools/sketch.ini"},
        {"sketch", "..", "/cfg/_/sketch.ini"},
        {"..", "a/b", "/cfg/a_b/_.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        EXPECT_EQ(PlatformDefaultProfile(c.app, c.key), c.profile);
    }
    {
        CWinApp app;  // named after the program: the name is the process's
        app.SetRegistryKey("Acme Tools");
        EXPECT_EQ(CString(app.m_pszProfileName), "/cfg/Acme Tools/" + CString(app.m_pszAppName) + ".ini");
    }
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

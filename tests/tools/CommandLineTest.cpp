// What every command shares: one option parser, --help, --version, the
// command list, and typed names that a library path cannot carry.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tools/ToolTest.h"

namespace {

using CommandLineTest = ToolTest;

const char* const kCommands[] = {"copy",        "copy-tree", "delete-tree", "event", "frame-demo",
                                 "guard",       "guid",      "log",         "ls",    "mkdir",
                                 "new-project", "prune",     "split",       "words", "rename-in-place"};

TEST_F(CommandLineTest, EveryCommandRefusesUnknownOptionsAndExplainsItself) {
    for (const char* command : kCommands) {
        for (const char* option : {"--bogus", "-x", "--bogus=1"}) {
            SCOPED_TRACE(std::string(command) + " " + option);
            // Operands that would do something were the option taken as one.
            Result r = Run({command, option, "a", "b", "c"});
            EXPECT_EQ(r.code, 2) << r.err;
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err.rfind("cbasis " + std::string(command) + ": unknown option '" + option + "'\n", 0), 0u)
                << r.err;
        }
        SCOPED_TRACE(command);
        Result help = Run({command, "--help"});
        EXPECT_EQ(help.code, 0);
        EXPECT_EQ(help.out.rfind("usage: cbasis " + std::string(command), 0), 0u) << help.out;
        EXPECT_EQ(Run({command, "-h"}).out, help.out);
    }
    EXPECT_FALSE(Exists("a") || Exists("b") || Exists("c"));
}

TEST_F(CommandLineTest, TwoDashesEndTheOptions) {
    WriteFile("-f", "one two");
    Result words = Run({"words", "--", "-f"});
    EXPECT_EQ(words.code, 0) << words.err;
    EXPECT_EQ(words.out, "one\ntwo\n");

    WriteFile("D/-x.txt", "-x");
    Result renamed = Run({"rename-in-place", "D", "--", "-x", "y"});
    EXPECT_EQ(renamed.code, 0) << renamed.err;
    EXPECT_EQ(ReadFile("D/y.txt"), "y");
    // After "--", "--help" is an operand too.
    EXPECT_EQ(Run({"split", "--", "--help"}).out, "drive: \ndir: \ntitle: --help\next: \n");
    // Options may follow operands, and take their value after '='.
    WriteFile("tmpl/Foo/Foo.txt", "Foo");
    EXPECT_EQ(Run({"new-project", "Bar", "--template-root=tmpl", "--keyword=Foo"}).code, 0);
    EXPECT_EQ(ReadFile("Bar/Bar.txt"), "Bar");
}

TEST_F(CommandLineTest, VersionAndTheCommandListInOrder) {
    Result version = Run({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "cbasis " CBASIS_VERSION "\n");

    Result help = Run({"--help"});
    EXPECT_EQ(help.code, 0);
    std::vector<std::string> listed;
    size_t at = help.out.find("commands:\n");
    ASSERT_NE(at, std::string::npos) << help.out;
    for (size_t line = at + 10; line < help.out.size(); line = help.out.find('\n', line) + 1) {
        if (help.out.compare(line, 2, "  ") != 0) break;
        listed.push_back(help.out.substr(line + 2, help.out.find(' ', line + 2) - line - 2));
    }
    std::vector<std::string> expected(std::begin(kCommands), std::end(kCommands));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
    EXPECT_NE(help.out.find("cbasis --version"), std::string::npos);
}

// Names typed for the library to put into a path: refused before anything is
// touched, whatever the command.
TEST_F(CommandLineTest, TypedNamesAPathCannotCarryAreRefused) {
    WriteFile("logs/old.log", "x");
    WriteFile("rn/Foo.txt", "Foo");
    struct Case {
        std::vector<std::string> args;
        std::string name;
    } const cases[] = {
        {{"prune", "logs", "*", "0"}, "*"},
        {{"log", "logs", "*", "hi"}, "*"},
        {{"log", "--mapped", "logs", "a?", "hi"}, "a?"},
        {{"rename-in-place", "rn", "Foo", "X:Y"}, "X:Y"},
        {{"rename-in-place", "rn", "Foo", "a|b"}, "a|b"},
        {{"new-project", "C:"}, "C:"},
        {{"new-project", "A\"B", "--any-name"}, "A\"B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Result r = Run(c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.err.rfind("cbasis " + c.args[0] + ": " + c.name + ": not a name a path can carry", 0), 0u) << r.err;
    }
    EXPECT_EQ(ReadFile("logs/old.log"), "x");
    EXPECT_EQ(ReadFile("rn/Foo.txt"), "Foo");
    EXPECT_EQ(Run({"ls", "logs"}).out, ".\n..\nold.log\n");
    EXPECT_FALSE(Exists("C:"));
}

}  // namespace

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/TempDir.h"

namespace {

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

ToolRun RunTool(const std::string& args, const std::string& errFile) {
    std::string command = std::string(CBASIS_TOOL) + " " + args + " 2>" + errFile;
    ToolRun run{-1, "", ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* err = std::fopen(errFile.c_str(), "rb")) {
        while ((n = fread(buffer, 1, sizeof buffer, err)) > 0) run.err.append(buffer, n);
        std::fclose(err);
    }
    return run;
}

class WordsCommandTest : public TempDirTest {};

}  // namespace

TEST_F(WordsCommandTest, PrintsOneWordPerLine) {
    using namespace std::string_literals;
    WriteFile("src.cpp", "int  my_var = C:\\Dir\\x;\r\nCMyClass::Member(\xe9t\xe9)\0tail"s);
    ToolRun run = RunTool("words '" + Posix("src.cpp") + "'", Posix("err.txt"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "int\nmy_var\nC:\\Dir\\x\nCMyClass::Member\nt\ntail\n");
    EXPECT_EQ(run.err, "");

    WriteFile("empty.txt", "");
    run = RunTool("words '" + Posix("empty.txt") + "'", Posix("err.txt"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
}

TEST_F(WordsCommandTest, ReportsBadInput) {
    ToolRun missing = RunTool("words '" + Posix("nope.txt") + "'", Posix("err.txt"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("nope.txt"), std::string::npos);
    EXPECT_EQ(missing.err.find('\n'), missing.err.size() - 1);  // one line

    ToolRun directory = RunTool("words '" + Posix() + "'", Posix("err.txt"));
    EXPECT_EQ(directory.exitCode, 1);
    EXPECT_NE(directory.err.find("directory"), std::string::npos);

    EXPECT_EQ(RunTool("words", Posix("err.txt")).exitCode, 2);
    EXPECT_EQ(RunTool("words a b", Posix("err.txt")).exitCode, 2);
}

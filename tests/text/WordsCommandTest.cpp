#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/TempDir.h"

namespace {

class WordsCommandTest : public TempDirTest {
protected:
    // Runs "cbasis ARGS": its exit code, and its output (m_out) and errors (m_err).
    int Tool(const std::string& args) {
        std::string command = std::string(CBASIS_TOOL) + " " + args + " 2>'" + Posix("err.txt") + "'";
        FILE* pipe = popen(command.c_str(), "r");
        m_out.clear();
        char buffer[4096];
        for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) m_out.append(buffer, n);
        int status = pipe ? pclose(pipe) : -1;
        m_err = ReadFile("err.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string m_out, m_err;
};

}  // namespace

TEST_F(WordsCommandTest, PrintsOneWordPerLine) {
    using namespace std::string_literals;
    WriteFile("src.cpp", "int  my_var = C:\\Dir\\x;\r\nCMyClass::Member(\xe9t\xe9)\0tail"s);
    EXPECT_EQ(Tool("words '" + Posix("src.cpp") + "'"), 0) << m_err;
    EXPECT_EQ(m_out, "int\nmy_var\nC:\\Dir\\x\nCMyClass::Member\nt\ntail\n");
    WriteFile("empty.txt", "");
    EXPECT_EQ(Tool("words '" + Posix("empty.txt") + "'"), 0);
    EXPECT_EQ(m_out, "");
}

TEST_F(WordsCommandTest, ReportsBadInput) {
    EXPECT_EQ(Tool("words '" + Posix("nope.txt") + "'"), 1);
    EXPECT_EQ(m_out, "");
    EXPECT_NE(m_err.find("nope.txt"), std::string::npos);
    EXPECT_EQ(m_err.find('\n'), m_err.size() - 1);  // one line
    EXPECT_EQ(Tool("words '" + Posix() + "'"), 1);
    EXPECT_NE(m_err.find("directory"), std::string::npos);
    EXPECT_EQ(Tool("words"), 2);
    EXPECT_EQ(Tool("words a b"), 2);
}

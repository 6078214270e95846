// A fixture that runs the built cbasis program in a fresh temporary
// directory (with drive C: mapped into it for the test's own library calls).
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/TempDir.h"

struct Result {
    int code = -1;
    std::string out, err;
};

class ToolTest : public TempDirTest {
protected:
    // Runs cbasis in the temporary directory, with no terminal on stdin, and
    // ends it after a minute (exit 124) should it hang. Arguments are
    // single-quoted for the shell; the tests pass none holding a single
    // quote. prefix goes before the program (an environment, setpriv).
    Result Run(const std::vector<std::string>& args, const std::string& prefix = std::string()) {
        std::string command = "cd '" + m_root + "' && " + prefix + " timeout 60 '" CBASIS_TOOL_PATH "'";
        for (const std::string& a : args) command += " '" + a + "'";
        command += " </dev/null 2>'" + ErrorFile() + "'";
        Result result;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.out.append(buffer, n);
        int status = ::pclose(pipe);
        result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(ErrorFile());
        result.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
        return result;
    }
    std::string ErrorFile() const { return m_root + ".err"; }  // beside the tree, not in it
    void TearDown() override {
        std::filesystem::remove(ErrorFile());
        TempDirTest::TearDown();
    }
};

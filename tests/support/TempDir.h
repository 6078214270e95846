// A fresh temporary directory per test, with drive C: mapped into it so that
// library paths such as "C:\a\b\" land inside it. Removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/atl/Strings.h"

class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // POSIX path of a name inside the directory ("" gives the directory).
    std::string Posix(const std::string& relative = "") const;
    // Writes bytes to a file inside the directory, creating parent folders.
    void WriteFile(const std::string& relative, const std::string& bytes) const;
    // The whole contents of a file inside the directory ("" when missing).
    std::string ReadFile(const std::string& relative) const;
    bool Exists(const std::string& relative) const;

    std::string m_root;  // POSIX path of the directory, no trailing '/'
private:
    CString m_oldDriveC;
};

// Fixture shared by the log tests: C: maps into a fresh temporary directory,
// and the logs write under C:\logs.
#pragma once

#include <string>
#include <vector>

#include "platform/Strings.h"
#include "platform/Windows.h"
#include "support/TempDir.h"

class LogTest : public TempDirTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The bytes of a file named by a library path ("" when missing).
    std::string Contents(const CString& path) const;
    // The POSIX path of a library path.
    static std::string PosixOf(const CString& path);
    // Makes the file's modification time lie days in the past.
    static void Age(const std::string& posix, int days);
    // A window that records every message it receives, with its number.
    HWND Window(int id);
    // Delivers the posted messages; returns the ids of the windows that got
    // WM_LOGUPDATED, in order.
    std::vector<int> Notified();

    std::vector<int> m_received;
    std::vector<HWND> m_windows;
};

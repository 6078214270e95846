// Fixture shared by the log tests: C: maps into a fresh temporary directory,
// and the logs write under C:\logs.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "logging/CRunningLog.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/Syscalls.h"
#include "support/TempDir.h"

class LogTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directories(Posix("logs"));
    }
    void TearDown() override {
        PlatformResetSyscalls();
        for (HWND window : m_windows) DestroyWindow(window);
        TempDirTest::TearDown();
    }
    static std::string PosixOf(const CString& path) {
        std::string posix;
        PlatformToPosixPath(path, posix);
        return posix;
    }
    // The bytes of a file named by a library path ("" when missing).
    std::string Contents(const CString& path) const { return ReadFile(PosixOf(path).substr(m_root.size() + 1)); }
    static void Age(const std::string& posix, int days) {
        std::filesystem::last_write_time(posix,
                                         std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * days));
    }
    // A window that records the WM_LOGUPDATED messages it receives.
    HWND Window(int id) {
        auto proc = [this, id](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_LOGUPDATED && wParam == 0 && lParam == 0) m_received.push_back(id);
            return DefWindowProcA(hwnd, message, wParam, lParam);
        };
        m_windows.push_back(
            PlatformCreateWindowEx(proc, 0, "LogView", "", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr));
        return m_windows.back();
    }
    // Delivers the posted messages; the ids of the windows notified, in order.
    std::vector<int> Notified() {
        PlatformPumpMessages();
        return std::exchange(m_received, {});
    }

    std::vector<int> m_received;
    std::vector<HWND> m_windows;
};

#include "LogTest.h"

#include <filesystem>

#include "logging/CRunningLog.h"
#include "platform/Paths.h"
#include "platform/Syscalls.h"

void LogTest::SetUp() {
    TempDirTest::SetUp();
    std::filesystem::create_directories(Posix("logs"));
}

void LogTest::TearDown() {
    PlatformResetSyscalls();
    for (HWND window : m_windows) DestroyWindow(window);
    TempDirTest::TearDown();
}

std::string LogTest::PosixOf(const CString& path) {
    std::string posix;
    PlatformToPosixPath(path, posix);
    return posix;
}

std::string LogTest::Contents(const CString& path) const {
    return ReadFile(PosixOf(path).substr(m_root.size() + 1));
}

void LogTest::Age(const std::string& posix, int days) {
    auto when = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * days);
    std::filesystem::last_write_time(posix, when);
}

HWND LogTest::Window(int id) {
    HWND window = PlatformCreateWindowEx(
        [this, id](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (message == WM_LOGUPDATED && wParam == 0 && lParam == 0) m_received.push_back(id);
            return DefWindowProcA(hwnd, message, wParam, lParam);
        },
        0, "LogView", "", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr);
    m_windows.push_back(window);
    return window;
}

std::vector<int> LogTest::Notified() {
    PlatformPumpMessages();
    std::vector<int> received;
    received.swap(m_received);
    return received;
}

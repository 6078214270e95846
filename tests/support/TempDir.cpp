#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/kernel/Paths.h"

namespace fs = std::filesystem;

void TempDirTest::SetUp() {
    std::string pattern = (fs::temp_directory_path() / "cbasis-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_root = pattern;
    m_oldDriveC = PlatformGetDrive('C');
    PlatformSetDrive('C', m_root.c_str());
}

void TempDirTest::TearDown() {
    PlatformSetDrive('C', m_oldDriveC);
    std::error_code ec;
    if (!m_root.empty()) {
        // Read-only files and folders left by a test must not stop the clean-up.
        for (auto& entry : fs::recursive_directory_iterator(m_root, ec))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_root, ec);
    }
}

std::string TempDirTest::Posix(const std::string& relative) const {
    return relative.empty() ? m_root : m_root + "/" + relative;
}

void TempDirTest::WriteFile(const std::string& relative, const std::string& bytes) const {
    fs::path path = Posix(relative);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string TempDirTest::ReadFile(const std::string& relative) const {
    std::ifstream in(Posix(relative), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

bool TempDirTest::Exists(const std::string& relative) const {
    std::error_code ec;
    return fs::symlink_status(Posix(relative), ec).type() != fs::file_type::not_found;
}

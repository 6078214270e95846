// The built-in sample template, written into a temporary directory of its
// own for one command and removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace cbasis {

class SampleDir {
public:
    SampleDir() = default;
    ~SampleDir();
    SampleDir(const SampleDir&) = delete;
    SampleDir& operator=(const SampleDir&) = delete;

    // Makes the directory ($TMPDIR, or /tmp) and writes the sample into it.
    // False, with the reason, when that cannot be done.
    bool Make(std::string& error);
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace cbasis

#include "SampleDir.h"

#include <cstdlib>

#include "Sample.h"
#include "platform/kernel/Paths.h"
#include "project/CProject.h"

namespace fs = std::filesystem;

namespace cbasis {

SampleDir::~SampleDir() {
    if (!m_path.empty()) CProject::CDeleteDirectory(PlatformFromPosixPath(m_path.string()));
}

bool SampleDir::Make(std::string& error) {
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec) {
        const char* tmpdir = std::getenv("TMPDIR");
        error = "no directory for temporary files (TMPDIR='" + std::string(tmpdir ? tmpdir : "") + "'): " +
                ec.message();
        return false;
    }
    std::string pattern = (base / "cbasis-sample-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        error = "cannot make a temporary directory in '" + base.string() + "' for the sample";
        return false;
    }
    m_path = pattern;
    return WriteSample(m_path.string(), error);
}

}  // namespace cbasis

#include "Sample.h"

#include <cstdio>
#include <filesystem>

namespace cbasis {

bool WriteSample(const std::string& root, std::string& error) {
    for (std::size_t i = 0; i < kSampleFileCount; ++i) {
        const SampleFile& file = kSampleFiles[i];
        std::filesystem::path path = std::filesystem::path(root) / file.path;
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        FILE* out = std::fopen(path.c_str(), "wb");
        bool written = out && (file.size == 0 || std::fwrite(file.data, file.size, 1, out) == 1);
        if (out && std::fclose(out) != 0) written = false;
        if (!written) {
            error = "cannot write the sample file '" + path.string() + "'";
            return false;
        }
    }
    return true;
}

}  // namespace cbasis

// Counting a tree the way the library lists it.
#include "TreeCount.h"

#include "platform/kernel/Paths.h"

namespace fs = std::filesystem;

namespace cbasis {
namespace {

// Names the library gives its temporary files while it rewrites one.
bool IsTemporary(const std::string& name) {
    return name.rfind(".cb", 0) == 0 && name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0;
}

void CountInto(const fs::path& dir, const fs::path& relative, const std::string& word, TreeCount& count) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (!PlatformIsRepresentableName(name.c_str())) continue;
        std::error_code typeError;
        fs::file_type type = it->symlink_status(typeError).type();
        if (!word.empty() && name.find(word) != std::string::npos) count.matching.push_back(relative / name);
        if (type == fs::file_type::directory) {
            ++count.directories;
            CountInto(it->path(), relative / name, word, count);
        } else if (type == fs::file_type::regular && !IsTemporary(name)) {
            ++count.files;
        }
    }
}

}  // namespace

TreeCount CountTree(const fs::path& root, const std::string& word) {
    TreeCount count;
    CountInto(root, fs::path(), word, count);
    return count;
}

}  // namespace cbasis

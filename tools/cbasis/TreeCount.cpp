// Counting a tree the way the library lists it.
#include "TreeCount.h"

#include "platform/kernel/Paths.h"
#include "platform/kernel/Undone.h"
#include "platform/kernel/WalkRoot.h"
#include "platform/mfc/Files.h"

namespace cbasis {
namespace {

// Names the library gives its temporary files while it rewrites one.
bool IsTemporary(const std::string& name) {
    return name.rfind(".cb", 0) == 0 && name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0;
}

void CountInto(const CString& dir, const std::filesystem::path& relative, const std::string& word, TreeCount& count) {
    CFileFind find;
    BOOL more = find.FindFile(dir + "\\*.*");
    while (more) {
        more = find.FindNextFile();
        if (find.IsDots()) continue;
        std::string name = find.GetFileName().str();
        if (!word.empty() && name.find(word) != std::string::npos) count.matching.push_back(relative / name);
        if (find.IsDirectory()) {
            ++count.directories;
            CountInto(find.GetFilePath(), relative / name, word, count);
        } else if (!find.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE) && !IsTemporary(name)) {
            ++count.files;
        }
    }
}

}  // namespace

TreeCount CountTree(const std::filesystem::path& root, const std::string& word) {
    TreeCount count;
    UndoneHook reports = PlatformSetUndoneHook(nullptr);
    {
        CString dir = PlatformFromPosixPath(root.string());
        PlatformWalkRoot walk(dir);
        if (walk) CountInto(dir, std::filesystem::path(), word, count);
    }
    PlatformSetUndoneHook(std::move(reports));
    return count;
}

}  // namespace cbasis

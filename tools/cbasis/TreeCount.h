// Counting what a tree holds, as the library sees it, for the tree
// commands' summaries and checks.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace cbasis {

struct TreeCount {
    int files = 0;        // regular files (links and special files are not counted)
    int directories = 0;  // below the root
    // The entries whose own name holds the word asked for, relative to the
    // root, parents before what they hold.
    std::vector<std::filesystem::path> matching;
};

// Walks the tree through the library's finder from a walk root, so no link
// is followed. Entries whose names a library path cannot carry are passed
// over, with all they hold, since the library never sees them; so is a
// directory that cannot be read, and a root that is a link counts nothing.
// None of that is reported: the commands' own walks report it. The
// library's temporary files are not counted.
TreeCount CountTree(const std::filesystem::path& root, const std::string& word = std::string());

}  // namespace cbasis

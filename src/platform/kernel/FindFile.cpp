// The directory search both finders share, and the wildcard rules.
#include "platform/kernel/FindFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/Undone.h"

namespace fs = platform::fs;

namespace platform::find {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace



// Reads the entry's status. False when it cannot be read (the entry vanished
// or cannot be examined); the entry then keeps what its type told.
bool Examine(Listing& listing, Entry& entry) {
    if (entry.status >= 0) return true;
    fs::FileInfo info;
    if (fs::Stat(listing.posix + entry.name, info, false) != 0) return false;
    if (info.isLink) info.size = 0;
    entry.attributes = fs::Attributes(info, entry.name.c_str());
    entry.status = static_cast<int>(listing.statuses.size());
    listing.statuses.push_back(info);
    return true;
}

Entry* Current(Listing* listing) {
    return listing && listing->current >= 0 ? &listing->entries[listing->current] : nullptr;
}

// The status of the current entry, read now if need be: null when there is
// no current entry, all zero when it cannot be read.
const fs::FileInfo* CurrentStatus(Listing* listing) {
    static const fs::FileInfo kNone;
    Entry* entry = Current(listing);
    if (!entry) return nullptr;
    return Examine(*listing, *entry) ? &listing->statuses[entry->status] : &kNone;
}

namespace {

// Splits a search spec into its directory part (with its final separator,
// or a bare drive) and its pattern.
void SplitSpec(const std::string& spec, std::string& dir, std::string& pattern) {
    size_t sep = spec.find_last_of("\\/");
    size_t cut = sep != std::string::npos ? sep + 1 : fs::HasDrive(spec) ? 2 : 0;
    dir = spec.substr(0, cut);
    pattern = spec.substr(cut);
}

int DotRank(const std::string& name) { return name == "." ? 0 : name == ".." ? 1 : 2; }

// strcasecmp's order, without a call for every byte: only upper-case
// letters fold, and the portable ones are ASCII.
int CompareIgnoringCase(const std::string& a, const std::string& b) {
    auto fold = [](char c) {
        unsigned char u = static_cast<unsigned char>(c);
        return static_cast<unsigned char>((u >= 'A' && u <= 'Z') || u >= 0x80 ? Lower(c) : c);
    };
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = fold(a[i]), y = fold(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// "." and ".." first, then by name ignoring case; names that differ only in
// case keep a fixed order by their bytes.
bool ComesFirst(const Entry& a, const Entry& b) {
    if (a.rank != b.rank) return a.rank < b.rank;
    int byCase = CompareIgnoringCase(a.name, b.name);
    return byCase != 0 ? byCase < 0 : a.name < b.name;
}

}  // namespace

// Lists the entries of the spec's directory that match its pattern. False,
// with errno set, when the directory cannot be read or nothing matches.
//
// Left out, and reported to the thread's undone hook: entries whose names a
// library path cannot carry (a name holding '\\' would read as two), entries
// whose type cannot be learnt, and a directory that exists but cannot be
// read (a missing one is simply no match).
bool List(LPCTSTR pszSpec, Listing& listing) {
    std::string dir, pattern;
    SplitSpec(pszSpec ? pszSpec : "*.*", dir, pattern);
    listing = Listing{};
    if (!fs::ToPosix(dir.empty() ? "." : dir.c_str(), listing.posix)) return false;
    listing.root = fs::FullPath(dir.c_str());
    if (listing.root.IsEmpty() || listing.root[listing.root.GetLength() - 1] != '\\') listing.root += '\\';

    const std::string dirPath = listing.posix;
    if (listing.posix.back() != '/') listing.posix += '/';
    // What is left out is reported once the whole directory has been read.
    struct LeftOut {
        PlatformUndone kind;
        std::string path;
        DWORD error;
    };
    std::vector<LeftOut> leftOut;
    int read = fs::ReadDirectory(listing.posix, [&](const char* name, fs::EntryType type) {
        if (!PlatformMatchWildcard(name, pattern.c_str())) return;
        if (!PlatformIsRepresentableName(name)) {
            leftOut.push_back({PlatformUndone::BadName, listing.posix + name, ERROR_INVALID_NAME});
            return;
        }
        Entry entry;
        entry.name = name;
        entry.rank = DotRank(entry.name);
        if (type == fs::EntryType::unknown) {
            // The type needs the status; an entry that cannot be examined is left out.
            if (!Examine(listing, entry)) {
                leftOut.push_back({PlatformUndone::Unreadable, listing.posix + name, PlatformErrorFromErrno(errno)});
                return;
            }
        } else {
            fs::FileInfo typed;
            typed.isDirectory = type == fs::EntryType::directory;
            typed.isLink = type == fs::EntryType::link;
            typed.isSpecial = type == fs::EntryType::special;
            typed.mode = 0200;  // not known to be read-only until examined
            entry.attributes = fs::Attributes(typed, name);
        }
        listing.entries.push_back(std::move(entry));
    });
    if (read != 0) {
        int err = errno;
        // A directory that is a link now was reported as not entered.
        if (err != ENOENT && err != ENOTDIR && err != ELOOP)
            PlatformReportUndonePosix(PlatformUndone::Unreadable, dirPath, PlatformErrorFromErrno(err));
        listing.entries.clear();
        listing.statuses.clear();
        errno = err;
        return false;
    }
    for (const LeftOut& entry : leftOut) PlatformReportUndonePosix(entry.kind, entry.path, entry.error);
    std::sort(listing.entries.begin(), listing.entries.end(), ComesFirst);
    if (listing.entries.empty()) {
        errno = ENOENT;
        return false;
    }
    return true;
}

DWORD Size32(const fs::FileInfo& info) {
    return info.isDirectory ? 0 : static_cast<DWORD>(std::min<int64_t>(info.size, 0xFFFFFFFF));
}

}  // namespace platform::find

bool PlatformMatchWildcard(LPCTSTR pszName, LPCTSTR pszPattern) {
    using platform::find::Lower;
    if (!pszName || !pszPattern) return false;
    if (!std::strcmp(pszPattern, "*") || !std::strcmp(pszPattern, "*.*")) return true;  // every name
    std::string_view name(pszName), pattern(pszPattern);
    const size_t n = name.size(), m = pattern.size();
    // matches[i * (n + 1) + j]: the pattern from i matches the name from j.
    std::vector<char> matches((m + 1) * (n + 1), 0);
    auto at = [&](size_t i, size_t j) -> char& { return matches[i * (n + 1) + j]; };
    at(m, n) = 1;
    for (size_t i = m; i-- > 0;) {
        char p = pattern[i];
        for (size_t j = n + 1; j-- > 0;) {
            bool more = j < n;
            bool ok;
            if (p == '*')
                ok = at(i + 1, j) || (more && at(i, j + 1));
            else if (p == '?')
                ok = (more && at(i + 1, j + 1)) || ((!more || name[j] == '.') && at(i + 1, j));
            else if (more)
                ok = Lower(name[j]) == Lower(p) && at(i + 1, j + 1);
            else  // the dot of a final ".*" may stand for the end of the name
                ok = p == '.' && i + 2 == m && pattern[m - 1] == '*';
            at(i, j) = ok;
        }
    }
    return at(0, 0);
}

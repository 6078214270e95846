// The wildcard rules, the directory listing both finders share, CFileFind
// and the runtime's _findfirst family.
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Undone.h"

namespace fs = platform::fs;

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// One matching entry. Its status is read when first needed: the directory
// entry's type already tells directories and links apart, which is all a
// walk needs, and reading every entry's status would cost more than the
// listing itself.
struct Entry {
    std::string name;
    fs::FileInfo info;
    DWORD attributes = 0;
    bool examined = false;
};

// The matching entries of one directory, in the finder's order, and a
// cursor over them.
struct Listing {
    CString root;       // full path of the directory, ending with a backslash
    std::string posix;  // the directory for the OS, ending with '/'
    std::vector<Entry> entries;
    size_t next = 0;    // index of the entry the next step makes current
    long current = -1;  // index of the current entry; -1 before the first step
};

// Reads the entry's status. False when it cannot be read (the entry vanished
// or cannot be examined); the entry then keeps what its type told.
bool Examine(const Listing& listing, Entry& entry) {
    if (entry.examined) return true;
    fs::FileInfo info;
    if (fs::Stat(listing.posix + entry.name, info, false) != 0) return false;
    entry.examined = true;
    if (info.isLink) info.size = 0;
    entry.info = info;
    entry.attributes = fs::Attributes(info, entry.name.c_str());
    return true;
}

Entry* Current(Listing* listing) {
    return listing && listing->current >= 0 ? &listing->entries[listing->current] : nullptr;
}

// The current entry with its status read; null when there is none.
const Entry* CurrentExamined(Listing* listing) {
    Entry* entry = Current(listing);
    if (entry) Examine(*listing, *entry);
    return entry;
}

// Splits a search spec into its directory part (with its final separator,
// or a bare drive) and its pattern.
void SplitSpec(const std::string& spec, std::string& dir, std::string& pattern) {
    size_t sep = spec.find_last_of("\\/");
    size_t cut = sep != std::string::npos ? sep + 1 : fs::HasDrive(spec) ? 2 : 0;
    dir = spec.substr(0, cut);
    pattern = spec.substr(cut);
}

int DotRank(const std::string& name) { return name == "." ? 0 : name == ".." ? 1 : 2; }

// "." and ".." first, then by name ignoring case; names that differ only in
// case keep a fixed order by their bytes.
bool ComesFirst(const Entry& a, const Entry& b) {
    int rankA = DotRank(a.name), rankB = DotRank(b.name);
    if (rankA != rankB) return rankA < rankB;
    int byCase = strcasecmp(a.name.c_str(), b.name.c_str());
    return byCase != 0 ? byCase < 0 : a.name < b.name;
}

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

    std::vector<fs::DirEntry> found;
    if (fs::ReadDirectory(listing.posix, found) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            PlatformReportUndonePosix(PlatformUndone::Unreadable, listing.posix, PlatformErrorFromErrno(errno));
        return false;
    }
    if (listing.posix.back() != '/') listing.posix += '/';
    for (fs::DirEntry& item : found) {
        if (!PlatformMatchWildcard(item.name.c_str(), pattern.c_str())) continue;
        if (!PlatformIsRepresentableName(item.name.c_str())) {
            PlatformReportUndonePosix(PlatformUndone::BadName, listing.posix + item.name, ERROR_INVALID_NAME);
            continue;
        }
        Entry entry;
        entry.name = std::move(item.name);
        if (item.type == fs::DirEntry::unknown) {
            // The type needs the status; an entry that cannot be examined is left out.
            if (!Examine(listing, entry)) {
                PlatformReportUndonePosix(PlatformUndone::Unreadable, listing.posix + entry.name,
                                          PlatformErrorFromErrno(errno));
                continue;
            }
        } else {
            entry.info.isDirectory = item.type == fs::DirEntry::directory;
            entry.info.isLink = item.type == fs::DirEntry::link;
            entry.info.isSpecial = item.type == fs::DirEntry::special;
            entry.info.mode = 0200;  // not known to be read-only until examined
            entry.attributes = fs::Attributes(entry.info, entry.name.c_str());
        }
        listing.entries.push_back(std::move(entry));
    }
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

}  // namespace

// ---------------------------------------------------------------------------
// Wildcards

bool PlatformMatchWildcard(LPCTSTR pszName, LPCTSTR pszPattern) {
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

// ---------------------------------------------------------------------------
// CFileFind

struct CFileFind::Search : Listing {};

CFileFind::CFileFind() = default;

CFileFind::~CFileFind() = default;

BOOL CFileFind::FindFile(LPCTSTR pstrName, DWORD) {
    Close();
    auto search = std::make_unique<Search>();
    if (!List(pstrName, *search)) {
        PlatformSetLastErrorFromErrno(errno);
        return FALSE;
    }
    m_pSearch = std::move(search);
    return TRUE;
}

BOOL CFileFind::FindNextFile() {
    if (!m_pSearch || m_pSearch->next >= m_pSearch->entries.size()) return FALSE;
    m_pSearch->current = static_cast<long>(m_pSearch->next++);
    return m_pSearch->next < m_pSearch->entries.size();
}

void CFileFind::Close() { m_pSearch.reset(); }

CString CFileFind::GetFileName() const {
    const Entry* entry = Current(m_pSearch.get());
    return entry ? CString(entry->name) : CString();
}

CString CFileFind::GetFilePath() const {
    const Entry* entry = Current(m_pSearch.get());
    return entry ? m_pSearch->root + CString(entry->name) : CString();
}

CString CFileFind::GetFileTitle() const { return fs::Title(GetFileName()); }

CString CFileFind::GetRoot() const { return m_pSearch ? m_pSearch->root : CString(); }

DWORD CFileFind::GetLength() const {
    const Entry* entry = CurrentExamined(m_pSearch.get());
    return entry ? Size32(entry->info) : 0;
}

BOOL CFileFind::GetLastWriteTime(CTime& refTime) const {
    const Entry* entry = CurrentExamined(m_pSearch.get());
    if (entry) refTime = CTime(entry->info.modified);
    return entry != nullptr;
}

BOOL CFileFind::GetLastAccessTime(CTime& refTime) const {
    const Entry* entry = CurrentExamined(m_pSearch.get());
    if (entry) refTime = CTime(entry->info.accessed);
    return entry != nullptr;
}

BOOL CFileFind::GetCreationTime(CTime& refTime) const {
    const Entry* entry = CurrentExamined(m_pSearch.get());
    if (entry) refTime = CTime(entry->info.created);
    return entry != nullptr;
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const {
    // Only the read-only bit needs the status; the others come with the type.
    const Entry* entry =
        (dwMask & FILE_ATTRIBUTE_READONLY) ? CurrentExamined(m_pSearch.get()) : Current(m_pSearch.get());
    return entry && (entry->attributes & dwMask) != 0;
}

BOOL CFileFind::IsDots() const {
    const Entry* entry = Current(m_pSearch.get());
    return entry && (entry->attributes & FILE_ATTRIBUTE_DIRECTORY) && DotRank(entry->name) < 2;
}

// ---------------------------------------------------------------------------
// _findfirst, _findnext, _findclose

namespace {

struct FindTable {
    std::mutex lock;
    std::map<intptr_t, Listing> searches;
    intptr_t nextHandle = 1;
};

FindTable& Searches() {
    static FindTable table;
    return table;
}

// Fills data with the next entry whose name fits; false when none is left.
bool NextFitting(Listing& listing, crt::_finddata_t* pData) {
    while (listing.next < listing.entries.size()) {
        Entry& entry = listing.entries[listing.next++];
        // Too long for the name field, or gone before its status was read.
        if (entry.name.size() >= sizeof pData->name || !Examine(listing, entry)) continue;
        pData->attrib = entry.attributes;
        pData->time_create = entry.info.created;
        pData->time_access = entry.info.accessed;
        pData->time_write = entry.info.modified;
        pData->size = Size32(entry.info);
        std::memcpy(pData->name, entry.name.c_str(), entry.name.size() + 1);
        return true;
    }
    errno = ENOENT;
    return false;
}

}  // namespace

namespace crt {

intptr_t _findfirst(const char* pszSpec, _finddata_t* pData) {
    if (!pszSpec || !pData) {
        errno = EINVAL;
        return -1;
    }
    Listing listing;
    if (!List(pszSpec, listing) || !NextFitting(listing, pData)) return -1;
    FindTable& table = Searches();
    std::lock_guard<std::mutex> guard(table.lock);
    intptr_t handle = table.nextHandle++;
    table.searches.emplace(handle, std::move(listing));
    return handle;
}

int _findnext(intptr_t handle, _finddata_t* pData) {
    FindTable& table = Searches();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.searches.find(handle);
    if (it == table.searches.end() || !pData) {
        errno = EINVAL;
        return -1;
    }
    return NextFitting(it->second, pData) ? 0 : -1;
}

int _findclose(intptr_t handle) {
    FindTable& table = Searches();
    std::lock_guard<std::mutex> guard(table.lock);
    if (table.searches.erase(handle) == 0) {
        errno = EINVAL;
        return -1;
    }
    return 0;
}

}  // namespace crt

// ---- Walks by descriptor --------------------------------------------------
//
// The walk roots of each thread (WalkRoot.h), the cache of the directories
// open below each root, and the resolution of a path for one system call
// (fs::At, FileSystem.h) that every path-based call of the platform makes.
//
// Sections: the cache of open directories; resolution; walk roots.
#include <climits>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/SyscallTable.h"
#include "platform/kernel/Undone.h"
#include "platform/kernel/WalkRoot.h"

static_assert(platform::fs::At::kCurrentDirectory == AT_FDCWD);

namespace platform::fs {

namespace {

// Descriptors one root keeps open below itself, however deep its tree: a
// walk holds at most a few roots, far below any descriptor limit.
constexpr size_t kOpenLevels = 32;

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;

// One open directory, closed when its last holder lets it go: the cache, or
// a call still acting in it after the cache moved on.
struct OpenDir {
    explicit OpenDir(int descriptor) : fd(descriptor) {}
    ~OpenDir() { sys::Close(fd); }
    OpenDir(const OpenDir&) = delete;
    OpenDir& operator=(const OpenDir&) = delete;
    const int fd;
};

// One directory of the chain below a root.
struct Level {
    std::string name;
    std::shared_ptr<OpenDir> dir;  // null once closed, to keep within kOpenLevels
    bool known = false;            // device and inode recorded as it was closed
    uint64_t device = 0, inode = 0;
};

}  // namespace

struct WalkRoot {
    std::string posix;  // as paths name it: absolute, no trailing '/'
    std::shared_ptr<OpenDir> dir;
    // The directories from the root down to the last one a call used, each
    // within the one before. Only the deepest are open: chain[0, closed)
    // were closed to keep within kOpenLevels.
    std::vector<Level> chain;
    size_t closed = 0;
};

namespace {

// The active roots of the thread, innermost last: a plain array, so that a
// host's static object still walks (and finds no root) while the process
// exits, whatever has been destroyed by then.
constexpr size_t kMostRoots = 16;
thread_local WalkRoot* t_roots[kMostRoots];
thread_local size_t t_rootCount = 0;

// ---------------------------------------------------------------------------
// The cache of open directories

// Closes the shallowest open levels beyond kOpenLevels, each with its
// identity recorded so that a walk climbing back can check it.
void KeepWithinLimit(WalkRoot& root) {
    while (root.chain.size() - root.closed > kOpenLevels) {
        Level& level = root.chain[root.closed++];
        FileInfo info;
        level.known = StatFd(level.dir->fd, info) == 0;
        level.device = info.device;
        level.inode = info.inode;
        level.dir.reset();
    }
}

// Level i of the chain, open: reopened, if it was closed, through ".." from
// the shallowest open level below it, as fts climbs, each parent checked to
// be the directory that was left. Null when a parent is not that directory
// any more (the tree changed): the caller then opens the path anew.
std::shared_ptr<OpenDir> Reopen(WalkRoot& root, size_t i) {
    if (i >= root.closed) return root.chain[i].dir;
    if (root.closed >= root.chain.size()) return nullptr;
    for (size_t k = root.closed; k-- > i;) {
        Level& level = root.chain[k];
        int fd = sys::RetryAfterSignal(-1, sys::OpenAt, root.chain[k + 1].dir->fd, "..", kDirectoryFlags, mode_t{0});
        FileInfo info;
        bool same =
            fd >= 0 && level.known && StatFd(fd, info) == 0 && info.device == level.device && info.inode == level.inode;
        if (!same) {
            if (fd >= 0) sys::Close(fd);
            return nullptr;
        }
        level.dir = std::make_shared<OpenDir>(fd);
        root.closed = k;
    }
    return root.chain[i].dir;
}

// The directory that the first count parts name below the root, opened
// level by level without following links; the chain it shares with the
// last resolution is taken from the cache. Null with error set when a level
// cannot be opened: a link or no directory (reported, as ELOOP), or the
// system's error.
std::shared_ptr<OpenDir> Descend(WalkRoot& root, const std::string& path, const std::vector<std::string_view>& parts,
                                 size_t count, int& error) {
    std::vector<Level>& chain = root.chain;
    size_t common = 0;
    while (common < count && common < chain.size() && chain[common].name == parts[common]) ++common;
    std::shared_ptr<OpenDir> base = common == 0 ? root.dir : Reopen(root, common - 1);
    if (!base) {
        common = 0;
        base = root.dir;
    }
    chain.resize(common);
    root.closed = std::min(root.closed, common);
    for (size_t i = common; i < count; ++i) {
        std::string name(parts[i]);
        if (name == "." || name == "..") {
            error = EINVAL;  // paths come resolved as text: a walk never climbs by name
            return nullptr;
        }
        int fd = sys::RetryAfterSignal(-1, sys::OpenAt, base->fd, name.c_str(), kDirectoryFlags, mode_t{0});
        if (fd < 0) {
            error = errno;
            if (error == ELOOP || error == ENOTDIR) {
                // Listed as a directory, or named as one by the caller: it
                // is not (any more), and it is never entered.
                size_t end = static_cast<size_t>(parts[i].data() - path.data()) + parts[i].size();
                PlatformReportUndonePosix(PlatformUndone::NotEntered, path.substr(0, end), ERROR_CANT_RESOLVE_FILENAME);
                error = ELOOP;
            }
            return nullptr;
        }
        base = std::make_shared<OpenDir>(fd);
        chain.push_back(Level{std::move(name), base});
        KeepWithinLimit(root);
    }
    return base;
}

// The active root that holds posix, the longest (the latest of equals);
// below is where the part below it starts, npos for the root itself.
WalkRoot* RootOf(const std::string& posix, size_t& below) {
    WalkRoot* best = nullptr;
    for (size_t i = 0; i < t_rootCount; ++i) {
        WalkRoot* root = t_roots[i];
        const std::string& r = root->posix;
        bool whole = r == "/" || posix.size() == r.size() || (posix.size() > r.size() && posix[r.size()] == '/');
        if (posix.compare(0, r.size(), r) != 0 || !whole || (best && r.size() < best->posix.size())) continue;
        best = root;
        below = posix.size() == r.size() ? std::string::npos : r == "/" ? 1 : r.size() + 1;
    }
    return best;
}

}  // namespace

// ---------------------------------------------------------------------------
// Resolution

At::At(const std::string& posix, Mode mode) : m_path(posix) { Resolve(mode); }

At::At(const char* posix, Mode mode) : m_path(posix ? posix : "") { Resolve(mode); }

At::~At() = default;

void At::Resolve(Mode mode) {
    if (t_rootCount == 0) return;  // the whole path, from the current directory
    // Below a root, a trailing separator goes: it would make the system
    // follow a link in the last name's place.
    size_t slashes = 0;
    while (m_path.size() > 1 && m_path.back() == '/') {
        m_path.pop_back();
        ++slashes;
    }
    size_t below = 0;
    WalkRoot* root = RootOf(m_path, below);
    if (!root) {
        m_path.append(slashes, '/');
        return;
    }
    m_root = root;
    if (m_path.size() >= PATH_MAX) {
        m_error = ENAMETOOLONG;  // as the system would refuse it
        return;
    }
    if (below == std::string::npos) {
        // The root itself: as a directory, its descriptor; as an entry, by
        // its path (the walk holds no parent), never followed.
        if (mode == kDirectory) {
            m_hold = root->dir;
            m_dir = root->dir->fd;
            m_dot = true;
        }
        m_depth = std::string::npos;
        return;
    }
    std::vector<std::string_view> parts;
    for (size_t start = below; start < m_path.size();) {
        size_t end = m_path.find('/', start);
        if (end == std::string::npos) end = m_path.size();
        if (end > start) parts.emplace_back(m_path.data() + start, end - start);
        start = end + 1;
    }
    if (parts.empty()) return;
    size_t count = mode == kDirectory ? parts.size() : parts.size() - 1;
    std::shared_ptr<OpenDir> dir = Descend(*root, m_path, parts, count, m_error);
    if (!dir) return;
    m_hold = dir;
    m_dir = dir->fd;
    m_depth = count;
    if (mode == kDirectory)
        m_dot = true;
    else
        m_name = static_cast<size_t>(parts.back().data() - m_path.data());
}

void At::Forget() const {
    if (!m_root || m_dot || m_depth == std::string::npos) return;
    std::vector<Level>& chain = m_root->chain;
    if (chain.size() > m_depth && chain[m_depth].name == Name()) {
        chain.resize(m_depth);
        m_root->closed = std::min(m_root->closed, m_depth);
    }
}

}  // namespace platform::fs

// ---------------------------------------------------------------------------
// Walk roots

struct PlatformWalkRoot::Root : platform::fs::WalkRoot {};

namespace {

// Why a root was refused, for the caller and the undone hook; bReported:
// a resolution below an outer root has reported the link already.
void Refuse(const std::string& posix, int err, bool bReported) {
    if (err == ELOOP || err == ENOTDIR) {
        if (!bReported) PlatformReportUndonePosix(PlatformUndone::NotEntered, posix, ERROR_CANT_RESOLVE_FILENAME);
        SetLastError(ERROR_DIRECTORY);
        return;
    }
    DWORD code = PlatformSetLastErrorFromErrno(err);
    if (err != ENOENT) PlatformReportUndonePosix(PlatformUndone::Unreadable, posix, code);
}

}  // namespace

PlatformWalkRoot::PlatformWalkRoot(LPCTSTR lpszPath) {
    namespace fs = platform::fs;
    namespace sys = platform::sys;
    std::string posix;
    if (!lpszPath || !PlatformToPosixPath(lpszPath, posix)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return;
    }
    size_t below;
    if (fs::RootOf(posix, below)) {
        // Within an active root: checked as a directory, and walked through it.
        fs::At at(posix, fs::At::kDirectory);
        if (!at) {
            at.Fail();
            Refuse(posix, errno, true);
        }
        m_bOpen = at ? TRUE : FALSE;
        return;
    }
    if (fs::t_rootCount == fs::kMostRoots) {
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        PlatformReportUndonePosix(PlatformUndone::Unreadable, posix, ERROR_TOO_MANY_OPEN_FILES);
        return;
    }
    int fd = sys::RetryAfterSignal(-1, sys::Open, posix.c_str(), fs::kDirectoryFlags, mode_t{0});
    if (fd < 0) {
        Refuse(posix, errno, false);
        return;
    }
    m_pRoot = new Root;
    m_pRoot->posix = posix;
    m_pRoot->dir = std::make_shared<fs::OpenDir>(fd);
    fs::t_roots[fs::t_rootCount++] = m_pRoot;
    m_bOpen = TRUE;
}

PlatformWalkRoot::~PlatformWalkRoot() {
    if (!m_pRoot) return;
    // Roots end in the reverse order of their making, as scopes do; one
    // that ends early leaves its place to those after it.
    size_t& count = platform::fs::t_rootCount;
    size_t i = count;
    while (i > 0 && platform::fs::t_roots[i - 1] != m_pRoot) --i;
    if (i > 0) {
        for (; i < count; ++i) platform::fs::t_roots[i - 1] = platform::fs::t_roots[i];
        --count;
    }
    delete m_pRoot;
}

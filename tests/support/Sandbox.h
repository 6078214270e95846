// Hostile trees for the boundary tests: a record of every entry below a
// directory (to show a sandbox beside a tree stayed untouched), special
// files, trees deeper than PATH_MAX, a small file system to fill, and
// running as an unprivileged user, and a second process that swaps a
// directory for a link. Where a facility is missing the helper
// says so and the test skips with that message.
#pragma once

#include <map>
#include <string>

// Every entry below dir, links not followed: its type, mode, owner, size and
// a hash of its contents, by relative path.
std::map<std::string, std::string> Snapshot(const std::string& dir);

// Empty on success, else why the entry could not be made.
std::string MakeFifo(const std::string& path);
// A character device (like /dev/null) where mknod is allowed, else a
// socket; empty on success, else why neither could be made.
std::string MakeDevice(const std::string& path);
// A chain of directories below root whose full path is longer than
// PATH_MAX, made level by level with relative calls, with a file "deep.txt"
// at the bottom. Empty on success, else why.
std::string MakeDeepTree(const std::string& root, const std::string& file);

// A tmpfs of the given size mounted on dir for the object's life; why()
// says what stopped the mount.
class SmallDisk {
public:
    SmallDisk(const std::string& dir, const char* size);
    ~SmallDisk();
    bool mounted() const { return m_mounted; }
    const std::string& why() const { return m_why; }

private:
    std::string m_dir, m_why;
    bool m_mounted = false;
};

// The prefix that runs a command as user nobody (setpriv), or empty, with
// the reason in why, when this process cannot do that.
std::string AsNobody(std::string& why);

// A second process that, when told, moves a directory aside (to path +
// ".moved") and puts a symbolic link to target in its place: a neighbour
// racing a walk. A test tells it from inside the walk (a hook) and waits
// until the swap is done, so the window is hit every time.
class LinkSwapper {
public:
    LinkSwapper(const std::string& path, const std::string& target);
    ~LinkSwapper();
    LinkSwapper(const LinkSwapper&) = delete;
    LinkSwapper& operator=(const LinkSwapper&) = delete;
    // Swaps once (later calls do nothing); false when the child failed.
    bool Swap();
    bool swapped() const { return m_swapped; }

private:
    int m_tell = -1, m_done = -1;
    int m_child = -1;
    bool m_swapped = false, m_ok = false;
};

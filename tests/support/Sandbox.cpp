#include "support/Sandbox.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;

std::map<std::string, std::string> Snapshot(const std::string& dir) {
    std::map<std::string, std::string> entries;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        struct stat st {};
        ::lstat(it->path().c_str(), &st);
        std::ostringstream record;
        record << std::oct << st.st_mode << std::dec << " " << st.st_uid << ":" << st.st_gid << " " << st.st_size;
        if (S_ISREG(st.st_mode)) {
            std::ifstream in(it->path(), std::ios::binary);
            std::stringstream bytes;
            bytes << in.rdbuf();
            record << " " << std::hash<std::string>()(bytes.str());
        }
        entries[fs::relative(it->path(), dir).string()] = record.str();
    }
    return entries;
}

std::string MakeFifo(const std::string& path) {
    return ::mkfifo(path.c_str(), 0666) == 0 ? std::string() : std::string("mkfifo: ") + std::strerror(errno);
}

std::string MakeDevice(const std::string& path) {
    if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) return {};
    std::string why = std::string("mknod: ") + std::strerror(errno);
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || path.size() >= sizeof address.sun_path) return why + "; no socket either";
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound ? std::string() : why + "; bind: " + std::strerror(errno);
}

std::string MakeDeepTree(const std::string& root, const std::string& file) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return std::string("open: ") + std::strerror(errno);
    const std::string level(200, 'd');
    for (size_t length = root.size(); length <= PATH_MAX + level.size(); length += level.size() + 1) {
        int next = -1;
        if (::mkdirat(fd, level.c_str(), 0755) != 0 || (next = ::openat(fd, level.c_str(), O_RDONLY | O_DIRECTORY)) < 0) {
            ::close(fd);
            return std::string("mkdirat: ") + std::strerror(errno);
        }
        ::close(fd);
        fd = next;
    }
    int out = ::openat(fd, file.c_str(), O_WRONLY | O_CREAT, 0644);
    bool written = out >= 0 && ::write(out, "deep Foo\n", 9) == 9;
    if (out >= 0) ::close(out);
    ::close(fd);
    return written ? std::string() : std::string("openat: ") + std::strerror(errno);
}

SmallDisk::SmallDisk(const std::string& dir, const char* size) : m_dir(dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    std::string options = std::string("size=") + size;
    m_mounted = ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) == 0;
    if (!m_mounted) m_why = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
}

SmallDisk::~SmallDisk() {
    if (m_mounted) ::umount2(m_dir.c_str(), MNT_DETACH);
}

std::string AsNobody(std::string& why) {
    if (::geteuid() != 0) {
        why = "not root: cannot run a child as an unprivileged user";
        return {};
    }
    if (std::system("setpriv --reuid=nobody --regid=nogroup --clear-groups true 2>/dev/null") != 0) {
        why = "setpriv cannot run a child as user nobody here";
        return {};
    }
    return "setpriv --reuid=nobody --regid=nogroup --clear-groups";
}

LinkSwapper::LinkSwapper(const std::string& path, const std::string& target) {
    int tell[2], done[2];
    if (::pipe(tell) != 0) return;
    if (::pipe(done) != 0) {
        ::close(tell[0]);
        ::close(tell[1]);
        return;
    }
    std::string moved = path + ".moved";
    pid_t child = ::fork();
    if (child == 0) {
        ::close(tell[1]);
        ::close(done[0]);
        char c;
        if (::read(tell[0], &c, 1) != 1) ::_exit(0);
        char ok = ::rename(path.c_str(), moved.c_str()) == 0 && ::symlink(target.c_str(), path.c_str()) == 0;
        ::_exit(::write(done[1], &ok, 1) == 1 ? 0 : 1);
    }
    ::close(tell[0]);
    ::close(done[1]);
    m_tell = tell[1];
    m_done = done[0];
    m_child = child;
    if (child < 0) {
        ::close(m_tell);
        ::close(m_done);
        m_tell = m_done = -1;
    }
}

LinkSwapper::~LinkSwapper() {
    if (m_tell >= 0) ::close(m_tell);
    if (m_done >= 0) ::close(m_done);
    if (m_child > 0) ::waitpid(m_child, nullptr, 0);
}

bool LinkSwapper::Swap() {
    if (m_swapped || m_tell < 0) return m_ok;
    m_swapped = true;
    char c = 1, ok = 0;
    m_ok = ::write(m_tell, &c, 1) == 1 && ::read(m_done, &ok, 1) == 1 && ok;
    return m_ok;
}

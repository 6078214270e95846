// Where the namespace segment lives, and another local user trying to take
// that place first. The squatting cases run in a mount namespace of their
// own with fresh /run, /dev/shm and /tmp, so nothing outside the test is
// touched; they need root (to mount, and to run the squatter as nobody).
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <functional>

#include "support/Sandbox.h"
#include "sync/SyncTest.h"

namespace {

using SegmentPlaceTest = NamespaceTest;

constexpr int kNoMountNamespace = 77;
constexpr uid_t kVictim = 65533;  // a user of no name; the squatter is nobody (65534)

// Runs fn in a child with fresh, empty /run, /dev/shm and /tmp, open to
// everybody as the shared ones are; kNoMountNamespace where that cannot be.
int WithFreshSharedDirs(const std::function<int()>& fn) {
    Child child([&] {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return kNoMountNamespace;
        for (const char* dir : {"/run", "/dev/shm", "/tmp"})
            if (::mount("tmpfs", dir, "tmpfs", 0, "mode=1777") != 0) return kNoMountNamespace;
        return fn();
    });
    return child.Wait(60000);
}

// Runs fn as user uid (0: root) in the default namespace, with the
// runtime directory given (none by default, the way a cron job or a
// service starts).
int AsUser(uid_t uid, const std::function<int()>& fn, const char* runtimeDir = nullptr) {
    Child child([&] {
        if (uid != 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(uid, uid, uid) != 0 || ::setresuid(uid, uid, uid) != 0))
            return 90;
        if (runtimeDir)
            ::setenv("XDG_RUNTIME_DIR", runtimeDir, 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("CBASIS_NAMESPACE");
        PlatformUseNamespace(nullptr);
        return fn();
    });
    return child.Wait();
}

// The user's named objects work, and a second process of the user meets
// the first in one object. 0 when so.
int NamedObjectsWork() {
    HANDLE m = CreateMutexA(nullptr, TRUE, "meet");
    if (!m) {
        std::fprintf(stderr, "%s\n", PlatformNamespaceError().str().c_str());
        return 2;
    }
    Child second([] {
        HANDLE same = CreateMutexA(nullptr, FALSE, "meet");
        return same && GetLastError() == ERROR_ALREADY_EXISTS && WaitForSingleObject(same, 0) == WAIT_TIMEOUT ? 0 : 3;
    });
    return second.Wait();
}

TEST_F(SegmentPlaceTest, AnotherUserCannotTakeTheSegmentsPlace) {
    std::string why;
    const std::string nobody = AsNobody(why);
    if (nobody.empty()) GTEST_SKIP() << why;
    const struct {
        const char* what;
        const char* squat;  // a shell command making the squat at $1
    } forms[] = {
        {"a file", "touch \"$1\""},
        {"a directory open to all", "mkdir -m 0777 \"$1\""},
        {"a link to the user's own private directory", "ln -s /tmp/private \"$1\""},
        {"a FIFO", "mkfifo \"$1\""},
    };
    for (uid_t victim : {uid_t(0), kVictim}) {
        for (const auto& form : forms) {
            SCOPED_TRACE(std::string(form.what) + ", user " + std::to_string(victim));
            int result = WithFreshSharedDirs([&] {
                if (::mkdir("/tmp/private", 0700) != 0 || ::chown("/tmp/private", victim, victim) != 0) return 91;
                // The user's names in every shared directory, and the next ones.
                const std::string uid = std::to_string(victim);
                for (const char* dir : {"/run", "/dev/shm", "/tmp"})
                    for (const char* suffix : {"", ".1", ".2"}) {
                        std::string path = std::string(dir) + "/cbasis1-" + uid + suffix;
                        std::string command = nobody + " sh -c '" + form.squat + "' squat " + path;
                        if (std::system(command.c_str()) != 0) return 92;
                    }
                return AsUser(victim, NamedObjectsWork);
            });
            if (result == kNoMountNamespace) GTEST_SKIP() << "no mount namespace with fresh shared directories here";
            EXPECT_EQ(result, 0);
        }
    }

    // A squatter who takes every name the user could have is told by name;
    // a private runtime directory is out of any squatter's reach.
    int result = WithFreshSharedDirs([&] {
        std::string command = nobody + " sh -c 'for d in /dev/shm /tmp; do for s in \"\" " +
                              ".1 .2 .3 .4 .5 .6 .7 .8 .9 .10 .11 .12 .13 .14 .15; do touch $d/cbasis1-" +
                              std::to_string(kVictim) + "$s; done; done'";
        if (std::system(command.c_str()) != 0) return 92;
        int refused = AsUser(kVictim, [] {
            return !CreateMutexA(nullptr, FALSE, "meet") && GetLastError() == ERROR_ACCESS_DENIED &&
                           PlatformNamespaceError().Find("/tmp/cbasis1-65533.15 is a file of uid 65534") != -1
                       ? 0
                       : 1;
        });
        if (::mkdir("/tmp/runtime", 0700) != 0 || ::chown("/tmp/runtime", kVictim, kVictim) != 0) return 91;
        return refused * 10 + AsUser(kVictim, NamedObjectsWork, "/tmp/runtime");
    });
    EXPECT_EQ(result, 0);
}

TEST_F(SegmentPlaceTest, TheRuntimeDirectoryIsUsedWhenItIsPrivate) {
    char base[] = "/tmp/cbasis-xdg-XXXXXX";
    ASSERT_NE(::mkdtemp(base), nullptr);
    const std::string root = base;
    const struct {
        const char* what;
        std::string dir;
        mode_t mode;  // 0: not a directory of this test's making
        uid_t owner;
        bool used;
    } cases[] = {
        {"private", root + "/private", 0700, ::geteuid(), true},
        {"open to the group", root + "/group", 0750, ::geteuid(), false},
        {"open to all", root + "/all", 0777, ::geteuid(), false},
        {"another user's", root + "/other", 0700, 65534, false},
        {"a relative path", "relative", 0, 0, false},
        {"missing", root + "/missing", 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.mode) {
            ASSERT_EQ(::mkdir(c.dir.c_str(), c.mode), 0);
            ASSERT_EQ(::chmod(c.dir.c_str(), c.mode), 0);  // past the umask
            if (c.owner != ::geteuid() && ::chown(c.dir.c_str(), c.owner, c.owner) != 0) {
                std::printf("skipped: only root can give a directory away\n");
                continue;
            }
        }
        const std::string name = m_namespace + "-xdg";
        Child child([&] {
            ::setenv("XDG_RUNTIME_DIR", c.dir.c_str(), 1);
            PlatformUseNamespace(name.c_str());
            HANDLE event = CreateEventA(nullptr, FALSE, FALSE, "x");
            const std::string path = PlatformNamespacePath().str();
            struct stat st;
            int result = !event                                                 ? 1
                         : (path.rfind(c.dir + "/", 0) == 0) != c.used          ? 2
                         : ::lstat(path.c_str(), &st) != 0                      ? 3
                         : !S_ISREG(st.st_mode) || (st.st_mode & 07777) != 0600 ? 4
                                                                                : 0;
            CloseHandle(event);
            PlatformRemoveNamespace(name.c_str());
            return result;
        });
        EXPECT_EQ(child.Wait(), 0);
        if (c.mode) {
            struct stat st;
            ASSERT_EQ(::stat(c.dir.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, c.mode);  // not the library's to change
        }
    }
    std::system(("rm -rf " + root).c_str());
}

}  // namespace

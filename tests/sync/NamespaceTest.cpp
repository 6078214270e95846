#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <atomic>
#include <random>
#include <vector>

#include "sync/SyncTest.h"

namespace {

TEST_F(NamespaceTest, NamesFollowTheOriginalRules) {
    const std::string longest(MAX_PATH, 'n');
    const struct {
        std::string name;
        DWORD error;
    } cases[] = {
        {longest, ERROR_SUCCESS},
        {longest + "n", ERROR_FILENAME_EXCED_RANGE},
        {"with/slash", ERROR_SUCCESS},
        {"Global\\g", ERROR_SUCCESS},
        {"back\\slash", ERROR_PATH_NOT_FOUND},
        {"Local\\", ERROR_INVALID_NAME},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HANDLE h = CreateEventA(nullptr, FALSE, FALSE, c.name.c_str());
        if (c.error != ERROR_SUCCESS) {
            EXPECT_EQ(h, nullptr);
            EXPECT_EQ(GetLastError(), c.error);
            continue;
        }
        ASSERT_NE(h, nullptr);
        Child other([&] { return OpenEventA(SYNCHRONIZE, FALSE, c.name.c_str()) ? 0 : 1; });
        EXPECT_EQ(other.Wait(), 0);
        CloseHandle(h);
    }
    // "Local\" names the same object; "Global\" another. Unnamed objects stay in the process.
    HANDLE plain = CreateEventA(nullptr, FALSE, FALSE, "x");
    HANDLE local = OpenEventA(SYNCHRONIZE, FALSE, "Local\\x");
    EXPECT_NE(local, nullptr);
    EXPECT_EQ(OpenEventA(SYNCHRONIZE, FALSE, "Global\\x"), nullptr);
    HANDLE unnamed[] = {CreateEventA(nullptr, FALSE, TRUE, nullptr), CreateMutexA(nullptr, TRUE, "")};
    EXPECT_NE(unnamed[0], nullptr);
    EXPECT_NE(unnamed[1], nullptr);
    PlatformSweepNamespace();  // the children's holds
    EXPECT_EQ(Info().dwObjects, 1u);
    EXPECT_EQ(OpenEventA(SYNCHRONIZE, FALSE, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    for (HANDLE h : {plain, local, unnamed[0], unnamed[1]}) CloseHandle(h);
}

TEST_F(NamespaceTest, SegmentsThatCannotBeTrustedAreRefused) {
    // A valid segment made by another process, to take its size and to copy
    // as one of another layout version.
    Child maker([] { return CreateEventA(nullptr, FALSE, FALSE, "made") ? 0 : 1; });
    ASSERT_EQ(maker.Wait(), 0);
    struct stat valid;
    ASSERT_EQ(::stat(SegmentFile(m_namespace).c_str(), &valid), 0);

    const struct {
        const char* what;
        mode_t mode;
        off_t size;
        uid_t owner;
        uint32_t word, value;  // a 32-bit word written at that offset
        DWORD error;
        const char* says;
    } cases[] = {
        {"readable by others", 0644, 0, 0, 0, 0, ERROR_ACCESS_DENIED, "has mode 0644"},
        {"another user's", 0600, 0, 12345, 0, 0, ERROR_ACCESS_DENIED, "belongs to uid 12345"},
        {"another size", 0600, 4096, 0, 0, 0, ERROR_INVALID_DATA, "is 4096 bytes"},
        {"foreign", 0600, valid.st_size, 0, 0, 0x12345678, ERROR_INVALID_DATA, "is not a namespace"},
        {"another version", 0600, valid.st_size, 0, 8, 99, ERROR_INVALID_DATA, "layout version 99"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.owner && ::geteuid() != 0) continue;  // only root can give a segment away
        std::string name = m_namespace + "-bad" + std::to_string(++n);
        int fd = ::open(SegmentFile(name).c_str(), O_RDWR | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        if (c.word == 8) {  // a copy of the valid segment
            int from = ::open(SegmentFile(m_namespace).c_str(), O_RDONLY);
            std::vector<char> bytes(valid.st_size);
            ASSERT_EQ(::read(from, bytes.data(), bytes.size()), valid.st_size);
            ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), valid.st_size);
            ::close(from);
        }
        ASSERT_EQ(::ftruncate(fd, c.size), 0);
        if (c.value) {
            ASSERT_EQ(::pwrite(fd, &c.value, 4, c.word), 4);  // the layout version follows the 8-byte ready mark
        }
        ASSERT_EQ(::fchmod(fd, c.mode), 0);
        if (c.owner) {
            ASSERT_EQ(::fchown(fd, c.owner, -1), 0);
        }
        ::close(fd);

        ASSERT_TRUE(PlatformUseNamespace(name.c_str()));
        EXPECT_EQ(CreateMutexA(nullptr, FALSE, "m"), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_NE(PlatformNamespaceError().Find(c.says), -1) << PlatformNamespaceError().str();
        struct stat after;
        ASSERT_EQ(::stat(SegmentFile(name).c_str(), &after), 0);
        EXPECT_EQ(after.st_size, c.size);  // left as it was
        PlatformRemoveNamespace(name.c_str());
    }

    // Whatever is not a regular file is never opened as a segment.
    const struct {
        const char* what;
        int (*make)(const char* path);
        const char* says;
    } others[] = {
        {"a link to a valid segment", [](const char* path) { return ::symlink("../../valid", path); },
         "is a symbolic link"},
        {"a FIFO", [](const char* path) { return ::mkfifo(path, 0600); }, "is not a regular file"},
        {"a directory", [](const char* path) { return ::mkdir(path, 0700); }, "Is a directory"},
    };
    for (const auto& other : others) {
        SCOPED_TRACE(other.what);
        std::string name = m_namespace + "-other";
        ASSERT_EQ(other.make(SegmentFile(name).c_str()), 0);
        ASSERT_TRUE(PlatformUseNamespace(name.c_str()));
        EXPECT_EQ(CreateEventA(nullptr, FALSE, FALSE, "e"), nullptr);
        EXPECT_NE(PlatformNamespaceError().Find(other.says), -1) << PlatformNamespaceError().str();
        PlatformRemoveNamespace(name.c_str());  // forgets the refusal too
        ::rmdir(SegmentFile(name).c_str());
    }
}

TEST_F(NamespaceTest, ForkedChildrenHoldNamesOfTheirOwn) {
    HANDLE mine = CreateEventA(nullptr, TRUE, FALSE, "inherited");
    Child child([mine] {
        if (SetEvent(mine) || GetLastError() != ERROR_INVALID_HANDLE) return 1;  // the parent's hold
        HANDLE own = OpenEventA(EVENT_MODIFY_STATE, FALSE, "inherited");
        return own && SetEvent(own) ? 0 : 2;
    });
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_EQ(WaitForSingleObject(mine, 0), WAIT_OBJECT_0);
    PlatformSweepNamespace();
    EXPECT_EQ(Info().dwHolders, 1u);
    CloseHandle(mine);
}

TEST_F(NamespaceTest, ManyObjectsAndAFullTable) {
    std::vector<HANDLE> handles;
    for (int i = 0; i < 10000; ++i) {
        std::string name = "object-" + std::to_string(i);
        handles.push_back(i % 2 ? CreateMutexA(nullptr, FALSE, name.c_str()) : CreateEventA(nullptr, FALSE, FALSE, name.c_str()));
        ASSERT_NE(handles.back(), nullptr) << i;
    }
    EXPECT_EQ(Info().dwObjects, 10000u);
    for (;;) {
        HANDLE h = CreateEventA(nullptr, FALSE, FALSE, ("more-" + std::to_string(handles.size())).c_str());
        if (!h) break;
        handles.push_back(h);
    }
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(handles.size(), Info().dwMaxObjects);
    HANDLE existing = OpenEventA(SYNCHRONIZE, FALSE, "object-0");  // opening needs no entry
    EXPECT_NE(existing, nullptr);
    CloseHandle(existing);
    CloseHandle(handles.back());
    handles.back() = CreateEventA(nullptr, FALSE, FALSE, "room-again");
    EXPECT_NE(handles.back(), nullptr);
    for (HANDLE h : handles) CloseHandle(h);
    EXPECT_EQ(Info().dwObjects, 0u);
}

int g_hookStage, g_hookFd;

void PauseInHook(int stage) {
    if (stage != g_hookStage) return;
    (void)!::write(g_hookFd, "x", 1);
    ::pause();
}

TEST_F(NamespaceTest, ACreatorKilledHalfWayLeavesASegmentOthersComplete) {
    for (int stage = 1; stage <= 3; ++stage) {
        SCOPED_TRACE(stage);
        std::string name = m_namespace + "-stage" + std::to_string(stage);
        Pipe paused;
        Child creator([&] {
            g_hookStage = stage;
            g_hookFd = paused.WriteEnd();
            PlatformSetNamespaceHook(PauseInHook);
            PlatformUseNamespace(name.c_str());
            return CreateEventA(nullptr, TRUE, FALSE, "meet") ? 0 : 1;
        });
        ASSERT_TRUE(paused.Await());
        Child next([&] {
            PlatformUseNamespace(name.c_str());
            HANDLE h = CreateEventA(nullptr, TRUE, FALSE, "meet");
            return h && WaitForSingleObject(h, 10000) == WAIT_OBJECT_0 ? 0 : 1;
        });
        EXPECT_TRUE(next.Running(100));  // waits for the creator to finish
        creator.Kill();
        ASSERT_TRUE(PlatformUseNamespace(name.c_str()));
        HANDLE mine = CreateEventA(nullptr, TRUE, FALSE, "meet");
        ASSERT_NE(mine, nullptr) << PlatformNamespaceError().str();
        ASSERT_TRUE(AwaitWaiters(1));
        EXPECT_TRUE(SetEvent(mine));
        EXPECT_EQ(next.Wait(), 0);
        CloseHandle(mine);
        PlatformRemoveNamespace(name.c_str());
    }
}

TEST_F(NamespaceTest, ProcessesStartingAtOnceMeetInOneSegment) {
    std::vector<std::unique_ptr<Child>> children;
    for (int i = 0; i < 8; ++i) children.push_back(std::make_unique<Child>([] {
        HANDLE go = CreateEventA(nullptr, TRUE, FALSE, "go");
        return go && WaitForSingleObject(go, 10000) == WAIT_OBJECT_0 ? 0 : 1;
    }));
    ASSERT_TRUE(AwaitWaiters(8));
    EXPECT_EQ(Info().dwObjects, 1u);
    HANDLE go = OpenEventA(EVENT_MODIFY_STATE, FALSE, "go");
    EXPECT_TRUE(SetEvent(go));
    for (auto& child : children) EXPECT_EQ(child->Wait(), 0);
    CloseHandle(go);
}

TEST_F(NamespaceTest, CrashCyclesLeaveTheTableAsItWas) {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, "crash-event");
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "crash-mutex");
    const PLATFORM_NAMESPACE_INFO before = Info();
    auto* rounds = static_cast<std::atomic<unsigned>*>(
        ::mmap(nullptr, sizeof(std::atomic<unsigned>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    std::mt19937 random(14);
    for (int cycle = 0; cycle < 1000; ++cycle) {
        // The child changes the table without pause, so that kills land in
        // the middle of every step, the table lock's included. It is killed
        // once it is at work.
        rounds->store(0);
        Child child([rounds] {
            for (unsigned i = 0;; ++i) {
                rounds->store(i + 1);
                HANDLE e = OpenEventA(SYNCHRONIZE, FALSE, "crash-event");
                HANDLE m = CreateMutexA(nullptr, FALSE, "crash-mutex");
                WaitForSingleObject(m, INFINITE);
                HANDLE unique = CreateMutexA(nullptr, TRUE, ("crash-" + std::to_string(i)).c_str());
                WaitForSingleObject(e, 1);
                CloseHandle(unique);
                ReleaseMutex(m);
                CloseHandle(m);
                CloseHandle(e);
            }
            return 0;
        });
        for (int ms = 0; ms < 5000 && rounds->load() == 0; ++ms) ::usleep(1000);
        ::usleep(random() % 1000);
        child.Kill();
    }
    ::munmap(rounds, sizeof(std::atomic<unsigned>));
    DWORD result = WaitForSingleObject(mutex, 1000);
    EXPECT_TRUE(result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) << result;
    EXPECT_TRUE(ReleaseMutex(mutex));
    PlatformSweepNamespace();
    const PLATFORM_NAMESPACE_INFO after = Info();
    EXPECT_EQ(after.dwObjects, before.dwObjects);
    EXPECT_EQ(after.dwRetiredMutexes, 0u);
    EXPECT_EQ(after.dwHolders, before.dwHolders);
    EXPECT_EQ(after.dwProcesses, before.dwProcesses);
    EXPECT_EQ(after.dwWaitingThreads, 0u);
    EXPECT_GT(after.dwRepairs, 0u);  // some kills did land inside the table lock
    EXPECT_TRUE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    CloseHandle(event);
    CloseHandle(mutex);
}

}  // namespace

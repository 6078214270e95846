#include <cstring>
#include <memory>

#include "files/CUtils.h"
#include "platform/kernel/Syscalls.h"
#include "support/TempDir.h"
#include "sync/CCfgFile.h"
#include "sync/CResources.h"
#include "sync/SyncTest.h"

namespace {

using CResourcesTest = NamespaceTest;

int WaitForEventIn(const char* name) {
    CResources().WaitForEvent(name);
    return 0;
}

TEST_F(CResourcesTest, EachSignalReleasesOneWaiterOfAnotherProcess) {
    Child first([] { return WaitForEventIn("job"); });
    Child second([] { return WaitForEventIn("job"); });
    ASSERT_TRUE(AwaitWaiters(2));
    EXPECT_EQ(CResources().HandleEvent("job", true), 1);
    Child* released = FirstToEnd(first, second);  // one released, the other blocked until the next signal
    ASSERT_NE(released, nullptr);
    EXPECT_TRUE((released == &first ? second : first).Running(100));
    EXPECT_EQ(CResources().HandleEvent("job", true, "unused"), 1);
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_EQ(second.Wait(), 0);
    EXPECT_EQ(Info().dwObjects, 0u);  // every call closed its handle
}

TEST_F(CResourcesTest, ASignalWithNobodyHoldingTheNameLeavesNoTrace) {
    Child signaller([] { return CResources().HandleEvent("lonely", true) == 1 ? 0 : 1; });
    EXPECT_EQ(signaller.Wait(), 0);
    EXPECT_EQ(Info().dwObjects, 0u);
    CEvent later(FALSE, FALSE, "lonely");
    EXPECT_FALSE(later.Lock(50));  // a later wait blocks
}

TEST_F(CResourcesTest, ClearingAnEventHeldSignalledElsewhere) {
    for (bool clear : {false, true}) {
        SCOPED_TRACE(clear ? "cleared" : "left signalled");
        Pipe holding;
        Child holder([&] {
            CEvent held(TRUE, FALSE, "held");  // created signalled
            holding.Signal();
            ::pause();
            return 0;
        });
        ASSERT_TRUE(holding.Await());
        if (clear) {
            EXPECT_EQ(CResources().HandleEvent("held", false), 1);
        }
        CEvent mine(FALSE, FALSE, "held");
        EXPECT_EQ(mine.Lock(0), !clear);
    }
}

TEST_F(CResourcesTest, CreateMutexAGivesDistinctMutexesOthersCanLockAtOnce) {
    CUtils utils;
    CMutex *a = nullptr, *b = nullptr;
    EXPECT_EQ(utils.CreateMutexA(a), 1);
    EXPECT_EQ(utils.CreateMutexA(b), 1);
    EXPECT_EQ(a->m_strName.GetLength(), 36);
    EXPECT_NE(a->m_strName, b->m_strName);
    std::string names[] = {a->m_strName.str(), b->m_strName.str()};
    Child other([&] {
        for (const std::string& name : names) {
            HANDLE m = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
            if (!m || WaitForSingleObject(m, 0) != WAIT_OBJECT_0) return 1;
        }
        return 0;
    });
    EXPECT_EQ(other.Wait(), 0);
    delete a;
    delete b;

    // A namespace that cannot be had is reported, not hidden.
    ASSERT_TRUE(PlatformUseNamespace((m_namespace + "-unavailable").c_str()));
    ASSERT_FALSE(PlatformNamespacePath().IsEmpty());  // the directory is chosen: the next open is the segment's
    PlatformFailSyscall(Syscall::OpenAt, 1, EMFILE);
    CMutex* broken = nullptr;
    EXPECT_EQ(utils.CreateMutexA(broken), 0);
    PlatformResetSyscalls();
    EXPECT_NE(broken, nullptr);
    EXPECT_NE(utils.m_strError.Find("The mutex could not be created"), -1);
    delete broken;
}

class CCfgFileTest : public TempDirTest {};

TEST_F(CCfgFileTest, SavesTheWholeRecordToThePathInside) {
    auto record = std::make_unique<CCfgFile>();  // on the heap, so reading past it is caught
    for (int i = 0; i < 260; ++i) record->m_byData[i] = static_cast<BYTE>(i);
    const struct {
        std::string path;
        unsigned int result;
    } cases[] = {
        {"", 0},
        {"C:\\missing\\cfg.bin", 0},
        {"C:\\", 0},  // a directory
        {"C:\\cfg.bin", 1},
        {"C:\\" + std::string(124, 'p'), 1},  // 127 characters: the longest path
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::memset(record->m_szPath, 0, sizeof record->m_szPath);
        std::memcpy(record->m_szPath, c.path.data(), c.path.size());
        EXPECT_EQ(record->Save(), c.result);
    }
    std::string saved = ReadFile("cfg.bin");
    ASSERT_EQ(saved.size(), 388u);
    EXPECT_EQ(std::memcmp(saved.data(), record->m_byData, 260), 0);
    EXPECT_EQ(std::string(saved.data() + 260), "C:\\cfg.bin");

    std::memset(record->m_szPath, 'p', sizeof record->m_szPath);  // no zero byte
    EXPECT_EQ(record->Save(), 0u);

    std::strcpy(record->m_szPath, "C:\\full.bin");
    PlatformFailSyscall(Syscall::Write, 1, ENOSPC, true);
    EXPECT_EQ(record->Save(), 0u);  // a failed write is no saved record
    PlatformResetSyscalls();
}

}  // namespace

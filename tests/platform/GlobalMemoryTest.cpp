#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/Errors.h"
#include "platform/GlobalMemory.h"
#include "platform/Syscalls.h"
#include "platform/Windows.h"

TEST(GlobalMemoryTest, MoveableBlocksAreHandlesWithALockCount) {
    HGLOBAL hMem = GlobalAlloc(GHND, 5);
    ASSERT_NE(hMem, nullptr);
    EXPECT_EQ(GlobalSize(hMem), 5u);
    char* p = static_cast<char*>(GlobalLock(hMem));
    ASSERT_NE(p, nullptr);
    EXPECT_NE(static_cast<void*>(p), hMem);
    EXPECT_EQ(std::memcmp(p, "\0\0\0\0\0", 5), 0);  // GMEM_ZEROINIT
    EXPECT_EQ(GlobalLock(hMem), p);
    EXPECT_TRUE(GlobalUnlock(hMem));  // still locked once
    EXPECT_FALSE(GlobalUnlock(hMem));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_FALSE(GlobalUnlock(hMem));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalFree(hMem), nullptr);

    // A fixed block is its own address and has no lock count.
    HGLOBAL hFixed = GlobalAlloc(GMEM_SHARE, 4);
    ASSERT_NE(hFixed, nullptr);
    EXPECT_EQ(GlobalLock(hFixed), hFixed);
    EXPECT_FALSE(GlobalUnlock(hFixed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalFree(hFixed), nullptr);

    // A moveable block of no bytes is discarded: a handle without memory.
    HGLOBAL hEmpty = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(hEmpty, nullptr);
    EXPECT_EQ(GlobalLock(hEmpty), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISCARDED));
    EXPECT_EQ(GlobalSize(hEmpty), 0u);
    EXPECT_EQ(GlobalFree(hEmpty), nullptr);
}

TEST(GlobalMemoryTest, FreedForeignAndMadeUpHandlesFailWithoutTouchingMemory) {
    HGLOBAL hFreed = GlobalAlloc(GMEM_MOVEABLE, 8);
    HGLOBAL hFixed = GlobalAlloc(GMEM_FIXED, 8);
    ASSERT_EQ(GlobalFree(hFreed), nullptr);
    HWND hWnd = PlatformCreateWindowEx(DefWindowProcA, 0, "Plain", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr);
    int onTheStack = 0;
    HGLOBAL bad[] = {hFreed, static_cast<char*>(hFixed) + 1, hWnd, &onTheStack, reinterpret_cast<HGLOBAL>(0x4)};
    for (HGLOBAL hMem : bad) {
        SCOPED_TRACE(hMem);
        SetLastError(0);
        EXPECT_EQ(GlobalLock(hMem), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_FALSE(GlobalUnlock(hMem));
        EXPECT_EQ(GlobalSize(hMem), 0u);
        EXPECT_EQ(GlobalFree(hMem), hMem);  // failure gives the handle back
    }
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
    EXPECT_EQ(GlobalFree(hFixed), nullptr);
    DestroyWindow(hWnd);
}

TEST(GlobalMemoryTest, AFailedAllocationGivesNull) {
    PlatformFailSyscall(Syscall::GlobalBlock, 1, ENOMEM);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 16), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    PlatformResetSyscalls();
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, 16);
    EXPECT_NE(hMem, nullptr);
    GlobalFree(hMem);
}

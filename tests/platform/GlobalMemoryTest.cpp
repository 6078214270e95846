#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/kernel/Errors.h"
#include "platform/kernel/GlobalMemory.h"
#include "platform/kernel/Syscalls.h"
#include "platform/user/Windows.h"

TEST(GlobalMemoryTest, MoveableBlocksAreHandlesWithALockCount) {
    HGLOBAL hMem = GlobalAlloc(GHND, 5);
    char* p = static_cast<char*>(GlobalLock(hMem));
    ASSERT_NE(p, nullptr);
    EXPECT_NE(static_cast<void*>(p), hMem);
    EXPECT_EQ(GlobalSize(hMem), 5u);
    EXPECT_EQ(std::memcmp(p, "\0\0\0\0\0", 5), 0);  // GMEM_ZEROINIT
    EXPECT_EQ(GlobalLock(hMem), p);
    EXPECT_TRUE(GlobalUnlock(hMem));  // still locked once
    EXPECT_FALSE(GlobalUnlock(hMem));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_FALSE(GlobalUnlock(hMem));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));

    HGLOBAL hFixed = GlobalAlloc(GMEM_SHARE, 4);  // its own address, no lock count
    EXPECT_EQ(GlobalLock(hFixed), hFixed);
    EXPECT_FALSE(GlobalUnlock(hFixed));
    HGLOBAL hEmpty = GlobalAlloc(GMEM_MOVEABLE, 0);  // discarded: a handle without memory
    EXPECT_EQ(GlobalLock(hEmpty), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISCARDED));
    for (HGLOBAL h : {hMem, hFixed, hEmpty}) EXPECT_EQ(GlobalFree(h), nullptr);

    PlatformFailSyscall(Syscall::GlobalBlock, 1, ENOMEM);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 16), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    PlatformResetSyscalls();
}

TEST(GlobalMemoryTest, FreedForeignAndMadeUpHandlesFailWithoutTouchingMemory) {
    HGLOBAL hFreed = GlobalAlloc(GMEM_MOVEABLE, 8), hFixed = GlobalAlloc(GMEM_FIXED, 8);
    GlobalFree(hFreed);
    HWND hWnd = PlatformCreateWindowEx(DefWindowProcA, 0, "Plain", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr);
    int onTheStack = 0;
    for (HGLOBAL hMem : {hFreed, static_cast<HGLOBAL>(static_cast<char*>(hFixed) + 1), static_cast<HGLOBAL>(hWnd),
                         static_cast<HGLOBAL>(&onTheStack), reinterpret_cast<HGLOBAL>(0x4)}) {
        SCOPED_TRACE(hMem);
        EXPECT_EQ(GlobalLock(hMem), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_FALSE(GlobalUnlock(hMem));
        EXPECT_EQ(GlobalSize(hMem), 0u);
        EXPECT_EQ(GlobalFree(hMem), hMem);  // failure gives the handle back
    }
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
    GlobalFree(hFixed);
    DestroyWindow(hWnd);
}

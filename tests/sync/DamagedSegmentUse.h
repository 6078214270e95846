// The calls a program makes on a namespace segment that may be damaged;
// shared by tests/sync/CorruptSegmentTest.cpp and fuzz/SegmentFuzz.cpp.
#pragma once

#include <string>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Handles.h"
#include "platform/kernel/Sync.h"

// Opens the names "event" and "mutex" that the segment holds and makes new
// ones; signals, waits, releases, sweeps and closes them all, rounds times;
// then makes one name more. Calls may fail, but only with a reason: returns
// the number of calls that failed with ERROR_INVALID_DATA while
// PlatformNamespaceError is empty, plus 100 when the last name could not be
// made without a reason, or does not work.
inline int UseDamagedSegment(int rounds) {
    int unexplained = 0;
    auto check = [&](bool ok) {
        if (!ok && GetLastError() == ERROR_INVALID_DATA && PlatformNamespaceError().IsEmpty()) ++unexplained;
    };
    for (int round = 0; round < rounds; ++round) {
        HANDLE event = OpenEventA(EVENT_ALL_ACCESS, FALSE, "event");
        HANDLE mutex = CreateMutexA(nullptr, FALSE, "mutex");
        HANDLE fresh = CreateEventA(nullptr, TRUE, FALSE, "fresh");
        HANDLE owned = CreateMutexA(nullptr, TRUE, ("owned-" + std::to_string(round)).c_str());
        if (event) {
            check(SetEvent(event));
            check(WaitForSingleObject(event, 0) != WAIT_FAILED);
        }
        if (mutex) {
            DWORD got = WaitForSingleObject(mutex, 0);
            check(got != WAIT_FAILED);
            if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) check(ReleaseMutex(mutex));
        }
        if (fresh) {
            check(SetEvent(fresh));
            check(WaitForSingleObject(fresh, 0) == WAIT_OBJECT_0);
        }
        if (owned) check(ReleaseMutex(owned));  // nothing stays on this thread's robust list
        PlatformSweepNamespace();
        PLATFORM_NAMESPACE_INFO info;
        check(PlatformGetNamespaceInfo(&info));
        for (HANDLE h : {event, mutex, fresh, owned})
            if (h) CloseHandle(h);
    }
    HANDLE after = CreateEventA(nullptr, FALSE, TRUE, "after");
    if (!after) return unexplained + (PlatformNamespaceError().IsEmpty() ? 100 : 0);
    if (WaitForSingleObject(after, 0) != WAIT_OBJECT_0) unexplained += 100;
    CloseHandle(after);
    return unexplained;
}

// The layout of the namespace segment: the records that the processes of
// one user share. Internal to the kernel folder (SyncSegment.cpp), and read
// by the tests that damage a segment on purpose.
//
// Primary fields are written by the operations; derived ones (marked) are
// rebuilt from them by a repair. Nothing read from the segment is trusted:
// every index and count is checked before it is used.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/kernel/SyncBody.h"
#include "platform/kernel/SyncLock.h"

namespace platform::sync::layout {

constexpr uint64_t kMagic = 0x5345434150534E43ull;  // "CNSPACES", written last
constexpr uint32_t kVersion = 2;
constexpr uint32_t kMaxEntries = 16384;
constexpr uint32_t kMaxHolders = 32768;
constexpr uint32_t kMaxProcesses = 4096;
constexpr uint32_t kIndexSlots = 32768;  // a power of two, twice the entries
constexpr uint32_t kNil = UINT32_MAX;

// Each process record has a byte of the segment file, far beyond its end,
// that the process holds an open-file-description lock on while it lives:
// the kernel drops the lock when the last thread of the process ends, and
// nothing else does, so a free byte is the one sure sign of its end.
constexpr int64_t kLifeLocksAt = int64_t(1) << 40;

enum : uint32_t { kFreeEntry = 0, kNamed = 1, kRetired = 2 };  // a retired mutex awaits its owner's end
enum : uint32_t { kNoProcess = 0, kLive = 1 };

struct Header {
    std::atomic<uint64_t> magic;
    uint32_t version;
    uint32_t maxEntries, maxHolders, maxProcesses, indexSlots;
    uint32_t entryBytes, holderBytes, processBytes;
    uint64_t segmentBytes;
    SharedLock lock;  // the table lock
    uint32_t repairs;
    // Derived. Records at and above a high mark have never been used.
    uint32_t entryHigh, holderHigh, processHigh;
    uint32_t freeEntry, freeHolder, freeProcess;
    uint32_t namedEntries, retiredEntries, usedHolders, usedProcesses;
};

// A process that uses the segment, alive as long as its life lock is held.
struct Process {
    uint32_t state;
    uint32_t holders;  // derived
    uint32_t next;     // derived: free list
};

// One process's handles on one entry.
struct Holder {
    uint32_t entry;  // entry index + 1; 0 for a free record
    uint32_t process;
    uint32_t handles;
    std::atomic<uint32_t> waiting;  // the process's threads waiting on the entry
    uint32_t next;                  // derived: the entry's next holder, or the free list
};

struct Entry {
    uint32_t state;
    uint32_t serial;  // counts the entry's lives, so an old handle is never taken for a new one
    uint32_t kind;
    uint32_t hash;  // derived from the name
    uint32_t length;
    uint32_t handles;  // derived: the sum of its holders' handles
    uint32_t holders;  // derived: first holder
    uint32_t next;     // derived: free list
    char name[MAX_PATH + 1];
    BodyStorage body;
};

constexpr size_t Align(size_t n) { return (n + 63) & ~size_t(63); }
constexpr size_t kProcessesAt = Align(sizeof(Header));
constexpr size_t kHoldersAt = Align(kProcessesAt + sizeof(Process) * kMaxProcesses);
constexpr size_t kEntriesAt = Align(kHoldersAt + sizeof(Holder) * kMaxHolders);
constexpr size_t kIndexAt = Align(kEntriesAt + sizeof(Entry) * kMaxEntries);
constexpr size_t kSegmentBytes = (kIndexAt + sizeof(uint32_t) * kIndexSlots + 4095) & ~size_t(4095);

}  // namespace platform::sync::layout

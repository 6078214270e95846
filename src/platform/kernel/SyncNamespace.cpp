// The namespace segment: one POSIX shared-memory object per user holding a
// fixed table of named events and mutexes.
//
// Sections:
//   1. Layout: header, process records, holder records, entries, name index.
//   2. Processes: who holds what, and telling a live process from a dead one.
//   3. The table: lookup, creation, holds and their release.
//   4. Repair and sweep: after a process died holding the table lock, and
//      when the table runs short.
//   5. Attaching a segment: creation, checks, the process's registry.
//   6. The interface (SyncNamespace.h, and the controls in Sync.h).
//
// Crash rules. The table lock is a robust process-shared mutex: when its
// holder dies the next locker rebuilds every derived field (free lists,
// counts, chains, the index) from the records themselves, which each
// operation writes in an order that leaves them meaningful at every step.
// A process is identified by its pid and its start time, so a reused pid is
// never taken for the process that held a name. The holds of a dead process
// are released when one of its names is next opened, and by a sweep of the
// whole table when it runs short, so crashes never fill it.
#include "platform/kernel/SyncNamespace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <pthread.h>
#include <string>
#include <sys/file.h>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Sync.h"
#include "platform/kernel/SyscallTable.h"
#include "platform/shared/NoDestructor.h"

namespace platform::sync {

namespace {

// ---- 1. Layout --------------------------------------------------------------

constexpr uint64_t kMagic = 0x5345434150534E43ull;  // "CNSPACES", written last
constexpr uint32_t kVersion = 1;
constexpr uint32_t kMaxEntries = 16384;
constexpr uint32_t kMaxHolders = 32768;
constexpr uint32_t kMaxProcesses = 4096;
constexpr uint32_t kIndexSlots = 32768;  // a power of two, twice the entries
constexpr uint32_t kNil = UINT32_MAX;

enum : uint32_t { kFreeEntry = 0, kNamed = 1, kRetired = 2 };  // a retired mutex awaits its owner's end
enum : uint32_t { kNoProcess = 0, kLive = 1, kDead = 2 };

struct Header {
    std::atomic<uint64_t> magic;
    uint32_t version;
    uint32_t maxEntries, maxHolders, maxProcesses, indexSlots;
    uint32_t entryBytes, holderBytes, processBytes;
    uint64_t segmentBytes;
    pthread_mutex_t lock;  // the table lock
    uint32_t repairs;
    // Derived, rebuilt by Repair. Records at and above a high mark have
    // never been used.
    uint32_t entryHigh, holderHigh, processHigh;
    uint32_t freeEntry, freeHolder, freeProcess;
    uint32_t namedEntries, retiredEntries, usedHolders, usedProcesses;
};

struct Process {
    uint32_t state;
    int32_t pid;
    uint64_t startTime;  // clock ticks after boot; 0 when it could not be read
    uint32_t holders;    // derived
    uint32_t next;       // derived: free list
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
    uint32_t hash;
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

uint32_t Hash(const char* s, uint32_t n) {
    uint32_t h = 2166136261u;  // FNV-1a
    for (uint32_t i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(s[i])) * 16777619u;
    return h;
}

// ---- 2. Processes -----------------------------------------------------------

std::atomic<uint32_t> g_forkGeneration{1};

[[maybe_unused]] const bool g_atfork = [] {
    pthread_atfork(nullptr, nullptr, [] { g_forkGeneration.fetch_add(1); });
    return true;
}();

// A process's start time in clock ticks after boot; 0 when it has ended or
// is a zombie, -1 when it cannot be told.
int64_t StartTime(pid_t pid) {
    char path[32];
    std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
    int fd = fs::Open(path, O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) {
        if (errno != ENOENT) return -1;
        return sys::Kill(pid, 0) == -1 && errno == ESRCH ? 0 : -1;
    }
    char text[1024];
    long n = fs::Read(fd, text, sizeof text - 1);
    fs::Close(fd);
    if (n <= 0) return -1;
    text[n] = 0;
    // "pid (comm) state ppid ...": comm may hold anything, so fields are
    // counted from its closing parenthesis; the start time is field 22.
    const char* p = std::strrchr(text, ')');
    if (!p || p[1] != ' ') return -1;
    p += 2;
    if (*p == 'Z' || *p == 'X') return 0;
    for (int field = 3; field < 22; ++field) {
        p = std::strchr(p, ' ');
        if (!p) return -1;
        ++p;
    }
    char* end;
    unsigned long long ticks = std::strtoull(p, &end, 10);
    return end == p ? -1 : static_cast<int64_t>(ticks);
}

// ---- The segment object of a process ----------------------------------------
// A mapping and the process's record in it.

struct Refusal {
    DWORD code;
    std::string why;
};

}  // namespace

class Segment {
public:
    Segment(std::string name, void* base) : m_name(std::move(name)), m_base(static_cast<char*>(base)) {}
    ~Segment() { sys::Munmap(m_base, kSegmentBytes); }
    Segment(const Segment&) = delete;
    Segment& operator=(const Segment&) = delete;

    static std::shared_ptr<Segment> Attach(const std::string& name, Refusal& refusal);

    DWORD Open(const OpenRequest& request, NamedRef& ref, const std::shared_ptr<Segment>& self);
    void Close(NamedRef& ref);
    DWORD Sweep();
    bool Info(PLATFORM_NAMESPACE_INFO& info);

private:
    class TableLock;

    Header& H() { return *reinterpret_cast<Header*>(m_base); }
    Process& P(uint32_t i) { return reinterpret_cast<Process*>(m_base + kProcessesAt)[i]; }
    Holder& Ho(uint32_t i) { return reinterpret_cast<Holder*>(m_base + kHoldersAt)[i]; }
    Entry& E(uint32_t i) { return reinterpret_cast<Entry*>(m_base + kEntriesAt)[i]; }
    uint32_t* Index() { return reinterpret_cast<uint32_t*>(m_base + kIndexAt); }

    uint32_t Me();
    bool Dead(uint32_t process);
    DWORD TryOpen(const OpenRequest& request, uint32_t me, NamedRef& ref);
    uint32_t Find(const char* name, uint32_t length, uint32_t hash);
    void IndexInsert(uint32_t entry);
    void IndexErase(uint32_t entry);
    uint32_t TakeEntry();
    uint32_t TakeHolder();
    uint32_t TakeProcess();
    void FreeHolder(uint32_t holder);
    void FreeProcess(uint32_t process);
    void Unlink(uint32_t entry, uint32_t holder);
    void ReleaseHolder(uint32_t entry, uint32_t holder);
    void ReleaseDeadHolders(uint32_t entry);
    void RemoveEntry(uint32_t entry);
    void EndEntry(uint32_t entry);
    DWORD SweepLocked();
    void Repair();

    std::string m_name;
    char* m_base;
    // This process's record; valid while m_generation is the current fork
    // generation. Guarded by the table lock.
    uint32_t m_process = kNil;
    uint32_t m_generation = 0;
};

// Holds the table lock; rebuilds the derived fields when the last holder
// died with it.
class Segment::TableLock {
public:
    explicit TableLock(Segment& s) : m_lock(&s.H().lock) {
        int r = pthread_mutex_lock(m_lock);
        if (r == EOWNERDEAD) {
            pthread_mutex_consistent(m_lock);
            s.Repair();
        }
        m_locked = r == 0 || r == EOWNERDEAD;
    }
    ~TableLock() {
        if (m_locked) pthread_mutex_unlock(m_lock);
    }
    explicit operator bool() const { return m_locked; }

private:
    pthread_mutex_t* m_lock;
    bool m_locked = false;
};

// ---- 2. Processes (continued) -----------------------------------------------

// This process's record, registering it on first use after start or fork.
uint32_t Segment::Me() {
    uint32_t generation = g_forkGeneration.load();
    if (m_generation == generation) return m_process;
    uint32_t p = TakeProcess();
    if (p == kNil && SweepLocked() > 0) p = TakeProcess();
    if (p == kNil) return kNil;
    Process& rec = P(p);
    rec.pid = ::getpid();
    int64_t start = StartTime(rec.pid);
    rec.startTime = start > 0 ? static_cast<uint64_t>(start) : 0;
    rec.holders = 0;
    rec.state = kLive;
    ++H().usedProcesses;
    m_process = p;
    m_generation = generation;
    return p;
}

// Whether a process record belongs to a process that has ended. A process
// that cannot be told (no /proc, a failed read) counts as alive.
bool Segment::Dead(uint32_t process) {
    Process& rec = P(process);
    if (rec.state == kDead) return true;
    if (rec.state != kLive) return true;
    if (process == m_process && m_generation == g_forkGeneration.load()) return false;
    int64_t start = StartTime(rec.pid);
    if (start < 0) return false;
    if (start == 0 || (rec.startTime != 0 && static_cast<uint64_t>(start) != rec.startTime)) {
        rec.state = kDead;
        return true;
    }
    return false;
}

// ---- 3. The table -----------------------------------------------------------

uint32_t Segment::Find(const char* name, uint32_t length, uint32_t hash) {
    uint32_t* index = Index();
    constexpr uint32_t mask = kIndexSlots - 1;
    for (uint32_t i = 0, slot = hash & mask; i < kIndexSlots; ++i, slot = (slot + 1) & mask) {
        uint32_t v = index[slot];
        if (v == 0) return kNil;
        if (v > H().entryHigh || E(v - 1).state != kNamed) {
            // Not a table this code wrote: rebuild it and look again.
            Repair();
            return Find(name, length, hash);
        }
        Entry& e = E(v - 1);
        if (e.hash == hash && e.length == length && std::memcmp(e.name, name, length) == 0) return v - 1;
    }
    return kNil;
}

void Segment::IndexInsert(uint32_t entry) {
    uint32_t* index = Index();
    constexpr uint32_t mask = kIndexSlots - 1;
    uint32_t slot = E(entry).hash & mask;
    while (index[slot] != 0) slot = (slot + 1) & mask;  // never full: twice the entries
    index[slot] = entry + 1;
}

// Linear probing without tombstones: later members of the probe run move
// back into the hole when their home slot allows it.
void Segment::IndexErase(uint32_t entry) {
    uint32_t* index = Index();
    constexpr uint32_t mask = kIndexSlots - 1;
    uint32_t hole = E(entry).hash & mask;
    for (uint32_t i = 0; index[hole] != entry + 1; hole = (hole + 1) & mask)
        if (index[hole] == 0 || ++i == kIndexSlots) return;
    for (uint32_t j = (hole + 1) & mask; index[j] != 0; j = (j + 1) & mask) {
        uint32_t home = E(index[j] - 1).hash & mask;
        if (((j - home) & mask) >= ((j - hole) & mask)) {
            index[hole] = index[j];
            hole = j;
        }
    }
    index[hole] = 0;
}

// Pops a record off a free list, else takes the first never-used one.
template <class Record>
uint32_t Take(Record* records, uint32_t& freeList, uint32_t& high, uint32_t max) {
    if (freeList == kNil) return high < max ? high++ : kNil;
    uint32_t i = freeList;
    freeList = records[i].next;
    return i;
}

uint32_t Segment::TakeEntry() { return Take(&E(0), H().freeEntry, H().entryHigh, kMaxEntries); }

uint32_t Segment::TakeHolder() { return Take(&Ho(0), H().freeHolder, H().holderHigh, kMaxHolders); }

uint32_t Segment::TakeProcess() { return Take(&P(0), H().freeProcess, H().processHigh, kMaxProcesses); }

void Segment::FreeHolder(uint32_t holder) {
    Holder& rec = Ho(holder);
    rec.entry = 0;
    rec.next = H().freeHolder;
    H().freeHolder = holder;
    --H().usedHolders;
}

void Segment::FreeProcess(uint32_t process) {
    Process& rec = P(process);
    rec.state = kNoProcess;
    rec.next = H().freeProcess;
    H().freeProcess = process;
    --H().usedProcesses;
}

void Segment::Unlink(uint32_t entry, uint32_t holder) {
    uint32_t* link = &E(entry).holders;
    for (uint32_t n = 0; *link != kNil && n < kMaxHolders; link = &Ho(*link).next, ++n) {
        if (*link == holder) {
            *link = Ho(holder).next;
            return;
        }
    }
}

DWORD Segment::TryOpen(const OpenRequest& request, uint32_t me, NamedRef& ref) {
    uint32_t hash = Hash(request.name, request.length);
    uint32_t e = Find(request.name, request.length, hash);
    if (e != kNil) {
        ReleaseDeadHolders(e);
        if (E(e).state != kNamed) e = kNil;  // nobody alive held it: it is gone
    }
    DWORD result = ERROR_ALREADY_EXISTS;
    uint32_t h = kNil;
    if (e != kNil) {
        if (E(e).kind != static_cast<uint32_t>(request.kind)) return ERROR_INVALID_HANDLE;
        for (uint32_t i = E(e).holders, n = 0; i != kNil && n < kMaxHolders; i = Ho(i).next, ++n)
            if (Ho(i).process == me) h = i;
        if (h == kNil) {
            if ((h = TakeHolder()) == kNil) return ERROR_NOT_ENOUGH_MEMORY;
            Holder& rec = Ho(h);
            rec.process = me;
            rec.handles = 0;
            rec.waiting.store(0);
            rec.next = E(e).holders;
            rec.entry = e + 1;
            E(e).holders = h;
            ++P(me).holders;
            ++H().usedHolders;
        }
        ++Ho(h).handles;
        ++E(e).handles;
    } else {
        if (!request.create) return ERROR_FILE_NOT_FOUND;
        result = ERROR_SUCCESS;
        if ((e = TakeEntry()) == kNil) return ERROR_NOT_ENOUGH_MEMORY;
        if ((h = TakeHolder()) == kNil) {
            E(e).state = kFreeEntry;
            E(e).next = H().freeEntry;
            H().freeEntry = e;
            return ERROR_NOT_ENOUGH_MEMORY;
        }
        // The entry is complete before it is marked named, and the holder
        // before it names the entry: a crash between steps leaves records
        // that Repair frees.
        Entry& entry = E(e);
        ++entry.serial;
        entry.kind = static_cast<uint32_t>(request.kind);
        entry.hash = hash;
        entry.length = request.length;
        std::memcpy(entry.name, request.name, request.length);
        entry.name[request.length] = 0;
        InitBody(entry.body, request.kind, request.manualReset, request.initialState, true);
        entry.handles = 1;
        entry.holders = h;
        entry.state = kNamed;
        Holder& rec = Ho(h);
        rec.process = me;
        rec.handles = 1;
        rec.waiting.store(0);
        rec.next = kNil;
        rec.entry = e + 1;
        ++P(me).holders;
        ++H().usedHolders;
        ++H().namedEntries;
        IndexInsert(e);
    }
    ref.entry = e;
    ref.serial = E(e).serial;
    ref.holder = h;
    ref.process = me;
    ref.generation = m_generation;
    ref.body = &E(e).body;
    ref.waiting = &Ho(h).waiting;
    return result;
}

DWORD Segment::Open(const OpenRequest& request, NamedRef& ref, const std::shared_ptr<Segment>& self) {
    TableLock lock(*this);
    if (!lock) return ERROR_GEN_FAILURE;
    uint32_t me = Me();
    if (me == kNil) return ERROR_NOT_ENOUGH_MEMORY;
    DWORD result = TryOpen(request, me, ref);
    // A full table is swept once; the lookup starts afresh, since the sweep
    // may have removed what the first attempt found.
    if (result == ERROR_NOT_ENOUGH_MEMORY && SweepLocked() > 0) result = TryOpen(request, me, ref);
    if (result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS) ref.segment = self;
    return result;
}

void Segment::Close(NamedRef& ref) {
    TableLock lock(*this);
    if (!lock) return;
    if (ref.entry >= H().entryHigh || ref.holder >= H().holderHigh) return;
    Entry& e = E(ref.entry);
    Holder& h = Ho(ref.holder);
    // A hold that a sweep released already (this process was taken for
    // dead) leaves nothing to do.
    if (e.state != kNamed || e.serial != ref.serial || h.entry != ref.entry + 1 || h.process != ref.process ||
        h.handles == 0)
        return;
    --h.handles;
    --e.handles;
    if (h.handles == 0) {
        Unlink(ref.entry, ref.holder);
        FreeHolder(ref.holder);
        --P(ref.process).holders;
    }
    if (e.handles == 0) RemoveEntry(ref.entry);
}

// Releases a dead process's hold on an entry: its handles and its waiting
// threads.
void Segment::ReleaseHolder(uint32_t entry, uint32_t holder) {
    Entry& e = E(entry);
    Holder& h = Ho(holder);
    if (e.kind == static_cast<uint32_t>(Kind::Event)) ForgetWaiters(e.body, h.waiting.load());
    e.handles -= h.handles < e.handles ? h.handles : e.handles;
    uint32_t process = h.process;
    Unlink(entry, holder);
    FreeHolder(holder);
    Process& p = P(process);
    if (p.holders > 0) --p.holders;
    if (p.state == kDead && p.holders == 0) FreeProcess(process);
}

void Segment::ReleaseDeadHolders(uint32_t entry) {
    for (uint32_t i = E(entry).holders, n = 0; i != kNil && n < kMaxHolders; ++n) {
        uint32_t next = Ho(i).next;
        if (Ho(i).process != m_process && Dead(Ho(i).process)) ReleaseHolder(entry, i);
        i = next;
    }
    if (E(entry).handles == 0) RemoveEntry(entry);
}

// The name goes at once; the storage follows unless a live thread still
// owns the mutex.
void Segment::RemoveEntry(uint32_t entry) {
    IndexErase(entry);
    --H().namedEntries;
    ++H().retiredEntries;
    E(entry).state = kRetired;
    EndEntry(entry);
}

void Segment::EndEntry(uint32_t entry) {
    Entry& e = E(entry);
    if (!EndBody(e.body)) return;
    e.state = kFreeEntry;
    e.next = H().freeEntry;
    H().freeEntry = entry;
    --H().retiredEntries;
}

// ---- 4. Repair and sweep ----------------------------------------------------

// Rebuilds every derived field from the records. Runs under the table lock,
// after its last holder died in the middle of a change.
void Segment::Repair() {
    Header& h = H();
    ++h.repairs;
    h.entryHigh = h.entryHigh < kMaxEntries ? h.entryHigh : kMaxEntries;
    h.holderHigh = h.holderHigh < kMaxHolders ? h.holderHigh : kMaxHolders;
    h.processHigh = h.processHigh < kMaxProcesses ? h.processHigh : kMaxProcesses;
    h.freeEntry = h.freeHolder = h.freeProcess = kNil;
    h.namedEntries = h.retiredEntries = h.usedHolders = h.usedProcesses = 0;
    std::memset(Index(), 0, sizeof(uint32_t) * kIndexSlots);

    for (uint32_t p = h.processHigh; p-- > 0;) {
        P(p).holders = 0;
        if (P(p).state != kLive && P(p).state != kDead) {
            P(p).state = kNoProcess;
            P(p).next = h.freeProcess;
            h.freeProcess = p;
        } else {
            ++h.usedProcesses;
        }
    }
    for (uint32_t e = 0; e < h.entryHigh; ++e) {
        E(e).handles = 0;
        E(e).holders = kNil;
    }
    for (uint32_t i = h.holderHigh; i-- > 0;) {
        Holder& rec = Ho(i);
        uint32_t e = rec.entry - 1;
        bool valid = rec.entry != 0 && e < h.entryHigh && E(e).state == kNamed && rec.process < h.processHigh &&
                     P(rec.process).state != kNoProcess && rec.handles > 0;
        if (!valid) {
            rec.entry = 0;
            rec.next = h.freeHolder;
            h.freeHolder = i;
            continue;
        }
        rec.next = E(e).holders;
        E(e).holders = i;
        E(e).handles += rec.handles;
        ++P(rec.process).holders;
        ++h.usedHolders;
    }
    for (uint32_t e = h.entryHigh; e-- > 0;) {
        Entry& rec = E(e);
        if (rec.state == kNamed && rec.handles > 0 && rec.length >= 1 && rec.length <= MAX_PATH) {
            IndexInsert(e);
            ++h.namedEntries;
            continue;
        }
        if (rec.state == kNamed) rec.state = kRetired;  // a creation cut short, or a lost name
        if (rec.state == kRetired) {
            ++h.retiredEntries;
            EndEntry(e);
        } else {
            rec.state = kFreeEntry;
            rec.next = h.freeEntry;
            h.freeEntry = e;
        }
    }
}

// Releases every hold of a dead process and ends retired mutexes whose owner
// has gone. Returns the number of records freed.
DWORD Segment::SweepLocked() {
    Header& h = H();
    DWORD freed = 0;
    for (uint32_t p = 0; p < h.processHigh; ++p)
        if (P(p).state == kLive && p != m_process) Dead(p);  // each process is judged once
    for (uint32_t i = 0; i < h.holderHigh; ++i) {
        Holder& rec = Ho(i);
        if (rec.entry == 0 || rec.process >= h.processHigh || P(rec.process).state == kLive) continue;
        uint32_t e = rec.entry - 1;
        ReleaseHolder(e, i);
        ++freed;
        if (E(e).handles == 0) RemoveEntry(e);
    }
    for (uint32_t p = 0; p < h.processHigh; ++p) {
        if (P(p).state == kDead && P(p).holders == 0) {
            FreeProcess(p);
            ++freed;
        }
    }
    for (uint32_t e = 0; e < h.entryHigh; ++e) {
        if (E(e).state != kRetired) continue;
        EndEntry(e);
        freed += E(e).state == kFreeEntry;
    }
    return freed;
}

DWORD Segment::Sweep() {
    TableLock lock(*this);
    if (!lock || Me() == kNil) return 0;
    return SweepLocked();
}

bool Segment::Info(PLATFORM_NAMESPACE_INFO& info) {
    TableLock lock(*this);
    if (!lock) return false;
    Header& h = H();
    DWORD waiting = 0;
    for (uint32_t i = 0; i < h.holderHigh; ++i)
        if (Ho(i).entry != 0) waiting += Ho(i).waiting.load();
    info = PLATFORM_NAMESPACE_INFO{h.namedEntries, h.retiredEntries, h.usedHolders, h.usedProcesses, waiting,
                                   h.repairs,      kMaxEntries,      kMaxHolders,   kMaxProcesses};
    return true;
}

// ---- 5. Attaching a segment -------------------------------------------------

namespace {

void (*g_hook)(int) = nullptr;

void Hook(int stage) {
    if (g_hook) g_hook(stage);
}

// Writes the header of a segment whose ready mark is missing: new, or left
// by a creator that died before finishing (which wrote nothing beyond the
// header).
void Initialise(Header& h) {
    std::memset(static_cast<void*>(&h), 0, sizeof h);
    h.version = kVersion;
    h.maxEntries = kMaxEntries;
    h.maxHolders = kMaxHolders;
    h.maxProcesses = kMaxProcesses;
    h.indexSlots = kIndexSlots;
    h.entryBytes = sizeof(Entry);
    h.holderBytes = sizeof(Holder);
    h.processBytes = sizeof(Process);
    h.segmentBytes = kSegmentBytes;
    h.freeEntry = h.freeHolder = h.freeProcess = kNil;
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
    pthread_mutex_init(&h.lock, &attr);
    pthread_mutexattr_destroy(&attr);
}

bool Compatible(const Header& h) {
    return h.version == kVersion && h.maxEntries == kMaxEntries && h.maxHolders == kMaxHolders &&
           h.maxProcesses == kMaxProcesses && h.indexSlots == kIndexSlots && h.entryBytes == sizeof(Entry) &&
           h.holderBytes == sizeof(Holder) && h.processBytes == sizeof(Process) && h.segmentBytes == kSegmentBytes;
}

// Opens the shared-memory object, creating it (mode 0600) when missing.
int OpenObject(const std::string& name) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        int fd = sys::ShmOpen(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
        if (fd >= 0) {
            sys::Fchmod(fd, 0600);  // whatever the umask took away
            return fd;
        }
        if (errno != EEXIST) return -1;
        fd = sys::ShmOpen(name.c_str(), O_RDWR, 0);
        if (fd >= 0 || errno != ENOENT) return fd;
        // Removed between the two calls: try again.
    }
    return -1;
}

}  // namespace

// Maps the segment, creating and initialising it when needed. The object's
// file lock serialises creators: one killed half-way releases it with its
// death, and the next opener finishes the job.
std::shared_ptr<Segment> Segment::Attach(const std::string& name, Refusal& refusal) {
    auto refuse = [&](DWORD code, const std::string& why) {
        refusal = Refusal{code, "namespace segment /dev/shm" + name + " " + why};
        return nullptr;
    };
    auto refuseErrno = [&](const char* what) {
        int err = errno;
        return refuse(PlatformErrorFromErrno(err), std::string(what) + ": " + std::strerror(err));
    };
    int fd = OpenObject(name);
    if (fd < 0) return refuseErrno("cannot be opened");
    struct Closer {
        int fd;
        ~Closer() {
            sys::Flock(fd, LOCK_UN);  // explicitly: the mapping keeps the open file, and so the lock
            sys::Close(fd);
        }
    } closer{fd};
    // Creation takes microseconds; a creator that holds the lock for seconds
    // is stopped, and the attempt is given up rather than left hanging.
    for (int waited = 0; sys::Flock(fd, LOCK_EX | LOCK_NB) != 0; ++waited) {
        if (errno != EWOULDBLOCK && errno != EINTR) return refuseErrno("cannot be locked");
        if (waited == 5000) return refuse(ERROR_BUSY, "is held by a process that does not finish creating it");
        Sleep(1);
    }

    fs::FileInfo st;
    if (fs::StatFd(fd, st) != 0) return refuseErrno("cannot be examined");
    if (st.owner != ::geteuid())
        return refuse(ERROR_ACCESS_DENIED, "belongs to uid " + std::to_string(st.owner) +
                                               ", not to this user (uid " + std::to_string(::geteuid()) + ")");
    if (st.mode != 0600) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", st.mode);
        return refuse(ERROR_ACCESS_DENIED, std::string("has mode ") + mode + ", not 0600");
    }
    if (st.size != 0 && static_cast<uint64_t>(st.size) != kSegmentBytes)
        return refuse(ERROR_INVALID_DATA, "is " + std::to_string(st.size) + " bytes, not " +
                                              std::to_string(kSegmentBytes) +
                                              " (another program's object, or another version's)");
    if (st.size == 0) {
        Hook(1);
        if (fs::Truncate(fd, static_cast<int64_t>(kSegmentBytes)) != 0) return refuseErrno("cannot be sized");
    }
    void* base = sys::Mmap(nullptr, kSegmentBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (base == MAP_FAILED) return refuseErrno("cannot be mapped");
    auto segment = std::make_shared<Segment>(name, base);
    Header& h = segment->H();
    uint64_t magic = h.magic.load(std::memory_order_acquire);
    if (magic == 0) {
        Hook(2);
        Initialise(h);
        Hook(3);
        h.magic.store(kMagic, std::memory_order_release);
    } else if (magic != kMagic) {
        return refuse(ERROR_INVALID_DATA, "is not a namespace of named objects");
    } else if (!Compatible(h)) {
        return refuse(ERROR_INVALID_DATA, "has layout version " + std::to_string(h.version) +
                                              " where this library uses " + std::to_string(kVersion) +
                                              "; remove it once no program uses it");
    }
    return segment;
}

// ---- 6. The interface -------------------------------------------------------

namespace {

// The process's segments: the one in use, those attached before (handles
// opened there keep them), and the names that were refused.
struct Registry {
    std::mutex lock;
    std::string current;  // empty until chosen
    std::shared_ptr<Segment> segment;
    std::map<std::string, std::shared_ptr<Segment>> attached;
    std::map<std::string, Refusal> refused;
    std::string lastError;
};

Registry& Reg() {
    static NoDestructor<Registry> registry;
    return *registry;
}

// The segment name for a namespace name: a leading '/' and nothing else
// that POSIX does not allow. Empty when the name is unusable.
std::string SegmentName(const char* name) {
    if (!name || !*name) return {};
    std::string s = name[0] == '/' ? name : std::string("/") + name;
    if (s.size() < 2 || s.size() > 255 || s.find('/', 1) != std::string::npos) return {};
    return s;
}

std::string DefaultName() {
    std::string fromEnvironment = SegmentName(std::getenv("CBASIS_NAMESPACE"));
    return fromEnvironment.empty() ? "/cbasis1-" + std::to_string(::geteuid()) : fromEnvironment;
}

std::shared_ptr<Segment> Current(DWORD& code) {
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    if (r.segment) return r.segment;
    if (r.current.empty()) r.current = DefaultName();
    if (auto it = r.attached.find(r.current); it != r.attached.end()) return r.segment = it->second;
    if (auto it = r.refused.find(r.current); it != r.refused.end()) {
        code = it->second.code;
        return nullptr;
    }
    Refusal refusal;
    std::shared_ptr<Segment> segment = Segment::Attach(r.current, refusal);
    if (!segment) {
        code = refusal.code;
        r.lastError = refusal.why;
        // A bad segment is refused for the rest of the process and said once;
        // a failed system call is tried again next time.
        if (refusal.code == ERROR_ACCESS_DENIED || refusal.code == ERROR_INVALID_DATA) {
            std::fprintf(stderr, "cbasis1: named events and mutexes are unavailable: %s\n", refusal.why.c_str());
            r.refused.emplace(r.current, refusal);
        }
        return nullptr;
    }
    r.attached.emplace(r.current, segment);
    return r.segment = segment;
}

}  // namespace

bool NamedRef::Inherited() const { return generation != g_forkGeneration.load(std::memory_order_relaxed); }

DWORD OpenNamed(const OpenRequest& request, NamedRef& ref) {
    DWORD code = ERROR_GEN_FAILURE;
    std::shared_ptr<Segment> segment = Current(code);
    return segment ? segment->Open(request, ref, segment) : code;
}

void CloseNamed(NamedRef& ref) {
    if (ref.segment && !ref.Inherited()) ref.segment->Close(ref);
    ref.segment.reset();
}

}  // namespace platform::sync

using platform::sync::Current;
using platform::sync::Reg;
using platform::sync::SegmentName;

CString PlatformNamespaceName() {
    platform::sync::Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    if (r.current.empty()) r.current = platform::sync::DefaultName();
    return CString(r.current.c_str());
}

BOOL PlatformUseNamespace(LPCSTR lpName) {
    std::string name = lpName ? SegmentName(lpName) : platform::sync::DefaultName();
    if (name.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    platform::sync::Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    r.current = name;
    r.segment.reset();
    return TRUE;
}

BOOL PlatformRemoveNamespace(LPCSTR lpName) {
    std::string name = SegmentName(lpName);
    if (name.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    platform::sync::Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    if (r.current == name) r.segment.reset();
    r.attached.erase(name);
    r.refused.erase(name);
    if (platform::sys::ShmUnlink(name.c_str()) != 0) {
        PlatformSetLastErrorFromErrno(errno);
        return FALSE;
    }
    return TRUE;
}

CString PlatformNamespaceError() {
    platform::sync::Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    return CString(r.lastError.c_str());
}

BOOL PlatformGetNamespaceInfo(PLATFORM_NAMESPACE_INFO* pInfo) {
    DWORD code = ERROR_GEN_FAILURE;
    std::shared_ptr<platform::sync::Segment> segment = Current(code);
    if (!pInfo || !segment || !segment->Info(*pInfo)) {
        SetLastError(pInfo ? code : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

DWORD PlatformSweepNamespace() {
    DWORD code = ERROR_GEN_FAILURE;
    std::shared_ptr<platform::sync::Segment> segment = Current(code);
    return segment ? segment->Sweep() : 0;
}

void PlatformSetNamespaceHook(void (*pfnHook)(int nStage)) { platform::sync::g_hook = pfnHook; }

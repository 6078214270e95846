// The namespace segment: the table of named events and mutexes that the
// processes of one user share.
//
// Sections:
//   1. Checks: nothing read from the segment is used unchecked.
//   2. Processes: their records, and telling a live process from one that
//      has ended.
//   3. The table: lookup, creation, holds and their release.
//   4. Repair and sweep.
//   5. Attaching a segment.
//
// Crash rules. The table lock is a robust process-shared mutex: when its
// holder dies the next locker rebuilds every derived field (free lists,
// counts, chains, the index) from the records themselves, which each
// operation writes in an order that leaves them meaningful at every step.
// A process has ended when the kernel has dropped its life lock (an
// open-file-description lock on a byte of the segment file that the process
// takes when it registers), which happens when its last thread ends and at
// no other time: a process whose main thread has ended, or one of another
// PID namespace, is alive for as long as it runs. Pids are never looked at.
// The holds of an ended process are released when one of its names is next
// opened, and by a sweep of the whole table when it runs short, so crashes
// never fill it. A record that breaks the table's rules (damaged by a stray
// write) makes the operation stop before it uses it; the table is repaired
// and the operation tried once more.
#include "platform/kernel/SyncSegment.h"

#include <pthread.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/SyscallTable.h"
#include "platform/shared/NoDestructor.h"

namespace platform::sync {

using namespace layout;

namespace {

// ---------------------------------------------------------------------------
// 1. Checks

// Thrown where a record breaks the table's rules.
struct Damaged {
    const char* what;
};

void Require(bool ok, const char* what) {
    if (!ok) throw Damaged{what};
}

void Decrement(uint32_t& count, const char* what) {
    Require(count > 0, what);
    --count;
}

uint32_t Hash(const char* s, uint32_t n) {
    uint32_t h = 2166136261u;  // FNV-1a
    for (uint32_t i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(s[i])) * 16777619u;
    return h;
}

bool KindValid(uint32_t kind) {
    return kind == static_cast<uint32_t>(Kind::Event) || kind == static_cast<uint32_t>(Kind::Mutex);
}

// Whether a named entry is whole: a name of a valid length whose hash is
// its own, a valid kind, and a body of that kind.
bool EntrySound(const Entry& e) {
    return KindValid(e.kind) && e.length >= 1 && e.length <= MAX_PATH && e.hash == Hash(e.name, e.length) &&
           BodySound(e.body, static_cast<Kind>(e.kind), true);
}

bool Below(uint32_t index, uint32_t high) { return index == kNil || index < high; }

// Handles of one process on one object, as many as a process of the
// original platform can have at all.
constexpr uint32_t kMaxHandles = 1u << 24;

// Whether the header's derived fields can be used as they are.
bool HeaderSound(const Header& h) {
    return h.entryHigh <= kMaxEntries && h.holderHigh <= kMaxHolders && h.processHigh <= kMaxProcesses &&
           Below(h.freeEntry, h.entryHigh) && Below(h.freeHolder, h.holderHigh) &&
           Below(h.freeProcess, h.processHigh) && h.namedEntries + h.retiredEntries <= h.entryHigh &&
           h.usedHolders <= h.holderHigh && h.usedProcesses <= h.processHigh;
}

// ---------------------------------------------------------------------------
// 2. Processes

std::atomic<uint32_t> g_forkGeneration{1};

// The life-lock descriptors of this process's segments. A child of fork
// must not keep them: it would hold its parent's life locks, and the
// parent's end would go unseen for as long as the child runs. So the child
// closes them before it returns from fork, and descriptors are opened and
// recorded here while fork waits.
struct Lives {
    std::mutex lock;
    std::vector<int*> fds;
};

Lives& TheLives() {
    static NoDestructor<Lives> lives;  // fork may come at any time, exit included
    return *lives;
}

[[maybe_unused]] const bool g_atfork = [] {
    pthread_atfork([] { TheLives().lock.lock(); }, [] { TheLives().lock.unlock(); },
                   [] {
                       g_forkGeneration.fetch_add(1);
                       for (int* fd : TheLives().fds) {
                           if (*fd >= 0) sys::Close(*fd);
                           *fd = -1;
                       }
                       TheLives().lock.unlock();
                   });
    return true;
}();

// The lock request for a process record's life byte.
struct flock LifeByte(uint32_t process, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = kLifeLocksAt + process;
    lock.l_len = 1;
    return lock;
}

}  // namespace

bool NamedRef::Inherited() const { return generation != g_forkGeneration.load(std::memory_order_relaxed); }

Segment::Segment(std::shared_ptr<const Place> place, std::string name, void* base, uint64_t device, uint64_t inode)
    : m_place(std::move(place)),
      m_name(std::move(name)),
      m_path(m_place->path + "/" + m_name),
      m_base(static_cast<char*>(base)),
      m_device(device),
      m_inode(inode) {
    std::lock_guard<std::mutex> guard(TheLives().lock);
    TheLives().fds.push_back(&m_lifeFd);
}

Segment::~Segment() {
    {
        Lives& lives = TheLives();
        std::lock_guard<std::mutex> guard(lives.lock);
        std::erase(lives.fds, &m_lifeFd);
        if (m_lifeFd >= 0) sys::Close(m_lifeFd);  // the record is left for a sweep
    }
    // A mutex a thread of this process still holds is on that thread's
    // robust list: the segment then stays mapped for the process's life.
    if (!HeldHere()) sys::Munmap(m_base, kSegmentBytes);
}

bool Segment::HeldHere() {
    const uint32_t high = std::min(H().entryHigh, kMaxEntries);
    for (uint32_t i = 0; i < high; ++i)
        if (E(i).kind == static_cast<uint32_t>(Kind::Mutex) && HeldInProcess(E(i).body)) return true;
    return false;
}

Process& Segment::P(uint32_t i) {
    Require(i < H().processHigh, "process index");
    return reinterpret_cast<Process*>(m_base + kProcessesAt)[i];
}

Holder& Segment::Ho(uint32_t i) {
    Require(i < H().holderHigh, "holder index");
    return reinterpret_cast<Holder*>(m_base + kHoldersAt)[i];
}

Entry& Segment::E(uint32_t i) {
    Require(i < H().entryHigh, "entry index");
    return reinterpret_cast<Entry*>(m_base + kEntriesAt)[i];
}

void Segment::SetProblem(const std::string& why) {
    std::lock_guard<std::mutex> guard(m_problemLock);
    m_problem = "namespace segment " + m_path + " " + why;
    if (!m_said) std::fprintf(stderr, "cbasis1: named events and mutexes fail: %s\n", m_problem.c_str());
    m_said = true;
}

std::string Segment::Problem() {
    std::lock_guard<std::mutex> guard(m_problemLock);
    return m_problem;
}

// Holds the table lock; rebuilds the derived fields when the last holder
// died with it or left a header that cannot be used.
class Segment::TableLock {
public:
    explicit TableLock(Segment& s) : m_segment(s) {
        Locked r = Lock(s.H().lock, true, Deadline(INFINITE), false, &s.m_damagedLock);
        m_locked = r == Locked::Yes || r == Locked::OwnerDied;
        if (!m_locked) {
            s.SetProblem("has a damaged table lock; remove it once no program uses it");
            return;
        }
        if (r == Locked::OwnerDied || !HeaderSound(s.H())) s.Repair();
    }
    ~TableLock() {
        if (m_locked) Unlock(m_segment.H().lock);
    }
    explicit operator bool() const { return m_locked; }

private:
    Segment& m_segment;
    bool m_locked = false;
};

// Runs an operation under the table lock. One that meets a damaged record
// stops there; the table is repaired and the operation runs once more.
template <class Operation>
DWORD Segment::Guarded(Operation operation) {
    TableLock lock(*this);
    if (!lock) return ERROR_INVALID_DATA;
    try {
        return operation();
    } catch (const Damaged&) {
        Repair();
    }
    try {
        return operation();
    } catch (const Damaged& damaged) {
        SetProblem(std::string("is damaged beyond repair (") + damaged.what + ")");
        return ERROR_INVALID_DATA;
    }
}

// Opens the file anew for this process's life locks. Under the Lives lock,
// so no fork in between can give a child this open file.
bool Segment::OpenLife() {
    std::lock_guard<std::mutex> guard(TheLives().lock);
    int fd = sys::OpenAt(m_place->dirFd, m_name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
    fs::FileInfo info;
    if (fd >= 0 && fs::StatFd(fd, info) == 0 && info.device == m_device && info.inode == m_inode) {
        m_lifeFd = fd;
        return true;
    }
    if (fd >= 0) sys::Close(fd);
    SetProblem("was removed or replaced since this process attached it");
    return false;
}

// Registers this process on its first use of the segment (after start or
// fork): a process record, and the life lock on its byte.
DWORD Segment::Register(uint32_t& me) {
    uint32_t generation = g_forkGeneration.load();
    me = m_process;
    if (m_generation == generation) return ERROR_SUCCESS;
    m_process = kNil;
    if (m_lifeFd < 0 && !OpenLife()) return ERROR_INVALID_DATA;
    for (int attempt = 0; attempt < 8; ++attempt) {
        uint32_t p = TakeProcess();
        if (p == kNil && SweepLocked() > 0) p = TakeProcess();
        if (p == kNil) return ERROR_NOT_ENOUGH_MEMORY;
        Process& rec = P(p);
        rec.holders = 0;
        rec.state = kLive;
        ++H().usedProcesses;
        struct flock lock = LifeByte(p, F_WRLCK);
        if (sys::LockRange(m_lifeFd, F_OFD_SETLK, &lock) == 0) {
            me = m_process = p;
            m_generation = generation;
            return ERROR_SUCCESS;
        }
        if (errno != EAGAIN && errno != EACCES) {
            SetProblem(std::string("cannot take a life lock: ") + std::strerror(errno));
            return ERROR_INVALID_DATA;
        }
        // The byte is held: a live process whose record a repair lost is
        // on record again, and this process tries the next record.
    }
    return ERROR_NOT_ENOUGH_MEMORY;
}

Segment::Life Segment::LifeOf(uint32_t process) {
    if (process == m_process && m_generation == g_forkGeneration.load()) return Life::Held;
    if (m_lifeFd < 0) return Life::Unknown;
    struct flock probe = LifeByte(process, F_WRLCK);
    if (sys::LockRange(m_lifeFd, F_OFD_GETLK, &probe) != 0) return Life::Unknown;
    return probe.l_type == F_UNLCK ? Life::Free : Life::Held;
}

// Whether a registered process has ended. One that cannot be told counts
// as alive.
bool Segment::Ended(uint32_t process) {
    Require(P(process).state == kLive, "hold of a process not on record");
    return LifeOf(process) == Life::Free;
}

// ---------------------------------------------------------------------------
// 3. The table

uint32_t Segment::Find(const char* name, uint32_t length, uint32_t hash) {
    uint32_t* index = Index();
    constexpr uint32_t mask = kIndexSlots - 1;
    for (uint32_t i = 0, slot = hash & mask; i < kIndexSlots; ++i, slot = (slot + 1) & mask) {
        uint32_t v = index[slot];
        if (v == 0) return kNil;
        Entry& e = E(v - 1);
        Require(e.state == kNamed, "name index");
        if (e.hash == hash && e.length == length && std::memcmp(e.name, name, length) == 0) {
            Require(EntrySound(e), "named entry");
            return v - 1;
        }
    }
    return kNil;
}

void Segment::IndexInsert(uint32_t entry) {
    uint32_t* index = Index();
    constexpr uint32_t mask = kIndexSlots - 1;
    uint32_t slot = E(entry).hash & mask;
    for (uint32_t i = 0; index[slot] != 0; ++i, slot = (slot + 1) & mask) Require(i < kIndexSlots, "name index");
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
    uint32_t j = (hole + 1) & mask;
    for (uint32_t i = 0; index[j] != 0; j = (j + 1) & mask) {
        Require(++i < kIndexSlots, "name index");
        uint32_t home = E(index[j] - 1).hash & mask;
        if (((j - home) & mask) >= ((j - hole) & mask)) {
            index[hole] = index[j];
            hole = j;
        }
    }
    index[hole] = 0;
}

namespace {

// Pops a record off a free list, else takes the first never-used one.
template <class Record, class IsFree>
uint32_t Take(Record* records, uint32_t& freeList, uint32_t& high, uint32_t max, IsFree isFree) {
    if (freeList == kNil) return high < max ? high++ : kNil;
    uint32_t i = freeList;
    Require(i < high && isFree(records[i]) && Below(records[i].next, high), "free list");
    freeList = records[i].next;
    return i;
}

}  // namespace

uint32_t Segment::TakeEntry() {
    return Take(reinterpret_cast<Entry*>(m_base + kEntriesAt), H().freeEntry, H().entryHigh, kMaxEntries,
                [](const Entry& e) { return e.state == kFreeEntry; });
}

uint32_t Segment::TakeHolder() {
    return Take(reinterpret_cast<Holder*>(m_base + kHoldersAt), H().freeHolder, H().holderHigh, kMaxHolders,
                [](const Holder& h) { return h.entry == 0; });
}

uint32_t Segment::TakeProcess() {
    return Take(reinterpret_cast<Process*>(m_base + kProcessesAt), H().freeProcess, H().processHigh, kMaxProcesses,
                [](const Process& p) { return p.state == kNoProcess; });
}

void Segment::FreeEntry(uint32_t entry) {
    Entry& e = E(entry);
    e.state = kFreeEntry;
    e.next = H().freeEntry;
    H().freeEntry = entry;
}

void Segment::FreeHolder(uint32_t holder) {
    Decrement(H().usedHolders, "holder count");
    Holder& rec = Ho(holder);
    rec.entry = 0;
    rec.next = H().freeHolder;
    H().freeHolder = holder;
}

void Segment::FreeProcess(uint32_t process) {
    Decrement(H().usedProcesses, "process count");
    Process& rec = P(process);
    rec.state = kNoProcess;
    rec.next = H().freeProcess;
    H().freeProcess = process;
}

void Segment::Unlink(uint32_t entry, uint32_t holder) {
    uint32_t* link = &E(entry).holders;
    for (uint32_t n = 0; *link != kNil; link = &Ho(*link).next) {
        Require(++n <= kMaxHolders, "holder chain");
        if (*link == holder) {
            *link = Ho(holder).next;
            return;
        }
    }
    Require(false, "holder chain");
}

// The process's holder record on the entry, or kNil.
uint32_t Segment::HolderOf(uint32_t entry, uint32_t process) {
    uint32_t found = kNil;
    for (uint32_t i = E(entry).holders, n = 0; i != kNil; i = Ho(i).next) {
        Require(++n <= kMaxHolders && Ho(i).entry == entry + 1, "holder chain");
        if (Ho(i).process == process) found = i;
    }
    return found;
}

DWORD Segment::TryOpen(const OpenRequest& request, uint32_t me, NamedRef& ref) {
    uint32_t hash = Hash(request.name, request.length);
    uint32_t e = Find(request.name, request.length, hash);
    if (e != kNil) {
        ReleaseEndedHolders(e);
        if (E(e).state != kNamed) e = kNil;  // nobody alive held it: it is gone
    }
    DWORD result = ERROR_ALREADY_EXISTS;
    uint32_t h = kNil;
    if (e != kNil) {
        Entry& entry = E(e);
        if (entry.kind != static_cast<uint32_t>(request.kind)) return ERROR_INVALID_HANDLE;
        h = HolderOf(e, me);
        if (h == kNil) {
            if ((h = TakeHolder()) == kNil) return ERROR_NOT_ENOUGH_MEMORY;
            Holder& rec = Ho(h);
            rec.process = me;
            rec.handles = 0;
            rec.waiting.store(0);
            rec.next = entry.holders;
            rec.entry = e + 1;
            entry.holders = h;
            ++P(me).holders;
            ++H().usedHolders;
        }
        Require(entry.handles < UINT32_MAX, "handle count");
        Require(Ho(h).handles <= kMaxHandles, "handle count");
        if (Ho(h).handles == kMaxHandles) return ERROR_NOT_ENOUGH_MEMORY;
        ++Ho(h).handles;
        ++entry.handles;
    } else {
        if (!request.create) return ERROR_FILE_NOT_FOUND;
        result = ERROR_SUCCESS;
        if ((e = TakeEntry()) == kNil) return ERROR_NOT_ENOUGH_MEMORY;
        if ((h = TakeHolder()) == kNil) {
            FreeEntry(e);
            return ERROR_NOT_ENOUGH_MEMORY;
        }
        // The entry is complete before it is marked named, and the holder
        // before it names the entry: a crash between steps leaves records
        // that Repair frees. The index goes first, since only it can find
        // the table damaged, before anything is on record.
        Entry& entry = E(e);
        ++entry.serial;
        entry.kind = static_cast<uint32_t>(request.kind);
        entry.hash = hash;
        entry.length = request.length;
        std::memcpy(entry.name, request.name, request.length);
        entry.name[request.length] = 0;
        InitBody(entry.body, request.kind, request.manualReset, request.initialState, true);
        IndexInsert(e);
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
    DWORD result = Guarded([&] {
        uint32_t me;
        DWORD registered = Register(me);
        if (registered != ERROR_SUCCESS) return registered;
        DWORD r = TryOpen(request, me, ref);
        // A full table is swept once; the lookup starts afresh, since the
        // sweep may have removed what the first attempt found.
        if (r == ERROR_NOT_ENOUGH_MEMORY && SweepLocked() > 0) r = TryOpen(request, me, ref);
        return r;
    });
    if (result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS) ref.segment = self;
    return result;
}

void Segment::Close(NamedRef& ref) {
    bool changed = false;  // once it has, a repair counts the hold as it was left
    Guarded([&]() -> DWORD {
        if (changed) return 0;
        Header& head = H();
        if (ref.entry >= head.entryHigh || ref.holder >= head.holderHigh) return 0;
        Entry& e = E(ref.entry);
        Holder& h = Ho(ref.holder);
        // A hold that a sweep released already (this process was taken for
        // ended) leaves nothing to do.
        if (e.state != kNamed || e.serial != ref.serial || h.entry != ref.entry + 1 || h.process != ref.process ||
            h.handles == 0)
            return 0;
        Require(e.handles > 0 && (h.handles > 1 || P(ref.process).holders > 0), "handle count");
        changed = true;
        --h.handles;
        --e.handles;
        if (h.handles == 0) {
            Unlink(ref.entry, ref.holder);
            FreeHolder(ref.holder);
            --P(ref.process).holders;
        }
        if (e.handles == 0) RemoveEntry(ref.entry);
        return 0;
    });
}

// Releases a hold of a process that has ended: its handles and its waiting
// threads. ended: the process goes too once it holds nothing.
void Segment::ReleaseHolder(uint32_t entry, uint32_t holder, bool ended) {
    Entry& e = E(entry);
    Holder& h = Ho(holder);
    Require(e.handles >= h.handles && P(h.process).holders > 0, "handle count");
    if (e.kind == static_cast<uint32_t>(Kind::Event)) ForgetWaiters(e.body, h.waiting.load());
    e.handles -= h.handles;
    uint32_t process = h.process;
    Unlink(entry, holder);
    FreeHolder(holder);
    Process& p = P(process);
    --p.holders;
    if (ended && p.holders == 0) FreeProcess(process);
}

void Segment::ReleaseEndedHolders(uint32_t entry) {
    for (uint32_t i = E(entry).holders, n = 0; i != kNil;) {
        Require(++n <= kMaxHolders && Ho(i).entry == entry + 1, "holder chain");
        uint32_t next = Ho(i).next;
        uint32_t process = Ho(i).process;
        if (process != m_process && Ended(process)) ReleaseHolder(entry, i, true);
        i = next;
    }
    if (E(entry).handles == 0) RemoveEntry(entry);
}

// The name goes at once; the storage follows unless a live thread still
// owns the mutex.
void Segment::RemoveEntry(uint32_t entry) {
    Decrement(H().namedEntries, "object count");
    IndexErase(entry);
    ++H().retiredEntries;
    E(entry).state = kRetired;
    EndEntry(entry);
}

// Frees a retired entry whose body can end. A body that is not sound never
// does: handles may still point at it, so its storage is never reused.
void Segment::EndEntry(uint32_t entry) {
    Entry& e = E(entry);
    if (!EndBody(e.body)) return;
    Decrement(H().retiredEntries, "retired count");
    FreeEntry(entry);
}

// ---------------------------------------------------------------------------
// 4. Repair and sweep

// Rebuilds every derived field from the records: after the table lock's
// last holder died in the middle of a change, or where a record broke the
// table's rules. Records that cannot stand are dropped: an entry without a
// whole name, kind and body loses its name (and keeps its storage, see
// EndEntry); a holder of a missing entry or process goes. A process record
// that a holder names and whose life lock is held belongs to a live process
// and is taken back on record. Never throws.
void Segment::Repair() {
    Header& h = H();
    auto* processes = reinterpret_cast<Process*>(m_base + kProcessesAt);
    auto* holders = reinterpret_cast<Holder*>(m_base + kHoldersAt);
    auto* entries = reinterpret_cast<Entry*>(m_base + kEntriesAt);
    ++h.repairs;
    h.entryHigh = h.entryHigh < kMaxEntries ? h.entryHigh : kMaxEntries;
    h.holderHigh = h.holderHigh < kMaxHolders ? h.holderHigh : kMaxHolders;
    h.processHigh = h.processHigh < kMaxProcesses ? h.processHigh : kMaxProcesses;
    // Free records at the end are as good as never used (a damaged high
    // mark would otherwise have every record up to the limit written).
    while (h.entryHigh > 0 && entries[h.entryHigh - 1].state == kFreeEntry) --h.entryHigh;
    while (h.holderHigh > 0 && holders[h.holderHigh - 1].entry == 0) --h.holderHigh;
    while (h.processHigh > 0 && processes[h.processHigh - 1].state == kNoProcess) --h.processHigh;
    h.freeEntry = h.freeHolder = h.freeProcess = kNil;
    h.namedEntries = h.retiredEntries = h.usedHolders = h.usedProcesses = 0;
    std::memset(Index(), 0, sizeof(uint32_t) * kIndexSlots);

    for (uint32_t e = 0; e < h.entryHigh; ++e) {
        Entry& rec = entries[e];
        rec.handles = 0;
        rec.holders = kNil;
        if (rec.state == kNamed && rec.length >= 1 && rec.length <= MAX_PATH) rec.hash = Hash(rec.name, rec.length);
        if ((rec.state == kNamed && !EntrySound(rec)) || (rec.state != kNamed && rec.state != kFreeEntry))
            rec.state = kRetired;
    }
    for (uint32_t p = 0; p < h.processHigh; ++p) processes[p].holders = 0;
    for (uint32_t i = h.holderHigh; i-- > 0;) {
        Holder& rec = holders[i];
        uint32_t e = rec.entry - 1;
        bool valid = rec.entry != 0 && e < h.entryHigh && entries[e].state == kNamed && rec.process < h.processHigh &&
                     rec.handles > 0 && rec.handles <= kMaxHandles && rec.handles <= UINT32_MAX - entries[e].handles;
        if (valid && processes[rec.process].state != kLive) {
            valid = LifeOf(rec.process) == Life::Held;
            if (valid) processes[rec.process].state = kLive;
        }
        if (!valid) {
            rec.entry = 0;
            rec.next = h.freeHolder;
            h.freeHolder = i;
            continue;
        }
        rec.next = entries[e].holders;
        entries[e].holders = i;
        entries[e].handles += rec.handles;
        ++processes[rec.process].holders;
        ++h.usedHolders;
    }
    for (uint32_t e = h.entryHigh; e-- > 0;) {
        Entry& rec = entries[e];
        if (rec.state == kNamed && rec.handles > 0) {
            IndexInsert(e);
            ++h.namedEntries;
            continue;
        }
        if (rec.state == kNamed) rec.state = kRetired;  // a creation cut short, or a lost name
        if (rec.state == kRetired) {
            ++h.retiredEntries;
            EndEntry(e);
        } else {
            FreeEntry(e);
        }
    }
    for (uint32_t p = h.processHigh; p-- > 0;) {
        Process& rec = processes[p];
        if (rec.state == kLive) {
            ++h.usedProcesses;
            continue;
        }
        rec.state = kNoProcess;
        rec.next = h.freeProcess;
        h.freeProcess = p;
    }
}

// Releases every hold of the processes that have ended, those processes'
// records, and retired mutexes whose owner has gone. Returns the number of
// records freed.
DWORD Segment::SweepLocked() {
    Header& h = H();
    DWORD freed = 0;
    std::vector<char> ended(h.processHigh);  // each process is judged once
    for (uint32_t p = 0; p < h.processHigh; ++p) ended[p] = P(p).state == kLive && Ended(p);
    for (uint32_t i = 0; i < h.holderHigh; ++i) {
        Holder& rec = Ho(i);
        if (rec.entry == 0) continue;
        Require(rec.process < h.processHigh && P(rec.process).state == kLive, "hold of a process not on record");
        if (!ended[rec.process]) continue;
        uint32_t e = rec.entry - 1;
        Require(E(e).state == kNamed, "hold of an object not named");
        ReleaseHolder(e, i, false);
        ++freed;
        if (E(e).handles == 0) RemoveEntry(e);
    }
    for (uint32_t p = 0; p < h.processHigh; ++p) {
        if (ended[p] && P(p).holders == 0) {
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
    DWORD freed = 0;
    Guarded([&] {
        uint32_t me;
        DWORD registered = Register(me);
        if (registered == ERROR_SUCCESS) freed = SweepLocked();
        return registered;
    });
    return freed;
}

bool Segment::Info(PLATFORM_NAMESPACE_INFO& info) {
    return Guarded([&]() -> DWORD {
               Header& h = H();
               DWORD waiting = 0;
               for (uint32_t i = 0; i < h.holderHigh; ++i)
                   if (Ho(i).entry != 0) waiting += Ho(i).waiting.load();
               info = PLATFORM_NAMESPACE_INFO{h.namedEntries, h.retiredEntries, h.usedHolders, h.usedProcesses, waiting,
                                              h.repairs,      kMaxEntries,      kMaxHolders,   kMaxProcesses};
               return ERROR_SUCCESS;
           }) == ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------
// 5. Attaching a segment

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
    InitLock(h.lock, true);
}

bool Compatible(const Header& h) {
    return h.version == kVersion && h.maxEntries == kMaxEntries && h.maxHolders == kMaxHolders &&
           h.maxProcesses == kMaxProcesses && h.indexSlots == kIndexSlots && h.entryBytes == sizeof(Entry) &&
           h.holderBytes == sizeof(Holder) && h.processBytes == sizeof(Process) && h.segmentBytes == kSegmentBytes;
}

// Opens the segment file, creating it (mode 0600) when missing; never
// through a link.
int OpenFile(int dirFd, const std::string& name) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        int fd = sys::OpenAt(dirFd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            sys::Fchmod(fd, 0600);  // whatever the umask took away
            return fd;
        }
        if (errno != EEXIST) return -1;
        fd = sys::OpenAt(dirFd, name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
        if (fd >= 0 || errno != ENOENT) return fd;
        // Removed between the two calls: try again.
    }
    return -1;
}

}  // namespace

// Maps the segment, creating and initialising it when needed. The file's
// flock serialises creators: one killed half-way releases it with its
// death, and the next opener finishes the job.
std::shared_ptr<Segment> Segment::Attach(std::shared_ptr<const Place> place, const std::string& name,
                                         Refusal& refusal) {
    const std::string path = place->path + "/" + name;
    auto refuse = [&](DWORD code, const std::string& why) {
        refusal = Refusal{code, "namespace segment " + path + " " + why};
        return nullptr;
    };
    auto refuseErrno = [&](const char* what) {
        int err = errno;
        return refuse(PlatformErrorFromErrno(err), std::string(what) + ": " + std::strerror(err));
    };
    int fd = OpenFile(place->dirFd, name);
    if (fd < 0) {
        if (errno == ELOOP) return refuse(ERROR_ACCESS_DENIED, "is a symbolic link");
        return refuseErrno("cannot be opened");
    }
    struct Closer {
        int fd;
        ~Closer() {
            sys::Flock(fd, LOCK_UN);  // explicitly: the mapping keeps the open file, and so the lock
            sys::Close(fd);
        }
    } closer{fd};
    fs::FileInfo st;
    if (fs::StatFd(fd, st) != 0) return refuseErrno("cannot be examined");
    if (st.isDirectory || st.isSpecial) return refuse(ERROR_ACCESS_DENIED, "is not a regular file");
    // Creation takes microseconds; a creator that holds the lock for seconds
    // is stopped, and the attempt is given up rather than left hanging.
    for (int waited = 0; sys::Flock(fd, LOCK_EX | LOCK_NB) != 0; ++waited) {
        if (errno != EWOULDBLOCK && errno != EINTR) return refuseErrno("cannot be locked");
        if (waited == 5000) return refuse(ERROR_BUSY, "is held by a process that does not finish creating it");
        Sleep(1);
    }
    if (fs::StatFd(fd, st) != 0) return refuseErrno("cannot be examined");
    if (st.owner != ::geteuid())
        return refuse(ERROR_ACCESS_DENIED, "belongs to uid " + std::to_string(st.owner) + ", not to this user (uid " +
                                               std::to_string(::geteuid()) + ")");
    if (st.mode != 0600) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", st.mode);
        return refuse(ERROR_ACCESS_DENIED, std::string("has mode ") + mode + ", not 0600");
    }
    if (st.size != 0 && static_cast<uint64_t>(st.size) != kSegmentBytes)
        return refuse(ERROR_INVALID_DATA, "is " + std::to_string(st.size) + " bytes, not " +
                                              std::to_string(kSegmentBytes) +
                                              " (another program's file, or another version's)");
    if (st.size == 0) {
        Hook(1);
        if (fs::Truncate(fd, static_cast<int64_t>(kSegmentBytes)) != 0) return refuseErrno("cannot be sized");
    }
    void* base = sys::Mmap(nullptr, kSegmentBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (base == MAP_FAILED) return refuseErrno("cannot be mapped");
    auto segment = std::make_shared<Segment>(std::move(place), name, base, st.device, st.inode);
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

}  // namespace platform::sync

void PlatformSetNamespaceHook(void (*pfnHook)(int nStage)) { platform::sync::g_hook = pfnHook; }

// One namespace segment: a file, mapped by every process of the user that
// uses the namespace, holding a fixed table of named events and mutexes
// (layout in SyncLayout.h). Used by SyncNamespace.cpp.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/kernel/Sync.h"
#include "platform/kernel/SyncLayout.h"
#include "platform/kernel/SyncNamespace.h"
#include "platform/kernel/SyncPlace.h"

namespace platform::sync {

struct Refusal {
    DWORD code;
    std::string why;
};

class Segment {
public:
    // Opens the segment file name in the place's directory, creating and
    // initialising it when needed; null with the refusal filled when it
    // cannot be had or cannot be trusted.
    static std::shared_ptr<Segment> Attach(std::shared_ptr<const Place> place, const std::string& name,
                                           Refusal& refusal);
    Segment(std::shared_ptr<const Place> place, std::string name, void* base, uint64_t device, uint64_t inode);
    ~Segment();
    Segment(const Segment&) = delete;
    Segment& operator=(const Segment&) = delete;

    DWORD Open(const OpenRequest& request, NamedRef& ref, const std::shared_ptr<Segment>& self);
    void Close(NamedRef& ref);
    DWORD Sweep();
    bool Info(PLATFORM_NAMESPACE_INFO& info);
    // Why the last call that failed with ERROR_INVALID_DATA failed.
    std::string Problem();

private:
    class TableLock;
    enum class Life { Held, Free, Unknown };

    layout::Header& H() { return *reinterpret_cast<layout::Header*>(m_base); }
    layout::Process& P(uint32_t i);
    layout::Holder& Ho(uint32_t i);
    layout::Entry& E(uint32_t i);
    uint32_t* Index() { return reinterpret_cast<uint32_t*>(m_base + layout::kIndexAt); }

    template <class Operation>
    DWORD Guarded(Operation operation);
    void SetProblem(const std::string& why);
    bool HeldHere();

    DWORD Register(uint32_t& me);
    bool OpenLife();
    Life LifeOf(uint32_t process);
    bool Ended(uint32_t process);
    DWORD TryOpen(const OpenRequest& request, uint32_t me, NamedRef& ref);
    uint32_t Find(const char* name, uint32_t length, uint32_t hash);
    uint32_t HolderOf(uint32_t entry, uint32_t process);
    void IndexInsert(uint32_t entry);
    void IndexErase(uint32_t entry);
    uint32_t TakeEntry();
    uint32_t TakeHolder();
    uint32_t TakeProcess();
    void FreeEntry(uint32_t entry);
    void FreeHolder(uint32_t holder);
    void FreeProcess(uint32_t process);
    void Unlink(uint32_t entry, uint32_t holder);
    void ReleaseHolder(uint32_t entry, uint32_t holder, bool ended);
    void ReleaseEndedHolders(uint32_t entry);
    void RemoveEntry(uint32_t entry);
    void EndEntry(uint32_t entry);
    DWORD SweepLocked();
    void Repair();

    const std::shared_ptr<const Place> m_place;
    const std::string m_name, m_path;
    char* const m_base;
    const uint64_t m_device, m_inode;  // the file, which a child of fork opens again
    // This process's open of the file, whose locks say it is alive; -1
    // until the process registers (and in a child of fork, until it does).
    // Guarded by the table lock and, for the fork handlers, by Lives.
    int m_lifeFd = -1;
    // This process's record; valid while m_generation is the current fork
    // generation. Guarded by the table lock.
    uint32_t m_process = layout::kNil;
    uint32_t m_generation = 0;
    std::atomic<uint32_t> m_damagedLock{0};  // the table lock's word when found damaged
    std::mutex m_problemLock;
    std::string m_problem;
    bool m_said = false;
};

}  // namespace platform::sync

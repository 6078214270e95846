// CSyncObject and CMutex within one process.
//
// A named mutex lives in a process-wide table, name -> state, counted by the
// CMutex objects open on it; the entry goes with the last of them. Ownership
// belongs to a thread, not to a CMutex object, as on the original platform:
// any handle of the owning thread may unlock it, and a thread that ends while
// owning a mutex abandons it, which lets the next waiter in.
#include "platform/Sync.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

struct CMutex::State {
    std::mutex lock;
    std::condition_variable released;
    std::thread::id owner;  // default id: nobody
    unsigned depth = 0;     // recursion count of the owner
    int handles = 0;        // open CMutex objects of a named mutex; guarded by the name table
};

namespace {

using State = CMutex::State;

struct NameTable {
    std::mutex lock;
    std::unordered_map<std::string, std::shared_ptr<State>> names;
};

NameTable& Names() {
    static NameTable table;
    return table;
}

// Mutexes the current thread owns; those still owned when it ends are
// abandoned.
struct OwnedByThread {
    std::vector<std::shared_ptr<State>> states;
    ~OwnedByThread() {
        std::thread::id self = std::this_thread::get_id();
        for (const std::shared_ptr<State>& state : states) {
            std::lock_guard<std::mutex> guard(state->lock);
            if (state->owner != self) continue;
            state->owner = std::thread::id();
            state->depth = 0;
            state->released.notify_one();
        }
    }
};

thread_local OwnedByThread t_owned;

// Makes the calling thread the owner. The state must be locked and free.
void TakeOwnership(const std::shared_ptr<State>& state) {
    state->owner = std::this_thread::get_id();
    state->depth = 1;
    t_owned.states.push_back(state);
}

void DropOwnership(State* state) {
    state->owner = std::thread::id();
    auto it = std::find_if(t_owned.states.begin(), t_owned.states.end(),
                           [state](const std::shared_ptr<State>& s) { return s.get() == state; });
    if (it != t_owned.states.end()) t_owned.states.erase(it);
}

}  // namespace

CSyncObject::CSyncObject(LPCTSTR pstrName) : m_strName(pstrName) {}

CSyncObject::~CSyncObject() = default;

CMutex::CMutex(BOOL bInitiallyOwn, LPCTSTR lpszName, LPSECURITY_ATTRIBUTES) : CSyncObject(lpszName) {
    if (m_strName.IsEmpty()) {
        m_state = std::make_shared<State>();
        if (bInitiallyOwn) TakeOwnership(m_state);
        return;
    }
    NameTable& table = Names();
    std::lock_guard<std::mutex> guard(table.lock);
    std::shared_ptr<State>& entry = table.names[m_strName.str()];
    if (!entry) {
        // Only the creator may take initial ownership; opening an existing
        // name ignores it, as the original platform does.
        entry = std::make_shared<State>();
        if (bInitiallyOwn) TakeOwnership(entry);
    }
    ++entry->handles;
    m_state = entry;
}

CMutex::~CMutex() {
    if (m_strName.IsEmpty()) return;
    NameTable& table = Names();
    std::lock_guard<std::mutex> guard(table.lock);
    if (--m_state->handles == 0) table.names.erase(m_strName.str());
}

BOOL CMutex::Lock(DWORD dwTimeout) {
    std::unique_lock<std::mutex> guard(m_state->lock);
    std::thread::id self = std::this_thread::get_id();
    if (m_state->owner == self) {
        ++m_state->depth;
        return TRUE;
    }
    auto free = [this] { return m_state->owner == std::thread::id(); };
    if (dwTimeout == INFINITE)
        m_state->released.wait(guard, free);
    else if (!m_state->released.wait_for(guard, std::chrono::milliseconds(dwTimeout), free))
        return FALSE;
    TakeOwnership(m_state);
    return TRUE;
}

BOOL CMutex::Unlock() {
    std::lock_guard<std::mutex> guard(m_state->lock);
    if (m_state->owner != std::this_thread::get_id()) return FALSE;
    if (--m_state->depth == 0) {
        DropOwnership(m_state.get());
        m_state->released.notify_one();
    }
    return TRUE;
}

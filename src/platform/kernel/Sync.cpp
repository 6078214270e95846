// The Win32 event and mutex calls over handles. A handle refers either to a named object's hold in the namespace
// (platform/kernel/SyncNamespace.cpp) or to an unnamed object kept in this
// process; both carry a body (platform/kernel/SyncBody.cpp) that does the work.
#include "platform/kernel/Sync.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Handles.h"
#include "platform/kernel/SyncNamespace.h"
#include "platform/kernel/SyscallTable.h"
#include "platform/shared/NoDestructor.h"

namespace {

using platform::sync::BodyStorage;
using platform::sync::Kind;

class SyncHandle : public platform::KernelObject {
public:
    explicit SyncHandle(Kind kind) : kind(kind) {}
    const Kind kind;
    BodyStorage* body = nullptr;
    std::atomic<uint32_t>* waiting = nullptr;
    virtual bool Usable() const { return true; }
};

// Unnamed mutex bodies that could not end because another live thread owns
// them: their memory is on that thread's robust list and must stay. Each
// new one gives the older ones another try.
struct Retired {
    std::mutex lock;
    std::vector<std::unique_ptr<BodyStorage>> bodies;
};

Retired& RetiredBodies() {
    static NoDestructor<Retired> retired;  // outlives every static handle
    return *retired;
}

class LocalObject : public SyncHandle {
public:
    LocalObject(Kind kind, bool manualReset, bool initialState) : SyncHandle(kind), m_storage(new BodyStorage) {
        platform::sync::InitBody(*m_storage, kind, manualReset, initialState, false);
        body = m_storage.get();
        waiting = &m_waiting;
    }
    ~LocalObject() override {
        if (platform::sync::EndBody(*m_storage)) return;
        Retired& retired = RetiredBodies();
        std::lock_guard<std::mutex> guard(retired.lock);
        std::erase_if(retired.bodies, [](std::unique_ptr<BodyStorage>& b) { return platform::sync::EndBody(*b); });
        retired.bodies.push_back(std::move(m_storage));
    }

private:
    std::unique_ptr<BodyStorage> m_storage;
    std::atomic<uint32_t> m_waiting{0};
};

class NamedObject : public SyncHandle {
public:
    using SyncHandle::SyncHandle;
    ~NamedObject() override { platform::sync::CloseNamed(ref); }
    bool Usable() const override { return !ref.Inherited(); }
    platform::sync::NamedRef ref;
};

// The object behind a handle of the wanted kind, or null with
// ERROR_INVALID_HANDLE.
std::shared_ptr<SyncHandle> ObjectOf(HANDLE handle, Kind kind, bool anyKind = false) {
    auto object = std::dynamic_pointer_cast<SyncHandle>(platform::ObjectOfHandle(handle));
    if (!object || (!anyKind && object->kind != kind) || !object->Usable()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return object;
}

// Checks an object name. Sets name and length to the name as the namespace
// keeps it (length 0 for an unnamed object); returns the failure's code.
DWORD CheckName(LPCSTR lpName, const char*& name, uint32_t& length) {
    name = lpName;
    length = 0;
    if (!lpName || !*lpName) return ERROR_SUCCESS;
    size_t n = strnlen(lpName, MAX_PATH + 1);
    if (n > MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    if (std::strncmp(lpName, "Local\\", 6) == 0) {
        name += 6;
        n -= 6;
    }
    const char* rest = std::strncmp(name, "Global\\", 7) == 0 ? name + 7 : name;
    if (*rest == 0) return ERROR_INVALID_NAME;
    if (std::strchr(rest, '\\')) return ERROR_PATH_NOT_FOUND;
    length = static_cast<uint32_t>(n);
    return ERROR_SUCCESS;
}

HANDLE Make(Kind kind, LPCSTR lpName, bool create, bool manualReset, bool initialState) {
    const char* name;
    uint32_t length;
    DWORD result = CheckName(lpName, name, length);
    if (result == ERROR_SUCCESS && length == 0 && !create) result = ERROR_INVALID_PARAMETER;
    if (result != ERROR_SUCCESS) {
        SetLastError(result);
        return nullptr;
    }
    std::shared_ptr<SyncHandle> object;
    if (length == 0) {
        object = std::make_shared<LocalObject>(kind, manualReset, initialState);
    } else {
        auto named = std::make_shared<NamedObject>(kind);
        result = platform::sync::OpenNamed({kind, name, length, create, manualReset, initialState}, named->ref);
        if (result != ERROR_SUCCESS && result != ERROR_ALREADY_EXISTS) {
            SetLastError(result);
            return nullptr;
        }
        named->body = named->ref.body;
        named->waiting = named->ref.waiting;
        object = std::move(named);
    }
    HANDLE handle = platform::OpenHandle(std::move(object));
    if (create) SetLastError(result);
    return handle;
}

}  // namespace

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR lpName) {
    return Make(Kind::Event, lpName, true, bManualReset, bInitialState);
}

HANDLE OpenEventA(DWORD, BOOL, LPCSTR lpName) { return Make(Kind::Event, lpName, false, false, false); }

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCSTR lpName) {
    return Make(Kind::Mutex, lpName, true, false, bInitialOwner);
}

HANDLE OpenMutexA(DWORD, BOOL, LPCSTR lpName) { return Make(Kind::Mutex, lpName, false, false, false); }

namespace {

BOOL Apply(HANDLE handle, Kind kind, BOOL (*operation)(BodyStorage&)) {
    auto object = ObjectOf(handle, kind);
    return object ? operation(*object->body) : FALSE;
}

}  // namespace

BOOL SetEvent(HANDLE hEvent) { return Apply(hEvent, Kind::Event, platform::sync::SetBody); }

BOOL ResetEvent(HANDLE hEvent) { return Apply(hEvent, Kind::Event, platform::sync::ResetBody); }

BOOL PulseEvent(HANDLE hEvent) { return Apply(hEvent, Kind::Event, platform::sync::PulseBody); }

BOOL ReleaseMutex(HANDLE hMutex) { return Apply(hMutex, Kind::Mutex, platform::sync::ReleaseBody); }

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    auto object = ObjectOf(hHandle, Kind::Event, true);  // held for the whole wait
    return object ? platform::sync::WaitBody(*object->body, object->kind, dwMilliseconds, *object->waiting)
                  : WAIT_FAILED;
}

void Sleep(DWORD dwMilliseconds) {
    timespec left = {static_cast<time_t>(dwMilliseconds / 1000), static_cast<long>(dwMilliseconds % 1000) * 1000000};
    while (platform::sys::Nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

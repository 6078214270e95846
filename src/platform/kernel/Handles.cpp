// The handle table.
#include "platform/kernel/Handles.h"

#include <map>
#include <mutex>

#include "platform/kernel/Errors.h"
#include "platform/shared/NoDestructor.h"

namespace platform {

namespace {

struct HandleTable {
    std::mutex lock;
    std::map<uintptr_t, std::shared_ptr<KernelObject>> objects;
    uintptr_t next = 0x100;
};

HandleTable& Table() {
    static NoDestructor<HandleTable> table;
    return *table;
}

}  // namespace

HANDLE OpenHandle(std::shared_ptr<KernelObject> object) {
    HandleTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    uintptr_t value = t.next;
    t.next += 4;  // multiples of four, as the original's handles are
    t.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> ObjectOfHandle(HANDLE handle) {
    HandleTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == t.objects.end() ? nullptr : it->second;
}

}  // namespace platform

BOOL CloseHandle(HANDLE hObject) {
    std::shared_ptr<platform::KernelObject> object;  // released after the lock
    {
        platform::HandleTable& t = platform::Table();
        std::lock_guard<std::mutex> guard(t.lock);
        auto it = t.objects.find(reinterpret_cast<uintptr_t>(hObject));
        if (it == t.objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        object = std::move(it->second);
        t.objects.erase(it);
    }
    return TRUE;
}

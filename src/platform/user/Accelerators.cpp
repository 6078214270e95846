// Accelerator tables: loading them from resources, and turning key
// messages into commands.
#include "platform/user/Accelerators.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/shared/NoDestructor.h"

namespace {

struct AcceleratorTable {
    std::vector<ACCEL> entries;
    const BYTE* source = nullptr;  // the resource it was loaded from
};

// The live tables; a handle is the table's address, checked here before use.
// Loading a resource again gives its table again, as on the original, so
// frames that each load their table do not pile up copies.
struct Tables {
    std::mutex lock;
    std::set<AcceleratorTable*> live;
    std::map<const BYTE*, AcceleratorTable*> loaded;
};

Tables& tables() {
    static NoDestructor<Tables> t;
    return *t;
}

HACCEL adopt(std::unique_ptr<AcceleratorTable> table) {
    Tables& t = tables();
    std::lock_guard<std::mutex> guard(t.lock);
    AcceleratorTable* raw = table.release();
    t.live.insert(raw);
    if (raw->source) t.loaded[raw->source] = raw;
    return reinterpret_cast<HACCEL>(raw);
}

// The table loaded before from these resource bytes, when it still holds
// what they say (a module unloaded and another loaded at the same address
// may hold other bytes there).
HACCEL LoadedBefore(const std::vector<ACCEL>& entries, const BYTE* source) {
    Tables& t = tables();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.loaded.find(source);
    if (it == t.loaded.end()) return nullptr;
    const std::vector<ACCEL>& had = it->second->entries;
    bool same = had.size() == entries.size();
    for (size_t i = 0; same && i < had.size(); ++i)
        same = had[i].fVirt == entries[i].fVirt && had[i].key == entries[i].key && had[i].cmd == entries[i].cmd;
    return same ? reinterpret_cast<HACCEL>(it->second) : nullptr;
}

// A copy of the table's entries; false for a handle that is no live table.
bool EntriesOf(HACCEL hAccel, std::vector<ACCEL>& entries) {
    Tables& t = tables();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.live.find(reinterpret_cast<AcceleratorTable*>(hAccel));
    if (it == t.live.end()) return false;
    entries = (*it)->entries;
    return true;
}

constexpr size_t kEntrySize = 8;
constexpr BYTE kLastEntry = 0x80;
constexpr BYTE kFlagBits = FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT;

bool down(int nVirtKey) { return GetKeyState(nVirtKey) < 0; }

// Whether the entry answers the message.
bool matches(const ACCEL& entry, const MSG& msg) {
    bool alt = down(VK_MENU);
    if (entry.fVirt & FVIRTKEY) {
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
        return entry.key == msg.wParam && down(VK_SHIFT) == !!(entry.fVirt & FSHIFT) &&
               down(VK_CONTROL) == !!(entry.fVirt & FCONTROL) && alt == !!(entry.fVirt & FALT);
    }
    if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR) return false;
    return entry.key == msg.wParam && alt == !!(entry.fVirt & FALT);
}

}  // namespace

HACCEL LoadAcceleratorsA(HINSTANCE hInstance, LPCSTR lpTableName) {
    HRSRC hRes = FindResourceA(hInstance, lpTableName, RT_ACCELERATOR);
    if (!hRes) return nullptr;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(hInstance, hRes)));
    size_t size = SizeofResource(hInstance, hRes);
    auto table = std::make_unique<AcceleratorTable>();
    for (size_t at = 0; at + kEntrySize <= size; at += kEntrySize) {
        const BYTE* p = data + at;
        ACCEL entry{static_cast<BYTE>(p[0] & kFlagBits), static_cast<WORD>(p[2] | p[3] << 8),
                    static_cast<WORD>(p[4] | p[5] << 8)};
        table->entries.push_back(entry);
        if (p[0] & kLastEntry) {
            if (HACCEL hBefore = LoadedBefore(table->entries, data)) return hBefore;
            table->source = data;
            return adopt(std::move(table));
        }
    }
    SetLastError(ERROR_INVALID_DATA);  // no entry marked last within the resource
    return nullptr;
}

HACCEL CreateAcceleratorTableA(LPACCEL paccel, int cAccel) {
    if (!paccel || cAccel <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto table = std::make_unique<AcceleratorTable>();
    table->entries.assign(paccel, paccel + cAccel);
    return adopt(std::move(table));
}

BOOL DestroyAcceleratorTable(HACCEL hAccel) {
    Tables& t = tables();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.live.find(reinterpret_cast<AcceleratorTable*>(hAccel));
    if (it == t.live.end()) return FALSE;
    if ((*it)->source) t.loaded.erase((*it)->source);
    delete *it;
    t.live.erase(it);
    return TRUE;
}

int CopyAcceleratorTableA(HACCEL hAccelSrc, LPACCEL lpAccelDst, int cAccelEntries) {
    std::vector<ACCEL> entries;
    if (!EntriesOf(hAccelSrc, entries)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!lpAccelDst) return static_cast<int>(entries.size());
    int n = cAccelEntries < static_cast<int>(entries.size()) ? cAccelEntries : static_cast<int>(entries.size());
    for (int i = 0; i < n; ++i) lpAccelDst[i] = entries[static_cast<size_t>(i)];
    return n < 0 ? 0 : n;
}

int TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg) {
    std::vector<ACCEL> entries;
    if (!hWnd || !lpMsg || !EntriesOf(hAccTable, entries)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    for (const ACCEL& entry : entries) {
        if (!matches(entry, *lpMsg)) continue;
        SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
        return TRUE;
    }
    return FALSE;
}

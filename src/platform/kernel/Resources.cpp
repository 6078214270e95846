// The modules' registered resource blobs, and finding and loading resources
// in them.
#include "platform/kernel/Resources.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Library.h"
#include "platform/kernel/ResourceFormat.h"
#include "platform/shared/NoDestructor.h"

namespace {

using platform::res::ResourceId;
using platform::res::ResourceRecord;

struct Blob {
    const void* data;
    std::vector<ResourceRecord> records;  // never resized once registered
};

struct Registry {
    std::mutex lock;
    std::map<HMODULE, std::vector<std::unique_ptr<Blob>>> modules;
};

Registry& registry() {
    static NoDestructor<Registry> r;
    return *r;
}

HMODULE orProgram(HMODULE hModule) { return hModule ? hModule : GetModuleHandleA(nullptr); }

// A name or type argument as the id it stands for: a number, "#number", or
// a text.
ResourceId idOf(LPCSTR arg) {
    ResourceId id;
    if (IS_INTRESOURCE(arg)) {
        id.number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(arg));
        return id;
    }
    if (arg[0] == '#' && arg[1]) {
        char* end = nullptr;
        unsigned long n = std::strtoul(arg + 1, &end, 10);
        if (*end == '\0' && n <= 0xFFFF) {
            id.number = static_cast<WORD>(n);
            return id;
        }
    }
    id.isText = true;
    id.text = arg;
    return id;
}

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameId(const ResourceId& a, const ResourceId& b) {
    if (a.isText != b.isText) return false;
    if (!a.isText) return a.number == b.number;
    if (a.text.size() != b.text.size()) return false;
    for (size_t i = 0; i < a.text.size(); ++i)
        if (upper(a.text[i]) != upper(b.text[i])) return false;
    return true;
}

// How well a record's language answers the one asked for; 0: not at all
// (only the first record of a name is taken then).
int languageRank(WORD have, WORD want) {
    if (have == want) return 5;
    if (PRIMARYLANGID(have) == PRIMARYLANGID(want)) return 4;
    if (have == MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)) return 3;
    if (have == MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)) return 2;
    return 1;
}

HRSRC find(HMODULE hModule, LPCSTR lpType, LPCSTR lpName, WORD wLanguage) {
    if (!lpType || !lpName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    ResourceId type = idOf(lpType), name = idOf(lpName);
    Registry& r = registry();
    std::lock_guard<std::mutex> guard(r.lock);
    auto it = r.modules.find(orProgram(hModule));
    if (it == r.modules.end()) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    const ResourceRecord* best = nullptr;
    int bestRank = 0;
    bool typeSeen = false;
    for (const auto& blob : it->second) {
        for (const ResourceRecord& record : blob->records) {
            if (!sameId(record.type, type)) continue;
            typeSeen = true;
            if (!sameId(record.name, name)) continue;
            int rank = languageRank(record.language, wLanguage);
            if (rank > bestRank) {
                best = &record;
                bestRank = rank;
            }
        }
    }
    if (!best) SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return reinterpret_cast<HRSRC>(const_cast<ResourceRecord*>(best));
}

// The record behind a handle, when it is one of the module's; null else.
const ResourceRecord* recordOf(HMODULE hModule, HRSRC hResInfo) {
    const auto* wanted = reinterpret_cast<const ResourceRecord*>(hResInfo);
    Registry& r = registry();
    std::lock_guard<std::mutex> guard(r.lock);
    auto it = r.modules.find(orProgram(hModule));
    if (it == r.modules.end() || !wanted) return nullptr;
    for (const auto& blob : it->second) {
        const auto& records = blob->records;
        if (!records.empty() && wanted >= records.data() && wanted < records.data() + records.size()) return wanted;
    }
    return nullptr;
}

}  // namespace

HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
    return find(hModule, lpType, lpName, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
}

HRSRC FindResourceExA(HMODULE hModule, LPCSTR lpType, LPCSTR lpName, WORD wLanguage) {
    return find(hModule, lpType, lpName, wLanguage);
}

HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo) {
    const ResourceRecord* record = recordOf(hModule, hResInfo);
    if (!record) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return const_cast<BYTE*>(record->data);
}

LPVOID LockResource(HGLOBAL hResData) { return hResData; }

DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo) {
    const ResourceRecord* record = recordOf(hModule, hResInfo);
    if (!record) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return record->size;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

void PlatformAddModuleResources(const void* data, size_t size) {
    HMODULE hModule = PlatformModuleFromAddress(data);
    auto blob = std::make_unique<Blob>();
    blob->data = data;
    std::string why;
    if (!hModule || !platform::res::ParseResources(static_cast<const BYTE*>(data), size, blob->records, &why)) {
        std::fprintf(stderr, "resources of %s refused: %s\n", platform::ModulePathOf(data).c_str(),
                     hModule ? why.c_str() : "no module holds them");
        return;
    }
    Registry& r = registry();
    std::lock_guard<std::mutex> guard(r.lock);
    r.modules[hModule].push_back(std::move(blob));
}

void PlatformRemoveModuleResources(const void* data) {
    Registry& r = registry();
    std::lock_guard<std::mutex> guard(r.lock);
    for (auto it = r.modules.begin(); it != r.modules.end(); ++it) {
        auto& blobs = it->second;
        for (auto b = blobs.begin(); b != blobs.end(); ++b) {
            if ((*b)->data != data) continue;
            blobs.erase(b);
            if (blobs.empty()) r.modules.erase(it);
            return;
        }
    }
}

// The runtime's _findfirst family over the shared directory search.
#include "platform/crt/FindFirst.h"
#include "platform/shared/NoDestructor.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

namespace fs = platform::fs;
using platform::find::Entry;
using platform::find::Listing;
using platform::find::Size32;

namespace {

struct FindTable {
    std::mutex lock;
    std::map<intptr_t, Listing> searches;
    intptr_t nextHandle = 1;
};

FindTable& Searches() {
    static NoDestructor<FindTable> table;
    return *table;
}

// Fills data with the next entry whose name fits; false when none is left.
bool NextFitting(Listing& listing, crt::_finddata_t* pData) {
    while (listing.next < listing.entries.size()) {
        Entry& entry = listing.entries[listing.next++];
        // Too long for the name field, or gone before its status was read.
        if (entry.name.size() >= sizeof pData->name || !Examine(listing, entry)) continue;
        const fs::FileInfo& info = listing.statuses[entry.status];
        pData->attrib = entry.attributes;
        pData->time_create = info.created;
        pData->time_access = info.accessed;
        pData->time_write = info.modified;
        pData->size = Size32(info);
        std::memcpy(pData->name, entry.name.c_str(), entry.name.size() + 1);
        return true;
    }
    errno = ENOENT;
    return false;
}

}  // namespace

namespace crt {

intptr_t _findfirst(const char* pszSpec, _finddata_t* pData) {
    if (!pszSpec || !pData) {
        errno = EINVAL;
        return -1;
    }
    Listing listing;
    if (!List(pszSpec, listing) || !NextFitting(listing, pData)) return -1;
    FindTable& table = Searches();
    std::lock_guard<std::mutex> guard(table.lock);
    intptr_t handle = table.nextHandle++;
    table.searches.emplace(handle, std::move(listing));
    return handle;
}

int _findnext(intptr_t handle, _finddata_t* pData) {
    FindTable& table = Searches();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.searches.find(handle);
    if (it == table.searches.end() || !pData) {
        errno = EINVAL;
        return -1;
    }
    return NextFitting(it->second, pData) ? 0 : -1;
}

int _findclose(intptr_t handle) {
    FindTable& table = Searches();
    std::lock_guard<std::mutex> guard(table.lock);
    if (table.searches.erase(handle) == 0) {
        errno = EINVAL;
        return -1;
    }
    return 0;
}

}  // namespace crt

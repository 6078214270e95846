// Inside CArchive: the objects and classes an archive has met, by the
// index they were given (internal to Archive.cpp and ArchiveObjects.cpp).
#pragma once

#include <unordered_map>
#include <vector>

#include "platform/mfc/Archive.h"

struct CArchive::ObjectIndex {
    // Storing: each object's and class's index.
    std::unordered_map<const void*, DWORD> stored;
    // Loading: entry i is what index i names (entry 0, the null pointer).
    struct Entry {
        void* pointer;
        bool bClass;
        UINT nSchema;  // for a class: the schema stored with it
    };
    std::vector<Entry> loaded{Entry{nullptr, false, 0}};
    DWORD nMapCount = 1;  // the next index
};

// The namespace of named events and mutexes, shared by the processes of one
// user through one shared-memory segment. Used by the layer's own code
// (platform/kernel/Sync.cpp); the public controls are in platform/kernel/Sync.h.
#pragma once

#include <atomic>
#include <memory>

#include "platform/kernel/SyncBody.h"

namespace platform::sync {

class Segment;

// One handle's hold on a named object.
struct NamedRef {
    std::shared_ptr<Segment> segment;
    uint32_t entry = 0, serial = 0, holder = 0, process = 0;
    uint32_t generation = 0;  // the process's fork generation when opened
    BodyStorage* body = nullptr;
    std::atomic<uint32_t>* waiting = nullptr;

    // True in a child made by fork from the process that opened the handle:
    // the hold is the parent's, and the child may not use or drop it.
    bool Inherited() const;
};

struct OpenRequest {
    Kind kind;
    const char* name;  // checked and without a "Local\" prefix
    uint32_t length;   // 1 to MAX_PATH
    bool create;       // false: open only an existing object
    bool manualReset;
    bool initialState;
};

// Opens the named object in the current namespace, creating it when asked
// and missing. Returns ERROR_SUCCESS (created), ERROR_ALREADY_EXISTS
// (opened) or the failure's code; ref is filled unless the call failed.
DWORD OpenNamed(const OpenRequest& request, NamedRef& ref);

// Gives up the hold; the object goes with the last hold of any process.
void CloseNamed(NamedRef& ref);

}  // namespace platform::sync

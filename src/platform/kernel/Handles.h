// Kernel-object handles: the process-wide table behind HANDLE values that
// CloseHandle releases (processes and their threads so far).
//
// A handle is a small number in pointer form, never null and never
// INVALID_HANDLE_VALUE. Each handle refers to one object; closing the handle
// drops that reference, and the object goes when its last handle is closed.
#pragma once

#include <memory>

#include "platform/shared/Types.h"

// FALSE with ERROR_INVALID_HANDLE for a handle that is not open.
PLATFORM_API BOOL CloseHandle(HANDLE hObject);

namespace platform {

// Base of every object a handle can refer to. The destructor runs when the
// last handle is closed, outside the table's lock.
struct KernelObject {
    virtual ~KernelObject() = default;
};

// Used by the layer's own code: a new handle for the object.
HANDLE OpenHandle(std::shared_ptr<KernelObject> object);
// The object behind an open handle, or null.
std::shared_ptr<KernelObject> ObjectOfHandle(HANDLE handle);

}  // namespace platform

// The runtime's _findfirst, _findnext and _findclose.
#pragma once

#include <cstdint>
#include <ctime>

#include "platform/kernel/FindFile.h"

namespace crt {

#define _A_NORMAL 0x00u
#define _A_RDONLY 0x01u
#define _A_HIDDEN 0x02u
#define _A_SYSTEM 0x04u
#define _A_SUBDIR 0x10u
#define _A_ARCH 0x20u

typedef uint32_t _fsize_t;

struct _finddata_t {
    unsigned attrib;     // _A_* bits; a link has FILE_ATTRIBUTE_REPARSE_POINT, never _A_SUBDIR
    time_t time_create;
    time_t time_access;
    time_t time_write;
    _fsize_t size;       // 0xFFFFFFFF for larger files
    char name[260];
};

// The same search as CFileFind, in the same order. A name that does not fit
// the name field is skipped, never cut (it would name another file); POSIX
// names are at most 255 bytes, so none is skipped in practice.
// -1 (errno ENOENT) when nothing matches, EINVAL for a null argument.
PLATFORM_API intptr_t _findfirst(const char* pszSpec, _finddata_t* pData);
// 0 and the next entry, or -1 (ENOENT) at the end, -1 (EINVAL) for a bad handle.
PLATFORM_API int _findnext(intptr_t handle, _finddata_t* pData);
PLATFORM_API int _findclose(intptr_t handle);

}  // namespace crt

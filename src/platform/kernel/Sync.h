// Events and mutexes: the Win32 calls (CreateEventA, CreateMutexA,
// WaitForSingleObject, ...); MFC's classes over them are in
// platform/mfc/SyncObjects.h.
//
// A named object is shared by every process of the same user: two programs
// that use one name meet in one object, whatever happens to either of them.
// Names live in the user's namespace segment (see the controls at the end
// and docs/platform.md). An object without a name (null or "") belongs to
// its process alone.
//
// Names are case-sensitive and hold at most MAX_PATH characters; a "Local\"
// prefix is dropped (the user's namespace is the session's), "Global\" is
// part of the name, and any other backslash is refused. Creating a name that
// exists opens the object with its kind and state unchanged and leaves
// ERROR_ALREADY_EXISTS as the last error; a name held by an object of the
// other kind gives ERROR_INVALID_HANDLE; a full table ERROR_NOT_ENOUGH_MEMORY.
// An object ends when its last handle in any process is closed; the handles
// of a process that ends without closing them are released for it.
//
// Mutex ownership belongs to a thread, as on the original platform: the
// mutex is recursive for its owner (each wait needs its ReleaseMutex), any
// handle of the owning thread may release it, and closing a handle does not
// release it. When the owning thread or its process ends without releasing
// it, the next wait succeeds with WAIT_ABANDONED and the mutex works on.
//
// Departure: in a child made by fork the parent's handles on
// named objects are refused; unnamed objects are the child's own copies.
#pragma once

#include "platform/atl/Strings.h"

#define INFINITE 0xFFFFFFFFu
#define WAIT_OBJECT_0 0u
#define WAIT_ABANDONED 0x80u
#define WAIT_TIMEOUT 258u
#define WAIT_FAILED 0xFFFFFFFFu

#define SYNCHRONIZE 0x00100000u
#define EVENT_MODIFY_STATE 0x0002u
#define EVENT_ALL_ACCESS 0x1F0003u
#define MUTEX_MODIFY_STATE 0x0001u
#define MUTEX_ALL_ACCESS 0x1F0001u

struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

// ---- Win32 calls. Security attributes and access rights are accepted and ----
// ignored: every process of the user may open every name. Handles are
// closed with CloseHandle (platform/kernel/Handles.h).

// A new event, or the existing one of that name. Auto-reset (bManualReset
// FALSE): a signal releases exactly one waiter and the event clears itself;
// manual-reset: a signal releases every waiter and the event stays set.
// NULL with the last error set on failure.
PLATFORM_API HANDLE CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                                 LPCSTR lpName);
// An existing named event; NULL with ERROR_FILE_NOT_FOUND when there is none.
PLATFORM_API HANDLE OpenEventA(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCSTR lpName);
// A new mutex, owned by the calling thread when bInitialOwner is set and
// this call creates it, or the existing one of that name (not owned).
PLATFORM_API HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCSTR lpName);
PLATFORM_API HANDLE OpenMutexA(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCSTR lpName);

PLATFORM_API BOOL SetEvent(HANDLE hEvent);
PLATFORM_API BOOL ResetEvent(HANDLE hEvent);
// Releases what SetEvent would release (one waiter, or all for a
// manual-reset event), then leaves the event cleared.
PLATFORM_API BOOL PulseEvent(HANDLE hEvent);
// FALSE with ERROR_NOT_OWNER when the calling thread does not own the mutex.
PLATFORM_API BOOL ReleaseMutex(HANDLE hMutex);
// Waits up to dwMilliseconds (INFINITE: no limit; 0: only tests) for the
// event to be signalled or the mutex to be free. WAIT_OBJECT_0,
// WAIT_ABANDONED (a mutex whose owner ended without releasing it: the
// caller owns it now), WAIT_TIMEOUT, or WAIT_FAILED with the last error set
// (ERROR_INVALID_HANDLE for a handle that is not an open event or mutex).
PLATFORM_API DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
// Suspends the calling thread for at least dwMilliseconds (0: gives up the
// rest of its time slice).
PLATFORM_API void Sleep(DWORD dwMilliseconds);

// ---- The namespace segment --------------------------------------------------
// Controls of this platform, not of the original.
//
// Named objects live in a file mapped by every process that uses them, the
// namespace segment, in a directory only this user can write to:
// $XDG_RUNTIME_DIR when it is private to the user, else a directory of the
// user's own that the library makes below /run (root only), /dev/shm or
// /tmp (platform/kernel/SyncPlace.h). The file's name is the one in the
// environment variable CBASIS_NAMESPACE when it is set when first needed,
// else "cbasis1-namespace"; a leading '/' is dropped. A segment that is not
// this user's, not mode 0600, not a regular file, of another size or of
// another layout is refused: named objects then fail with
// ERROR_ACCESS_DENIED or ERROR_INVALID_DATA, and PlatformNamespaceError
// says why. So does a segment whose table has been damaged beyond repair.

// The segment name in use ("cbasis1-namespace").
PLATFORM_API CString PlatformNamespaceName();
// The segment's file ("/run/user/1000/cbasis1-namespace"); empty when no
// directory could be had (PlatformNamespaceError says why).
PLATFORM_API CString PlatformNamespacePath();
// Makes later creations and opens use the segment lpName (null: the
// default above), in the directory chosen afresh from the environment;
// handles already open stay where they are. FALSE with ERROR_INVALID_NAME
// for a name that is not one file name.
PLATFORM_API BOOL PlatformUseNamespace(LPCSTR lpName);
// Removes a segment's file; processes using it go on. A segment stays
// mapped while a thread of this process owns one of its mutexes.
PLATFORM_API BOOL PlatformRemoveNamespace(LPCSTR lpName);
// Why the segment in use was last refused, could not be attached, or made
// a call fail ("" if it never did).
PLATFORM_API CString PlatformNamespaceError();

struct PLATFORM_NAMESPACE_INFO {
    DWORD dwObjects;         // named objects
    DWORD dwRetiredMutexes;  // closed mutexes still owned by a live thread, and damaged objects
    DWORD dwHolders;         // (process, object) pairs with open handles
    DWORD dwProcesses;       // processes on record, live or not yet swept
    DWORD dwWaitingThreads;  // threads of every process waiting on an event
    DWORD dwRepairs;         // times the table was rebuilt: a process died changing it, or it was damaged
    DWORD dwMaxObjects;
    DWORD dwMaxHolders;
    DWORD dwMaxProcesses;
};
PLATFORM_API BOOL PlatformGetNamespaceInfo(PLATFORM_NAMESPACE_INFO* pInfo);
// Releases every hold of processes that have ended and the records they
// leave; returns the number of records freed. Runs by itself whenever the
// table is full.
PLATFORM_API DWORD PlatformSweepNamespace();
// For tests: called with 1, 2 and 3 as this process creates a segment
// (before sizing it, before writing its header, before marking it ready).
PLATFORM_API void PlatformSetNamespaceHook(void (*pfnHook)(int nStage));

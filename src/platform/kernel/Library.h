// Dynamic libraries: loading and releasing shared objects, their exports
// and their file names.
//
// A module handle (HMODULE, HINSTANCE) is the handle dlopen gives for the
// shared object. The calls here accept only handles of modules they know to
// be loaded (loaded through LoadLibraryA, or attached as extension modules),
// so a stale or made-up handle fails instead of reaching the loader.
#pragma once

#include <string>

#include "platform/atl/Strings.h"

typedef void (*FARPROC)();

// Used by module/DllEntry.cpp: the handle of the module whose code or data
// lies at address (null if none), and the report that a module refused to
// attach, which makes the LoadLibraryA call loading it unload it and fail.
PLATFORM_API HMODULE PlatformModuleFromAddress(const void* address);
PLATFORM_API void PlatformRefuseModuleLoad();

// Loads a shared object (dlopen, symbols resolved at once and kept local).
// The name is a library path: backslashes and drive prefixes are translated.
// A bare name is looked for in the program's directory first, then where the
// system's loader looks. Loading a loaded module again returns the same
// handle and must be matched by another FreeLibrary. Null on failure,
// including when an extension module's entry refused to attach, with the
// last error ERROR_MOD_NOT_FOUND for a missing file (or a missing library it
// needs) and ERROR_BAD_EXE_FORMAT for a file the loader cannot use.
PLATFORM_API HMODULE LoadLibraryA(LPCSTR lpLibFileName);
// The loader's own words for the calling thread's last failed load
// ("/p/x.so: invalid ELF header"), for a user of this system.
PLATFORM_API CString PlatformLoadLibraryError();
// Releases one load made by LoadLibraryA; the module is unloaded with its
// last release. FALSE for null, for handles with no outstanding load, and for
// handles that were never valid.
PLATFORM_API BOOL FreeLibrary(HMODULE hLibModule);
// The exported function or variable of that name, or null with the last
// error ERROR_PROC_NOT_FOUND.
PLATFORM_API FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);

// The handle of a loaded module: null names the program itself; otherwise
// a module loaded through LoadLibraryA or attached, named by its file name
// (with or without its directory; letters in any case). Null, with the last
// error ERROR_MOD_NOT_FOUND, for any other name.
PLATFORM_API HMODULE GetModuleHandleA(LPCSTR lpModuleName);

// Copies the module's full path in backslash form (Paths.h) into lpFilename;
// a null module means the program itself. Returns the length copied; when
// the buffer is too small the path is cut, still terminated, and nSize is
// returned. 0 for an unknown module or nSize 0.
PLATFORM_API DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);

// For the extension-module chain: records that a loaded module is attached
// (or no longer is), so that its handle is known while it is.
void PlatformNoteModuleAttached(HMODULE hModule, bool bAttached);

namespace platform {
// The program file's POSIX path, as the system names it.
std::string ProgramPath();
// The POSIX path of the shared object (or program) holding the address, as
// the loader names it; empty when none does.
PLATFORM_API std::string ModulePathOf(const void* address);
// LoadLibraryA's work on a POSIX path; null on failure, with the loader's
// reason in *why (when why is not null).
PLATFORM_API HMODULE LoadModuleFile(const std::string& posixPath, std::string* why);
}  // namespace platform

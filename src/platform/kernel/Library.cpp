// The table of known modules, LoadLibraryA and its companions.
//
// Sections: the table of known module handles; loading and unloading; names.
#include "platform/kernel/Library.h"

#include <link.h>
#include <strings.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/SyscallTable.h"
#include "platform/shared/NoDestructor.h"

namespace platform {

std::string ProgramPath() {
    std::string path(256, '\0');
    for (;;) {
        ssize_t n = sys::Readlink(AT_FDCWD, "/proc/self/exe", path.data(), path.size());
        if (n < 0) return std::string();
        if (static_cast<size_t>(n) < path.size()) return path.substr(0, static_cast<size_t>(n));
        path.resize(path.size() * 2);
    }
}

}  // namespace platform

namespace {

using platform::ProgramPath;

// ---- The table of known module handles --------------------------------------

// A module is known while it has loads made by LoadLibraryA or is attached
// as an extension module. Its path is taken when it becomes known, so later
// queries never hand a handle to the loader.
struct KnownModule {
    std::string path;
    int loads = 0;
    bool attached = false;
};

struct ModuleTable {
    std::mutex lock;
    std::map<HMODULE, KnownModule> modules;
};

ModuleTable& table() {
    static NoDestructor<ModuleTable> t;
    return *t;
}

// Absolute POSIX path of a loaded module, as the loader found it (without
// resolving symbolic links).
std::string loadedPath(HMODULE hModule) {
    link_map* map = nullptr;
    if (dlinfo(hModule, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name || !*map->l_name)
        return ProgramPath();
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(map->l_name, ec);
    return ec ? std::string(map->l_name) : path.string();
}

// Entries with neither loads nor attachment are dropped.
void forgetIfUnused(ModuleTable& t, std::map<HMODULE, KnownModule>::iterator it) {
    if (it->second.loads == 0 && !it->second.attached) t.modules.erase(it);
}

// Records a load (or the attachment) of a loaded module.
void remember(HMODULE hModule, bool bAttach) {
    std::string path = loadedPath(hModule);
    ModuleTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    KnownModule& known = t.modules[hModule];
    if (known.path.empty()) known.path = path;
    if (bAttach)
        known.attached = true;
    else
        ++known.loads;
}

bool isKnown(HMODULE hModule) {
    ModuleTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    return t.modules.count(hModule) != 0;
}

// Refusals reported by module entries running on this thread; LoadLibraryA
// compares the count before and after its dlopen.
thread_local int t_refusals = 0;

}  // namespace

void PlatformNoteModuleAttached(HMODULE hModule, bool bAttached) {
    if (bAttached) {
        remember(hModule, true);
        return;
    }
    ModuleTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.modules.find(hModule);
    if (it == t.modules.end()) return;
    it->second.attached = false;
    forgetIfUnused(t, it);
}

// On glibc the handle dlopen returns is the module's link map, which dladdr1
// reports for an address inside the module.
HMODULE PlatformModuleFromAddress(const void* address) {
    Dl_info info;
    link_map* map = nullptr;
    if (!dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP)) return nullptr;
    return reinterpret_cast<HMODULE>(map);
}

void PlatformRefuseModuleLoad() { ++t_refusals; }

namespace {

// The loader's words for this thread's last failed load.
thread_local std::string t_loadError;

// Why dlopen refused posix: a missing file as the system says it, a file
// that is there as a module the loader cannot use; a missing library the
// module needs is a module not found, as on the original platform.
HMODULE LoadFailed(const std::string& posix) {
    const char* why = dlerror();  // cannot fail: made directly
    t_loadError = why ? why : "cannot load " + posix;
    platform::fs::FileInfo info;
    if (platform::fs::Stat(posix, info, true) != 0) {
        int err = errno;
        SetLastError(err == ENOENT ? ERROR_MOD_NOT_FOUND : PlatformErrorFromErrno(err));
    } else {
        SetLastError(t_loadError.find("cannot open shared object file") != std::string::npos ? ERROR_MOD_NOT_FOUND
                                                                                             : ERROR_BAD_EXE_FORMAT);
    }
    return nullptr;
}

}  // namespace

CString PlatformLoadLibraryError() { return CString(t_loadError.c_str()); }

// ---- Loading and unloading --------------------------------------------------

HMODULE LoadLibraryA(LPCSTR lpLibFileName) {
    if (!lpLibFileName || !*lpLibFileName) return nullptr;
    // A bare name is no path: it is looked for beside the program, then
    // along the loader's search path.
    std::string posix = lpLibFileName;
    bool bare = posix.find_first_of("\\/") == std::string::npos && !(posix.size() >= 2 && posix[1] == ':');
    if (bare) {
        std::string besideProgram = std::filesystem::path(ProgramPath()).parent_path().string() + "/" + posix;
        platform::fs::FileInfo info;
        if (platform::fs::Stat(besideProgram, info, true) == 0) posix = besideProgram;
    } else if (!PlatformToPosixPath(lpLibFileName, posix)) {
        SetLastError(ERROR_INVALID_DRIVE);
        return nullptr;
    }
    return platform::LoadModuleFile(posix, nullptr);
}

HMODULE platform::LoadModuleFile(const std::string& posixPath, std::string* why) {
    int refusalsBefore = t_refusals;
    void* handle = platform::sys::DlOpen(posixPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        LoadFailed(posixPath);
        if (why) *why = t_loadError;
        return nullptr;
    }
    if (t_refusals != refusalsBefore) {
        t_refusals = refusalsBefore;
        platform::sys::DlClose(handle);
        if (why) *why = "its entry refused to attach";
        return nullptr;
    }
    HMODULE hModule = static_cast<HMODULE>(handle);
    remember(hModule, false);
    return hModule;
}

std::string platform::ModulePathOf(const void* address) {
    Dl_info info;
    return dladdr(address, &info) && info.dli_fname ? info.dli_fname : "";
}

// The table lock is not held across dlclose: unloading runs the module's
// detach, which updates the table.
BOOL FreeLibrary(HMODULE hLibModule) {
    {
        ModuleTable& t = table();
        std::lock_guard<std::mutex> guard(t.lock);
        auto it = t.modules.find(hLibModule);
        if (it == t.modules.end() || it->second.loads == 0) return FALSE;
        --it->second.loads;
        forgetIfUnused(t, it);
    }
    platform::sys::DlClose(hLibModule);
    return TRUE;
}


// dlsym also searches the module's dependencies; like the original, only
// the module's own symbols are found, so an optional export is not picked
// up from a library the module happens to use.
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
    if (!hModule || !lpProcName || !isKnown(hModule)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    void* symbol = platform::sys::DlSym(hModule, lpProcName);
    if (!symbol || PlatformModuleFromAddress(symbol) != hModule) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

// ---- Names ------------------------------------------------------------------

namespace {

// The file name after the last separator of either kind.
std::string fileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

// dlopen of no file gives the program's own handle; closing it again
// changes nothing, the program is never unloaded.
HMODULE GetModuleHandleA(LPCSTR lpModuleName) {
    static HMODULE program = [] {
        void* handle = platform::sys::DlOpen(nullptr, RTLD_LAZY);
        if (handle) platform::sys::DlClose(handle);
        return static_cast<HMODULE>(handle);
    }();
    if (!lpModuleName) return program;
    std::string wanted = fileNameOf(lpModuleName);
    ModuleTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    for (const auto& [hModule, known] : t.modules)
        if (strcasecmp(fileNameOf(known.path).c_str(), wanted.c_str()) == 0) return hModule;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
    if (!lpFilename || nSize == 0) return 0;
    std::string path;
    if (!hModule || hModule == GetModuleHandleA(nullptr)) {
        path = ProgramPath();
    } else {
        ModuleTable& t = table();
        std::lock_guard<std::mutex> guard(t.lock);
        auto it = t.modules.find(hModule);
        if (it != t.modules.end()) path = it->second.path;
    }
    if (path.empty()) {
        lpFilename[0] = '\0';
        return 0;
    }
    CString name = PlatformFromPosixPath(path);
    DWORD length = static_cast<DWORD>(name.GetLength());
    DWORD copied = length < nSize ? length : nSize - 1;
    name.str().copy(lpFilename, copied);
    lpFilename[copied] = '\0';
    return length < nSize ? length : nSize;
}

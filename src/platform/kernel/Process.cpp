// CreateProcessA on posix_spawnp, and the command-line split.
#include "platform/kernel/Process.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/SyscallTable.h"
#include "platform/shared/NoDestructor.h"

extern char** environ;

namespace fs = platform::fs;
namespace sys = platform::sys;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// ---- Reaping: a child whose handles are all closed is waited for without ----
// blocking, now and at every later start or close, so ended children do not
// stay behind as zombies.

struct Pending {
    std::mutex lock;
    std::vector<pid_t> children;
};

Pending& ThePending() {
    static NoDestructor<Pending> pending;  // process handles may close in static destructors
    return *pending;
}

void SweepPending() {
    Pending& p = ThePending();
    std::lock_guard<std::mutex> guard(p.lock);
    p.children.erase(std::remove_if(p.children.begin(), p.children.end(),
                                    [](pid_t pid) {
                                        pid_t r = sys::Waitpid(pid, nullptr, WNOHANG);
                                        return r == pid || (r < 0 && errno == ECHILD);
                                    }),
                     p.children.end());
}

struct ProcessObject : platform::KernelObject {
    explicit ProcessObject(pid_t p) : pid(p) {}
    ~ProcessObject() override {
        {
            Pending& p = ThePending();
            std::lock_guard<std::mutex> guard(p.lock);
            p.children.push_back(pid);
        }
        SweepPending();
    }
    pid_t pid;
};

// The first thread keeps its process's record alive.
struct ThreadObject : platform::KernelObject {
    explicit ThreadObject(std::shared_ptr<ProcessObject> p) : process(std::move(p)) {}
    std::shared_ptr<ProcessObject> process;
};

// ---- Starting a program -----------------------------------------------------

// The program's POSIX path: library paths are translated, bare names stay for
// the PATH search. False for an unmapped drive.
bool ProgramPath(const std::string& program, std::string& path) {
    if (program.find_first_of("\\/") == std::string::npos && !fs::HasDrive(program)) {
        path = program;
        return true;
    }
    return fs::ToPosix(program.c_str(), path);
}

std::vector<std::string> EnvironmentBlock(const char* block) {
    std::vector<std::string> vars;
    for (const char* p = block; *p; p += std::strlen(p) + 1) vars.emplace_back(p);
    return vars;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// The spawn attributes and file actions, released on every path out.
struct SpawnSetup {
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    SpawnSetup() {
        posix_spawnattr_init(&attr);
        posix_spawn_file_actions_init(&actions);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
};

BOOL Fail(DWORD code) {
    SetLastError(code);
    return FALSE;
}

}  // namespace

std::vector<std::string> PlatformSplitCommandLine(LPCSTR lpCommandLine) {
    std::vector<std::string> args;
    const char* p = lpCommandLine ? lpCommandLine : "";
    while (IsBlank(*p)) ++p;
    if (!*p) return args;

    std::string arg;
    bool inQuote = false;
    for (; *p && (inQuote || !IsBlank(*p)); ++p) {
        if (*p == '"')
            inQuote = !inQuote;
        else
            arg += *p;
    }
    args.push_back(arg);

    for (;;) {
        while (IsBlank(*p)) ++p;
        if (!*p) break;
        arg.clear();
        inQuote = false;
        for (;;) {
            size_t slashes = 0;
            while (*p == '\\') {
                ++p;
                ++slashes;
            }
            bool copy = true;
            if (*p == '"') {
                if (slashes % 2 == 0) {
                    if (inQuote && p[1] == '"')
                        ++p;  // "" inside quotes: one literal quote
                    else {
                        copy = false;
                        inQuote = !inQuote;
                    }
                }
                slashes /= 2;
            }
            arg.append(slashes, '\\');
            if (!*p || (!inQuote && IsBlank(*p))) break;
            if (copy) arg += *p;
            ++p;
        }
        args.push_back(arg);
    }
    return args;
}

BOOL CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine, LPSECURITY_ATTRIBUTES,
                    LPSECURITY_ATTRIBUTES, BOOL bInheritHandles, DWORD, LPVOID lpEnvironment,
                    LPCSTR lpCurrentDirectory, LPSTARTUPINFOA lpStartupInfo,
                    LPPROCESS_INFORMATION lpProcessInformation) {
    SweepPending();
    if (!lpProcessInformation || !lpStartupInfo || lpStartupInfo->cb < sizeof(STARTUPINFOA))
        return Fail(ERROR_INVALID_PARAMETER);
    std::vector<std::string> args = PlatformSplitCommandLine(lpCommandLine);
    std::string program = lpApplicationName && *lpApplicationName ? lpApplicationName
                          : args.empty()                           ? std::string()
                                                                   : args[0];
    if (program.empty()) return Fail(ERROR_INVALID_PARAMETER);
    std::string path;
    if (!ProgramPath(program, path)) return Fail(ERROR_PATH_NOT_FOUND);
    if (args.empty()) args.push_back(path);
    args[0] = path;

    SpawnSetup setup;
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&setup.attr, &signals);  // the caller's blocked signals are not passed on
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&setup.attr, &signals);
    posix_spawnattr_setflags(&setup.attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    if (lpCurrentDirectory) {
        std::string dir;
        if (!fs::ToPosix(lpCurrentDirectory, dir) || dir.empty()) return Fail(ERROR_DIRECTORY);
        posix_spawn_file_actions_addchdir_np(&setup.actions, dir.c_str());
    }
    if (!bInheritHandles) posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);

    std::vector<char*> argv = PointersTo(args);
    std::vector<std::string> vars;
    std::vector<char*> envp;
    if (lpEnvironment) {
        vars = EnvironmentBlock(static_cast<const char*>(lpEnvironment));
        envp = PointersTo(vars);
    }
    pid_t pid = 0;
    int err = sys::Spawn(&pid, path.c_str(), &setup.actions, &setup.attr, argv.data(),
                         lpEnvironment ? envp.data() : environ);
    if (err != 0) return Fail(PlatformErrorFromErrno(err));

    auto process = std::make_shared<ProcessObject>(pid);
    lpProcessInformation->hThread = platform::OpenHandle(std::make_shared<ThreadObject>(process));
    lpProcessInformation->hProcess = platform::OpenHandle(std::move(process));
    lpProcessInformation->dwProcessId = lpProcessInformation->dwThreadId = static_cast<DWORD>(pid);
    return TRUE;
}

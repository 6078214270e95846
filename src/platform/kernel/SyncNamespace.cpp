// The namespace of named objects as a process sees it: which segment it
// uses and where that lives (SyncPlace.cpp), the segments it has attached,
// and the controls of Sync.h. The table itself is in SyncSegment.cpp.
#include "platform/kernel/SyncNamespace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "platform/kernel/Errors.h"
#include "platform/kernel/Sync.h"
#include "platform/kernel/SyncPlace.h"
#include "platform/kernel/SyncSegment.h"
#include "platform/kernel/SyscallTable.h"
#include "platform/shared/NoDestructor.h"

namespace platform::sync {

namespace {

// The process's segments: the one in use, those attached before (handles
// opened there keep them), and the files that were refused, by path.
struct Registry {
    std::mutex lock;
    std::string current;           // the segment's name; empty until chosen
    std::shared_ptr<Place> place;  // where segments are; null until chosen
    std::shared_ptr<Segment> segment;
    std::map<std::string, std::shared_ptr<Segment>> attached;
    std::map<std::string, Refusal> refused;
    std::string lastError;
};

Registry& Reg() {
    static NoDestructor<Registry> registry;
    return *registry;
}

// The segment's file name for a namespace name: one name of at most 255
// bytes; a leading '/' (as POSIX shared-memory names have) is dropped.
// Empty when the name is unusable.
std::string SegmentName(const char* name) {
    if (!name || !*name) return {};
    std::string s = name[0] == '/' ? name + 1 : name;
    if (s.empty() || s.size() > 255 || s.find('/') != std::string::npos || s == "." || s == "..") return {};
    return s;
}

std::string DefaultName() {
    std::string fromEnvironment = SegmentName(std::getenv("CBASIS_NAMESPACE"));
    return fromEnvironment.empty() ? "cbasis1-namespace" : fromEnvironment;
}

// Chooses the name and the place where they are not chosen yet; returns
// the segment's path, empty when there is no place. Under the registry lock.
std::string Choose(Registry& r) {
    if (r.current.empty()) r.current = DefaultName();
    if (!r.place) {
        r.place = std::make_shared<Place>();
        ChoosePlace(*r.place);
    }
    return r.place->dirFd < 0 ? std::string() : r.place->path + "/" + r.current;
}

std::shared_ptr<Segment> Current(DWORD& code) {
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    if (r.segment) return r.segment;
    const std::string path = Choose(r);
    if (auto it = r.attached.find(path); it != r.attached.end()) return r.segment = it->second;
    if (auto it = r.refused.find(path); it != r.refused.end()) {
        code = it->second.code;
        return nullptr;
    }
    Refusal refusal{ERROR_ACCESS_DENIED, r.place->why};
    std::shared_ptr<Segment> segment = path.empty() ? nullptr : Segment::Attach(r.place, r.current, refusal);
    if (!segment) {
        code = refusal.code;
        r.lastError = refusal.why;
        // A place or a segment that cannot be trusted is refused for the
        // rest of the process (or until PlatformUseNamespace) and said once;
        // a failed system call is tried again next time.
        if (refusal.code == ERROR_ACCESS_DENIED || refusal.code == ERROR_INVALID_DATA) {
            std::fprintf(stderr, "cbasis1: named events and mutexes are unavailable: %s\n", refusal.why.c_str());
            r.refused.emplace(path, refusal);
        }
        return nullptr;
    }
    r.attached.emplace(path, segment);
    return r.segment = segment;
}

// Keeps what a segment said about a call that failed on its account.
DWORD Noted(DWORD result, Segment& segment) {
    if (result == ERROR_INVALID_DATA) {
        std::string problem = segment.Problem();
        Registry& r = Reg();
        std::lock_guard<std::mutex> guard(r.lock);
        r.lastError = problem;
    }
    return result;
}

}  // namespace

DWORD OpenNamed(const OpenRequest& request, NamedRef& ref) {
    DWORD code = ERROR_GEN_FAILURE;
    std::shared_ptr<Segment> segment = Current(code);
    return segment ? Noted(segment->Open(request, ref, segment), *segment) : code;
}

void CloseNamed(NamedRef& ref) {
    if (ref.segment && !ref.Inherited()) ref.segment->Close(ref);
    ref.segment.reset();
}

}  // namespace platform::sync

using platform::sync::Current;
using platform::sync::Reg;
using platform::sync::SegmentName;

CString PlatformNamespaceName() {
    platform::sync::Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    if (r.current.empty()) r.current = platform::sync::DefaultName();
    return CString(r.current.c_str());
}

CString PlatformNamespacePath() {
    platform::sync::Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    return CString(platform::sync::Choose(r).c_str());
}

BOOL PlatformUseNamespace(LPCSTR lpName) {
    std::string name = lpName ? SegmentName(lpName) : platform::sync::DefaultName();
    if (name.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    platform::sync::Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    r.current = name;
    r.place.reset();  // chosen afresh, from the environment as it is now
    r.segment.reset();
    return TRUE;
}

BOOL PlatformRemoveNamespace(LPCSTR lpName) {
    std::string name = SegmentName(lpName);
    if (name.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    platform::sync::Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    if (platform::sync::Choose(r).empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    const std::string path = r.place->path + "/" + name;
    if (r.current == name) r.segment.reset();
    r.attached.erase(path);
    r.refused.erase(path);
    if (platform::sys::Unlink(r.place->dirFd, name.c_str(), 0) != 0) {
        PlatformSetLastErrorFromErrno(errno);
        return FALSE;
    }
    return TRUE;
}

CString PlatformNamespaceError() {
    platform::sync::Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    return CString(r.lastError.c_str());
}

BOOL PlatformGetNamespaceInfo(PLATFORM_NAMESPACE_INFO* pInfo) {
    DWORD code = ERROR_GEN_FAILURE;
    std::shared_ptr<platform::sync::Segment> segment = Current(code);
    if (segment && !pInfo) code = ERROR_INVALID_PARAMETER;
    if (segment && pInfo) {
        if (segment->Info(*pInfo)) return TRUE;
        code = platform::sync::Noted(ERROR_INVALID_DATA, *segment);
    }
    SetLastError(code);
    return FALSE;
}

DWORD PlatformSweepNamespace() {
    DWORD code = ERROR_GEN_FAILURE;
    std::shared_ptr<platform::sync::Segment> segment = Current(code);
    return segment ? segment->Sweep() : 0;
}

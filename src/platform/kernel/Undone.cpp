#include "platform/kernel/Undone.h"

#include "platform/kernel/Paths.h"

namespace {

thread_local UndoneHook t_hook;

}  // namespace

UndoneHook PlatformSetUndoneHook(UndoneHook hook) {
    UndoneHook old = std::move(t_hook);
    t_hook = std::move(hook);
    return old;
}

void PlatformReportUndone(PlatformUndone kind, LPCTSTR path, DWORD dwError) {
    if (!t_hook) return;
    std::string posix;
    if (!PlatformToPosixPath(path, posix)) posix = path ? path : "";
    t_hook(kind, posix, dwError);
}

void PlatformReportUndonePosix(PlatformUndone kind, const std::string& posixPath, DWORD dwError) {
    if (t_hook) t_hook(kind, posixPath, dwError);
}

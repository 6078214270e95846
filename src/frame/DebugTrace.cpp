// CPersistentFrame: the start-up trace, app-dbg.txt in the executable's
// directory. The first line a frame object writes replaces the previous
// run's file; every line opens, appends and closes the file.
#include <cstdio>

#include "containers/CStr.h"
#include "files/MakeDirectory.h"
#include "frame/CPersistentFrame.h"
#include "platform/crt/Stdio.h"
#include "platform/mfc/Modules.h"

namespace {

constexpr int kDebugNameMade = 510;

}  // namespace

// Without a directory in the executable's path (it cannot happen with a
// path the platform hands back) the trace goes to the current directory,
// never to the file system's root.
void CPersistentFrame::MakeDebugName() {
    char path[1000];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    CString module(path, static_cast<int>(length));
    int slash = module.ReverseFind('\\');
    if (slash < 0) {
        m_strDebugFile.Format("%s-dbg.txt", "app");
    } else {
        CString dir = module.Left(slash);
        m_strDebugFile.Format("%s\\%s-dbg.txt", static_cast<LPCTSTR>(dir), "app");
        CStr dirCopy(dir);
        if (crt::_chdir(dirCopy.m_pStr) != 0) MakeDirectory::CreateDirectoryA(dir);
    }
    crt::remove(m_strDebugFile);
}

void CPersistentFrame::WriteToDebug(CString strText) {
    if (m_nDebugState != kDebugNameMade) {
        MakeDebugName();
        m_nDebugState = kDebugNameMade;
    }
    FILE* file = crt::fopen(m_strDebugFile, "at");
    if (!file) return;  // the line is dropped
    CString lineEnd;
    lineEnd.Format("\n");
    std::fwrite(static_cast<LPCTSTR>(strText), 1, static_cast<size_t>(strText.GetLength()), file);
    std::fputs(lineEnd, file);
    std::fclose(file);
}

// CUtils: header guards and GUID names.
#include <cstring>

#include "containers/CGenerateGuid.h"
#include "files/CUtils.h"
#include "platform/crt/Stdio.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/Undone.h"
#include "project/ProjectFiles.h"

namespace {

const char kGuardOpen[] = "#if !defined(AFX_";
const char kGuardClose[] = "__INCLUDED_)";
const char kNameEnd[] = "_H__";
// A guard name runs from the opening text to the first closing one; a real
// one is some 60 characters, so a longer stretch is no guard.
const int kMaxGuardName = 4096;

// The new guard name is built from its parts rather than by replacing the
// old name part inside the old guard: a short name such as "AB" may also
// occur inside the old GUID, which would then be mangled and kept.
CString NewGuardName(CString strNewName, const CString& strFallback) {
    CString namePart = strNewName.IsEmpty() ? strFallback : strNewName;
    namePart.MakeUpper();
    CString guid;
    CGenerateGuid make(guid);
    return namePart + kNameEnd + guid;
}

// The guard name of the header, read in blocks from the file's start: 1 and
// the name, 0 when there is none, -1 when a zero byte comes first (binary).
int FindGuardName(CFile& file, CString& name) {
    const int kBlock = 64 * 1024;
    CString seen;  // the unsearched end of what was read, then the text after the opening
    bool opened = false;
    char block[kBlock];
    for (UINT got; (got = file.Read(block, kBlock)) > 0;) {
        if (std::memchr(block, 0, got)) return -1;
        seen += CString(block, static_cast<int>(got));
        if (!opened) {
            int open = seen.Find(kGuardOpen);
            if (open < 0) {
                seen = seen.Right(static_cast<int>(sizeof kGuardOpen) - 2);
                continue;
            }
            seen = seen.Mid(open + static_cast<int>(sizeof kGuardOpen) - 1);
            opened = true;
        }
        int close = seen.Find(kGuardClose);
        if (close > kMaxGuardName) return 0;
        if (close >= 0) {
            name = seen.Left(close);
            return name.Find(kNameEnd) >= 0 ? 1 : 0;
        }
        if (seen.GetLength() > kMaxGuardName + static_cast<int>(sizeof kGuardClose)) return 0;
        if (got < static_cast<UINT>(kBlock)) break;
    }
    return 0;
}

}  // namespace

int CUtils::GenerateGUIDforHeaderFile(CString* pText, CString strNewName, CString strFallback) {
    if (!pText) return 0;
    int open = pText->Find(kGuardOpen);
    if (open < 0) return 0;
    int start = open + static_cast<int>(sizeof kGuardOpen - 1);
    int close = pText->Find(kGuardClose, start);
    if (close < 0) return 0;
    CString oldGuard = pText->Mid(start, close - start);
    if (oldGuard.Find(kNameEnd) < 0) return 0;
    pText->Replace(oldGuard, NewGuardName(strNewName, strFallback));
    return 1;
}

int CUtils::GenerateGUIDforHeaderFile(CString strPath, CString strNewName, CString strFallback) {
    // A missing header becomes an empty one; one that exists but cannot be
    // read is never overwritten.
    if (GetFileAttributesA(strPath) == INVALID_FILE_ATTRIBUTES) {
        projectfiles::NewVersion empty(strPath);
        empty.Commit(nullptr);
        return 1;
    }
    CString guard;
    RenewHeaderGuard(strPath, strNewName, strFallback, guard);
    return 1;
}

int CUtils::RenewHeaderGuard(CString strPath, CString strNewName, CString strFallback, CString& rGuard) {
    rGuard.Empty();
    auto failed = [&](const char* what, DWORD code) {
        m_strError.Format("%s: %s", what, static_cast<LPCTSTR>(PlatformErrorText(code)));
        return -1;
    };
    CFile in;
    CFileStatus status;
    if (!projectfiles::OpenSource(strPath, in, status)) {
        DWORD code = GetLastError();
        if (!projectfiles::IsLink(strPath)) return failed("cannot be read", code);
        PlatformReportUndone(PlatformUndone::NotWritten, strPath, ERROR_ACCESS_DENIED);  // never written through
        return failed("cannot be written", ERROR_ACCESS_DENIED);
    }
    if (status.m_attribute & CFile::readOnly) {
        m_strError = "read-only";
        return 0;
    }
    try {
        CString oldGuard;
        int found = FindGuardName(in, oldGuard);
        if (found <= 0) {
            m_strError = found < 0 ? "holds zero bytes: not a text header" : "holds no include guard";
            return 0;
        }
        CString newGuard = NewGuardName(strNewName, strFallback);
        in.SeekToBegin();
        projectfiles::NewVersion rewritten(strPath, projectfiles::NewVersion::Known::Writable);
        if (!rewritten.IsOpen()) return failed("cannot be written", GetLastError());
        if (projectfiles::CopyReplacing(in, &rewritten.File(), oldGuard, newGuard) < 0) {
            m_strError = "holds zero bytes: not a text header";
            return 0;
        }
        if (!rewritten.Commit(nullptr)) return failed("cannot be written", GetLastError());
        rGuard = newGuard;
        return 1;
    } catch (CFileException* e) {
        DWORD code = static_cast<DWORD>(e->m_lOsError);
        projectfiles::ReportFailure(e, strPath, strPath);
        return failed("cannot be rewritten", code);
    }
}

CString CUtils::GetIDFromFilename(CString strName) {
    int underscores = 0;
    for (int i = strName.GetLength() - 1; i >= 0; --i)
        if (strName[i] == '_' && ++underscores == 5) return strName.Mid(i + 1);
    return CString();
}

int CUtils::CreateName(CString& rName) {
    CGenerateGuid make(rName);
    return 1;
}

int CUtils::CreateName(CString& rName, CString) { return CreateName(rName); }

// CUtils: header guards and GUID names.
#include "containers/CGenerateGuid.h"
#include "files/CUtils.h"
#include "platform/Stdio.h"
#include "project/ProjectFiles.h"

namespace {

const char kGuardOpen[] = "#if !defined(AFX_";
const char kGuardClose[] = "__INCLUDED_)";
const char kNameEnd[] = "_H__";

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

    // The new guard is built from its parts rather than by replacing the old
    // name part inside the old guard: a short name such as "AB" may also
    // occur inside the old GUID, which would then be mangled and kept.
    CString namePart = strNewName.IsEmpty() ? strFallback : strNewName;
    namePart.MakeUpper();
    CString guid;
    CGenerateGuid make(guid);
    pText->Replace(oldGuard, namePart + kNameEnd + guid);
    return 1;
}

int CUtils::GenerateGUIDforHeaderFile(CString strPath, CString strNewName, CString strFallback) {
    CString text;
    if (!projectfiles::LoadBytes(strPath, text)) {
        // A missing header becomes an empty one; one that exists but cannot
        // be read is never overwritten.
        if (GetFileAttributesA(strPath) == INVALID_FILE_ATTRIBUTES) projectfiles::WriteWhole(strPath, CString());
        return 1;
    }
    if (!projectfiles::IsBinary(text) && GenerateGUIDforHeaderFile(&text, strNewName, strFallback))
        projectfiles::WriteWhole(strPath, text);
    return 1;
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

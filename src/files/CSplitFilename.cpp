#include "files/CSplitFilename.h"

#include <cstring>
#include <new>
#include <vector>

#include "containers/CStr.h"
#include "platform/crt/Crt.h"

CSplitFilename::CSplitFilename(CString& path)
    : m_pszDrive(nullptr), m_pszDir(nullptr), m_pszFileTitle(nullptr), m_pszExt(nullptr) {
    CStr writable(path);
    // Every buffer can hold the whole path, so no part is ever cut.
    size_t size = static_cast<size_t>(path.GetLength()) + 1;
    std::vector<char> drive(size), dir(size), title(size), ext(size);
    if (writable.m_pStr)
        crt::_splitpath_s(writable.m_pStr, drive.data(), size, dir.data(), size, title.data(), size, ext.data(), size);
    MakeVariables(drive.data(), m_strDrive, m_pszDrive);
    MakeVariables(dir.data(), m_strDir, m_pszDir);
    MakeVariables(title.data(), m_strFileTitle, m_pszFileTitle);
    MakeVariables(ext.data(), m_strExt, m_pszExt);
}

CSplitFilename::CSplitFilename(const CSplitFilename& other)
    : m_pszDrive(nullptr), m_pszDir(nullptr), m_pszFileTitle(nullptr), m_pszExt(nullptr) {
    *this = other;
}

CSplitFilename& CSplitFilename::operator=(const CSplitFilename& other) {
    if (this == &other) return *this;
    FreeCopies();
    MakeVariables(other.m_strDrive, m_strDrive, m_pszDrive);
    MakeVariables(other.m_strDir, m_strDir, m_pszDir);
    MakeVariables(other.m_strFileTitle, m_strFileTitle, m_pszFileTitle);
    MakeVariables(other.m_strExt, m_strExt, m_pszExt);
    return *this;
}

CSplitFilename::~CSplitFilename() { FreeCopies(); }

void CSplitFilename::MakeVariables(CString part, CString& str, char*& psz) {
    str = part;
    size_t length = static_cast<size_t>(part.GetLength());
    psz = new (std::nothrow) char[length + 1]();
    if (psz) std::memcpy(psz, static_cast<LPCTSTR>(part), length);
}

void CSplitFilename::FreeCopies() {
    for (char** p : {&m_pszDrive, &m_pszDir, &m_pszFileTitle, &m_pszExt}) {
        delete[] *p;
        *p = nullptr;
    }
}

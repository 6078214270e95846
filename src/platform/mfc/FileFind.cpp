// CFileFind over the shared directory search (platform/kernel/FindFile.h).
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/kernel/Errors.h"
#include "platform/kernel/FileSystem.h"
#include "platform/kernel/Paths.h"
#include "platform/kernel/Undone.h"
#include "platform/mfc/Files.h"

namespace fs = platform::fs;
using namespace platform::find;

// ---- CFileFind --------------------------------------------------------------

struct CFileFind::Search : Listing {};

CFileFind::CFileFind() = default;

CFileFind::~CFileFind() = default;

BOOL CFileFind::FindFile(LPCTSTR pstrName, DWORD) {
    Close();
    auto search = std::make_unique<Search>();
    if (!List(pstrName, *search)) {
        PlatformSetLastErrorFromErrno(errno);
        return FALSE;
    }
    m_pSearch = std::move(search);
    return TRUE;
}

BOOL CFileFind::FindNextFile() {
    if (!m_pSearch || m_pSearch->next >= m_pSearch->entries.size()) return FALSE;
    m_pSearch->current = static_cast<long>(m_pSearch->next++);
    return m_pSearch->next < m_pSearch->entries.size();
}

void CFileFind::Close() { m_pSearch.reset(); }

CString CFileFind::GetFileName() const {
    const Entry* entry = Current(m_pSearch.get());
    return entry ? CString(entry->name) : CString();
}

CString CFileFind::GetFilePath() const {
    const Entry* entry = Current(m_pSearch.get());
    return entry ? m_pSearch->root + CString(entry->name) : CString();
}

CString CFileFind::GetFileTitle() const { return fs::Title(GetFileName()); }

CString CFileFind::GetRoot() const { return m_pSearch ? m_pSearch->root : CString(); }

DWORD CFileFind::GetLength() const {
    const fs::FileInfo* info = CurrentStatus(m_pSearch.get());
    return info ? Size32(*info) : 0;
}

BOOL CFileFind::GetLastWriteTime(CTime& refTime) const {
    const fs::FileInfo* info = CurrentStatus(m_pSearch.get());
    if (info) refTime = CTime(info->modified);
    return info != nullptr;
}

BOOL CFileFind::GetLastAccessTime(CTime& refTime) const {
    const fs::FileInfo* info = CurrentStatus(m_pSearch.get());
    if (info) refTime = CTime(info->accessed);
    return info != nullptr;
}

BOOL CFileFind::GetCreationTime(CTime& refTime) const {
    const fs::FileInfo* info = CurrentStatus(m_pSearch.get());
    if (info) refTime = CTime(info->created);
    return info != nullptr;
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const {
    // Only the read-only bit needs the status; the others come with the type.
    if (dwMask & FILE_ATTRIBUTE_READONLY) CurrentStatus(m_pSearch.get());
    const Entry* entry = Current(m_pSearch.get());
    return entry && (entry->attributes & dwMask) != 0;
}

BOOL CFileFind::IsDots() const {
    const Entry* entry = Current(m_pSearch.get());
    return entry && (entry->attributes & FILE_ATTRIBUTE_DIRECTORY) && entry->rank < 2;
}

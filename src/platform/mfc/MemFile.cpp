// CMemFile over a malloc'ed or attached buffer.
#include "platform/mfc/MemFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kMaxSize = 0xFFFFFFFFu;

[[noreturn]] void ThrowFull() { throw new CFileException(CFileException::diskFull); }

}  // namespace

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() { Close(); }

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
    Close();
    m_lpBuffer = lpBuffer;
    m_nBufferSize = m_nFileSize = lpBuffer ? nBufferSize : 0;
    m_nGrowBytes = nGrowBytes;
    m_bOwnBuffer = false;
}

BYTE* CMemFile::Detach() {
    BYTE* lpBuffer = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bOwnBuffer = true;
    return lpBuffer;
}

BOOL CMemFile::Open(LPCTSTR, UINT, CFileException* pError) {
    if (pError) pError->m_cause = CFileException::generic;
    return FALSE;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
    if (m_nPosition >= m_nFileSize || nCount == 0) return 0;
    UINT count = std::min(nCount, m_nFileSize - m_nPosition);
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, count);
    m_nPosition += count;
    return count;
}

void CMemFile::Reserve(size_t nSize) {
    if (nSize <= m_nBufferSize) return;
    if (nSize > kMaxSize || m_nGrowBytes == 0) ThrowFull();
    size_t grow = m_nGrowBytes;
    size_t size = std::max((nSize + grow - 1) / grow * grow, 2 * static_cast<size_t>(m_nBufferSize));
    size = std::min(size, kMaxSize);
    BYTE* lpNew;
    if (m_bOwnBuffer) {
        lpNew = static_cast<BYTE*>(std::realloc(m_lpBuffer, size));
    } else {
        lpNew = static_cast<BYTE*>(std::malloc(size));
        if (lpNew && m_nFileSize) std::memcpy(lpNew, m_lpBuffer, m_nFileSize);
    }
    if (!lpNew) ThrowFull();
    m_lpBuffer = lpNew;
    m_nBufferSize = static_cast<UINT>(size);
    m_bOwnBuffer = true;
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0) return;
    size_t end = static_cast<size_t>(m_nPosition) + nCount;
    Reserve(end);
    if (m_nPosition > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = static_cast<UINT>(end);
    m_nFileSize = std::max(m_nFileSize, m_nPosition);
}

LONG CMemFile::Seek(LONG lOff, UINT nFrom) {
    int64_t base = nFrom == begin ? 0 : nFrom == current ? m_nPosition : nFrom == end ? m_nFileSize : -1;
    if (base < 0) throw new CFileException(CFileException::badSeek);
    int64_t position = base + lOff;
    if (position < 0 || position > static_cast<int64_t>(kMaxSize)) throw new CFileException(CFileException::badSeek);
    m_nPosition = static_cast<UINT>(position);
    return static_cast<LONG>(position);
}

void CMemFile::SetLength(DWORD dwNewLen) {
    Reserve(dwNewLen);
    if (dwNewLen > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, dwNewLen - m_nFileSize);
    m_nFileSize = dwNewLen;
    m_nPosition = std::min(m_nPosition, m_nFileSize);
}

void CMemFile::Close() {
    if (m_bOwnBuffer) std::free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bOwnBuffer = true;
}

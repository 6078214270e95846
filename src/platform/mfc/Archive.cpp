// CArchive's buffering and CArchiveException.
#include "platform/mfc/Archive.h"

#include <algorithm>

namespace {

constexpr int kMinBufSize = 128;
// The archive's own buffer is at least this large: here a system call costs
// more than copying 4 KiB, so storing through the original's 4,096 bytes
// would spend most of its time in the kernel.
constexpr int kOwnBufSize = 64 * 1024;

}  // namespace

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName) {
    throw new CArchiveException(cause, lpszArchiveName);
}

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf) : m_pFile(pFile), m_nMode(nMode) {
    m_bUserBuf = lpBuf && nBufSize >= kMinBufSize;
    m_nBufSize = static_cast<UINT>(std::max(nBufSize, m_bUserBuf ? kMinBufSize : kOwnBufSize));
    m_lpBufStart = m_bUserBuf ? static_cast<BYTE*>(lpBuf) : new BYTE[m_nBufSize];
    m_lpBufCur = m_lpBufMax = m_lpStoreMax = m_lpLoadMax = m_lpBufStart;
    if (!pFile) return;  // every operation takes the slow path, which refuses
    if (IsStoring()) m_lpBufMax = m_lpStoreMax = m_lpBufStart + m_nBufSize;
    m_strFileName = pFile->GetFilePath();
}

CArchive::~CArchive() {
    if (m_pFile && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CFileException* e) {
            e->Delete();
        } catch (CArchiveException* e) {
            e->Delete();
        }
    }
    if (!m_bUserBuf) delete[] m_lpBufStart;
}

void CArchive::CheckFile() const {
    if (!m_pFile) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
}

void CArchive::StoreByte(BYTE by) { StoreBytes(&by, 1); }

void CArchive::StoreBytes(const void* pBytes, UINT nCount) {
    if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
    CheckFile();
    auto* bytes = static_cast<const BYTE*>(pBytes);
    while (nCount > 0) {
        if (m_lpBufCur == m_lpBufMax) Flush();
        UINT chunk = std::min(nCount, static_cast<UINT>(m_lpBufMax - m_lpBufCur));
        std::memcpy(m_lpBufCur, bytes, chunk);
        m_lpBufCur += chunk;
        bytes += chunk;
        nCount -= chunk;
    }
}

bool CArchive::FillBuffer() {
    size_t unread = static_cast<size_t>(m_lpBufMax - m_lpBufCur);
    std::memmove(m_lpBufStart, m_lpBufCur, unread);
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + unread;
    UINT got = m_pFile->Read(m_lpBufMax, m_nBufSize - static_cast<UINT>(unread));
    m_lpBufMax += got;
    m_lpLoadMax = m_lpBufMax;
    return got > 0;
}

void CArchive::LoadBytes(void* pBytes, UINT nCount) {
    if (IsStoring()) AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
    CheckFile();
    auto* bytes = static_cast<BYTE*>(pBytes);
    while (nCount > 0) {
        if (m_lpBufCur == m_lpBufMax && !FillBuffer())
            AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
        UINT chunk = std::min(nCount, static_cast<UINT>(m_lpBufMax - m_lpBufCur));
        std::memcpy(bytes, m_lpBufCur, chunk);
        m_lpBufCur += chunk;
        bytes += chunk;
        nCount -= chunk;
    }
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    if (nMax == 0) return 0;
    if (IsStoring()) AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
    CheckFile();
    if (!lpBuf) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    auto* out = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    for (;;) {
        UINT chunk = std::min(nMax - done, static_cast<UINT>(m_lpBufMax - m_lpBufCur));
        std::memcpy(out + done, m_lpBufCur, chunk);
        m_lpBufCur += chunk;
        done += chunk;
        if (done == nMax) return done;
        if (nMax - done >= m_nBufSize) return done + m_pFile->Read(out + done, nMax - done);  // big blocks bypass the buffer
        if (!FillBuffer()) return done;
    }
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
    if (nMax == 0) return;
    if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
    CheckFile();
    if (!lpBuf) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    if (nMax <= static_cast<UINT>(m_lpBufMax - m_lpBufCur)) {
        std::memcpy(m_lpBufCur, lpBuf, nMax);
        m_lpBufCur += nMax;
        return;
    }
    Flush();
    if (nMax >= m_nBufSize)
        m_pFile->Write(lpBuf, nMax);  // big blocks bypass the buffer
    else
        StoreBytes(lpBuf, nMax);
}

void CArchive::Flush() {
    if (!m_pFile) return;
    if (IsStoring()) {
        if (m_lpBufCur != m_lpBufStart) m_pFile->Write(m_lpBufStart, static_cast<UINT>(m_lpBufCur - m_lpBufStart));
        m_lpBufCur = m_lpBufStart;
        return;
    }
    if (m_lpBufCur != m_lpBufMax) m_pFile->Seek(-static_cast<LONG>(m_lpBufMax - m_lpBufCur), CFile::current);
    m_lpBufCur = m_lpBufMax = m_lpLoadMax = m_lpBufStart;
}

void CArchive::Close() {
    Flush();
    Abort();
}

void CArchive::Abort() {
    m_pFile = nullptr;
    m_lpBufCur = m_lpBufMax = m_lpStoreMax = m_lpLoadMax = m_lpBufStart;
}

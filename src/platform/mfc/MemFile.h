// CMemFile: a CFile whose contents live in memory, so that an archive can
// store to memory and load from it.
//
// Its own buffer is allocated with malloc and grows as writes need it:
// to the larger of the size needed (rounded up to nGrowBytes) and twice the
// current size, so writing byte by byte stays linear. A buffer the caller
// attaches stays the caller's: it is never freed or reallocated; with
// nGrowBytes 0 the file cannot grow past it, otherwise its contents move
// into a buffer of the file's own when they outgrow it. Detach hands the
// current buffer to the caller, who frees an own buffer with free().
//
// A write that cannot be satisfied (a fixed buffer full, memory exhausted,
// a length past 4 GiB) throws CFileException* with diskFull; a seek before
// the start throws badSeek. Reading past the end gives fewer bytes. Writing
// after a seek past the end fills the gap with zeros.
#pragma once

#include "platform/mfc/Files.h"

class PLATFORM_API CMemFile : public CFile {
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    // Uses the caller's buffer, holding nBufferSize bytes of contents; any
    // earlier contents are released.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Returns the buffer and leaves the file empty.
    BYTE* Detach();

    // A memory file has no name: FALSE.
    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    LONG Seek(LONG lOff, UINT nFrom) override;
    DWORD GetPosition() const override { return m_nPosition; }
    DWORD GetLength() const override { return m_nFileSize; }
    void SetLength(DWORD dwNewLen) override;
    void Flush() override {}
    // Releases the contents.
    void Close() override;
    void Abort() override { Close(); }

private:
    // Makes room for at least nSize bytes.
    void Reserve(size_t nSize);

    BYTE* m_lpBuffer = nullptr;
    UINT m_nBufferSize = 0;  // bytes the buffer holds
    UINT m_nFileSize = 0;
    UINT m_nPosition = 0;
    UINT m_nGrowBytes;
    bool m_bOwnBuffer = true;
};

// Serialisation: CArchive over a CFile, and CArchiveException.
//
// An archive either stores or loads. Values go through the archive's
// buffer, so storing many small values costs one file write per
// bufferful, not one per value. The buffer is the caller's, when given, or
// else one of the archive's own of nBufSize bytes but at least 64 KiB (the
// original allocates nBufSize, 4,096 by default: here the system calls of
// so small a buffer would cost more than the copying). Values are stored in
// little-endian order, as on the original platform.
//
// Errors are exceptions, thrown as pointers the catcher deletes (Delete()):
// - reading a value past the end of the file throws CArchiveException with
//   endOfFile; Read only returns fewer bytes than asked;
// - storing into a loading archive throws readOnly, loading from a storing
//   one writeOnly; an archive without a file (or closed) throws generic;
// - failures of the file itself are the file's CFileException, passed on.
// The destructor closes an archive that is still open (flushing a storing
// one unless bNoFlushOnDelete); a failure there is swallowed, since a
// destructor cannot report it: call Close to learn of it.
#pragma once

#include <bit>
#include <cstring>

#include "platform/mfc/Files.h"

class PLATFORM_API CArchiveException {
public:
    enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

    explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);
    virtual ~CArchiveException() = default;
    void Delete() { delete this; }

    int m_cause;
    CString m_strFileName;
};

// Throws new CArchiveException(cause, lpszArchiveName).
[[noreturn]] PLATFORM_API void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);

class PLATFORM_API CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // lpBuf, when given, must hold nBufSize bytes and stays the caller's;
    // otherwise, and when nBufSize is below 128 (the caller's buffer would
    // be too small to work with), the archive allocates its own.
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
    CFile* GetFile() const { return m_pFile; }

    // Reads up to nMax bytes; fewer only at the end of the file.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Storing: writes the buffer to the file. Loading: moves the file back
    // to the archive's position, dropping what was read ahead.
    void Flush();
    // Flushes and detaches the file (which stays open).
    void Close();
    // Detaches the file without flushing.
    void Abort();

    CArchive& operator<<(BYTE by) {
        if (__builtin_expect(m_lpBufCur < m_lpStoreMax, 1))
            *m_lpBufCur++ = by;
        else
            StoreByte(by);  // by value: the fast path keeps the byte in a register
        return *this;
    }
    CArchive& operator<<(char ch) { return *this << static_cast<BYTE>(ch); }
    CArchive& operator<<(short w) { return Store(w); }
    CArchive& operator<<(WORD w) { return Store(w); }
    CArchive& operator<<(int i) { return Store(i); }  // LONG
    CArchive& operator<<(UINT u) { return Store(u); }  // DWORD
    CArchive& operator<<(float f) { return Store(f); }
    CArchive& operator<<(double d) { return Store(d); }

    CArchive& operator>>(BYTE& by) {
        if (m_lpBufCur < m_lpLoadMax)
            by = *m_lpBufCur++;
        else
            LoadBytes(&by, 1);
        return *this;
    }
    CArchive& operator>>(char& ch) { return *this >> reinterpret_cast<BYTE&>(ch); }
    CArchive& operator>>(short& w) { return Load(w); }
    CArchive& operator>>(WORD& w) { return Load(w); }
    CArchive& operator>>(int& i) { return Load(i); }
    CArchive& operator>>(UINT& u) { return Load(u); }
    CArchive& operator>>(float& f) { return Load(f); }
    CArchive& operator>>(double& d) { return Load(d); }

    CString m_strFileName;

private:
    // Little-endian bytes of a value; the platform is little-endian.
    template <class T>
    CArchive& Store(T value) {
        static_assert(std::endian::native == std::endian::little);
        if (m_lpStoreMax - m_lpBufCur >= static_cast<ptrdiff_t>(sizeof value)) {
            std::memcpy(m_lpBufCur, &value, sizeof value);
            m_lpBufCur += sizeof value;
        } else {
            StoreBytes(&value, sizeof value);
        }
        return *this;
    }
    template <class T>
    CArchive& Load(T& value) {
        if (m_lpLoadMax - m_lpBufCur >= static_cast<ptrdiff_t>(sizeof value)) {
            std::memcpy(&value, m_lpBufCur, sizeof value);
            m_lpBufCur += sizeof value;
        } else {
            T read;  // the value changes only when it was read whole
            LoadBytes(&read, sizeof read);
            value = read;
        }
        return *this;
    }
    // The slow paths: the buffer is full or empty, or the mode is wrong.
    void StoreByte(BYTE by);
    void StoreBytes(const void* pBytes, UINT nCount);
    void LoadBytes(void* pBytes, UINT nCount);
    void CheckFile() const;
    // Refills the buffer keeping its unread bytes; false at the end of the file.
    bool FillBuffer();

    CFile* m_pFile;
    UINT m_nMode;
    UINT m_nBufSize;
    BOOL m_bUserBuf;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;    // storing: the buffer's end; loading: the end of the bytes read
    BYTE* m_lpStoreMax;  // m_lpBufMax while storing, the buffer's start while loading
    BYTE* m_lpLoadMax;   // m_lpBufMax while loading, the buffer's start while storing
};

// Serialisation: CArchive over a CFile, and CArchiveException.
//
// Byte layouts are the original's, so files written there load here and
// the other way round:
// - integers and floating-point numbers: their bytes, little-endian;
//   BYTE, char and bool one byte, WORD and short two, int, UINT (LONG,
//   DWORD), float and long four (a long, 32-bit on the original, must fit
//   in 32 bits: CArchiveException genericException otherwise), long long
//   and double eight;
// - CString: its length as one byte when below 255; else 0xFF and a WORD
//   when below 0xFFFE; else 0xFF, 0xFFFF and a DWORD; then the characters.
//   Loading also takes the original's wide strings (0xFF 0xFFFE before the
//   length, then UTF-16 characters, converted to UTF-8) and lengths beyond
//   a DWORD (0xFFFFFFFF and a 64-bit length);
// - counts (WriteCount): a WORD when below 0xFFFF, else 0xFFFF and a DWORD;
// - objects (ar << pObject): a null pointer is the WORD 0; an object seen
//   before in this archive is its index as a WORD (0x7FFF and a DWORD when
//   the index is 0x7FFF or more); a new object is its class, then its own
//   data (Serialize). A class new to the archive is the WORD 0xFFFF, its
//   schema as a WORD, its name's length as a WORD and the name; a class
//   seen before is 0x8000 | its index (0x7FFF and 0x80000000 | the index as
//   a DWORD when large). Classes and objects share one index count,
//   starting at 1.
// Loading checks every index, class name and schema, and reports a bad one
// with CArchiveException (badIndex, badClass, badSchema); a length or count
// larger than what is left of the file throws endOfFile when the file ends,
// after no more memory than the file's bytes.
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
#include <concepts>
#include <cstring>
#include <memory>

#include "platform/mfc/Files.h"

class CDocument;

class PLATFORM_API CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

    explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

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
    CArchive& operator<<(signed char ch) { return *this << static_cast<BYTE>(ch); }
    // Only a bool itself, never a pointer converted to one.
    template <class B>
    requires std::same_as<B, bool> CArchive& operator<<(B b) { return *this << static_cast<BYTE>(b ? 1 : 0); }
    CArchive& operator<<(short w) { return Store(w); }
    CArchive& operator<<(WORD w) { return Store(w); }
    CArchive& operator<<(int i) { return Store(i); }  // LONG
    CArchive& operator<<(UINT u) { return Store(u); }  // DWORD
    CArchive& operator<<(long l);                      // four bytes, as the original's long
    CArchive& operator<<(unsigned long ul);            // four bytes
    CArchive& operator<<(long long ll) { return Store(ll); }
    CArchive& operator<<(unsigned long long ull) { return Store(ull); }
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
    CArchive& operator>>(signed char& ch) { return *this >> reinterpret_cast<BYTE&>(ch); }
    CArchive& operator>>(bool& b);
    CArchive& operator>>(short& w) { return Load(w); }
    CArchive& operator>>(WORD& w) { return Load(w); }
    CArchive& operator>>(int& i) { return Load(i); }
    CArchive& operator>>(UINT& u) { return Load(u); }
    CArchive& operator>>(long& l);
    CArchive& operator>>(unsigned long& ul);
    CArchive& operator>>(long long& ll) { return Load(ll); }
    CArchive& operator>>(unsigned long long& ull) { return Load(ull); }
    CArchive& operator>>(float& f) { return Load(f); }
    CArchive& operator>>(double& d) { return Load(d); }

    // A count of elements (collections' Serialize).
    void WriteCount(DWORD_PTR dwCount);
    DWORD_PTR ReadCount();
    // Text lines: WriteString writes the text as it is (no terminator, no
    // line end added); ReadString reads up to and without the next "\n"
    // (a "\r" before it is dropped too), FALSE at the end of the file. The
    // buffer form reads at most nMax - 1 characters and keeps the "\n".
    void WriteString(LPCTSTR lpsz);
    BOOL ReadString(CString& rString);
    LPTSTR ReadString(LPTSTR lpsz, UINT nMax);

    // Objects (see above). ReadObject hands over a new object of
    // pClassRefRequested's class or a derived one (null for a stored null
    // pointer), or the object loaded earlier under the same index.
    void WriteObject(const CObject* pOb);
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    void WriteClass(const CRuntimeClass* pClassRef);
    // The class of the next class record (null with *pObTag set when the
    // record is a reference to an object); *pSchema gets the stored schema.
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);
    void SerializeClass(const CRuntimeClass* pClassRef);
    // The schema stored for the object being loaded, for a class with a
    // VERSIONABLE_SCHEMA; (UINT)-1 once read, or when there is none.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }
    // Enters an object that is not in the archive (a document's own
    // parts, say) in the index, so references to it are stored as such.
    void MapObject(const CObject* pOb);
    void SetStoreParams(UINT nHashSize = 2053, UINT nBlockSize = 128) {
        (void)nHashSize;
        (void)nBlockSize;
    }
    void SetLoadParams(UINT nGrowBy = 1024) { (void)nGrowBy; }
    BOOL IsByteSwapping() const { return FALSE; }

    CString m_strFileName;
    CDocument* m_pDocument = nullptr;  // the document being serialised, set by the document
    BOOL m_bForceFlat = TRUE;

    // The objects and classes met so far (ArchiveIndex.h); opaque to callers.
    struct ObjectIndex;

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
    UINT m_nObjectSchema = static_cast<UINT>(-1);
    std::unique_ptr<ObjectIndex> m_pIndex;  // the objects and classes met, made on first use
};

PLATFORM_API CArchive& operator<<(CArchive& ar, const CString& string);
PLATFORM_API CArchive& operator>>(CArchive& ar, CString& string);
PLATFORM_API CArchive& operator<<(CArchive& ar, const CObject* pOb);
PLATFORM_API CArchive& operator>>(CArchive& ar, CObject*& pOb);
PLATFORM_API CArchive& operator>>(CArchive& ar, const CObject*& pOb);
// Geometry: the members as LONGs, in order.
PLATFORM_API CArchive& operator<<(CArchive& ar, SIZE size);
PLATFORM_API CArchive& operator<<(CArchive& ar, POINT point);
PLATFORM_API CArchive& operator<<(CArchive& ar, const RECT& rect);
PLATFORM_API CArchive& operator>>(CArchive& ar, SIZE& size);
PLATFORM_API CArchive& operator>>(CArchive& ar, POINT& point);
PLATFORM_API CArchive& operator>>(CArchive& ar, RECT& rect);
// Times as the original's 32-bit seconds (a DWORD; a time outside it
// throws CArchiveException genericException).
PLATFORM_API CArchive& operator<<(CArchive& ar, CTime time);
PLATFORM_API CArchive& operator>>(CArchive& ar, CTime& rtime);
PLATFORM_API CArchive& operator<<(CArchive& ar, CTimeSpan span);
PLATFORM_API CArchive& operator>>(CArchive& ar, CTimeSpan& rspan);

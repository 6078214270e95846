// The framework's diagnostics for hosts: CDumpContext and afxDump, TRACE,
// ASSERT, VERIFY, ASSERT_VALID, ASSERT_KINDOF, DEBUG_NEW and THIS_FILE.
//
// As on the original, what the macros do depends on the host's build: with
// _DEBUG defined, TRACE writes to stderr, ASSERT checks its condition (a
// failed one writes "file(line): assertion failed" to stderr and aborts the
// program, as the original stops it for the user's decision), and
// DEBUG_NEW records nothing more than new does; without _DEBUG they compile
// to nothing (VERIFY still evaluates its expression). afxDump writes to
// stderr in either build.
#pragma once

#include "platform/mfc/Objects.h"

class CFile;

class PLATFORM_API CDumpContext {
public:
    // Writes to the file, or to stderr when there is none.
    explicit CDumpContext(CFile* pFile = nullptr) : m_pFile(pFile) {}
    CDumpContext(const CDumpContext&) = delete;
    CDumpContext& operator=(const CDumpContext&) = delete;

    // How deep Dump goes into an object's members (0: the object only).
    int GetDepth() const { return m_nDepth; }
    void SetDepth(int nNewDepth) { m_nDepth = nNewDepth; }

    CDumpContext& operator<<(LPCTSTR lpsz);
    CDumpContext& operator<<(const void* lp);      // as 0x%p
    CDumpContext& operator<<(const CObject* pOb);  // "NULL" or its Dump
    CDumpContext& operator<<(const CObject& ob);
    // Numbers in decimal (LONG is int, DWORD is UINT here).
    CDumpContext& operator<<(BYTE by);
    CDumpContext& operator<<(WORD w);
    CDumpContext& operator<<(short n);
    CDumpContext& operator<<(int n);
    CDumpContext& operator<<(UINT u);
    CDumpContext& operator<<(long n);
    CDumpContext& operator<<(unsigned long n);
    CDumpContext& operator<<(long long n);
    CDumpContext& operator<<(unsigned long long n);
    CDumpContext& operator<<(float f);
    CDumpContext& operator<<(double d);
    CDumpContext& operator<<(HWND h) { return *this << static_cast<const void*>(h); }
    // nBytes of pby as hexadecimal, nWidth a line, each line led by lpszLine.
    void HexDump(LPCTSTR lpszLine, BYTE* pby, int nBytes, int nWidth);
    void Flush();

    CFile* m_pFile;
    int m_nDepth = 0;

private:
    void Write(const char* text);
};

PLATFORM_API extern CDumpContext afxDump;

// printf to stderr (the original's debugger output).
PLATFORM_API void AfxTrace(LPCTSTR lpszFormat, ...);
// Reports a failed assertion; TRUE asks the caller to stop the program.
PLATFORM_API BOOL AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);
[[noreturn]] PLATFORM_API void AfxDebugBreak();
// ASSERT_VALID's check: a null object fails, any other runs AssertValid.
PLATFORM_API void AfxAssertValidObject(const CObject* pOb, LPCSTR lpszFileName, int nLine);
// The original checks that the memory can be read (and written); here a
// non-null address is taken as valid.
PLATFORM_API BOOL AfxIsValidAddress(const void* lp, UINT nBytes, BOOL bReadWrite = TRUE);
PLATFORM_API BOOL AfxIsValidString(LPCSTR lpsz, int nLength = -1);

// new(THIS_FILE, __LINE__), as DEBUG_NEW writes it: the plain allocation
// (the file and line are not recorded).
PLATFORM_API void* operator new(size_t nSize, LPCSTR lpszFileName, int nLine);
PLATFORM_API void* operator new[](size_t nSize, LPCSTR lpszFileName, int nLine);
PLATFORM_API void operator delete(void* p, LPCSTR lpszFileName, int nLine) noexcept;
PLATFORM_API void operator delete[](void* p, LPCSTR lpszFileName, int nLine) noexcept;

#ifdef _DEBUG
#define THIS_FILE __FILE__
#define DEBUG_NEW new (THIS_FILE, __LINE__)
#define TRACE ::AfxTrace
#define TRACE0(sz) ::AfxTrace("%s", sz)
#define TRACE1(sz, p1) ::AfxTrace(sz, p1)
#define TRACE2(sz, p1, p2) ::AfxTrace(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) ::AfxTrace(sz, p1, p2, p3)
#define ASSERT(f)                                                                  \
    do {                                                                           \
        if (!(f) && ::AfxAssertFailedLine(THIS_FILE, __LINE__)) ::AfxDebugBreak(); \
    } while (0)
#define VERIFY(f) ASSERT(f)
#define ASSERT_VALID(pOb) (::AfxAssertValidObject(pOb, THIS_FILE, __LINE__))
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
#define ASSERT_POINTER(p, type) ASSERT(((p) != nullptr) && ::AfxIsValidAddress((p), sizeof(type), FALSE))
#define ASSERT_NULL_OR_POINTER(p, type) ASSERT(((p) == nullptr) || ::AfxIsValidAddress((p), sizeof(type), FALSE))
#define DEBUG_ONLY(f) (f)
#else
#define DEBUG_NEW new
#define TRACE 1 ? (void)0 : ::AfxTrace
// A statement that does nothing, so "if (x) TRACE0(...);" has a body.
#define TRACE0(sz) ((void)0)
#define TRACE1(sz, p1) ((void)0)
#define TRACE2(sz, p1, p2) ((void)0)
#define TRACE3(sz, p1, p2, p3) ((void)0)
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define ASSERT_VALID(pOb) ((void)0)
#define ASSERT_KINDOF(class_name, object) ((void)0)
#define ASSERT_POINTER(p, type) ((void)0)
#define ASSERT_NULL_OR_POINTER(p, type) ((void)0)
#define DEBUG_ONLY(f) ((void)0)
#endif

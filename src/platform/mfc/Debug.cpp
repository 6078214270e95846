// CDumpContext, afxDump, the trace and assertion reports, DEBUG_NEW's
// allocation, and CObject's debug members.
#include "platform/mfc/Debug.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "platform/atl/Strings.h"
#include "platform/mfc/Files.h"

CDumpContext afxDump;

void CDumpContext::Write(const char* text) {
    if (m_pFile) {
        m_pFile->Write(text, static_cast<UINT>(std::strlen(text)));
        return;
    }
    std::fputs(text, stderr);
}

namespace {

template <class T>
std::string decimal(const char* format, T value) {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

CDumpContext& CDumpContext::operator<<(LPCTSTR lpsz) {
    Write(lpsz ? lpsz : "(null)");
    return *this;
}

CDumpContext& CDumpContext::operator<<(const void* lp) {
    Write(decimal("0x%p", lp).c_str());
    return *this;
}

CDumpContext& CDumpContext::operator<<(const CObject* pOb) {
    if (!pOb)
        Write("NULL");
    else
        pOb->Dump(*this);
    return *this;
}

CDumpContext& CDumpContext::operator<<(const CObject& ob) {
    ob.Dump(*this);
    return *this;
}

CDumpContext& CDumpContext::operator<<(BYTE by) { return *this << static_cast<UINT>(by); }
CDumpContext& CDumpContext::operator<<(WORD w) { return *this << static_cast<UINT>(w); }
CDumpContext& CDumpContext::operator<<(short n) { return *this << static_cast<int>(n); }
CDumpContext& CDumpContext::operator<<(int n) {
    Write(decimal("%d", n).c_str());
    return *this;
}
CDumpContext& CDumpContext::operator<<(UINT u) {
    Write(decimal("%u", u).c_str());
    return *this;
}
CDumpContext& CDumpContext::operator<<(long n) {
    Write(decimal("%ld", n).c_str());
    return *this;
}
CDumpContext& CDumpContext::operator<<(unsigned long n) {
    Write(decimal("%lu", n).c_str());
    return *this;
}
CDumpContext& CDumpContext::operator<<(long long n) {
    Write(decimal("%lld", n).c_str());
    return *this;
}
CDumpContext& CDumpContext::operator<<(unsigned long long n) {
    Write(decimal("%llu", n).c_str());
    return *this;
}
CDumpContext& CDumpContext::operator<<(float f) { return *this << static_cast<double>(f); }
CDumpContext& CDumpContext::operator<<(double d) {
    Write(decimal("%f", d).c_str());
    return *this;
}

void CDumpContext::HexDump(LPCTSTR lpszLine, BYTE* pby, int nBytes, int nWidth) {
    if (!pby || nBytes <= 0) return;
    if (nWidth <= 0) nWidth = 16;
    for (int i = 0; i < nBytes; ++i) {
        if (i % nWidth == 0) {
            if (i) Write("\n");
            Write(lpszLine ? lpszLine : "");
        }
        Write(decimal(" %02X", static_cast<unsigned>(pby[i])).c_str());
    }
    Write("\n");
}

void CDumpContext::Flush() {
    if (m_pFile)
        m_pFile->Flush();
    else
        std::fflush(stderr);
}

void AfxTrace(LPCTSTR lpszFormat, ...) {
    if (!lpszFormat) return;
    va_list args;
    va_start(args, lpszFormat);
    std::string text = PlatformFormatV(lpszFormat, args);
    va_end(args);
    std::fputs(text.c_str(), stderr);
}

BOOL AfxAssertFailedLine(LPCSTR lpszFileName, int nLine) {
    std::fprintf(stderr, "%s(%d): assertion failed\n", lpszFileName ? lpszFileName : "?", nLine);
    std::fflush(stderr);
    return TRUE;
}

void AfxDebugBreak() { std::abort(); }

void AfxAssertValidObject(const CObject* pOb, LPCSTR lpszFileName, int nLine) {
    if (!pOb) {
        if (AfxAssertFailedLine(lpszFileName, nLine)) AfxDebugBreak();
        return;
    }
    pOb->AssertValid();
}

BOOL AfxIsValidAddress(const void* lp, UINT, BOOL) { return lp != nullptr; }

BOOL AfxIsValidString(LPCSTR lpsz, int) { return lpsz != nullptr; }

void* operator new(size_t nSize, LPCSTR, int) { return ::operator new(nSize); }
void* operator new[](size_t nSize, LPCSTR, int) { return ::operator new[](nSize); }
void operator delete(void* p, LPCSTR, int) noexcept { ::operator delete(p); }
void operator delete[](void* p, LPCSTR, int) noexcept { ::operator delete[](p); }

// ---- CObject's debug members ------------------------------------------------------

void CObject::AssertValid() const {}

void CObject::Dump(CDumpContext& dc) const {
    dc << "a " << GetRuntimeClass()->m_lpszClassName << " at " << static_cast<const void*>(this) << "\n";
}

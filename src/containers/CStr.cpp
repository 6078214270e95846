#include "containers/CStr.h"

#include <cstring>
#include <new>

char* NewZeroTerminatedCopy(const CString& str) {
    size_t size = static_cast<size_t>(str.GetLength()) + 1;
    char* p = new (std::nothrow) char[size];
    if (!p) return nullptr;
    size_t text = std::strlen(static_cast<LPCTSTR>(str));  // stops at the first zero
    std::memcpy(p, static_cast<LPCTSTR>(str), text);
    std::memset(p + text, 0, size - text);
    return p;
}

// A copy of a C string that may be null (a null source gives null).
static char* DuplicateOrNull(const char* psz) { return psz ? NewZeroTerminatedCopy(CString(psz)) : nullptr; }

// Replaces an owned buffer by a copy of another (self-assignment safe).
static void AssignCopy(char*& target, const char* source) {
    if (target == source) return;
    char* copy = DuplicateOrNull(source);
    delete[] target;
    target = copy;
}

CStr::CStr(CString str) { MakePtr(str); }

CStr::CStr(char* psz) { MakePtr(CString(psz)); }

CStr::CStr(const CStr& other) : m_pStr(DuplicateOrNull(other.m_pStr)) {}

CStr& CStr::operator=(const CStr& other) {
    AssignCopy(m_pStr, other.m_pStr);
    return *this;
}

CStr::~CStr() { delete[] m_pStr; }

void CStr::Init(CString str) { MakePtr(str); }

void CStr::MakePtr(CString str) {
    char* copy = NewZeroTerminatedCopy(str);  // str may be a view of m_pStr itself
    delete[] m_pStr;
    m_pStr = copy;
}

CNullStringPtr::CNullStringPtr(CString str, char*& rpsz) {
    m_pStr = NewZeroTerminatedCopy(str);
    rpsz = m_pStr;
}

CNullStringPtr::CNullStringPtr(const CNullStringPtr& other) : m_pStr(DuplicateOrNull(other.m_pStr)) {}

CNullStringPtr& CNullStringPtr::operator=(const CNullStringPtr& other) {
    AssignCopy(m_pStr, other.m_pStr);
    return *this;
}

CNullStringPtr::~CNullStringPtr() { delete[] m_pStr; }

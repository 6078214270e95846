// CStr and CNullStringPtr: a separately owned, writable, zero-terminated
// copy of a CString for calls that need a char*.
//
// The buffer is sized for the whole string (GetLength() + 1) but the text is
// copied only up to its first zero character. Each object owns its own
// buffer: copies duplicate it, and a new copy replaces (and releases) the old.
#pragma once

#include "platform/atl/Strings.h"

class CBASIS1_API CStr {
public:
    CStr(CString str);
    CStr(char* psz);
    CStr(const CStr& other);
    CStr& operator=(const CStr& other);
    ~CStr();

    void Init(CString str);
    void MakePtr(CString str);

    char* m_pStr = nullptr;
};

class CBASIS1_API CNullStringPtr {
public:
    // rpsz receives m_pStr, valid while the object lives.
    CNullStringPtr(CString str, char*& rpsz);
    CNullStringPtr(const CNullStringPtr& other);
    CNullStringPtr& operator=(const CNullStringPtr& other);
    ~CNullStringPtr();

    char* m_pStr = nullptr;
};

// A new[] buffer of str.GetLength() + 1 bytes holding the text of str up to
// its first zero character; null when the allocation fails.
CBASIS1_API char* NewZeroTerminatedCopy(const CString& str);

// CTypeID and CType: a named, typed item, and the item itself.
//
// A CType either holds a value of a basic type (kinds 0 to 6) or points at a
// caller's variable of a pointer type (kinds 7 to 23). For the generic kinds
// (15 to 23) it can create the value itself (NewType) and hand the caller a
// pointer to it (LinkPtr), and it converts the pointed-at value to and from
// text (TypeToString, StringToType).
//
// Ownership: a CType owns the value its own NewType created and nothing
// else. It releases that value on the next NewType, on assignment and in its
// destructor, whatever the caller has since written into m_Buffer or
// m_nType. Copies are deep: a copy creates its own copy of that value, and a
// copy of an object whose m_pValue points into its own m_Buffer points into
// the copy's m_Buffer, never into the source.
#pragma once

#include "platform/atl/Strings.h"

// Kind numbers stored in m_nType.
enum CTypeKind : int {
    kTypeInt = 0, kTypeChar = 1, kTypeShort = 2, kTypeBool = 3, kTypeFloat = 4, kTypeDouble = 5, kTypeLong = 6,
    kTypeIntPtr = 7, kTypeCharPtr = 8, kTypeShortPtr = 9, kTypeBoolPtr = 10, kTypeFloatPtr = 11,
    kTypeDoublePtr = 12, kTypeLongPtr = 13, kTypeCStringPtr = 14,
    kTypeIntPtrPtr = 15, kTypeCStringPtrPtr = 16, kTypeFloatPtrPtr = 17, kTypeCharPtrPtr = 18,
    kTypeBoolPtrPtr = 19, kTypeDoublePtrPtr = 20, kTypeLongPtrPtr = 21, kTypeVoidPtrPtr = 22,
    kTypeShortPtrPtr = 23,
};

class CBASIS1_API CTypeID {
public:
    CTypeID() { Init(); }
    explicit CTypeID(int nType) {
        Init();
        m_nType = nType;
    }
    CTypeID(const CTypeID&) = default;
    CTypeID& operator=(const CTypeID&) = default;

    // Every field zero again: kind 0, empty texts.
    void Init();

    // m_szTypeName = strTypeName without "class ", "struct " and "* *" (in
    // that order, every occurrence); m_szName = strName. A name of this
    // compiler's run-time type identification is first written in the
    // original platform's form ("class CString * *"), so the run-time name of
    // CString** is stored as "CString ". Texts longer than a field are cut.
    void SetID(CString strName, CString strTypeName);

    int m_nReserved;
    int m_nType;
    char m_szName[50];
    char m_szTypeName[52];
    char m_szText[100];
};

class CBASIS1_API CType : public CTypeID {
public:
    CType();
    CType(int nValue);
    CType(char chValue);
    CType(bool bValue);
    CType(float fValue);
    CType(double dValue);
    CType(long lValue);
    CType(int* pValue);
    CType(char* pValue);
    CType(short* pValue);
    CType(bool* pValue);
    CType(float* pValue);
    CType(double* pValue);
    CType(long* pValue);
    CType(CString* pValue);
    CType(int** ppValue);
    CType(float** ppValue);
    CType(char** ppValue);
    CType(CString** ppValue);
    CType(void** ppValue);
    CType(const CType& other);
    CType& operator=(const CType& other);
    ~CType();

    // m_szText emptied; m_Buffer cleared; m_pValue = &m_Buffer.
    void Init();

    // m_pValue = &m_Buffer, and the pointer variable at pVariable (an int**,
    // CString** ... matching the kind) is set to &m_Buffer too, so after
    // NewType the caller reaches the value with two dereferences. A null
    // pVariable only re-points m_pValue.
    void LinkPtr(void* pVariable);

    // For kinds 15 to 21 and 23: releases the value created before and
    // stores the address of a new zero value (an empty CString, an empty
    // text) in m_Buffer. Kind 22 and every other kind: nothing. Returns 1.
    int NewType();

    // Whether strName is the run-time type name of int**, char**, bool**,
    // short**, float**, long**, double** or CString** (compared byte for
    // byte), in this compiler's form or in the original platform's form.
    bool is_generic_ctype_name(CString strName);

    // The pointed-at value as text, by kind: 15 as int, 16 as CString, 17 as
    // float, every other kind m_Value as "0x%p". 0 (text unchanged) when
    // there is no value to read; otherwise 1.
    int TypeToString(CString& strText);
    // The overloads: the first argument only selects the conversion; the
    // value is always reached through m_pValue.
    int TypeToString(int** ppSelect, CString& strText);
    int TypeToString(float** ppSelect, CString& strText);  // "%f"
    int TypeToString(CString** ppSelect, CString& strText);
    int TypeToString(void** ppSelect, CString& strText);

    // Kind 15: strText read as a base-10 integer; 16: strText itself; 17:
    // strText read as a float. Stored into the value the pointer at m_pValue
    // points at; nothing when that pointer is null, and nothing for other
    // kinds. A text without a number stores 0. Always 1.
    int StringToType(CString& strText);

    union {
        void* m_pValue;
        int m_nValue;
        long m_lValue;
        char m_chValue;
        bool m_bValue;
        float m_fValue;
        double m_dValue;
    } m_Value;
    void* m_Buffer;

private:
    void ClearValue();
    void ReleaseCreated();
    void CopyFrom(const CType& other);

    void* m_pCreated = nullptr;  // the value this object's NewType created
    int m_nCreatedKind = 0;      // the kind it was created as
};

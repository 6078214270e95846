// The framework's named collections: arrays (CByteArray, CWordArray,
// CDWordArray, CUIntArray, CPtrArray, CObArray, CStringArray), lists
// (CPtrList, CObList, CStringList) and maps (CMapWordToPtr, CMapPtrToWord,
// CMapPtrToPtr, CMapWordToOb, CMapStringToPtr, CMapStringToOb,
// CMapStringToString), with the original's members and behaviour (see
// platform/mfc/Templates.h). None of them owns what its pointers point at.
//
// The serialisable ones store what the original stores: the count, then
// the elements (numbers as raw little-endian bytes, strings and objects as
// CArchive stores them; a map each key, then its value). The pointer and
// UINT collections are not serialisable: their Serialize stores nothing.
#pragma once

#include "platform/mfc/Templates.h"

#define AFX_NAMED_ARRAY(name, TYPE, ARG_TYPE, declare)        \
    class PLATFORM_API name : public CArray<TYPE, ARG_TYPE> { \
        declare(name) public : name() = default;              \
        ~name() override;                                     \
    };

AFX_NAMED_ARRAY(CByteArray, BYTE, BYTE, DECLARE_SERIAL)
AFX_NAMED_ARRAY(CWordArray, WORD, WORD, DECLARE_SERIAL)
AFX_NAMED_ARRAY(CDWordArray, DWORD, DWORD, DECLARE_SERIAL)
AFX_NAMED_ARRAY(CObArray, CObject*, CObject*, DECLARE_SERIAL)
AFX_NAMED_ARRAY(CStringArray, CString, const CString&, DECLARE_SERIAL)

class PLATFORM_API CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
public:
    CUIntArray() = default;
    ~CUIntArray() override;
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

class PLATFORM_API CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
public:
    CPtrArray() = default;
    ~CPtrArray() override;
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

class PLATFORM_API CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
    ~CPtrList() override;
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

class PLATFORM_API CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
    ~CObList() override;
};

class PLATFORM_API CStringList : public CList<CString, const CString&> {
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
    ~CStringList() override;
};

// A named map: the base map plus the types CTypedPtrMap asks for.
#define AFX_NAMED_MAP(name, KEY, ARG_KEY, VALUE, ARG_VALUE, declare, extra) \
    class PLATFORM_API name : public CMap<KEY, ARG_KEY, VALUE, ARG_VALUE> { \
        declare(name) public : typedef KEY BASE_KEY;                        \
        typedef ARG_KEY BASE_ARG_KEY;                                       \
        typedef VALUE BASE_VALUE;                                           \
        typedef ARG_VALUE BASE_ARG_VALUE;                                   \
        explicit name(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}        \
        ~name() override;                                                   \
        extra                                                               \
    };

#define AFX_NOT_SERIALISABLE \
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
// The stored key equal to key, which stays valid while its entry does.
#define AFX_LOOKUP_KEY BOOL LookupKey(LPCTSTR key, LPCTSTR& rKey) const;

AFX_NAMED_MAP(CMapWordToPtr, WORD, WORD, void*, void*, DECLARE_DYNAMIC, AFX_NOT_SERIALISABLE)
AFX_NAMED_MAP(CMapPtrToWord, void*, void*, WORD, WORD, DECLARE_DYNAMIC, AFX_NOT_SERIALISABLE)
AFX_NAMED_MAP(CMapPtrToPtr, void*, void*, void*, void*, DECLARE_DYNAMIC, AFX_NOT_SERIALISABLE)
AFX_NAMED_MAP(CMapWordToOb, WORD, WORD, CObject*, CObject*, DECLARE_SERIAL, )
AFX_NAMED_MAP(CMapStringToPtr, CString, LPCTSTR, void*, void*, DECLARE_DYNAMIC, AFX_NOT_SERIALISABLE AFX_LOOKUP_KEY)
AFX_NAMED_MAP(CMapStringToOb, CString, LPCTSTR, CObject*, CObject*, DECLARE_SERIAL, AFX_LOOKUP_KEY)
AFX_NAMED_MAP(CMapStringToString, CString, LPCTSTR, CString, LPCTSTR, DECLARE_SERIAL, AFX_LOOKUP_KEY)

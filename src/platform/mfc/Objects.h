// CObject and runtime classes: type tests, creation by class record and by
// class name.
//
// Every dynamic class owns one CRuntimeClass record, a static member named
// class<Name> (RUNTIME_CLASS(CFoo) is &CFoo::classCFoo). The record is
// constant-initialised, so it is valid before any static constructor runs;
// IMPLEMENT_DYNAMIC also registers it, from a static constructor, on the
// class list of the current module state (platform/mfc/Modules.h). While an
// extension module is being loaded that list is parked, so the module's
// classes end up in the module's own list and leave with the module.
//
// A serialisable class (DECLARE_SERIAL, IMPLEMENT_SERIAL) has a schema
// number and is dynamically creatable; an archive stores its objects with
// their class's name and schema (platform/mfc/Archive.h).
#pragma once

#include "platform/shared/Types.h"

class CObject;
class CArchive;
class CDumpContext;

// Or'ed into a schema number: objects of an older schema are loaded too,
// and Serialize learns the stored one from CArchive::GetObjectSchema.
#define VERSIONABLE_SCHEMA (0x80000000)

struct PLATFORM_API CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;  // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();  // null: not dynamically creatable
    CRuntimeClass* m_pBaseClass;       // null only for CObject
    CRuntimeClass* m_pNextClass;       // link of the list the record is registered on

    CRuntimeClass* GetBaseClass() const { return m_pBaseClass; }

    // A new object of the class, or null when the class is not dynamically
    // creatable or memory ran out.
    CObject* CreateObject();
    // TRUE when this class is pBaseClass or derives from it; FALSE for null.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // The registered class of that exact (case-sensitive) name: searched in
    // the application's classes, then in every extension module's classes,
    // newest module first. Null when no loaded module has it.
    static CRuntimeClass* FromName(LPCSTR lpszClassName);

    // The class's record in an archive: its schema as a WORD, the name's
    // length as a WORD, then the name's characters.
    void Store(CArchive& ar) const;
    // Reads such a record: the registered class of that name, with the
    // stored schema in *pwSchemaNum; null when the name is longer than 63
    // characters or no loaded module has the class.
    static CRuntimeClass* Load(CArchive& ar, UINT* pwSchemaNum);
};

// Root of the dynamic classes. Not copyable: a class that wants copies
// defines them itself.
class PLATFORM_API CObject {
public:
    virtual ~CObject();
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

    virtual CRuntimeClass* GetRuntimeClass() const;
    // TRUE when the object's class is pClass or derives from it.
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    // TRUE when the class has a schema (DECLARE_SERIAL).
    BOOL IsSerializable() const;

    // Stores or loads the object's data; the base has none.
    virtual void Serialize(CArchive& ar);
    // Debug members: the base checks nothing; Dump writes the class name
    // and the object's address ("a CObject at 0x...").
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

    static CRuntimeClass classCObject;

protected:
    CObject() = default;
};

// Pushes a class record onto the current module state's class list.
PLATFORM_API void AfxClassInit(CRuntimeClass* pNewClass);

// Registers a record from a static constructor.
struct PLATFORM_API AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass) { AfxClassInit(pNewClass); }
};

// A debug build's source file declares "static char THIS_FILE[] = __FILE__;"
// for DEBUG_NEW and ASSERT; a file that uses neither would leave it unused
// and warn. The implementation macros refer to it, so it always counts as
// used (where a file does not declare it, THIS_FILE is the macro __FILE__).
#ifdef _DEBUG
#ifndef THIS_FILE
#define THIS_FILE __FILE__
#endif
#define AFX_THIS_FILE_USED static_cast<void>(THIS_FILE);
#else
#define AFX_THIS_FILE_USED
#endif

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)              \
public:                                          \
    static CRuntimeClass class##class_name;      \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                                      \
    CRuntimeClass class_name::class##class_name = {                                                               \
        #class_name, static_cast<int>(sizeof(class class_name)), wSchema, pfnNew, RUNTIME_CLASS(base_class_name), \
        nullptr};                                                                                                 \
    static const AFX_CLASSINIT classInit_##class_name(&class_name::class##class_name);                            \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                                          \
        AFX_THIS_FILE_USED                                                                                        \
        return RUNTIME_CLASS(class_name);                                                                         \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)            \
    CObject* class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

// ar >> pObject reads an object of the class (or a derived one) and hands
// it over; CArchiveException badClass when the archive holds another class.
#define DECLARE_SERIAL(class_name) \
    DECLARE_DYNCREATE(class_name)  \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                             \
    CObject* class_name::CreateObject() { return new class_name; }                         \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
    CArchive& operator>>(CArchive& ar, class_name*& pOb) {                                 \
        pOb = static_cast<class_name*>(AfxReadObject(ar, RUNTIME_CLASS(class_name)));      \
        return ar;                                                                         \
    }

// CArchive::ReadObject, for IMPLEMENT_SERIAL (which is expanded where the
// archive's class may not be declared yet).
PLATFORM_API CObject* AfxReadObject(CArchive& ar, const CRuntimeClass* pClassRefRequested);

// CTypeID and CType: names, kinds, created values and text conversion.
#include "types/CType.h"

#include <cxxabi.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <typeinfo>

#include "containers/CAddArrow.h"
#include "files/CUtils.h"
#include "platform/crt/Crt.h"

namespace {

// The pointer stored in the cell at pCell (a caller's T* variable or
// m_Buffer). Read bytewise: the cell's declared type may differ from T*.
template <class T>
T* LoadCell(const void* pCell) {
    T* p;
    std::memcpy(&p, pCell, sizeof p);
    return p;
}

void StoreCell(void* pCell, const void* p) { std::memcpy(pCell, &p, sizeof p); }

// The 8 bytes of m_Value read as a pointer, whatever the kind.
template <class U>
void* PointerBits(const U& value) {
    static_assert(sizeof(U) == sizeof(void*));
    return LoadCell<void>(&value);
}

// A name of this compiler's type identification ("PP7CString") in the form
// the original platform's reports, as far as SetID cares: the demangled
// name with each trailing pointer mark written " *" ("CString * *"). Any
// other text is returned unchanged.
CString OriginalFormTypeName(const CString& name) {
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(static_cast<LPCTSTR>(name), nullptr, nullptr, &status), &std::free);
    if (status != 0 || !demangled) return name;
    std::string text(demangled.get());
    size_t stars = 0;
    while (stars < text.size() && text[text.size() - 1 - stars] == '*') ++stars;
    text.resize(text.size() - stars);
    for (size_t i = 0; i < stars; ++i) text += " *";
    return CString(text);
}

struct GenericName {
    const char* runtime;   // this compiler's typeid name
    const char* original;  // the original platform's
};

const GenericName kGenericNames[] = {
    {typeid(int**).name(), "int * *"},       {typeid(char**).name(), "char * *"},
    {typeid(bool**).name(), "bool * *"},     {typeid(short**).name(), "short * *"},
    {typeid(float**).name(), "float * *"},   {typeid(long**).name(), "long * *"},
    {typeid(double**).name(), "double * *"}, {typeid(CString**).name(), "class CString * *"},
};

void* NewValue(int kind) {
    switch (kind) {
        case kTypeIntPtrPtr: return new int(0);
        case kTypeCStringPtrPtr: return new CString;
        case kTypeFloatPtrPtr: return new float(0);
        case kTypeCharPtrPtr: return new char[4]();
        case kTypeBoolPtrPtr: return new bool(false);
        case kTypeDoublePtrPtr: return new double(0);
        case kTypeLongPtrPtr: return new long(0);
        case kTypeShortPtrPtr: return new short(0);
        default: return nullptr;
    }
}

void* CopyValue(int kind, const void* p) {
    switch (kind) {
        case kTypeIntPtrPtr: return new int(*static_cast<const int*>(p));
        case kTypeCStringPtrPtr: return new CString(*static_cast<const CString*>(p));
        case kTypeFloatPtrPtr: return new float(*static_cast<const float*>(p));
        case kTypeCharPtrPtr: {
            char* copy = new char[4];
            std::memcpy(copy, p, 4);
            return copy;
        }
        case kTypeBoolPtrPtr: return new bool(*static_cast<const bool*>(p));
        case kTypeDoublePtrPtr: return new double(*static_cast<const double*>(p));
        case kTypeLongPtrPtr: return new long(*static_cast<const long*>(p));
        case kTypeShortPtrPtr: return new short(*static_cast<const short*>(p));
        default: return nullptr;
    }
}

void DeleteValue(int kind, void* p) {
    switch (kind) {
        case kTypeIntPtrPtr: delete static_cast<int*>(p); break;
        case kTypeCStringPtrPtr: delete static_cast<CString*>(p); break;
        case kTypeFloatPtrPtr: delete static_cast<float*>(p); break;
        case kTypeCharPtrPtr: delete[] static_cast<char*>(p); break;
        case kTypeBoolPtrPtr: delete static_cast<bool*>(p); break;
        case kTypeDoublePtrPtr: delete static_cast<double*>(p); break;
        case kTypeLongPtrPtr: delete static_cast<long*>(p); break;
        case kTypeShortPtrPtr: delete static_cast<short*>(p); break;
        default: break;
    }
}

}  // namespace

// ---- CTypeID ---------------------------------------------------------------

void CTypeID::Init() {
    m_nReserved = 0;
    m_nType = 0;
    std::memset(m_szName, 0, sizeof m_szName);
    std::memset(m_szTypeName, 0, sizeof m_szTypeName);
    std::memset(m_szText, 0, sizeof m_szText);
}

void CTypeID::SetID(CString strName, CString strTypeName) {
    CString type = OriginalFormTypeName(strTypeName);
    CUtils::ExtractAll(type, "class ");
    CUtils::ExtractAll(type, "struct ");
    CUtils::ExtractAll(type, "* *");
    CopyToField(m_szTypeName, sizeof m_szTypeName, type);
    CopyToField(m_szName, sizeof m_szName, strName);
}

// ---- CType: construction and ownership --------------------------------------

CType::CType() : m_Buffer(nullptr) { ClearValue(); }

CType::CType(int nValue) : CType() { m_Value.m_nValue = nValue; }
CType::CType(char chValue) : CType() {
    m_nType = kTypeChar;
    m_Value.m_chValue = chValue;
}
CType::CType(bool bValue) : CType() {
    m_nType = kTypeBool;
    m_Value.m_bValue = bValue;
}
CType::CType(float fValue) : CType() {
    m_nType = kTypeFloat;
    m_Value.m_fValue = fValue;
}
CType::CType(double dValue) : CType() {
    m_nType = kTypeDouble;
    m_Value.m_dValue = dValue;
}
CType::CType(long lValue) : CType() {
    m_nType = kTypeLong;
    m_Value.m_lValue = lValue;
}

#define CTYPE_POINTER_CONSTRUCTOR(T, kind) \
    CType::CType(T p) : CType() {          \
        m_nType = kind;                    \
        m_Value.m_pValue = p;              \
    }
CTYPE_POINTER_CONSTRUCTOR(int*, kTypeIntPtr)
CTYPE_POINTER_CONSTRUCTOR(char*, kTypeCharPtr)
CTYPE_POINTER_CONSTRUCTOR(short*, kTypeShortPtr)
CTYPE_POINTER_CONSTRUCTOR(bool*, kTypeBoolPtr)
CTYPE_POINTER_CONSTRUCTOR(float*, kTypeFloatPtr)
CTYPE_POINTER_CONSTRUCTOR(double*, kTypeDoublePtr)
CTYPE_POINTER_CONSTRUCTOR(long*, kTypeLongPtr)
CTYPE_POINTER_CONSTRUCTOR(CString*, kTypeCStringPtr)
CTYPE_POINTER_CONSTRUCTOR(int**, kTypeIntPtrPtr)
CTYPE_POINTER_CONSTRUCTOR(float**, kTypeFloatPtrPtr)
CTYPE_POINTER_CONSTRUCTOR(char**, kTypeCharPtrPtr)
CTYPE_POINTER_CONSTRUCTOR(CString**, kTypeCStringPtrPtr)
CTYPE_POINTER_CONSTRUCTOR(void**, kTypeVoidPtrPtr)
#undef CTYPE_POINTER_CONSTRUCTOR

CType::CType(const CType& other) : CTypeID(other), m_Buffer(nullptr) { CopyFrom(other); }

CType& CType::operator=(const CType& other) {
    if (this == &other) return *this;
    ReleaseCreated();
    CTypeID::operator=(other);
    CopyFrom(other);
    return *this;
}

CType::~CType() { ReleaseCreated(); }

// Value kinds keep only their value's bytes; the rest of m_Value is zero, so
// the "0x%p" text of a value is the same for every object.
void CType::ClearValue() { std::memset(static_cast<void*>(&m_Value), 0, sizeof m_Value); }

void CType::ReleaseCreated() {
    DeleteValue(m_nCreatedKind, m_pCreated);
    m_pCreated = nullptr;
    m_nCreatedKind = 0;
}

// Copies m_Value and m_Buffer from other, which must not be this object and
// whose created value this object does not own yet.
void CType::CopyFrom(const CType& other) {
    m_Value = other.m_Value;
    m_Buffer = other.m_Buffer;
    if (other.m_pCreated) {
        m_pCreated = CopyValue(other.m_nCreatedKind, other.m_pCreated);
        m_nCreatedKind = other.m_nCreatedKind;
        if (other.m_Buffer == other.m_pCreated) m_Buffer = m_pCreated;
    }
    if (PointerBits(other.m_Value) == &other.m_Buffer) m_Value.m_pValue = &m_Buffer;
}

void CType::Init() {
    std::memset(m_szText, 0, sizeof m_szText);
    m_Buffer = nullptr;
    m_Value.m_pValue = &m_Buffer;
}

void CType::LinkPtr(void* pVariable) {
    m_Value.m_pValue = &m_Buffer;
    if (pVariable) StoreCell(pVariable, &m_Buffer);
}

int CType::NewType() {
    if (m_nType < kTypeIntPtrPtr || m_nType > kTypeShortPtrPtr || m_nType == kTypeVoidPtrPtr) return 1;
    ReleaseCreated();
    m_Buffer = nullptr;
    m_pCreated = NewValue(m_nType);
    m_nCreatedKind = m_nType;
    m_Buffer = m_pCreated;
    return 1;
}

bool CType::is_generic_ctype_name(CString strName) {
    for (const GenericName& name : kGenericNames)
        if (strName == name.runtime || strName == name.original) return true;
    return false;
}

// ---- CType: text conversion -------------------------------------------------

int CType::TypeToString(CString& strText) {
    switch (m_nType) {
        case kTypeIntPtrPtr: return TypeToString(static_cast<int**>(nullptr), strText);
        case kTypeCStringPtrPtr: return TypeToString(static_cast<CString**>(nullptr), strText);
        case kTypeFloatPtrPtr: return TypeToString(static_cast<float**>(nullptr), strText);
        default: return TypeToString(static_cast<void**>(nullptr), strText);
    }
}

int CType::TypeToString(int**, CString& strText) {
    const int* p = m_Value.m_pValue ? LoadCell<int>(m_Value.m_pValue) : nullptr;
    if (!p) return 0;
    strText.Format("%d", *p);
    return 1;
}

int CType::TypeToString(float**, CString& strText) {
    const float* p = m_Value.m_pValue ? LoadCell<float>(m_Value.m_pValue) : nullptr;
    if (!p) return 0;
    strText.Format("%f", static_cast<double>(*p));
    return 1;
}

int CType::TypeToString(CString**, CString& strText) {
    const CString* p = m_Value.m_pValue ? LoadCell<CString>(m_Value.m_pValue) : nullptr;
    if (!p) return 0;
    strText = *p;
    return 1;
}

int CType::TypeToString(void**, CString& strText) {
    strText.Format("0x%p", PointerBits(m_Value));
    return 1;
}

int CType::StringToType(CString& strText) {
    if (!m_Value.m_pValue) return 1;
    switch (m_nType) {
        case kTypeIntPtrPtr:
            // Out-of-range numbers saturate, as with a 32-bit strtol.
            if (int* p = LoadCell<int>(m_Value.m_pValue))
                *p = static_cast<int>(std::clamp<long>(std::strtol(static_cast<LPCTSTR>(strText), nullptr, 10),
                                                       INT_MIN, INT_MAX));
            break;
        case kTypeCStringPtrPtr:
            if (CString* p = LoadCell<CString>(m_Value.m_pValue)) *p = strText;
            break;
        case kTypeFloatPtrPtr:
            // Read as the original runtime's atof reads it, decimal forms
            // only; beyond the float's range an infinity rather than an
            // undefined conversion.
            if (float* p = LoadCell<float>(m_Value.m_pValue)) {
                double value = crt::atof(strText);
                if (std::fabs(value) <= std::numeric_limits<float>::max())
                    *p = static_cast<float>(value);
                else
                    *p = value < 0 ? -HUGE_VALF : HUGE_VALF;
            }
            break;
        default: break;
    }
    return 1;
}

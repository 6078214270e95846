// The named collections' runtime classes, the string maps' LookupKey and
// the growth sizes of the maps' hash tables.
#include "platform/mfc/Collections.h"

#define AFX_NAMED_COLLECTION(name, implement) implement name::~name() = default;

AFX_NAMED_COLLECTION(CByteArray, IMPLEMENT_SERIAL(CByteArray, CObject, 0))
AFX_NAMED_COLLECTION(CWordArray, IMPLEMENT_SERIAL(CWordArray, CObject, 0))
AFX_NAMED_COLLECTION(CDWordArray, IMPLEMENT_SERIAL(CDWordArray, CObject, 0))
AFX_NAMED_COLLECTION(CObArray, IMPLEMENT_SERIAL(CObArray, CObject, 0))
AFX_NAMED_COLLECTION(CStringArray, IMPLEMENT_SERIAL(CStringArray, CObject, 0))
AFX_NAMED_COLLECTION(CUIntArray, IMPLEMENT_DYNAMIC(CUIntArray, CObject))
AFX_NAMED_COLLECTION(CPtrArray, IMPLEMENT_DYNAMIC(CPtrArray, CObject))
AFX_NAMED_COLLECTION(CPtrList, IMPLEMENT_DYNAMIC(CPtrList, CObject))
AFX_NAMED_COLLECTION(CObList, IMPLEMENT_SERIAL(CObList, CObject, 0))
AFX_NAMED_COLLECTION(CStringList, IMPLEMENT_SERIAL(CStringList, CObject, 0))
AFX_NAMED_COLLECTION(CMapWordToPtr, IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject))
AFX_NAMED_COLLECTION(CMapPtrToWord, IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject))
AFX_NAMED_COLLECTION(CMapPtrToPtr, IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject))
AFX_NAMED_COLLECTION(CMapWordToOb, IMPLEMENT_SERIAL(CMapWordToOb, CObject, 0))
AFX_NAMED_COLLECTION(CMapStringToPtr, IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject))
AFX_NAMED_COLLECTION(CMapStringToOb, IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0))
AFX_NAMED_COLLECTION(CMapStringToString, IMPLEMENT_SERIAL(CMapStringToString, CObject, 0))

// ---- LookupKey -------------------------------------------------------------------

#define AFX_LOOKUP_KEY_OF(name)                              \
    BOOL name::LookupKey(LPCTSTR key, LPCTSTR& rKey) const { \
        const CString* pKey = StoredKey(key);                \
        if (pKey) rKey = *pKey;                              \
        return pKey != nullptr;                              \
    }

AFX_LOOKUP_KEY_OF(CMapStringToPtr)
AFX_LOOKUP_KEY_OF(CMapStringToOb)
AFX_LOOKUP_KEY_OF(CMapStringToString)

// ---- Hash table growth ------------------------------------------------------------

namespace {

bool isPrime(UINT n) {
    if (n < 2) return false;
    for (UINT d = 2; d <= n / d; ++d)
        if (n % d == 0) return false;
    return true;
}

}  // namespace

UINT AfxNextHashTableSize(UINT nEntries) {
    UINT n = nEntries > 0x3FFFFFFF ? 0x7FFFFFFF : nEntries * 2 + 1;
    while (!isPrime(n)) ++n;
    return n;
}

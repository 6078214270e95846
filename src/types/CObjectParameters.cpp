// CObjectParameters: the four lists, their ownership and deep copies.
#include "types/CObjectParameters.h"

#include <cstring>

#include "containers/CAddArrow.h"

namespace {

void FreeValues(CLinkedList<CType*>*& list, bool owned) {
    if (!list) return;
    if (owned)
        for (auto* node = list->MoveFirst(); node; node = list->MoveNext()) delete *node->pValue;
    delete list;
    list = nullptr;
}

void FreeRefs(CLinkedList<CType**>*& list, bool ownCells) {
    if (!list) return;
    if (ownCells)
        for (auto* node = list->MoveFirst(); node; node = list->MoveNext()) delete *node->pValue;
    delete list;
    list = nullptr;
}

// A new list with other's elements; with copyObjects, copies of the
// objects they point at.
template <class T>
CLinkedList<T*>* CopyList(const CLinkedList<T*>* other, bool copyObjects) {
    auto* list = new CLinkedList<T*>;
    if (!other) return list;
    for (auto* node = other->m_pHead; node; node = node->pNext) {
        T* element = *node->pValue;
        if (copyObjects && element) element = new T(*element);
        list->Add(&element);
    }
    return list;
}

}  // namespace

CObjectParameters::CObjectParameters()
    : m_nField(0), m_nNumber(0), m_pValues1(nullptr), m_pValueRefs1(nullptr), m_pValues2(nullptr),
      m_pValueRefs2(nullptr), m_bOwnValues1(false), m_bOwnValues2(false), m_nFields{} {
    std::memset(m_szName, 0, sizeof m_szName);
    CreateLinkedLists();
}

CObjectParameters::CObjectParameters(const CObjectParameters& other)
    : m_pValues1(nullptr), m_pValueRefs1(nullptr), m_pValues2(nullptr), m_pValueRefs2(nullptr) {
    CopyFrom(other);
}

CObjectParameters& CObjectParameters::operator=(const CObjectParameters& other) {
    if (this != &other) {
        FreeLists();
        CopyFrom(other);
    }
    return *this;
}

CObjectParameters::~CObjectParameters() { FreeLists(); }

void CObjectParameters::FreeLists() {
    FreeValues(m_pValues1, m_bOwnValues1);
    FreeRefs(m_pValueRefs1, false);
    FreeValues(m_pValues2, m_bOwnValues2);
    FreeRefs(m_pValueRefs2, true);
}

void CObjectParameters::CreateLinkedLists() {
    FreeValues(m_pValues1, m_bOwnValues1);
    m_pValues1 = new CLinkedList<CType*>;
    FreeRefs(m_pValueRefs1, false);
    m_pValueRefs1 = new CLinkedList<CType**>;
    FreeValues(m_pValues2, m_bOwnValues2);
    m_pValues2 = new CLinkedList<CType*>;
    FreeRefs(m_pValueRefs2, true);
    m_pValueRefs2 = new CLinkedList<CType**>;
}

void CObjectParameters::Init(int nNumber, char* pszName) {
    m_nNumber = nNumber;
    CopyToField(m_szName, sizeof m_szName, CString(pszName));
}

// Every field of other with lists of this object's own; this object's
// lists must be freed already.
void CObjectParameters::CopyFrom(const CObjectParameters& other) {
    m_nField = other.m_nField;
    m_nNumber = other.m_nNumber;
    std::memcpy(m_szName, other.m_szName, sizeof m_szName);
    m_bOwnValues1 = other.m_bOwnValues1;
    m_bOwnValues2 = other.m_bOwnValues2;
    std::memcpy(m_nFields, other.m_nFields, sizeof m_nFields);
    m_pValues1 = CopyList(other.m_pValues1, m_bOwnValues1);
    m_pValueRefs1 = CopyList(other.m_pValueRefs1, false);
    m_pValues2 = CopyList(other.m_pValues2, m_bOwnValues2);
    m_pValueRefs2 = CopyList(other.m_pValueRefs2, true);
}

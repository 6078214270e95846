// CObjectParameters: the parameter block handed to a code object: a number,
// a name and four lists of typed values.
//
// Ownership, as the destructor applies it:
//   - m_pValues1 / m_pValues2: the CType objects are freed too when
//     m_bOwnValues1 / m_bOwnValues2 is set (they must come from new).
//   - m_pValueRefs1: the elements are left alone.
//   - m_pValueRefs2: every element is a CType* cell made with new CType*,
//     and the cell (not the CType it points at) is freed.
// Copies are deep: a copy has its own four lists; it holds copies of the
// CType objects of an owned list, new cells holding the same CType pointers
// for m_pValueRefs2, and the same pointers elsewhere.
#pragma once

#include "containers/CLinkedList.h"
#include "types/CType.h"

class CBASIS1_API CObjectParameters {
public:
    // Fields zero, then four empty lists.
    CObjectParameters();
    CObjectParameters(const CObjectParameters& other);
    CObjectParameters& operator=(const CObjectParameters& other);

    // A new, empty block (not a copy of this one).
    virtual CObjectParameters* Clone() { return new CObjectParameters; }
    virtual int CopyParameters(CObjectParameters*) { return 1; }
    virtual void DeleteObjects() {}
    virtual ~CObjectParameters();

    // Gives each list pointer a new, empty list, freeing (as the destructor
    // would) the list it held.
    void CreateLinkedLists();
    // m_nNumber = nNumber; m_szName = pszName cut to 99 characters (null
    // reads as "").
    void Init(int nNumber, char* pszName);

    int m_nField;
    int m_nNumber;
    char m_szName[100];
    CLinkedList<CType*>* m_pValues1;
    CLinkedList<CType**>* m_pValueRefs1;
    CLinkedList<CType*>* m_pValues2;
    CLinkedList<CType**>* m_pValueRefs2;
    bool m_bOwnValues1;
    bool m_bOwnValues2;
    int m_nFields[7];

private:
    void FreeLists();
    void CopyFrom(const CObjectParameters& other);
};

// CObjectCode: the base of a pluggable unit of code. Derived classes
// override the hooks; RunCode runs the object by calling Handle.
//
// The object owns the arrow list in m_pArrows once one is assigned, and
// frees it when it goes. Copies are deep: a copy gets its own list holding
// the same records.
#pragma once

#include "containers/CAddArrow.h"
#include "containers/CLinkedList.h"
#include "platform/atl/Strings.h"

class CObjectParameters;

class CBASIS1_API CObjectCode {
public:
    // Every field zero; m_pArrows null.
    CObjectCode();
    // Every field zero, then m_nValue1 and m_nValue2 set.
    CObjectCode(int nValue1, int nValue2);
    CObjectCode(const CObjectCode& other);
    CObjectCode& operator=(const CObjectCode& other);

    virtual int Init() { return 1; }
    virtual int Handle() { return 1; }
    // A new object of the derived class's kind; the base has none (null).
    virtual CObjectCode* Clone() { return nullptr; }
    virtual int LoadParameters(CObjectParameters*) { return 1; }
    virtual void Instantiate(CObjectParameters*) {}
    virtual ~CObjectCode();

    // Calls Handle, ignoring its result; returns 1.
    int RunCode();
    // m_szID = strID, cut to 49 characters.
    void SetID(CString strID);

    int m_nField1;
    int m_nValue1;
    int m_nField2;
    int m_nValue2;
    int m_nField3;
    char m_szID[50];
    char m_szText1[50];
    int m_nField4;
    WORD m_wField;
    CLinkedList<CAddArrow>* m_pArrows;
    char m_szText2[50];
    int m_nField5;
    int m_nField6;

private:
    void CopyFields(const CObjectCode& other);
};

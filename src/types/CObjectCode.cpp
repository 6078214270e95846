// CObjectCode: construction, deep copies and the run hook.
#include "types/CObjectCode.h"

#include <cstring>

CObjectCode::CObjectCode() : CObjectCode(0, 0) {}

CObjectCode::CObjectCode(int nValue1, int nValue2)
    : m_nField1(0), m_nValue1(nValue1), m_nField2(0), m_nValue2(nValue2), m_nField3(0), m_nField4(0), m_wField(0),
      m_pArrows(nullptr), m_nField5(0), m_nField6(0) {
    std::memset(m_szID, 0, sizeof m_szID);
    std::memset(m_szText1, 0, sizeof m_szText1);
    std::memset(m_szText2, 0, sizeof m_szText2);
}

CObjectCode::CObjectCode(const CObjectCode& other) : m_pArrows(nullptr) { CopyFields(other); }

CObjectCode& CObjectCode::operator=(const CObjectCode& other) {
    if (this != &other) CopyFields(other);
    return *this;
}

CObjectCode::~CObjectCode() {
    delete m_pArrows;
    m_pArrows = nullptr;
}

// Every field of other, with a list of this object's own in place of
// other's; the list this object had is freed.
void CObjectCode::CopyFields(const CObjectCode& other) {
    m_nField1 = other.m_nField1;
    m_nValue1 = other.m_nValue1;
    m_nField2 = other.m_nField2;
    m_nValue2 = other.m_nValue2;
    m_nField3 = other.m_nField3;
    std::memcpy(m_szID, other.m_szID, sizeof m_szID);
    std::memcpy(m_szText1, other.m_szText1, sizeof m_szText1);
    m_nField4 = other.m_nField4;
    m_wField = other.m_wField;
    std::memcpy(m_szText2, other.m_szText2, sizeof m_szText2);
    m_nField5 = other.m_nField5;
    m_nField6 = other.m_nField6;

    delete m_pArrows;
    m_pArrows = nullptr;
    if (!other.m_pArrows) return;
    m_pArrows = new CLinkedList<CAddArrow>;
    for (auto* node = other.m_pArrows->m_pHead; node; node = node->pNext) m_pArrows->Add(node->pValue);
}

int CObjectCode::RunCode() {
    Handle();
    return 1;
}

void CObjectCode::SetID(CString strID) { CopyToField(m_szID, sizeof m_szID, strID); }

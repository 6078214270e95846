// CParameters and CRecordType.
#include "types/CParameters.h"

#include <cstring>

#include "containers/CAddArrow.h"

CParameters::CParameters(void* pData, int nSize) {
    Init();
    LoadParameters(pData, nSize);
}

CParameters::CParameters(const CParameters& other) {
    Init();
    LoadParameters(other.m_pData, other.m_nSize);
}

int CParameters::operator=(CParameters source) {
    LoadParameters(source.m_pData, source.m_nSize);
    return 1;
}

CParameters::~CParameters() { delete[] m_pData; }

void CParameters::Init() {
    m_pData = nullptr;
    m_nSize = 0;
}

void CParameters::LoadParameters(void* pData, int nSize) {
    BYTE* copy = nullptr;
    if (pData && nSize > 0) {
        copy = new BYTE[static_cast<size_t>(nSize)];
        std::memcpy(copy, pData, static_cast<size_t>(nSize));
    }
    delete[] m_pData;
    m_pData = copy;
    m_nSize = copy ? nSize : 0;
}

CRecordType::CRecordType(int nType) : m_nType(nType) { std::memset(m_szName, 0, sizeof m_szName); }

CRecordType::CRecordType(int nType, char* pszName) : m_nType(nType) {
    CopyToField(m_szName, sizeof m_szName, CString(pszName));
}

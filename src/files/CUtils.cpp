// CUtils: construction, the owned name chain and string services.
#include "files/CUtils.h"

#include "containers/CStr.h"

CUtils::CUtils() : m_pCurrent(nullptr), m_pFirst(nullptr), m_bSuccess(1) {}

CUtils::~CUtils() { Delete_file_names(); }

int CUtils::NullStrPtr(CString str, char*& rpsz) {
    delete[] rpsz;
    rpsz = NewZeroTerminatedCopy(str);
    return rpsz ? m_bSuccess : !m_bSuccess;
}

void CUtils::Delete_file_names() {
    while (m_pFirst) {
        file_name* next = m_pFirst->m_pNext;
        delete m_pFirst;
        m_pFirst = next;
    }
    m_pCurrent = nullptr;
}

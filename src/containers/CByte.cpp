#include "containers/CByte.h"

#include <cstring>

CByte::CByte(unsigned char* pData, unsigned long nLength) {
    Init();
    Load(pData, nLength);
}

CByte::CByte(const CByte& other) {
    Init();
    Load(other.m_pData, other.m_nLength);
}

CByte& CByte::operator=(const CByte& other) {
    Load(other.m_pData, other.m_nLength);
    return *this;
}

CByte::~CByte() { delete[] m_pData; }

void CByte::Init() {
    m_nLength = 0;
    m_pData = nullptr;
}

void CByte::Load(unsigned char* pData, unsigned long nLength) {
    if (pData == m_pData && nLength == m_nLength) return;
    if (!pData) nLength = 0;
    unsigned char* copy = nLength ? new unsigned char[nLength] : nullptr;
    if (nLength) std::memcpy(copy, pData, nLength);
    delete[] m_pData;  // after the copy: pData may point into the old buffer
    m_pData = copy;
    m_nLength = nLength;
}

void CByte::Load(CByte* pSource) {
    if (pSource) Load(pSource->m_pData, pSource->m_nLength);
}

void CByte::Empty() {
    delete[] m_pData;
    Init();
}

// CParameters: an owned copy of a byte block. CRecordType: a numbered name.
#pragma once

#include "platform/atl/Strings.h"

class CBASIS1_API CParameters {
public:
    CParameters() { Init(); }
    // Init, then LoadParameters.
    CParameters(void* pData, int nSize);
    // A copy holds its own copy of the block.
    CParameters(const CParameters& other);
    // This object takes a copy of source's block and size and releases its
    // own; source keeps its block. Returns 1.
    int operator=(CParameters source);
    ~CParameters();

    // m_pData null, m_nSize 0. Forgets, does not release, a block held.
    void Init();
    // Releases the block held and takes a copy of the nSize bytes at pData
    // (which may lie in the block held). A null pData or a size of 0 or less
    // leaves no block and size 0.
    void LoadParameters(void* pData, int nSize);

    BYTE* m_pData;
    int m_nSize;
};

class CBASIS1_API CRecordType {
public:
    // m_szName empty.
    CRecordType(int nType);
    // m_szName = pszName cut to 51 characters (null reads as "").
    CRecordType(int nType, char* pszName);
    CRecordType(const CRecordType&) = default;
    CRecordType& operator=(const CRecordType&) = default;

    int m_nType;
    char m_szName[52];
};

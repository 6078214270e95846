// CByte: an owned byte buffer with its length. Each object owns its own
// buffer; copies duplicate it.
#pragma once

#include "platform/shared/Types.h"

class CBASIS1_API CByte {
public:
    CByte() { Init(); }
    CByte(unsigned char* pData, unsigned long nLength);
    CByte(const CByte& other);
    CByte& operator=(const CByte& other);
    ~CByte();

    // Forgets the buffer without releasing it (used on fresh objects only).
    void Init();
    // Replaces the contents with nLength bytes from pData. Loading from the
    // object's own buffer leaves it unchanged; a null pData with a non-zero
    // length loads zero bytes.
    void Load(unsigned char* pData, unsigned long nLength);
    void Load(CByte* pSource);
    void Empty();
    unsigned long GetLength() { return m_nLength; }

    unsigned char* m_pData;
    unsigned long m_nLength;
};

// CCfgFile: a fixed-size configuration record of 388 bytes (97 words) that
// saves itself, whole, to the file named inside it. The record is also the
// file's format.
#pragma once

#include "platform/shared/Types.h"

struct CBASIS1_API CCfgFile {
    alignas(4) BYTE m_byData[260];  // bytes 0 to 259: the host's configuration, written as it is
    char m_szPath[128];  // bytes 260 to 387: the file to save to, zero-terminated

    // Writes the 388 bytes to the file m_szPath names (replacing it), in
    // binary. 1 when the whole record was written; 0 when the file cannot be
    // opened or written, and when the path field holds no zero byte (it is
    // never read past the record).
    unsigned int Save();
};

static_assert(sizeof(CCfgFile) == 388 && alignof(CCfgFile) == 4);

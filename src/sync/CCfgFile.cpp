#include "sync/CCfgFile.h"

#include <cstdio>
#include <cstring>

#include "platform/crt/Stdio.h"

unsigned int CCfgFile::Save() {
    if (!std::memchr(m_szPath, 0, sizeof m_szPath)) return 0;
    FILE* file = crt::fopen(m_szPath, "wb");
    if (!file) return 0;
    // A short write (a full disk) is a failure, not a saved record.
    bool written = std::fwrite(this, sizeof *this, 1, file) == 1;
    bool closed = std::fclose(file) == 0;
    return written && closed;
}

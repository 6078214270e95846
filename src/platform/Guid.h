// GUIDs: CoCreateGuid draws 128 bits from the system's random source and
// marks them as a version 4 GUID.
#pragma once

#include "platform/Types.h"

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16);

// S_OK, or E_FAIL (leaving *pGuid unchanged) when no random bytes could be had.
PLATFORM_API HRESULT CoCreateGuid(GUID* pGuid);

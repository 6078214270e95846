// GUIDs: CoCreateGuid gives 128 random-looking bits marked as a version 4
// GUID, from a generator that the process (and every child of fork) seeds
// once from the system's random source: no system call a GUID after that.
#pragma once

#include "platform/shared/Types.h"

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16);

// S_OK, or E_FAIL (leaving *pGuid unchanged) when the generator could not be
// seeded (the next call tries again).
PLATFORM_API HRESULT CoCreateGuid(GUID* pGuid);

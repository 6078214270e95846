// The runtime's time functions, with per-thread result buffers.
#pragma once

#include <ctime>

#include "platform/shared/Types.h"

namespace crt {

PLATFORM_API time_t time(time_t* pTime);
// Null for a null argument or a time the system cannot convert.
PLATFORM_API struct tm* localtime(const time_t* pTime);
PLATFORM_API struct tm* gmtime(const time_t* pTime);
// The fixed 26-byte form with a zero-padded day, "Wed Dec 04 21:31:31 2026\n".
// Null (errno EINVAL) when a field lies outside its range or the year outside
// 0..9999, so the form never grows.
PLATFORM_API char* asctime(const struct tm* pTm);
// asctime of the local time.
PLATFORM_API char* ctime(const time_t* pTime);

}  // namespace crt

// What the framework declares for hosts but cannot do on this platform yet:
// such a member says so on stderr the first time it is called, then gives
// the original's failure result (docs/porting.md lists them).
#pragma once

#include "platform/shared/Types.h"

// Writes "<member>: not supported on this platform; <consequence>" to
// stderr, once per member for the process. consequence says what the call
// does instead ("it fails", "it does nothing").
PLATFORM_API void PlatformReportUnsupported(LPCSTR lpszMember, LPCSTR lpszConsequence = "it fails");
// How many times the member was called (0 when never): for tests.
PLATFORM_API int PlatformUnsupportedCalls(LPCSTR lpszMember);

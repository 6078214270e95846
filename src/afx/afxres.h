// The framework's standard command, indicator, window and string ids, for
// hosts' message maps and resource scripts (preprocessor definitions only,
// so a resource compiler reads it).
#pragma once
#ifndef __AFXRES_H__
#define __AFXRES_H__
#endif

// A resource script also gets the styles, keys and languages it names.
#ifdef RC_INVOKED
#include "winres.h"
#endif
#include "platform/mfc/StandardIds.h"

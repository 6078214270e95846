// The framework's standard command, indicator, window and string ids, for
// hosts' message maps and resource scripts.
#pragma once
#ifndef __AFXRES_H__
#define __AFXRES_H__
#endif

#include "platform/mfc/StandardIds.h"

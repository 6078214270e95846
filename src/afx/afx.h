// The framework's base header for hosts: objects and runtime classes,
// diagnostics, exceptions, strings, files, archives, the named collections
// and times, with the text macros the original's 8-bit builds use.
#pragma once
#ifndef __AFX_H__
#define __AFX_H__
#endif

#include "platform/atl/Geometry.h"
#include "platform/atl/Strings.h"
#include "platform/crt/Crt.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/Profile.h"
#include "platform/mfc/Archive.h"
#include "platform/mfc/Collections.h"
#include "platform/mfc/Debug.h"
#include "platform/mfc/Exceptions.h"
#include "platform/mfc/Files.h"
#include "platform/mfc/MemFile.h"
#include "platform/mfc/Objects.h"
#include "platform/mfc/Time.h"
#include "platform/shared/Types.h"

// Text is 8-bit: a literal stays as it is.
#ifndef _T
#define _T(x) x
#endif
#ifndef _TEXT
#define _TEXT(x) x
#endif
#ifndef TEXT
#define TEXT(x) x
#endif

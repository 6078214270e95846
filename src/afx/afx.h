// The framework's base header for hosts: objects and runtime classes,
// diagnostics, exceptions, strings, files, archives, the named collections
// and times, with the text macros the original's 8-bit builds use.
#pragma once
#ifndef __AFX_H__
#define __AFX_H__
#endif

#include <type_traits>

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

// The runtime's extras under the global names hosts call them by (the
// library itself keeps them in namespace crt, clear of the C library).
using crt::_ftol;
using crt::_itoa;
using crt::_itoa_s;
using crt::_ltoa;
using crt::_makepath;
using crt::_makepath_s;
using crt::_splitpath;
using crt::_splitpath_s;
using crt::_stricmp;
using crt::_strlwr;
using crt::_strnicmp;
using crt::_strupr;
using crt::_ultoa;

// The original's min and max, as templates rather than its macros so the
// standard headers still build after this one; a host that defines
// NOMINMAX goes without them, as there.
#ifndef NOMINMAX
template <class A, class B>
constexpr std::common_type_t<A, B> min(A a, B b) {
    return b < a ? b : a;
}
template <class A, class B>
constexpr std::common_type_t<A, B> max(A a, B b) {
    return a < b ? b : a;
}
#endif

// Names a parameter a function leaves unused (UNUSED only in release
// builds, where the debug code that used it is gone).
#ifdef _DEBUG
#define UNUSED(x)
#else
#define UNUSED(x) static_cast<void>(x)
#endif
#define UNUSED_ALWAYS(x) static_cast<void>(x)

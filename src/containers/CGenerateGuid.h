// CGenerateGuid: a fresh GUID as a 36-character upper-case string with
// underscores ("1B4E28BA_2FA1_11D2_883F_0016D3CCA427"), safe inside
// kernel-object names and program identifiers.
#pragma once

#include "platform/atl/Strings.h"

class CBASIS1_API CGenerateGuid {
public:
    // Replaces the contents of result with a new GUID string. Should the
    // platform fail to make a GUID, the all-zero GUID is formatted instead.
    explicit CGenerateGuid(CString& result);
    CGenerateGuid& operator=(const CGenerateGuid&) { return *this; }
};

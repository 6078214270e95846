// Reading DLGTEMPLATE and DLGTEMPLATEEX bytes into a dialog's description.
//
// Both layouts are the original's: little-endian fields, names and texts as
// a 0x0000 word (none), 0xFFFF and an ordinal word, or a zero-terminated
// UTF-16 string (kept here in UTF-8, the platform's code page), each item on
// a DWORD boundary counted from the template's start. Every read is checked
// against the size given, so a short or hostile template is refused whole.
#pragma once

#include <string>
#include <vector>

#include "platform/shared/Types.h"

namespace platform {

// A name or a text that may be an ordinal instead.
struct DialogName {
    WORD ordinal = 0;  // non-zero: the name is this number
    std::string text;  // UTF-8 otherwise; empty for none
};

struct DialogItemTemplate {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    DialogName className;  // ordinals 0x0080..0x0085 name the predefined classes
    DialogName title;      // an ordinal names a resource (a static's icon)
    std::vector<BYTE> creationData;
};

struct DialogTemplate {
    bool extended = false;  // DLGTEMPLATEEX
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DialogName menu;
    DialogName className;
    std::string title;
    // With DS_SETFONT (DS_SHELLFONT for the extended layout).
    WORD pointSize = 0;
    WORD weight = 0;
    bool italic = false;
    BYTE charset = 0;
    std::string face;
    std::vector<DialogItemTemplate> items;
};

// False, leaving *pOut unspecified, when the bytes are not a whole template.
PLATFORM_API bool ParseDialogTemplate(const void* pData, size_t cbData, DialogTemplate* pOut);

// The class name of a predefined control ordinal ("Button", ...); null for
// any other ordinal.
PLATFORM_API const char* DialogClassFromOrdinal(WORD ordinal);

}  // namespace platform

// String tables: the strings of a module's STRINGTABLE resources.
//
// A table is stored in blocks of 16 strings: string n is entry n % 16 of the
// RT_STRING resource numbered n / 16 + 1, each entry a 16-bit length and that
// many UTF-16 units. Strings come back in the code page (UTF-8). An empty
// entry is no string, as on the original.
#pragma once

#include <string>

#include "platform/kernel/Resources.h"

// Copies string uID of the module (null: the program) into lpBuffer, cut to
// cchBufferMax - 1 bytes at a character boundary and terminated. Returns the
// bytes copied; 0 when there is no such string, with the last error
// ERROR_RESOURCE_NAME_NOT_FOUND (or the reason FindResourceA gave). The
// original writes a pointer into lpBuffer when cchBufferMax is 0, which
// does not fit in an 8-bit buffer it was not sized for; here that, a null
// buffer and a negative size are refused with ERROR_INVALID_PARAMETER and
// nothing is written.
PLATFORM_API int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);

namespace platform {
// String uID of the module, whole; false when there is none.
PLATFORM_API bool LoadStringResource(HINSTANCE hInstance, UINT uID, std::string& text);
}  // namespace platform

// The platform's 8-bit code page and its conversion to the desktop's UTF-8.
//
// Texts (CString, window texts, file names, the clipboard's CF_TEXT) are
// bytes in the code page, which is UTF-8 (GetACP answers CP_UTF8, as the
// original does when a program asks for UTF-8 as its code page): Linux file
// names and the desktop are UTF-8, so a name or a text taken from them
// passes unchanged, both ways.
//
// Texts written for the original (and files it wrote) may hold bytes that
// are not UTF-8: its Western code page, Windows-1252, writes "é" as the one
// byte 0xE9. Where a text leaves for the desktop (the screen, a window's
// title, the clipboard, a dialog), every byte that is not part of a valid
// UTF-8 sequence is taken as its Windows-1252 character, so "caf\xE9"
// reaches the desktop as "café". The five bytes that code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of
// the same numbers, as the original's own conversion makes them. Valid
// UTF-8 is a sequence of the shortest form for a code point up to U+10FFFF
// that is not a surrogate.
#pragma once

#include <string>
#include <string_view>

#include "platform/shared/Types.h"

#define CP_ACP 0
#define CP_UTF8 65001

// CP_UTF8.
PLATFORM_API UINT GetACP();

// The text in UTF-8 (see above); a zero byte passes like any other.
PLATFORM_API std::string PlatformToUtf8(std::string_view text);
// The length of the valid UTF-8 sequence at text[0], or 0 when the byte
// there starts none (an ASCII byte is a sequence of 1).
PLATFORM_API size_t PlatformUtf8SequenceLength(std::string_view text);

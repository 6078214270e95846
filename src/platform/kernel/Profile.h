// ---- Private profiles: INI files by name ----------------------------------
//
// The Win32 private-profile functions, which CWinApp's profile calls too.
// Sections and entries are matched without regard to case; lines are
// written with CR LF and read with either line end; lines the profile does
// not understand are kept as they are. Every write rewrites the whole file
// through a temporary file in the same directory that is renamed over it,
// so the file is always either the old or the new one, never half written;
// missing directories above it are created first. A file name is a POSIX
// path or a library path.
#pragma once

#include "platform/atl/Strings.h"

// Copies the entry's value (or lpDefault when there is none) into the
// buffer, cut to nSize - 1 characters; returns the characters copied.
PLATFORM_API DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                                            LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);
// The entry's value as a decimal integer, clamped to the range of int;
// nDefault when there is none or it does not start with a number.
PLATFORM_API UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, int nDefault, LPCSTR lpFileName);
// Sets the entry to lpString; a null lpString removes the entry, a null
// lpKeyName the whole section. FALSE, with the last error set, when the
// file cannot be written or a name holds a line end.
PLATFORM_API BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                             LPCSTR lpFileName);

// The entry's value into value: TRUE when the entry exists.
PLATFORM_API BOOL PlatformGetProfileValue(LPCSTR lpFileName, LPCSTR lpAppName, LPCSTR lpKeyName, CString& value);
// The default profile of an application: $XDG_CONFIG_HOME/<folder>/<app>.ini
// ($HOME/.config when XDG_CONFIG_HOME is unset or not absolute), the folder
// being the application's name unless given (a registry key). In both
// names '/' is made '_', and "." or ".." becomes "_", so neither leaves
// the configuration folder.
PLATFORM_API CString PlatformDefaultProfile(LPCSTR lpAppName, LPCSTR lpFolder = nullptr);

// ---- Private profiles: INI files by name ----------------------------------
//
// The Win32 private-profile functions, which CWinApp's profile calls too.
// Sections and entries are matched without regard to case; lines are
// written with CR LF and read with either line end; lines the profile does
// not understand are kept as they are. A file name is a POSIX path or a
// library path.
//
// Only a regular file of at most kMaxProfileSize bytes is a profile: a
// FIFO, device or directory in its place is refused without waiting on it
// (ERROR_ACCESS_DENIED), a larger file with ERROR_FILE_TOO_LARGE; reads then
// give the default, writes FALSE, and the file is left alone.
//
// Every write is a read-modify-write under a lock that writers in every
// process take (flock on the directory that holds the profile's file, which
// stays while the file is replaced), ending in an atomic replace: the
// whole file is written to a
// temporary file in the same directory, flushed to the disk and renamed
// over the profile, so the file is always either the old or the new one and
// two processes writing keys at once lose none. A profile that is a
// symbolic link is updated where the link points (the temporary file lies
// beside that target) and the link stays. Missing directories above it are
// created first. Readers take no lock: they see the old file or the new.
#pragma once
#pragma once

#include "platform/atl/Strings.h"

// The largest profile read or written, in bytes.
constexpr long kMaxProfileSize = 1L << 20;
// How long a write waits for another writer's lock before it fails with
// ERROR_SHARING_VIOLATION, in milliseconds.
constexpr int kProfileLockWaitMs = 10000;

// Copies the entry's value (or lpDefault when there is none) into the
// buffer, cut to nSize - 1 characters; returns the characters copied.
PLATFORM_API DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                                            LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);
// The entry's value as a decimal integer, clamped to the range of int;
// nDefault when there is none or it does not start with a number.
PLATFORM_API UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, int nDefault, LPCSTR lpFileName);
// Sets the entry to lpString; a null lpString removes the entry, a null
// lpKeyName the whole section. FALSE, with the last error set, when the
// file cannot be written (it is then unchanged) or a name holds a line end.
PLATFORM_API BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                             LPCSTR lpFileName);

// The entry's value into value: TRUE when the entry exists. FALSE with the
// last error set when the file exists but cannot be read as a profile.
PLATFORM_API BOOL PlatformGetProfileValue(LPCSTR lpFileName, LPCSTR lpAppName, LPCSTR lpKeyName, CString& value);
// The default profile of an application: $XDG_CONFIG_HOME/<folder>/<app>.ini
// ($HOME/.config when XDG_CONFIG_HOME is unset or not absolute), the folder
// being the application's name unless given (a registry key). In both
// names '/' is made '_', and "." or ".." becomes "_", so neither leaves
// the configuration folder.
PLATFORM_API CString PlatformDefaultProfile(LPCSTR lpAppName, LPCSTR lpFolder = nullptr);

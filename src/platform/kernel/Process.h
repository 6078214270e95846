// Processes: CreateProcessA and the original runtime's command-line split.
//
// A program is started with posix_spawnp, never through a shell, and is not
// waited for. Its arguments are the command line split by the rules a
// program built with the original runtime applies to its own command line
// (PlatformSplitCommandLine), so a command line written for the original
// platform reaches the program as the same argument list.
#pragma once

#include <string>
#include <vector>

#include "platform/atl/Strings.h"
#include "platform/kernel/Handles.h"

struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

// Only cb is looked at (it must be at least the structure's size); there is
// no window to place or title, so the other fields are kept for source
// compatibility and ignored.
struct STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwFlags;
    WORD wShowWindow;
};
typedef STARTUPINFOA* LPSTARTUPINFOA;

struct PROCESS_INFORMATION {
    HANDLE hProcess;   // close with CloseHandle
    HANDLE hThread;    // the process's first thread; close with CloseHandle
    DWORD dwProcessId; // the POSIX process id
    DWORD dwThreadId;  // the same id: a POSIX process has no separate first thread
};
typedef PROCESS_INFORMATION* LPPROCESS_INFORMATION;

// Splits a command line the way the original runtime builds argv:
//   - the program name (first argument) ends at the first space or tab
//     outside double quotes; its quotes are dropped and its backslashes kept;
//   - further arguments are separated by spaces and tabs outside quotes; a
//     double quote starts or ends a quoted part and is dropped; inside a
//     quoted part, "" gives one literal quote;
//   - 2n backslashes before a quote give n backslashes and the quote acts as
//     above; 2n+1 backslashes before a quote give n backslashes and a literal
//     quote; backslashes anywhere else are literal.
// A null or blank command line gives no arguments.
PLATFORM_API std::vector<std::string> PlatformSplitCommandLine(LPCSTR lpCommandLine);

// Starts a program. Its path is lpApplicationName when given, else the first
// argument of lpCommandLine; a path with a backslash, slash or drive is a
// library path translated through the drive table, and a bare name is looked
// for along PATH. The child gets the split command line (the translated path
// as its first argument), lpEnvironment ("NAME=value" strings, each ended by
// a zero, the block by another zero; null: the caller's environment) and
// lpCurrentDirectory (null: the caller's). Without bInheritHandles the child
// gets only the standard streams; creation flags are accepted and ignored.
// On success fills *lpProcessInformation with two new handles and returns
// TRUE; the caller closes both. A started program is never waited for: it is
// reaped once it has ended and its handles are closed. FALSE with the last
// error set when the program cannot be started (ERROR_FILE_NOT_FOUND when
// it is missing, ERROR_INVALID_PARAMETER for an empty command line).
PLATFORM_API BOOL CreateProcessA(LPCSTR lpApplicationName, LPSTR lpCommandLine,
                                 LPSECURITY_ATTRIBUTES lpProcessAttributes,
                                 LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles,
                                 DWORD dwCreationFlags, LPVOID lpEnvironment, LPCSTR lpCurrentDirectory,
                                 LPSTARTUPINFOA lpStartupInfo, LPPROCESS_INFORMATION lpProcessInformation);

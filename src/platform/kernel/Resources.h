// A module's resources: the compiled resource script linked into a program
// or shared object (cbasis1_add_resources), found by the module's handle.
//
// The code the build generates for a module registers its compiled blob when
// the module loads and withdraws it when the module unloads, so each module
// (the program, each plugin) answers with its own resources and a module
// linked without a script has none. A blob that fails its checks is refused
// as a whole, with a message on stderr naming the module.
//
// Names and types are numbers (MAKEINTRESOURCE(n), or the text "#n") or
// texts, which compare case-insensitively (ASCII letters). A handle from
// FindResourceA stays valid while its module is loaded.
#pragma once

#include "platform/kernel/GlobalMemory.h"

typedef struct HRSRC__* HRSRC;

#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define MAKEINTRESOURCE(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCEA MAKEINTRESOURCE

#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_MENU MAKEINTRESOURCE(4)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_FONTDIR MAKEINTRESOURCE(7)
#define RT_FONT MAKEINTRESOURCE(8)
#define RT_ACCELERATOR MAKEINTRESOURCE(9)
#define RT_RCDATA MAKEINTRESOURCE(10)
#define RT_MESSAGETABLE MAKEINTRESOURCE(11)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)
#define RT_VERSION MAKEINTRESOURCE(16)
#define RT_DLGINCLUDE MAKEINTRESOURCE(17)
#define RT_ANICURSOR MAKEINTRESOURCE(21)
#define RT_ANIICON MAKEINTRESOURCE(22)
#define RT_HTML MAKEINTRESOURCE(23)
#define RT_MANIFEST MAKEINTRESOURCE(24)
// The class library's toolbar layout (TOOLBAR in a script).
#define RT_TOOLBAR MAKEINTRESOURCE(241)

#define MAKELANGID(p, s) ((((WORD)(s)) << 10) | (WORD)(p))
#define PRIMARYLANGID(lgid) ((WORD)(lgid)&0x3ff)
#define SUBLANGID(lgid) ((WORD)(lgid) >> 10)
#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_ENGLISH_US 0x01

#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
#define ERROR_RESOURCE_LANG_NOT_FOUND 1815L

// The resource of that name and type in the module (null: the program).
// FindResourceA prefers the neutral language, then US English, then any;
// FindResourceExA prefers wLanguage, then its primary language with any
// sublanguage, then the same order. Null when there is none, with the last
// error ERROR_RESOURCE_DATA_NOT_FOUND (the module has no resources),
// ERROR_RESOURCE_TYPE_NOT_FOUND or ERROR_RESOURCE_NAME_NOT_FOUND.
PLATFORM_API HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
PLATFORM_API HRSRC FindResourceExA(HMODULE hModule, LPCSTR lpType, LPCSTR lpName, WORD wLanguage);
// The resource's data, read-only, valid while the module is loaded (the
// handle is its address, as LockResource gives it). Null, with the last
// error ERROR_INVALID_HANDLE, for a handle not found in that module.
PLATFORM_API HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
PLATFORM_API LPVOID LockResource(HGLOBAL hResData);
// The data's size in bytes; 0 for a handle not found in that module.
PLATFORM_API DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
// Resources are never freed while their module is loaded: FALSE, as the
// original answers.
PLATFORM_API BOOL FreeResource(HGLOBAL hResData);

// Called by the code generated for a module: registers (or withdraws) the
// compiled blob at data under the handle of the module holding data.
PLATFORM_API void PlatformAddModuleResources(const void* data, size_t size);
PLATFORM_API void PlatformRemoveModuleResources(const void* data);

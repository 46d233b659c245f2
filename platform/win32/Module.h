// Modules and their resources: the program and each library of the suite is a
// module with a handle, a file name and the resources embedded into it at build time.
#pragma once

#include "Win32Types.h"

// Predefined resource types, carried as integer identifiers.
#define RT_CURSOR MAKEINTRESOURCEA(1)
#define RT_BITMAP MAKEINTRESOURCEA(2)
#define RT_ICON MAKEINTRESOURCEA(3)
#define RT_MENU MAKEINTRESOURCEA(4)
#define RT_DIALOG MAKEINTRESOURCEA(5)
#define RT_STRING MAKEINTRESOURCEA(6)
#define RT_RCDATA MAKEINTRESOURCEA(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEA(12)

// The program's module for a null name; otherwise the library registered under
// that name, compared without case, folder, "lib" prefix or extension
// ("containers", "libcontainers.so"). Null when no such module is loaded.
HMODULE GetModuleHandleA(LPCSTR moduleName);

// Full path of the module's file (the program's for a null module). Copies at
// most size-1 characters and a terminating zero; returns the characters copied,
// or size when the path was cut, or 0 for an unknown module.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

// Finds a resource by name and type, either of which may be an integer
// identifier or a string ("#12" equals identifier 12); names and types match
// without regard to case. A null module searches the program first and then
// every loaded library in load order, so a library's own resources stay
// reachable when the host program lacks them. Null when nothing matches.
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);

// The resource's data handle; null for a null resource.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);

// Pointer to the resource's bytes, which stay valid while the module is loaded
// and must not be written; null for a null handle.
LPVOID LockResource(HGLOBAL resourceData);

// Size of the resource in bytes; 0 for a null resource.
DWORD SizeofResource(HMODULE module, HRSRC resource);

// Resources need no freeing; always FALSE, as on the original platform.
BOOL FreeResource(HGLOBAL resourceData);

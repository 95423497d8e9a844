// Run-time loading of libraries: LoadLibrary/GetProcAddress/FreeLibrary over dlopen, and modules
// that live inside the process (registered by name, e.g. by tests or by the platform itself for
// a system library that has no file on this system).
#pragma once

#include <string>

#include "Types.h"

typedef INT_PTR (*FARPROC)();
typedef FARPROC (*PlatformModuleLookup)(const char* symbol);

// A registered module is found first, by its file name without folder, case and a ".dll" ending
// ("comctl32.dll", "COMCTL32", "C:\x\ComCtl32.DLL" are one module). Otherwise the library is
// opened with dlopen: the name as given, then beside the program, and for "name.dll" also
// "libname.so" and "name.so". Each successful load needs one FreeLibrary.
PLATFORM_API HMODULE LoadLibraryA(LPCSTR name);
#define LoadLibrary LoadLibraryA
PLATFORM_API FARPROC GetProcAddress(HMODULE module, LPCSTR symbol);
PLATFORM_API BOOL FreeLibrary(HMODULE module);
// A module already loaded (no reference taken); null is the program itself.
PLATFORM_API HMODULE GetModuleHandleA(LPCSTR name);
#define GetModuleHandle GetModuleHandleA

// Registers (or, with a null lookup, removes) an in-process module. Handles already handed out
// for it keep working until freed.
PLATFORM_API void PlatformRegisterModule(const char* name, PlatformModuleLookup lookup);

// The file of a loaded module, the program's for the program's handle; empty when it has none.
PLATFORM_API std::string PlatformModulePath(HMODULE module);

// "comctl32.dll" as a module of the process: the program asks it for its
// version (DllGetVersion) before it decides how to paint, and may look up the
// initialisation calls by name.

#include <cstring>

#include "CommCtrl.h"
#include "Module.h"

namespace {

struct DLLVERSIONINFO {
  DWORD cbSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformID;
};

// The controls here behave as those of version 6.0 of the library (sub-item
// hit tests, header layout), so that is the version reported.
int32_t DllGetVersion(DLLVERSIONINFO* info) {
  if (!info || info->cbSize < sizeof(DLLVERSIONINFO)) return static_cast<int32_t>(0x80070057L);  // E_INVALIDARG
  info->dwMajorVersion = 6;
  info->dwMinorVersion = 0;
  info->dwBuildNumber = 2600;
  info->dwPlatformID = 2;  // DLLVER_PLATFORM_NT
  return 0;
}

BOOL InitCommonControlsAll() {
  PlatformRegisterCommonControls();
  return TRUE;
}
BOOL InitCommonControlsExAll(const INITCOMMONCONTROLSEX*) { return InitCommonControlsAll(); }

// Exports are handed out as FARPROC and cast back by the caller.
template <typename F>
FARPROC Export(F* f) {
  // Through void (*)(), which converts to and from any function pointer type.
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(f));
}

FARPROC Lookup(const char* symbol) {
  if (!symbol) return nullptr;
  if (strcmp(symbol, "DllGetVersion") == 0) return Export(&DllGetVersion);
  if (strcmp(symbol, "InitCommonControls") == 0) return Export(&InitCommonControlsAll);
  if (strcmp(symbol, "InitCommonControlsEx") == 0) return Export(&InitCommonControlsExAll);
  return nullptr;
}

struct Registrar {
  Registrar() { PlatformRegisterModule("comctl32", Lookup); }
} registrar;

}  // namespace

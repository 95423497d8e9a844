#include "CUxTheme.h"

#include <cwctype>

namespace {

enum Slot {
#define CUXTHEME_SLOT(name, Result, failure, params, args) kSlot##name,
  CUXTHEME_FUNCTIONS(CUXTHEME_SLOT)
#undef CUXTHEME_SLOT
      kSlotSetThemeAppProperties,
  kSlotCount
};

FARPROC gProcs[kSlotCount];

// -1: not decided yet; then the first answer, kept so that the look never
// changes while the program runs.
int gDrawThemed = -1;

struct DllVersionInfo {
  DWORD cbSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformID;
};
static_assert(sizeof(DllVersionInfo) == 20, "the version record is 20 bytes");
typedef int32_t (*DllGetVersionProc)(DllVersionInfo*);

DllVersionInfo CommonControlsVersion() {
  DllVersionInfo info{};
  info.cbSize = sizeof info;
  HMODULE comctl = LoadLibraryA("comctl32.dll");
  if (!comctl) return DllVersionInfo{};
  auto proc = reinterpret_cast<DllGetVersionProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(comctl, "DllGetVersion")));
  if (proc)
    proc(&info);
  else
    info = DllVersionInfo{};
  FreeLibrary(comctl);
  return info;
}

bool SameIgnoringCase(const WCHAR* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (std::towlower(static_cast<wint_t>(*a)) != std::towlower(static_cast<wint_t>(static_cast<unsigned char>(*b))))
      return false;
  }
  return *a == 0 && *b == 0;
}

}  // namespace

CUxTheme gUxTheme;

CUxTheme::CUxTheme() : m_hThemeDll(LoadLibraryA("UxTheme.dll")) {}

CUxTheme::~CUxTheme() {
  if (m_hThemeDll) FreeLibrary(m_hThemeDll);
  m_hThemeDll = nullptr;
}

FARPROC CUxTheme::Resolve(int slot, const char* name) {
  if (!m_hThemeDll) return nullptr;
  if (!gProcs[slot]) gProcs[slot] = GetProcAddress(m_hThemeDll, name);
  return gProcs[slot];
}

#define CUXTHEME_DEFINE(name, Result, failure, params, args)                                      \
  Result CUxTheme::name params {                                                                  \
    typedef Result(*Proc) params;                                                                 \
    FARPROC proc = Resolve(kSlot##name, #name);                                                   \
    if (!proc) return failure;                                                                    \
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(proc)) args;                       \
  }
CUXTHEME_FUNCTIONS(CUXTHEME_DEFINE)
#undef CUXTHEME_DEFINE

void CUxTheme::SetThemeAppProperties(DWORD flags) {
  typedef void (*Proc)(DWORD);
  FARPROC proc = Resolve(kSlotSetThemeAppProperties, "SetThemeAppProperties");
  if (proc) reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(proc))(flags);
}

BOOL CUxTheme::ShouldDrawThemed() {
  if (gDrawThemed != -1) return gDrawThemed;
  gDrawThemed = 0;
  DllVersionInfo version = CommonControlsVersion();
  // Only the common controls of version 6.0 draw the themed look the
  // controls copy; later and earlier ones stay classic.
  if (version.dwMajorVersion != 6 || version.dwMinorVersion != 0) return gDrawThemed;
  WCHAR file[255] = {0}, colour[255] = {0};
  if (GetCurrentThemeName(file, 255, colour, 255, nullptr, 0) != S_OK) return gDrawThemed;
  if (!SameIgnoringCase(colour, "normalcolor") && !SameIgnoringCase(colour, "homestead") &&
      !SameIgnoringCase(colour, "metallic"))
    return gDrawThemed;
  gDrawThemed = IsAppThemed() && m_hThemeDll ? 1 : 0;
  return gDrawThemed;
}

void CUxTheme::ReloadForTest() {
  if (m_hThemeDll) FreeLibrary(m_hThemeDll);
  m_hThemeDll = LoadLibraryA("UxTheme.dll");
  for (FARPROC& proc : gProcs) proc = nullptr;
  gDrawThemed = -1;
}

// The visual-styles library as the program finds it at run time: loaded by
// "UxTheme.dll" from beside the program, or missing (a module without the
// functions), and the common-controls version the themed-drawing rule reads.

#include <gtest/gtest.h>

#include "CommCtrl.h"
#include "Gdi.h"
#include "Module.h"

namespace {

typedef HANDLE(CALLBACK* OpenThemeDataFn)(HWND, const wchar_t*);
typedef BOOL(CALLBACK* BoolFn)();
typedef int32_t(CALLBACK* ThemeNameFn)(wchar_t*, int, wchar_t*, int, wchar_t*, int);
typedef COLORREF(CALLBACK* SysColorFn)(HANDLE, int);
typedef int32_t(CALLBACK* GetVersionFn)(void*);

template <typename F>
F Proc(HMODULE m, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(m, name)));
}

TEST(CcUxTheme, TheLibraryBesideTheProgramOffersNoThemeSoControlsPaintClassically) {
  HMODULE ux = LoadLibraryA("UxTheme.dll");
  ASSERT_NE(nullptr, ux);
  auto open = Proc<OpenThemeDataFn>(ux, "OpenThemeData");
  auto active = Proc<BoolFn>(ux, "IsThemeActive");
  auto themed = Proc<BoolFn>(ux, "IsAppThemed");
  auto name = Proc<ThemeNameFn>(ux, "GetCurrentThemeName");
  auto sysColor = Proc<SysColorFn>(ux, "GetThemeSysColor");
  ASSERT_TRUE(open && active && themed && name && sysColor);
  EXPECT_EQ(nullptr, open(nullptr, L"COMBOBOX"));
  EXPECT_FALSE(active());
  EXPECT_FALSE(themed());
  wchar_t file[255], color[255];
  EXPECT_NE(0, name(file, 255, color, 255, nullptr, 0));  // no theme: a failure, empty names
  EXPECT_EQ(L'\0', color[0]);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), sysColor(nullptr, COLOR_BTNFACE));
  for (const char* fn : {"DrawThemeBackground", "GetThemeColor", "CloseThemeData", "SetThemeAppProperties",
                         "GetThemeSysColorBrush", "EnableTheming", "DrawThemeParentBackground"})
    EXPECT_NE(nullptr, GetProcAddress(ux, fn)) << fn;
  EXPECT_TRUE(FreeLibrary(ux));
}

FARPROC NothingExported(const char*) { return nullptr; }

TEST(CcUxTheme, WithoutTheFunctionsTheLoaderAnswersNothing) {
  // A system whose visual-styles library lacks what the program asks for.
  PlatformRegisterModule("UxTheme", &NothingExported);
  HMODULE ux = LoadLibraryA("UxTheme.dll");
  EXPECT_EQ(nullptr, GetProcAddress(ux, "OpenThemeData"));
  EXPECT_EQ(nullptr, GetProcAddress(ux, "IsAppThemed"));
  if (ux) FreeLibrary(ux);
  PlatformRegisterModule("UxTheme", nullptr);
  // The file beside the program is found again afterwards.
  HMODULE again = LoadLibraryA("UxTheme.dll");
  ASSERT_NE(nullptr, again);
  EXPECT_NE(nullptr, GetProcAddress(again, "OpenThemeData"));
  FreeLibrary(again);
}

TEST(CcUxTheme, CommonControlsReportVersionSixZero) {
  struct {
    DWORD cbSize, major, minor, build, platform;
  } v{};
  v.cbSize = sizeof(v);
  HMODULE cc = LoadLibraryA("comctl32.dll");
  ASSERT_NE(nullptr, cc);
  auto get = Proc<GetVersionFn>(cc, "DllGetVersion");
  ASSERT_NE(nullptr, get);
  EXPECT_EQ(0, get(&v));
  EXPECT_EQ(6u, v.major);
  EXPECT_EQ(0u, v.minor);
  v.cbSize = 4;  // a record too small is refused
  EXPECT_NE(0, get(&v));
  FreeLibrary(cc);
}

}  // namespace

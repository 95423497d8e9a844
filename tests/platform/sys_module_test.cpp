#include <gtest/gtest.h>

#include <string>

#include "Files.h"
#include "LastError.h"
#include "Module.h"

namespace {

INT_PTR ReportVersion() { return 600; }

FARPROC LookUpCommonControls(const char* symbol) {
  return std::string(symbol) == "DllGetVersion" ? reinterpret_cast<FARPROC>(ReportVersion) : nullptr;
}

INT_PTR ReportNewerVersion() { return 610; }
FARPROC LookUpNewerCommonControls(const char* symbol) {
  return std::string(symbol) == "DllGetVersion" ? reinterpret_cast<FARPROC>(ReportNewerVersion) : nullptr;
}

}  // namespace

TEST(SysModule, RegisteredModulesAreFoundByAnySpellingOfTheirName) {
  PlatformRegisterModule("comctl32.dll", LookUpCommonControls);
  for (const char* name : {"comctl32.dll", "COMCTL32.DLL", "ComCtl32", "C:\\Windows\\System32\\comctl32.dll"}) {
    SCOPED_TRACE(name);
    HMODULE module = LoadLibraryA(name);
    ASSERT_NE(module, nullptr);
    FARPROC version = GetProcAddress(module, "DllGetVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), 600);
    EXPECT_EQ(GetProcAddress(module, "DllInstall"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetModuleHandle("comctl32.dll"), module);
    EXPECT_TRUE(FreeLibrary(module));
  }
  EXPECT_EQ(GetModuleHandle("comctl32.dll"), nullptr) << "freed as often as loaded";
  PlatformRegisterModule("comctl32.dll", nullptr);
  EXPECT_EQ(LoadLibraryA("comctl32.dll"), nullptr);
}

// A test swaps a module for another of the same name while a handle to the
// first is still held: new loads get the new one, the old handle the old one.
TEST(SysModule, RegisteringAnewGivesNewLoadsTheNewModule) {
  PlatformRegisterModule("fakemod", LookUpCommonControls);
  HMODULE first = LoadLibraryA("fakemod.dll");
  PlatformRegisterModule("fakemod", LookUpNewerCommonControls);
  HMODULE second = LoadLibraryA("fakemod.dll");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(GetProcAddress(first, "DllGetVersion")(), 600);
  EXPECT_EQ(GetProcAddress(second, "DllGetVersion")(), 610);
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_TRUE(FreeLibrary(second));
  PlatformRegisterModule("fakemod", nullptr);
}

TEST(SysModule, LibrariesOpenThroughTheSystemLoader) {
  EXPECT_EQ(LoadLibraryA("NoSuchLibrary.dll"), nullptr) << "a library that is nowhere";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

  HMODULE first = LoadLibraryA("platform.dll");  // libplatform.so beside the program
  ASSERT_NE(first, nullptr);
  HMODULE second = LoadLibraryA("platform.dll");
  EXPECT_EQ(first, second);
  EXPECT_NE(GetProcAddress(first, "_Z12GetTickCountv"), nullptr) << "symbols by their linker names";
  char path[512];
  DWORD length = GetModuleFileName(first, path, sizeof path);
  ASSERT_GT(length, 0u);
  EXPECT_NE(std::string(path).find("/libplatform.so"), std::string::npos) << path;
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_FALSE(FreeLibrary(second));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  HMODULE math = LoadLibraryA("libm.so.6");
  ASSERT_NE(math, nullptr);
  auto cosine = reinterpret_cast<double (*)(double)>(reinterpret_cast<void (*)()>(GetProcAddress(math, "cos")));
  ASSERT_NE(cosine, nullptr);
  EXPECT_EQ(cosine(0.0), 1.0);
  EXPECT_TRUE(FreeLibrary(math));
}

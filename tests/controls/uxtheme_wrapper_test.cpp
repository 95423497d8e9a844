// The visual-styles wrapper over fake "uxtheme" and "comctl32" modules: the
// failure values when functions are missing, the themed-drawing rule, and the
// combo box painting through a theme that draws known colours.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "CComboDropWnd.h"
#include "CDrawnComboBox.h"
#include "CUxTheme.h"
#include "CommCtrl.h"
#include "Module.h"
#include "TestKit.h"

namespace {

template <typename F>
FARPROC Export(F* f) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(f));
}

// ---- the fake common-controls library, of a version the test chooses

struct VersionRecord {
  DWORD cbSize, dwMajorVersion, dwMinorVersion, dwBuildNumber, dwPlatformID;
};
DWORD gMajor = 6, gMinor = 0;
int32_t FakeDllGetVersion(VersionRecord* v) {
  if (!v || v->cbSize != 20) return E_INVALIDARG;
  v->dwMajorVersion = gMajor;
  v->dwMinorVersion = gMinor;
  return S_OK;
}
FARPROC FakeComctl(const char* symbol) {
  return std::strcmp(symbol, "DllGetVersion") == 0 ? Export(&FakeDllGetVersion) : nullptr;
}

// The platform's own comctl32, put back after each test.
FARPROC gRealVersion, gRealInit, gRealInitEx;
FARPROC RealComctl(const char* symbol) {
  if (std::strcmp(symbol, "DllGetVersion") == 0) return gRealVersion;
  if (std::strcmp(symbol, "InitCommonControls") == 0) return gRealInit;
  if (std::strcmp(symbol, "InitCommonControlsEx") == 0) return gRealInitEx;
  return nullptr;
}

// ---- the fake visual-styles library with the theme "NormalColor"

const COLORREF kBorder = RGB(0, 0, 200);
const COLORREF kDisabledFill = RGB(0, 160, 0);
const COLORREF kButton = RGB(255, 0, 255);
const COLORREF kGrip = RGB(255, 128, 0);
std::wstring gColourName = L"NormalColor";
HRESULT gThemeNameResult = S_OK;
BOOL gAppThemed = TRUE;
int gAppThemedCalls = 0;
HTHEME const kTheme = reinterpret_cast<HTHEME>(0x7e);

HTHEME FakeOpen(HWND, LPCWSTR) { return kTheme; }
HRESULT FakeClose(HTHEME) { return S_OK; }
HRESULT FakeColor(HTHEME, int, int, int prop, COLORREF* c) {
  *c = prop == 3801 ? kBorder : kDisabledFill;
  return S_OK;
}
// Parts of "COMBOBOX" fill with kButton; the grip parts of "SCROLLBAR" with kGrip.
int gLastButtonState = 0;
HRESULT FakeDraw(HTHEME, HDC dc, int part, int state, const RECT* rc, const RECT*) {
  if (part == 1) gLastButtonState = state;
  HBRUSH b = CreateSolidBrush(part == 1 ? kButton : kGrip);
  FillRect(dc, rc, b);
  DeleteObject(b);
  return S_OK;
}
HRESULT FakeThemeName(LPWSTR file, int fileSize, LPWSTR colour, int colourSize, LPWSTR, int) {
  if (file && fileSize > 0) file[0] = 0;
  if (colour && colourSize > 0) std::wcsncpy(colour, gColourName.c_str(), colourSize - 1);
  return gThemeNameResult;
}
BOOL FakeAppThemed() {
  ++gAppThemedCalls;
  return gAppThemed;
}
FARPROC FakeUxTheme(const char* symbol) {
  std::string s = symbol;
  if (s == "OpenThemeData") return Export(&FakeOpen);
  if (s == "CloseThemeData") return Export(&FakeClose);
  if (s == "GetThemeColor") return Export(&FakeColor);
  if (s == "DrawThemeBackground") return Export(&FakeDraw);
  if (s == "GetCurrentThemeName") return Export(&FakeThemeName);
  if (s == "IsAppThemed") return Export(&FakeAppThemed);
  return nullptr;
}
FARPROC EmptyUxTheme(const char*) { return nullptr; }

class UxThemeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    HMODULE real = LoadLibraryA("comctl32.dll");
    gRealVersion = GetProcAddress(real, "DllGetVersion");
    gRealInit = GetProcAddress(real, "InitCommonControls");
    gRealInitEx = GetProcAddress(real, "InitCommonControlsEx");
    FreeLibrary(real);
  }
  void SetUp() override {
    InitCommonControls();
    gMajor = 6, gMinor = 0;
    gColourName = L"NormalColor";
    gThemeNameResult = S_OK;
    gAppThemed = TRUE;
    gAppThemedCalls = 0;
    PlatformRegisterModule("comctl32", FakeComctl);
    PlatformRegisterModule("uxtheme", FakeUxTheme);
    gUxTheme.ReloadForTest();
  }
  void TearDown() override {
    testkit::ResetWindows();
    PlatformRegisterModule("uxtheme", nullptr);
    PlatformRegisterModule("comctl32", RealComctl);
    gUxTheme.ReloadForTest();
  }
};

TEST_F(UxThemeTest, MissingFunctionsAnswerTheirFailureValues) {
  PlatformRegisterModule("uxtheme", EmptyUxTheme);
  CUxTheme theme;
  theme.ReloadForTest();
  RECT rc{0, 0, 1, 1};
  COLORREF colour = 7;
  EXPECT_EQ(theme.OpenThemeData(nullptr, L"COMBOBOX"), nullptr);
  EXPECT_EQ(theme.GetWindowTheme(nullptr), nullptr);
  EXPECT_EQ(theme.CloseThemeData(kTheme), E_FAIL);
  EXPECT_EQ(theme.DrawThemeBackground(kTheme, nullptr, 1, 1, &rc, nullptr), E_FAIL);
  EXPECT_EQ(theme.GetThemeColor(kTheme, 1, 1, 3801, &colour), E_FAIL);
  EXPECT_EQ(colour, 7u);  // untouched
  EXPECT_EQ(theme.EnableTheming(TRUE), E_FAIL);
  EXPECT_FALSE(theme.IsThemeActive());
  EXPECT_FALSE(theme.IsAppThemed());
  EXPECT_FALSE(theme.IsThemePartDefined(kTheme, 1, 1));
  EXPECT_EQ(theme.GetThemeSysColorBrush(kTheme, COLOR_WINDOW), nullptr);
  EXPECT_EQ(theme.GetThemeSysSize(kTheme, SM_CXVSCROLL), 0);
  EXPECT_EQ(theme.GetThemeAppProperties(), 0u);
  EXPECT_EQ(theme.GetThemeSysColor(kTheme, COLOR_WINDOW), RGB(255, 255, 255));
  theme.SetThemeAppProperties(1);  // nothing to call, nothing happens
  EXPECT_FALSE(theme.ShouldDrawThemed());
}

TEST_F(UxThemeTest, ForwardsToTheLoadedLibrary) {
  CUxTheme theme;
  COLORREF colour = 0;
  EXPECT_EQ(theme.OpenThemeData(nullptr, L"COMBOBOX"), kTheme);
  EXPECT_EQ(theme.GetThemeColor(kTheme, 1, 1, 3801, &colour), S_OK);
  EXPECT_EQ(colour, kBorder);
  EXPECT_TRUE(theme.IsAppThemed());
  EXPECT_EQ(theme.IsThemeActive(), FALSE);  // not offered by the fake
}

TEST_F(UxThemeTest, TheRuleWantsVersionSixZeroAndAKnownColourScheme) {
  struct Case {
    DWORD major, minor;
    const wchar_t* colour;
    HRESULT nameResult;
    BOOL appThemed;
    BOOL themed;
  } cases[] = {
      {6, 0, L"NormalColor", S_OK, TRUE, TRUE},
      {6, 0, L"NORMALCOLOR", S_OK, TRUE, TRUE},
      {6, 0, L"HomeStead", S_OK, TRUE, TRUE},
      {6, 0, L"metallic", S_OK, TRUE, TRUE},
      {6, 1, L"NormalColor", S_OK, TRUE, FALSE},
      {5, 82, L"NormalColor", S_OK, TRUE, FALSE},
      {6, 0, L"MyOwnColors", S_OK, TRUE, FALSE},
      {6, 0, L"NormalColor", E_FAIL, TRUE, FALSE},
      {6, 0, L"NormalColor", S_OK, FALSE, FALSE},
  };
  for (const Case& c : cases) {
    gMajor = c.major, gMinor = c.minor;
    gColourName = c.colour;
    gThemeNameResult = c.nameResult;
    gAppThemed = c.appThemed;
    gUxTheme.ReloadForTest();
    EXPECT_EQ(gUxTheme.ShouldDrawThemed(), c.themed) << c.major << "." << c.minor;
  }
}

TEST_F(UxThemeTest, TheFirstAnswerIsKeptForTheWholeRun) {
  gAppThemed = FALSE;
  EXPECT_FALSE(gUxTheme.ShouldDrawThemed());
  gAppThemed = TRUE;
  gMajor = 5;
  EXPECT_FALSE(gUxTheme.ShouldDrawThemed());
  EXPECT_EQ(gAppThemedCalls, 1);
  gUxTheme.ReloadForTest();
  gMajor = 6;
  EXPECT_TRUE(gUxTheme.ShouldDrawThemed());
  gMajor = 5;
  EXPECT_TRUE(gUxTheme.ShouldDrawThemed());
}

class ThemedPaintTest : public UxThemeTest {
 protected:
  void Open(bool themed) {
    if (!themed) gMajor = 5, gMinor = 82;
    gUxTheme.ReloadForTest();
    ASSERT_TRUE(page.CreateEx(0, AfxRegisterWndClass(0), "page", WS_POPUP | WS_VISIBLE, CRect(50, 50, 300, 200),
                              nullptr, 0));
    ASSERT_TRUE(combo.CreateEx(0, "SuperComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                               CRect(10, 10, 160, 31), &page, 5));
    combo.AddString("one");
    combo.AddString("two");
    testkit::PumpPending();
  }
  // A pixel of the combo box, in its client coordinates, read from the page.
  uint32_t ComboPixel(int x, int y) { return testkit::WindowPixel(page.m_hWnd, 10 + x, 10 + y); }
  static uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
  CWnd page;
  CDrawnComboBox combo{0, &page};
};

TEST_F(ThemedPaintTest, TheThemeDrawsTheButtonAndTheBorderColour) {
  Open(true);
  int button = 150 - ::GetSystemMetrics(SM_CXHSCROLL);  // the button's left edge
  EXPECT_EQ(ComboPixel(0, 10), Rgb(kBorder));
  EXPECT_EQ(ComboPixel(149, 10), Rgb(kBorder));
  EXPECT_EQ(ComboPixel(button + 5, 10), Rgb(kButton));
  EXPECT_EQ(ComboPixel(button + 5, 0), Rgb(kBorder));  // the button stays inside the border
  combo.ShowDropDown(TRUE);
  CComboDropWnd* drop = combo.GetDropWnd();
  ASSERT_NE(drop, nullptr);
  testkit::PumpPending();
  CRect d;
  drop->GetClientRect(&d);
  EXPECT_EQ(testkit::WindowPixel(drop->m_hWnd, d.right - 8, d.bottom - 8), Rgb(kGrip));
}

TEST_F(ThemedPaintTest, TheButtonStateFollowsHoverDropAndDisabling) {
  Open(true);
  CRect onScreen;
  combo.GetWindowRect(&onScreen);
  enum { kNormal = 1, kHot = 2, kPressed = 3, kDisabled = 4 };
  EXPECT_EQ(gLastButtonState, kNormal);
  testkit::MouseMove(onScreen.CenterPoint());
  testkit::PumpPending();
  EXPECT_EQ(gLastButtonState, kHot);
  // The hover timer notices the mouse has gone.
  testkit::MouseMove(CPoint(onScreen.right + 40, onScreen.bottom + 40));
  testkit::AdvanceClock(60);
  testkit::PumpPending();
  EXPECT_EQ(gLastButtonState, kNormal);
  combo.ShowDropDown(TRUE);
  testkit::PumpPending();
  EXPECT_EQ(gLastButtonState, kPressed);
  combo.ShowDropDown(FALSE);
  combo.EnableWindow(FALSE);
  testkit::PumpPending();
  EXPECT_EQ(gLastButtonState, kDisabled);
}

TEST_F(ThemedPaintTest, DisabledThemedComboFillsWithTheThemeColour) {
  Open(true);
  combo.EnableWindow(FALSE);
  testkit::PumpPending();
  EXPECT_EQ(ComboPixel(1, 10), Rgb(kDisabledFill));
  EXPECT_EQ(ComboPixel(0, 10), Rgb(kBorder));
}

TEST_F(ThemedPaintTest, WithoutTheRuleTheClassicFrameIsDrawn) {
  Open(false);
  int button = 150 - ::GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_EQ(ComboPixel(0, 10), Rgb(::GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_NE(ComboPixel(button + 5, 10), Rgb(kButton));
  EXPECT_EQ(ComboPixel(button + 2, 10), Rgb(::GetSysColor(COLOR_BTNFACE)));
}

}  // namespace

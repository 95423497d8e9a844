#include "DialogTestEnv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "RTSkin.h"
#include "TestKit.h"

CWizardApp theApp;

namespace dialogtest {

namespace {

std::string SourceDir() {
  const char* dir = std::getenv("TRELLIAN_SOURCE_DIR");
  return dir ? dir : ".";
}

// The texts and the skin the program itself uses, for every test.
class Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    theApp.m_strLangSection = "LangString";
    theApp.m_iniFile.SetPath((SourceDir() + "/res/language/en/Lang.MLS").c_str());
    ASSERT_EQ(skin.LoadSkin((SourceDir() + "/res/Skin/vAdev/skin.ini").c_str()), 1);
    skin.EnableSkin(1);
  }
  void TearDown() override { testkit::ResetWindows(); }

  CRTSkin skin;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

}  // namespace

std::string Text(const char* key) { return std::string(theApp.Text(key)); }

std::string ItemText(HWND dialog, int id) {
  char text[512] = "";
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

bool ItemVisible(HWND dialog, int id) {
  HWND item = ::GetDlgItem(dialog, id);
  return item && (::GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE);
}

void Capture(HWND window, const std::string& name) {
  testkit::PumpPending();
  const char* bin = std::getenv("TRELLIAN_BINARY_DIR");
  const std::string dir = std::string(bin ? bin : ".") + "/screens";
  std::filesystem::create_directories(dir);
  EXPECT_TRUE(testkit::CaptureWindowPng(window, dir + "/" + name + ".png")) << name;
}

POINT ClientToWindow(HWND window, POINT client) {
  RECT frame{};
  ::GetWindowRect(window, &frame);
  ::ClientToScreen(window, &client);
  return POINT{client.x - frame.left, client.y - frame.top};
}

INT_PTR RunModal(const std::function<INT_PTR()>& modal, const std::function<void(HWND)>& handler) {
  testkit::ModalHandler hook(handler);
  return modal();
}

}  // namespace dialogtest

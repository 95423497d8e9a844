// Application start-up: the program folder and the language file from a
// program path, and a start whose SNMP session cannot begin.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "CWizardApp.h"
#include "TempDir.h"
#include "TestKit.h"

namespace fs = std::filesystem;

namespace {

CWizardApp& App() { return *static_cast<CWizardApp*>(AfxGetApp()); }

// A program folder of the test's own: <tmp>/Trellian, with or without the
// language file beside it.
class ProgramLayout {
 public:
  explicit ProgramLayout(bool withLanguage) {
    if (withLanguage) {
      fs::create_directories(dir.path() + "/language/en");
      fs::copy_file(std::string(std::getenv("TRELLIAN_SOURCE_DIR")) + "/res/language/en/Lang.MLS",
                    dir.path() + "/language/en/Lang.MLS");
    }
    testkit::SetProgramPath(dir.file("Trellian"));
  }
  ~ProgramLayout() { testkit::SetProgramPath(""); }
  TempDir dir;
};

TEST(ProgramFolder, CutAfterTheLastSeparatorOfEitherKind) {
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {
      {"/opt/trellian/bin/Trellian", "/opt/trellian/bin/"},
      {"C:\\Program Files\\Trellian.exe", "C:\\Program Files\\"},
      {"/mixed\\sep/Trellian", "/mixed\\sep/"},
      {"/a/b\\Trellian", "/a/b\\"},
      {"Trellian", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgramFolderOf(c.path), c.folder) << c.path;
}

TEST(SetupLanguage, ReadsTheTextsBesideTheProgram) {
  ProgramLayout layout(true);
  App().SetupLanguage();
  EXPECT_EQ(App().m_strLangSection, "LangString");
  EXPECT_EQ(App().m_strProgramFolder, CString((layout.dir.path() + "/").c_str()));
  EXPECT_EQ(App().m_iniFile.GetPath(), CString((layout.dir.path() + "/language\\en\\Lang.MLS").c_str()));
  EXPECT_EQ(App().Text("IDS_UI_ARRAY_EXIT"), "Exit");
  EXPECT_EQ(App().Text("IDS_UI_NEXT"), "Next >");
  EXPECT_EQ(App().Text("IDS_NO_SUCH_KEY"), "");
}

TEST(SetupLanguage, WithoutTheLanguageFileTextsAreEmpty) {
  ProgramLayout layout(false);
  App().SetupLanguage();
  EXPECT_EQ(App().Text("IDS_UI_ARRAY_EXIT"), "");
}

// The boot counter cannot be written (a folder stands where the file goes):
// one message box with the session's error, and the program ends before any
// window opens.
TEST(StartUp, BadBootCounterFileGivesOneMessageAndEnds) {
  TempDir temp;
  fs::create_directories(temp.file("VhSNMP_BootCounter") + "/taken");
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string savedValue = saved ? saved : "";
  setenv("XDG_RUNTIME_DIR", temp.path().c_str(), 1);

  testkit::MessageBoxLog log;
  testkit::ModalHandler answer([](HWND box) { testkit::Answer(box, IDOK); });
  const int result = AfxWinMain(nullptr, nullptr, const_cast<LPTSTR>(""), SW_SHOWNORMAL);

  if (saved) setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1); else unsetenv("XDG_RUNTIME_DIR");
  EXPECT_NE(result, 0);
  ASSERT_EQ(log.records.size(), 1u);
  EXPECT_NE(log.records[0].text.find("VeDUZA"), std::string::npos) << log.records[0].text;
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  testkit::ResetWindows();
}

}  // namespace

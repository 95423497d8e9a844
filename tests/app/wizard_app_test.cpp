// Application start-up: the program folder and the language file from a
// program path, and the SNMP session's boot counter in the user's state folder.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>

#include "CWizardApp.h"
#include "PlainUser.h"
#include "SnmpSession.h"
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

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    const char* old = std::getenv(name);
    m_had = old != nullptr;
    if (old) m_old = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (m_had) setenv(m_name, m_old.c_str(), 1); else unsetenv(m_name);
  }

 private:
  const char* m_name;
  bool m_had = false;
  std::string m_old;
};

int LinesWith(const std::string& text, const std::string& word) {
  int n = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) n += line.find(word) != std::string::npos;
  return n;
}

// The boot counter lives in the user's state folder, made private on first
// use; whatever stands there instead (planted by someone, or a folder that
// cannot be made), the start goes on without a message box, saying why in
// one line on standard error.
TEST(StartUp, TheBootCounterIsKeptInThePrivateStateFolder) {
  TempDir temp;
  ScopedEnv stateHome("XDG_STATE_HOME", temp.path() + "/state");
  testkit::MessageBoxLog log;
  testing::internal::CaptureStderr();
  ASSERT_TRUE(App().InitApplication());
  const std::string said = testing::internal::GetCapturedStderr();
  SnmpSessionExit();
  EXPECT_EQ(LinesWith(said, "boot counter"), 0) << said;
  EXPECT_TRUE(log.records.empty());
  struct stat info;
  ASSERT_EQ(lstat((temp.path() + "/state/trellian").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(fs::is_regular_file(temp.path() + "/state/trellian/VhSNMP_BootCounter"));
}

TEST(StartUp, ABootCounterThatCannotBeKeptIsSaidOnceAndTheStartGoesOn) {
  const struct Case {
    const char* place;
    std::function<std::string(const TempDir&)> make;  // lays it out, returns the state home
  } cases[] = {
      {"a FIFO as the state folder", [](const TempDir& t) {
         mkfifo(t.file("trellian").c_str(), 0600);
         return t.path();
       }},
      {"a link as the state folder", [](const TempDir& t) {
         fs::create_directory(t.file("elsewhere"));
         fs::create_directory_symlink(t.file("elsewhere"), t.file("trellian"));
         return t.path();
       }},
      {"a state folder others may write into", [](const TempDir& t) {
         fs::create_directory(t.file("trellian"));
         chmod(t.file("trellian").c_str(), 0777);
         return t.path();
       }},
      {"a state home where nothing can be made", [](const TempDir&) { return std::string("/proc"); }},
      {"a FIFO as the counter file", [](const TempDir& t) {
         fs::create_directory(t.file("trellian"));
         chmod(t.file("trellian").c_str(), 0700);
         mkfifo(t.file("trellian/VhSNMP_BootCounter").c_str(), 0600);
         return t.path();
       }},
  };
  for (const Case& c : cases) {
    TempDir temp;
    ScopedEnv stateHome("XDG_STATE_HOME", c.make(temp));
    testkit::MessageBoxLog log;
    testing::internal::CaptureStderr();
    const BOOL started = App().InitApplication();
    const std::string said = testing::internal::GetCapturedStderr();
    SnmpSessionExit();
    EXPECT_TRUE(started) << c.place;
    EXPECT_TRUE(log.records.empty()) << c.place;
    EXPECT_EQ(LinesWith(said, "boot counter"), 1) << c.place << ": " << said;
  }
}

// A state folder of the user's that cannot be written (mode 0500), or a
// state home that cannot be written, so the folder cannot be made: the start
// goes on the same way, run as a user whom modes bind (root is not), and the
// line gives the reason. Each place is a test of its own, so that one that
// cannot become the plain user skips alone.
struct ClosedStatePlace {
  const char* name;
  const char* closed;  // under the temporary folder: made, handed to the user, mode 0500
  const char* home;    // the state home under the temporary folder, or the folder itself
  bool making;         // the folder had to be made: the line says that it could not be
};

// Named by its place, in ctest's list too.
void PrintTo(const ClosedStatePlace& place, std::ostream* out) { *out << place.name; }

class StateFolderClosed : public ::testing::TestWithParam<ClosedStatePlace> {};

TEST_P(StateFolderClosed, IsSaidOnce) {
  const ClosedStatePlace& c = GetParam();
  TempDir temp;
  const std::string closed = temp.file(c.closed), home = c.home ? temp.file(c.home) : temp.path();
  fs::create_directory(closed);
  ASSERT_TRUE(PlainUser::Own(temp.path()) && PlainUser::Own(closed));
  chmod(closed.c_str(), 0500);
  ScopedEnv stateHome("XDG_STATE_HOME", home);
  testkit::MessageBoxLog log;
  testing::internal::CaptureStderr();
  BOOL started = FALSE;
  std::string failure;
  {
    PlainUser user;
    failure = user.failure();
    if (failure.empty()) started = App().InitApplication();
  }
  const std::string said = testing::internal::GetCapturedStderr();
  if (!failure.empty()) GTEST_SKIP() << failure;
  SnmpSessionExit();
  EXPECT_TRUE(started);
  EXPECT_TRUE(log.records.empty());
  EXPECT_EQ(LinesWith(said, "boot counter"), 1) << said;
  EXPECT_EQ(LinesWith(said, home + "/trellian/VhSNMP_BootCounter"), 1) << said;
  const std::string why =
      c.making ? "(cannot make the folder " + home + "/trellian: Permission denied)" : "(Permission denied)";
  EXPECT_EQ(LinesWith(said, why), 1) << said;
  EXPECT_TRUE(fs::is_empty(closed)) << "nothing made in it";
  struct stat info;
  EXPECT_EQ(stat(closed.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0500u) << "its mode is the user's choice";
}

INSTANTIATE_TEST_SUITE_P(StartUp, StateFolderClosed,
                         ::testing::Values(ClosedStatePlace{"AStateFolderOfMode0500", "trellian", nullptr, false},
                                           ClosedStatePlace{"AStateHomeOfMode0500", "home", "home", true}),
                         [](const ::testing::TestParamInfo<ClosedStatePlace>& info) { return info.param.name; });

// A missing or unreadable language file leaves the texts empty, as before,
// and one line says which file it was and where it was looked for.
TEST(SetupLanguage, AMissingOrUnreadableLanguageFileIsNamedOnce) {
  const struct Case {
    const char* place;
    std::function<void(const std::string& file)> make;
    const char* reason;
  } cases[] = {
      {"missing", [](const std::string&) {}, "No such file"},
      {"a FIFO", [](const std::string& f) { mkfifo(f.c_str(), 0600); }, "not a regular file"},
      {"a folder", [](const std::string& f) { fs::create_directory(f); }, "Is a directory"},
  };
  for (const Case& c : cases) {
    ProgramLayout layout(false);
    fs::create_directories(layout.dir.path() + "/language/en");
    const std::string file = layout.dir.path() + "/language/en/Lang.MLS";
    c.make(file);
    testing::internal::CaptureStderr();
    App().SetupLanguage();
    EXPECT_EQ(App().Text("IDS_UI_ARRAY_EXIT"), "") << c.place;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(LinesWith(said, "Trellian:"), 1) << c.place << ": " << said;
    EXPECT_EQ(LinesWith(said, "language file " + file), 1) << c.place << ": " << said;
    EXPECT_EQ(LinesWith(said, c.reason), 1) << c.place << ": " << said;
  }
}

// A language file edited while the program runs: the next lookup has the new text.
TEST(SetupLanguage, ALanguageFileChangedWhileRunningIsReadAgain) {
  ProgramLayout layout(true);
  App().SetupLanguage();
  ASSERT_EQ(App().Text("IDS_UI_ARRAY_EXIT"), "Exit");
  const std::string file = layout.dir.path() + "/language/en/Lang.MLS";
  std::string text;
  {
    std::ifstream in(file, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const std::string from = "IDS_UI_ARRAY_EXIT=Exit";
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos);
  // The same size, written in place at once: only the contents differ.
  text.replace(at, from.size(), "IDS_UI_ARRAY_EXIT=Quit");
  std::fstream(file, std::ios::binary | std::ios::in | std::ios::out | std::ios::trunc) << text;
  EXPECT_EQ(App().Text("IDS_UI_ARRAY_EXIT"), "Quit");
  EXPECT_EQ(App().Text("IDS_UI_NEXT"), "Next >");
}

}  // namespace

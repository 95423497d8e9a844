#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "CFile.h"
#include "Files.h"
#include "LastError.h"
#include "TempDir.h"
#include "sys_test_util.h"

namespace {

// Sets or clears an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  bool had_;
  std::string old_;
};

}  // namespace

TEST(SysFiles, TempPathPrefersThePrivateRuntimeFolder) {
  struct Case {
    const char* runtime;
    const char* tmpdir;
    const char* expected;
  };
  const Case cases[] = {
      {"/run/user/1000", "/var/tmp", "/run/user/1000/"},
      {"", "/var/tmp/", "/var/tmp/"},
      {nullptr, "/var/tmp", "/var/tmp/"},
      {nullptr, nullptr, "/tmp/"},
  };
  for (const Case& c : cases) {
    ScopedEnv runtime("XDG_RUNTIME_DIR", c.runtime);
    ScopedEnv tmpdir("TMPDIR", c.tmpdir);
    char buffer[256];
    DWORD length = GetTempPath(sizeof buffer, buffer);
    EXPECT_STREQ(buffer, c.expected);
    EXPECT_EQ(length, std::string(c.expected).size());
    EXPECT_EQ(GetTempPath(3, buffer), length + 1) << "too small: the size needed";
  }
}

TEST(SysFiles, ModuleFileNameIsTheProgramAndCutsToTheBuffer) {
  char path[512];
  DWORD length = GetModuleFileName(nullptr, path, sizeof path);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(path[0], '/');
  EXPECT_NE(std::string(path).find("platform_tests"), std::string::npos);
  char small[5];
  EXPECT_EQ(GetModuleFileName(nullptr, small, sizeof small), 5u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::string(small), std::string(path, 4));
}

TEST(SysFiles, ComputerNameIsTheShortHostNameInCapitals) {
  char name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = sizeof name;
  ASSERT_TRUE(GetComputerName(name, &size));
  EXPECT_EQ(size, std::string(name).size());
  EXPECT_LE(size, static_cast<DWORD>(MAX_COMPUTERNAME_LENGTH));
  for (const char* p = name; *p; ++p) {
    EXPECT_NE(*p, '.');
    EXPECT_FALSE(*p >= 'a' && *p <= 'z');
  }
  DWORD tiny = 1;
  if (size > 0) {
    EXPECT_FALSE(GetComputerName(name, &tiny));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
    EXPECT_EQ(tiny, size + 1);
  }
}

TEST(SysFiles, AppendingALogLineAsTheLogListDoes) {
  TempDir dir;
  const std::string path = dir.file("log.txt");
  for (const char* line : {"first\r\n", "second\r\n"}) {
    HANDLE file = CreateFile(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_NE(SetFilePointer(file, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, line, static_cast<DWORD>(std::string(line).size()), &written, nullptr));
    EXPECT_EQ(written, std::string(line).size());
    EXPECT_TRUE(CloseHandle(file));
  }
  EXPECT_EQ(ReadBytes(path), "first\r\nsecond\r\n");

  HANDLE reader = CreateFile(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  char buffer[32];
  DWORD got = 0;
  EXPECT_TRUE(ReadFile(reader, buffer, 5, &got, nullptr));
  EXPECT_EQ(std::string(buffer, got), "first");
  CloseHandle(reader);

  EXPECT_EQ(CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_EQ(CreateFile(dir.file("none").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(DeleteFile(path.c_str()));
  EXPECT_FALSE(DeleteFile(path.c_str()));
}

TEST(SysFiles, ReplacingAFileNeverWritesThroughALink) {
  TempDir dir;
  const std::string victim = dir.file("victim");
  const std::string link_path = dir.file("boot.txt");
  std::ofstream(victim) << "untouched";
  ASSERT_EQ(symlink(victim.c_str(), link_path.c_str()), 0);

  ASSERT_TRUE(PlatformReplaceFile(link_path.c_str(), "counter 1\n", 10));
  EXPECT_EQ(ReadBytes(victim), "untouched");
  EXPECT_EQ(ReadBytes(link_path), "counter 1\n");
  struct stat info;
  ASSERT_EQ(lstat(link_path.c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  std::string windows = dir.path() + "\\fresh.txt";
  ASSERT_TRUE(PlatformReplaceFile(windows.c_str(), "x", 1));
  EXPECT_EQ(ReadBytes(dir.file("fresh.txt")), "x");
  EXPECT_FALSE(PlatformReplaceFile(dir.file("missing/folder/file").c_str(), "x", 1));
}

// FILE_APPEND_DATA alone appends every write, wherever the file pointer was
// moved; with write access besides, the pointer decides as usual.
TEST(SysFiles, AppendDataAccessWritesAtTheEnd) {
  TempDir dir;
  const std::string path = dir.file("append.log");
  {
    std::ofstream out(path, std::ios::binary);
    out << "0123456789";
  }
  struct {
    DWORD access;
    const char* expected;
  } cases[] = {
      {FILE_APPEND_DATA, "0123456789AB"},
      {FILE_APPEND_DATA | GENERIC_READ, "0123456789AB"},
      {FILE_APPEND_DATA | GENERIC_WRITE, "AB23456789"},
  };
  for (const auto& c : cases) {
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out << "0123456789";
    }
    HANDLE file = CreateFile(path.c_str(), c.access, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << c.access;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "AB", 2, &written, nullptr));
    EXPECT_EQ(written, 2u);
    CloseHandle(file);
    EXPECT_EQ(ReadBytes(path), c.expected) << c.access;
  }
}

TEST(SysFiles, FileStatusByPath) {
  TempDir dir;
  const std::string path = dir.file("Lang.ini");
  {
    std::ofstream out(path, std::ios::binary);
    out << "[LangString]\r\n";
  }
  time_t before = time(nullptr) - 2;
  struct {
    std::string path;
    BOOL found;
    ULONGLONG size;
    BYTE attribute;
  } cases[] = {
      {path, TRUE, 14, CFile::archive},
      {dir.path(), TRUE, 0, CFile::directory},
      {dir.file("missing.ini"), FALSE, 0, 0},
      {"", FALSE, 0, 0},
  };
  for (const auto& c : cases) {
    CFileStatus st;
    ASSERT_EQ(CFile::GetStatus(c.path.c_str(), st), c.found) << c.path;
    if (!c.found) continue;
    if (c.attribute != CFile::directory) {
      EXPECT_EQ(st.m_size, c.size) << c.path;
    }
    EXPECT_EQ(st.m_attribute, c.attribute) << c.path;
    EXPECT_GE(st.m_mtime.GetTime(), before) << c.path;
    EXPECT_EQ(st.m_szFullName[0], '/') << c.path;
  }
  // A backslashed path finds the same file; a file without write permission is read-only.
  std::string backslashed = path;
  std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
  CFileStatus st;
  ASSERT_TRUE(CFile::GetStatus(backslashed.c_str(), st));
  EXPECT_EQ(std::string(st.m_szFullName).substr(std::string(st.m_szFullName).size() - 9), "/Lang.ini");
  chmod(path.c_str(), 0444);
  ASSERT_TRUE(CFile::GetStatus(path.c_str(), st));
  if (geteuid() != 0) {
    EXPECT_EQ(st.m_attribute, CFile::archive | CFile::readOnly);
  }
  chmod(path.c_str(), 0644);
}

// The state folder: where it is for each environment, made private when it is
// missing, and refused when something else stands in its place.
TEST(SysFiles, StateFolderIsTheUsersOwnAndPrivate) {
  TempDir dir;
  const std::string homeState = dir.path() + "/home/.local/state/Prog/";
  const struct Case {
    bool set;
    std::string stateHome;
    std::string expected;
  } cases[] = {
      {true, dir.path() + "/state", dir.path() + "/state/Prog/"},
      {true, "relative/state", homeState},  // only an absolute path counts
      {true, "", homeState},
      {false, "", homeState},
  };
  for (const Case& c : cases) {
    ScopedEnv state("XDG_STATE_HOME", c.set ? c.stateHome.c_str() : nullptr);
    ScopedEnv home("HOME", (dir.path() + "/home").c_str());
    std::string folder;
    EXPECT_TRUE(PlatformStateFolder("Prog", folder)) << c.expected;
    EXPECT_EQ(folder, c.expected);
    struct stat info;
    ASSERT_EQ(lstat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
  }
}

TEST(SysFiles, StateFolderRefusesWhatStandsInItsPlace) {
  const struct Case {
    const char* place;
    void (*make)(const std::string& folder);
  } cases[] = {
      {"a FIFO", [](const std::string& f) { mkfifo(f.c_str(), 0600); }},
      {"a file", [](const std::string& f) { std::ofstream(f) << "x"; }},
      {"a link to a folder", [](const std::string& f) {
         mkdir((f + ".real").c_str(), 0700);
         symlink((f + ".real").c_str(), f.c_str());
       }},
      {"a folder others may write into", [](const std::string& f) {
         mkdir(f.c_str(), 0700);
         chmod(f.c_str(), 0777);
       }},
  };
  for (const Case& c : cases) {
    TempDir dir;
    c.make(dir.file("Prog"));
    ScopedEnv state("XDG_STATE_HOME", dir.path().c_str());
    std::string folder;
    EXPECT_FALSE(PlatformStateFolder("Prog", folder)) << c.place;
    EXPECT_EQ(folder, dir.path() + "/Prog/") << c.place << ": the path is still given";
    EXPECT_FALSE(PlatformIsPrivateFolder(folder.c_str())) << c.place;
  }
  EXPECT_FALSE(PlatformIsPrivateFolder("")) << "no path";
  EXPECT_FALSE(PlatformIsPrivateFolder("/tmp")) << "shared by everyone";
}

// Reading a whole file: only regular files, of bounded size, and never a wait.
TEST(SysFiles, ReadingAWholeFileRefusesAnythingButARegularFile) {
  TempDir dir;
  std::ofstream(dir.file("small")) << "0123456789";
  mkfifo(dir.file("fifo").c_str(), 0600);
  mkdir(dir.file("folder").c_str(), 0700);
  symlink(dir.file("small").c_str(), dir.file("link").c_str());
  const struct Case {
    const char* name;
    size_t limit;
    int error;
    const char* bytes;
  } cases[] = {
      {"small", 100, 0, "0123456789"}, {"small", 10, 0, "0123456789"}, {"small", 9, EFBIG, ""},
      {"link", 100, 0, "0123456789"},  {"fifo", 100, EINVAL, ""},      {"folder", 100, EINVAL, ""},
      {"none", 100, ENOENT, ""},
  };
  for (const Case& c : cases) {
    std::string bytes = "old";
    struct stat info {};
    EXPECT_EQ(PlatformReadFile(dir.file(c.name).c_str(), c.limit, bytes, &info), c.error) << c.name << " " << c.limit;
    EXPECT_EQ(bytes, c.bytes) << c.name;
    if (!c.error) {
      EXPECT_EQ(info.st_size, 10) << c.name;
    }
  }
}

// A display that cannot be opened: the platform says so instead of falling
// back to windows nobody sees, and the program stops, saying which display,
// before it takes a port.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "ApsimHarness.h"
#include "SnmpdHarness.h"
#include "x11_fixture.h"

namespace {

// A display number no server listens on.
const char* const kNoServer = ":4711";

bool ServerListens(const std::string& number) {
  struct stat st{};
  return stat(("/tmp/.X11-unix/X" + number).c_str(), &st) == 0;
}

// Runs `step` in a child with the given environment (null: unset) and returns its exit status.
int InChild(const char* trellianDisplay, const char* display, const std::function<int()>& step) {
  pid_t pid = fork();
  if (pid == 0) {
    if (trellianDisplay) setenv("TRELLIAN_DISPLAY", trellianDisplay, 1); else unsetenv("TRELLIAN_DISPLAY");
    if (display) setenv("DISPLAY", display, 1); else unsetenv("DISPLAY");
    _exit(step());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST_F(X11Test, ChoosingTheDisplayFailsForADisplayThatCannotBeOpened) {
  ASSERT_FALSE(ServerListens(kNoServer + 1));
  const std::string live = server_->name();
  struct Case {
    const char* trellianDisplay;
    const char* display;
    bool chosen;
    std::string unopened;
  } cases[] = {
      {nullptr, kNoServer, false, kNoServer},
      {nullptr, nullptr, false, ""},
      {"", kNoServer, false, kNoServer},
      {"headless", kNoServer, true, ""},
      {"headless", nullptr, true, ""},
      {nullptr, live.c_str(), true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.trellianDisplay ? c.trellianDisplay : "(unset)") + " " +
                 (c.display ? c.display : "(unset)"));
    // 0: chosen; 1: refused with the expected name; 2: anything else.
    int result = InChild(c.trellianDisplay, c.display, [&] {
      std::string unopened = "untouched";
      BOOL chosen = PlatformChooseDisplay(&unopened);
      if (chosen) return unopened == "untouched" ? 0 : 2;
      return unopened == c.unopened ? 1 : 2;
    });
    EXPECT_EQ(result, c.chosen ? 0 : 1);
  }
}

TEST_F(X11Test, TheProgramStopsNamingTheDisplayItCannotOpen) {
  ASSERT_FALSE(ServerListens(kNoServer + 1));
  struct Case {
    std::string environment;
    std::string says;
  } cases[] = {
      {std::string("DISPLAY=") + kNoServer, std::string("Trellian: cannot open the X display \"") + kNoServer + "\""},
      {"-u DISPLAY", "Trellian: no X display: DISPLAY is not set"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.environment);
    // Inside a private network namespace: a program that ran on would broadcast.
    int status = -1;
    std::string out = RunCommand("env -u TRELLIAN_DISPLAY " + c.environment + " timeout 30 " +
                                     std::string(std::getenv("TRELLIAN_SOURCE_DIR")) + "/tools/netns-run " +
                                     BuiltProgram("Trellian") + " 2>&1",
                                 &status);
    EXPECT_EQ(status, 1) << out;
    EXPECT_NE(out.find(c.says), std::string::npos) << out;
    // Nothing else was tried: no box about a port, no window.
    EXPECT_EQ(out, c.says + "\n");
  }
}

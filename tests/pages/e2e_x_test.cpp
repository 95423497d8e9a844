// The three flows as a person does them: the real program Trellian runs as a
// process of its own in the lab (tools/aplab: simulated devices in a private
// network namespace, their time and the program's running kClockScale times
// faster), on a private Xvfb, with or without a window manager
// (TRELLIAN_X_WM=openbox), and every press, drag, key and click goes through
// the X server by XTEST. The result is read from the simulator's state file,
// with the expectations the in-process end-to-end test has.
//
// The program draws its own controls: where they are is computed from the
// dialog templates (dialog units mapped to pixels) from the top-level X
// window's place. A picture of the screen after each page is kept in
// <build>/screens/x11-<manager>/<flow>/NN-<page>.png.
//
// With the flows go what a person tries on the way: Enter and Escape on
// every page (on the last one Enter presses Finish, which has the focus),
// during a scan or an apply run and after it, Tab round the page and the
// dialog, the close box, Alt+F4, the system menu and Exit while busy
// (refused with the bell, which the X server reports to the test, while the
// run goes on: the simulator's log shows its next request in time), the
// About box from the system menu, minimise and restore. The three flows are
// one test in named steps, since each flow starts from the devices the one
// before left; the test has a lab of its own. Last, a second copy of the
// program meets the first one's port and says why it cannot start.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ApplyRes.h"
#include "ApsimHarness.h"
#include "Dialog.h"
#include "DialogPagesRes.h"
#include "E2eFlows.h"
#include "MembersRes.h"
#include "Resource.h"
#include "ScanPagesRes.h"
#include "SecurityRes.h"
#include "StopChild.h"
#include "TempDir.h"
#include "WinUser.h"
#include "WizardRes.h"
#include "XDriver.h"
#include "Xvfb.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

using Box = XDriver::Box;
using Point = XDriver::Point;

const char kMainTitle[] = "RIZ-4410 AP Vezovi Setup Tool v1.10";
const char kMessageBoxTitle[] = "AP Vezovi Tool";
const char kGroupPasswordTitle[] = "Enter the AP Vezovi Password";
const char kAboutTitle[] = "About Trellian";

void Nap(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Polls `done` every 50 ms of real time for up to `ms`.
bool WaitFor(const std::function<bool()>& done, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Nap(50);
  }
}

// Watches `holds` every 50 ms of real time for `ms`: false as soon as it
// fails. For what must not change after an input (a key that must keep the
// page), where no later event says that the input has been taken.
bool KeepsFor(const std::function<bool()>& holds, int ms) {
  return !WaitFor([&] { return !holds(); }, ms);
}

int MsSince(std::chrono::steady_clock::time_point start) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

// ---------------------------------------------------------------- layout

// A control's rectangle in pixels within its dialog's client area, from the
// dialog's template.
Box ControlBox(int dialog, int control) {
  const DialogTemplate* tpl = PlatformFindDialog(MAKEINTRESOURCEA(dialog));
  if (!tpl) return {};
  for (const DialogItemTemplate& item : tpl->items) {
    if (item.id != control) continue;
    RECT r{item.x, item.y, item.x + item.cx, item.y + item.cy};
    MapDialogRect(nullptr, &r);
    return Box{r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  return {};
}

Box DialogSize(int dialog) {
  const DialogTemplate* tpl = PlatformFindDialog(MAKEINTRESOURCEA(dialog));
  if (!tpl) return {};
  RECT r{0, 0, tpl->cx, tpl->cy};
  MapDialogRect(nullptr, &r);
  return Box{0, 0, r.right, r.bottom};
}

Box At(Point origin, Box box) { return Box{origin.x + box.x, origin.y + box.y, box.width, box.height}; }
Point Offset(Point p, int dx, int dy) { return Point{p.x + dx, p.y + dy}; }

// The frames stand in the main dialog's frame area and the pages in the
// frame's page area, each a little inside (CMainDlg and CWizardFrame place
// them so).
const Point kFrameInArea{2, 5};
const Point kPageInArea{2, 5};

// A top-level window of the program on the screen: its client area found
// from its size (the template's client plus the border on three sides and
// the caption), its caption buttons as the window manager code lays them.
struct Window {
  unsigned long id = 0;
  Box outer;
  Point client;

  static Window Of(XDriver& x, unsigned long id, int dialog) {
    Window w;
    w.id = id;
    w.outer = x.Geometry(id);
    const Box client = DialogSize(dialog);
    const int border = (w.outer.width - client.width) / 2;
    w.client = Point{w.outer.x + border, w.outer.y + w.outer.height - client.height - border};
    return w;
  }
  int Border() const { return client.x - outer.x; }
  // Close, maximize, minimize from the right, each a caption's height wide.
  Point CaptionButton(int fromRight) const {
    const int c = GetSystemMetrics(SM_CYCAPTION);
    const int right = outer.x + outer.width - Border() - 2 - fromRight * c;
    return Point{right - c / 2 + 1, outer.y + Border() + c / 2};
  }
  Point CloseBox() const { return CaptionButton(0); }
  Point MinimizeBox() const { return CaptionButton(2); }
  Box Control(int dialog, int control) const { return At(client, ControlBox(dialog, control)); }
};

// The main dialog's frame and page controls.
struct MainLayout {
  Window main;
  Point frame, page;

  explicit MainLayout(Window w) : main(w) {
    const Box area = ControlBox(IDD_MAIN_DIALOG, IDC_MAIN_FRAME_AREA);
    frame = Offset(main.client, area.x + kFrameInArea.x, area.y + kFrameInArea.y);
    const Box pageArea = ControlBox(IDD_WIZARD_FRAME, IDC_WIZ_PAGE_AREA);
    page = Offset(frame, pageArea.x + kPageInArea.x, pageArea.y + kPageInArea.y);
  }
  Box Main(int control) const { return main.Control(IDD_MAIN_DIALOG, control); }
  Box Frame(int control) const { return At(frame, ControlBox(IDD_WIZARD_FRAME, control)); }
  Box Page(int dialog, int control) const { return At(page, ControlBox(dialog, control)); }
};

// The report lists: a border, a header, then rows of the list font's height.
const int kListBorder = 2;
const int kListHeader = 24;
const int kListRow = 16;
// The member lists' columns, in pixels: the Delete column's left edge and
// the width of all of them.
const int kMemberDeleteColumn = 80 + 95 + 100 + 80 + 100 + 65;
const int kMemberListWidth = kMemberDeleteColumn + 55 + 85;
// The role cell's combo box: its arrow at the right of the 80 pixel column,
// its drop list's lines.
const int kRoleArrow = 72;
const int kDropItem = 14;
// A drop-down list combo box of a page: the closed box, the items' lines.
const int kClosedCombo = 20;
const int kComboItem = 13;
Point RowPoint(Box list, int row, int x) {
  return Point{list.x + kListBorder + x, list.y + kListBorder + kListHeader + row * kListRow + kListRow / 2};
}

// ---------------------------------------------------------------- pixels

bool IsLight(uint32_t rgb) { return ((rgb >> 16) & 0xFF) > 0xD0 && ((rgb >> 8) & 0xFF) > 0xD0 && (rgb & 0xFF) > 0xD0; }
bool IsDark(uint32_t rgb) { return ((rgb >> 16) & 0xFF) < 0x70 && ((rgb >> 8) & 0xFF) < 0x70 && (rgb & 0xFF) < 0x70; }
// The neutral mid grey of the log's line-number gutter.
bool IsMidGrey(uint32_t rgb) {
  const uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return r == g && g == b && r >= 0x70 && r <= 0x90;
}

// Dark pixels in the left part of a field: something is written there.
int WrittenPixels(XDriver& x, Box field) {
  XDriver::Image img = x.Grab(Box{field.x + 3, field.y + 3, field.width / 2, field.height - 6});
  int n = 0;
  for (uint32_t p : img.pixels) n += IsDark(p) ? 1 : 0;
  return n;
}
// How far a cell's text reaches from the cell's left edge (at `row`, the
// row's middle): the last pixel that stands out from the cell's background.
int TextWidth(XDriver& x, Point row, int cellWidth) {
  XDriver::Image band = x.Grab(Box{row.x + kListBorder, row.y - 4, cellWidth - 4, 9});
  if (band.pixels.empty()) return 0;
  const uint32_t background = band.At(band.box.x + band.box.width - 1, row.y);
  auto differs = [&](uint32_t p) {
    for (int shift : {0, 8, 16})
      if (std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((background >> shift) & 0xFF)) > 0x60)
        return true;
    return false;
  };
  int width = 0;
  for (int y = band.box.y; y < band.box.y + band.box.height; ++y)
    for (int x0 = band.box.x; x0 < band.box.x + band.box.width; ++x0)
      if (differs(band.At(x0, y))) width = std::max(width, x0 - band.box.x + 1);
  return width;
}

// The lines of dark text in an area: runs of pixel rows that hold some.
int TextLines(XDriver& x, Box area) {
  XDriver::Image img = x.Grab(area);
  int lines = 0;
  bool inLine = false;
  for (int y = area.y; y < area.y + area.height && !img.pixels.empty(); ++y) {
    bool dark = false;
    for (int x0 = area.x; x0 < area.x + area.width && !dark; ++x0) dark = IsDark(img.At(x0, y));
    if (dark && !inLine) ++lines;
    inLine = dark;
  }
  return lines;
}

// Light (text) pixels on a dark panel.
int LightPixels(XDriver& x, Box area) {
  XDriver::Image img = x.Grab(area);
  int n = 0;
  for (uint32_t p : img.pixels) n += IsLight(p) ? 1 : 0;
  return n;
}
// A light field (an edit, a list) shows there: a patch of its right part,
// clear of a vertical scroll bar and of short texts, is light all over at the
// middle, or near the top or the bottom (a list's selected line may cross
// the middle). White text on a dark page never fills such a patch.
bool FieldShows(XDriver& x, Box field) {
  const int right = field.x + field.width - std::min(30, field.width / 4);
  for (int y : {field.y + field.height / 2, field.y + 6, field.y + field.height - 6}) {
    XDriver::Image patch = x.Grab(Box{right - 2, y - 2, 5, 5});
    if (!patch.pixels.empty() && std::all_of(patch.pixels.begin(), patch.pixels.end(), IsLight)) return true;
  }
  return false;
}

// ---------------------------------------------------------------- the program

// Starts `args` as a process group of its own with the X display
// `display`, its temporary files in the test's folder `dir`, standard output
// and error into `log`, and `extraEnv` beside the test's environment.
pid_t SpawnOnDisplay(std::vector<std::string> args, const std::string& display, const TempDir& dir,
                     const std::string& log, std::vector<std::string> extraEnv) {
  fs::create_directories(dir.file("tmp"));
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string v = *e;
    if (v.rfind("DISPLAY=", 0) == 0 || v.rfind("TRELLIAN_DISPLAY=", 0) == 0 || v.rfind("TMPDIR=", 0) == 0 ||
        v.rfind("TRELLIAN_NETNS=", 0) == 0)
      continue;
    env.push_back(v);
  }
  env.push_back("DISPLAY=" + display);
  // The program's session files go into the test's folder.
  env.push_back("TMPDIR=" + dir.file("tmp"));
  for (std::string& e : extraEnv) env.push_back(e);
  std::vector<char*> argv, envp;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attr, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0].c_str(), &actions, &attr, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The lab with the program in it, as a process group of its own.
class Lab {
 public:
  Lab(const std::string& display, const TempDir& dir) {
    const std::string scenario = dir.file("scenario.ini");
    std::ofstream(scenario) << e2e::kScenario;
    state_ = dir.file("state.ini");
    log_ = dir.file("lab.log");
    const std::string aplab = std::string(std::getenv("TRELLIAN_SOURCE_DIR")) + "/tools/aplab";
    tmp_ = dir.file("tmp");
    pid_ = SpawnOnDisplay({aplab, "--scenario", scenario, "--time-scale", std::to_string(e2e::kClockScale), "--state",
                           state_, "--program", BuiltProgram("Trellian")},
                          display, dir, log_,
                          {"APLAB_BIN=" + std::string(std::getenv("TRELLIAN_BINARY_DIR")) + "/bin",
                           "XDG_STATE_HOME=" + dir.file("state")});
  }
  // The whole group goes: the program, the lab's script and its devices.
  ~Lab() {
    if (Running()) status_ = StopChild(pid_, true);
  }

  bool Running() {
    if (pid_ <= 0 || exited_) return false;
    if (waitpid(pid_, &status_, WNOHANG) == pid_) exited_ = true;
    return !exited_;
  }
  // Waits (real time) for the program (and with it the lab) to end; its exit
  // status, or -1 while it runs.
  int WaitExit(int ms) {
    WaitFor([&] { return !Running(); }, ms);
    if (!exited_) return -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
  }
  std::string Log() const {
    std::ifstream in(log_);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  e2e::DeviceState Devices() const {
    return [path = state_](const char* mac) { return ReadSimState(path, mac); };
  }
  // The requests the simulated devices have heard so far: the lines of the
  // simulator's log (in the lab's folder under the test's temporary files)
  // that a datagram of the program caused.
  std::string SimLog() const {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(tmp_, ignored)) {
      if (entry.path().filename().string().rfind("aplab-", 0) != 0) continue;
      std::ifstream in(entry.path() / "apsim.log");
      return std::string(std::istreambuf_iterator<char>(in), {});
    }
    return "";
  }
  int SimRequests() const {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(tmp_, ignored)) {
      if (entry.path().filename().string().rfind("aplab-", 0) != 0) continue;
      std::ifstream in(entry.path() / "apsim.log");
      int n = 0;
      for (std::string line; std::getline(in, line);)
        for (const char* request : {"discover ", "get seq ", "status ", "set ", "ignore ", "silent ", "snmp "})
          if (line.rfind(request, 0) == 0) ++n;
      return n;
    }
    return 0;
  }

 private:
  pid_t pid_ = -1;
  int status_ = 0;
  bool exited_ = false;
  std::string state_, log_, tmp_;
};

// A window manager on the server, for as long as the object lives.
class WindowManager {
 public:
  WindowManager(const std::string& name, const std::string& display) {
    if (name.empty()) return;
    std::string arg = "--sm-disable";
    std::string displayVar = "DISPLAY=" + display;
    std::vector<char*> argv = {const_cast<char*>(name.c_str()), arg.data(), nullptr};
    std::vector<char*> envp = {displayVar.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    // A group of its own, so that whatever the manager starts goes with it.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    if (posix_spawnp(&pid_, name.c_str(), &actions, &attr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
  }
  ~WindowManager() { StopChild(pid_, true); }
  bool Started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
};

std::string WindowManagerName() {
  const char* wm = std::getenv("TRELLIAN_X_WM");
  return wm && *wm && std::string(wm) != "bare" ? wm : "";
}

// <build>/screens/x11-<manager>/<flow>, emptied the first time a run asks
// for it, so that it never mixes an earlier run's pictures with this one's.
std::string ShotFolder(const std::string& flow) {
  static std::set<std::string> emptied;
  const std::string wm = WindowManagerName().empty() ? "bare" : WindowManagerName();
  const std::string folder = std::string(std::getenv("TRELLIAN_BINARY_DIR")) + "/screens/x11-" + wm + "/" + flow;
  std::error_code ignored;
  if (emptied.insert(folder).second) fs::remove_all(folder, ignored);
  fs::create_directories(folder);
  return folder;
}

// ---------------------------------------------------------------- the suite

void TypeInto(XDriver& x, Box field, const std::string& text);

class XFlows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    xvfb_ = new Xvfb("1280x1024x24");
    if (xvfb_->name().empty()) return;
    wm_ = new WindowManager(WindowManagerName(), xvfb_->name());
    x_ = new XDriver(xvfb_->name());
    if (!x_->Ready()) return;
    if (!WindowManagerName().empty() && !WaitFor([] { return x_->HasWindowManager(); }, 10000)) return;
    managed_ = true;
  }
  static void TearDownTestSuite() {
    delete x_;
    x_ = nullptr;
    delete wm_;
    wm_ = nullptr;
    delete xvfb_;
    xvfb_ = nullptr;
  }
  // Each test has a lab of its own: its devices, the program, its state folder.
  void SetUp() override {
    ASSERT_TRUE(xvfb_ && !xvfb_->name().empty()) << "Xvfb did not start";
    ASSERT_TRUE(x_ && x_->Ready()) << "no XTEST on " << xvfb_->name();
    ASSERT_TRUE(managed_) << "the window manager did not start";
    ASSERT_GE(x_->Bells(), 0) << "the X server cannot tell when the bell rings (no XKB)";
    dir_ = new TempDir;
    lab_ = new Lab(xvfb_->name(), *dir_);
    ASSERT_NE(x_->WaitForWindow(kMainTitle, 30000), 0u) << "the program's window did not show:\n" << lab_->Log();
    ASSERT_TRUE(Alive()) << "the program is gone:\n" << lab_->Log();
  }

  // The screen as it was when a step failed, beside the pages' pictures.
  void TearDown() override {
    if (HasFailure() && x_ && x_->Ready())
      x_->SavePng(ShotFolder("failures") + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                  ".png");
    delete lab_;
    lab_ = nullptr;
    delete dir_;
    dir_ = nullptr;
    // The program gone, its windows go: the next test starts on a clear screen.
    x_->WaitWindowGone(kMainTitle, 5000);
  }

  static bool Alive() { return lab_->Running() && x_->WindowTitled(kMainTitle) != 0; }
  // Waits (real time) for `done`; gives up as soon as the program is gone.
  static bool Until(const std::function<bool()>& done, int ms) {
    return WaitFor([&] { return !lab_->Running() || done(); }, ms) && lab_->Running();
  }

  // The main dialog where it is now (a window manager may have moved it).
  static MainLayout Layout() {
    const unsigned long id = x_->WaitForWindow(kMainTitle, 5000);
    return MainLayout(Window::Of(*x_, id, IDD_MAIN_DIALOG));
  }

  // The screen after a page has painted, as
  // <build>/screens/x11-<manager>/<flow>/NN-<page>.png.
  static void Shot(const std::string& flow, const std::string& page) {
    x_->MoveTo(Point{5, 5});  // no hot button in the picture
    x_->Settle(250);
    char number[16];
    std::snprintf(number, sizeof number, "%02d-", ++shots_[flow]);
    EXPECT_TRUE(x_->SavePng(ShotFolder(flow) + "/" + number + page + ".png")) << page;
  }

  static void ClickBox(Box box) { x_->Click(box.Center()); }
  // Drops a combo box's list with a click and clicks its `item`; the list
  // hangs below the box's closed height, one line of the dialog font per item.
  static void ChooseFromList(Box combo, int item, const char* flow, const char* picture) {
    const int closed = kClosedCombo;
    const Box list{combo.x, combo.y + closed + 2, combo.width, (item + 1) * kComboItem};
    ClickAndSeeChange(Point{combo.x + combo.width / 2, combo.y + closed / 2}, list, picture);
    Shot(flow, picture);
    ClickAndSeeChange(Point{combo.x + combo.width / 2, list.y + item * kComboItem + kComboItem / 2}, list, picture);
  }
  // A click that changes what `area` shows (a list drops or goes): the
  // change is waited for, so that the next input meets what the click made.
  static void ClickAndSeeChange(Point at, Box area, const char* what) {
    x_->MoveTo(at);
    const XDriver::Image before = x_->Grab(area);
    x_->Click(at);
    EXPECT_TRUE(Until([&] { return !(x_->Grab(area) == before); }, 3000)) << what << ": the click changed nothing";
  }
  static void Next() { ClickBox(Layout().Frame(IDC_WIZ_NEXT)); }
  // Finish closes the flow's frame; the program stays.
  static void Finish() {
    ClickBox(Layout().Frame(IDC_WIZ_FINISH));
    const Box welcome = Layout().Main(IDC_MAIN_WELCOME);
    ASSERT_TRUE(Until([&] { return LightPixels(*x_, welcome) > 30; }, 5000)) << "Finish did not bring the welcome back";
    ASSERT_TRUE(Alive()) << "Finish ended the program";
  }

  // Keys as a person types them at the main dialog. With no window manager
  // the X server gives the keyboard to the window under the pointer, so the
  // pointer rests on the side panel first, between the flow buttons and
  // Exit, where it lights no button.
  static void PressKeys(std::initializer_list<const char*> keys) {
    const MainLayout layout = Layout();
    const Box status = layout.Main(IDC_MAIN_STATUS);
    const Box exit = layout.Main(IDCANCEL);
    x_->MoveTo(Point{status.x + 10, (status.y + status.height + exit.y) / 2});
    x_->Settle(30);
    for (const char* key : keys) x_->Key(key);
  }

  // Enter and Escape, as a person tries them on a page: the program goes on,
  // and on the same page.
  static void EnterAndEscapeKeepThePage(const char* page, const std::function<bool()>& onPage) {
    for (const char* key : {"Return", "Escape"}) {
      SCOPED_TRACE(std::string(page) + ": " + key);
      PressKeys({key});
      EXPECT_TRUE(KeepsFor([&] { return Alive() && onPage(); }, 300)) << key << " left the page " << page;
      ASSERT_TRUE(Alive()) << key << " ended the program on the page " << page << ":\n" << lab_->Log();
      AnswerMessageBox();
    }
  }
  // The last page gives Finish the focus: Escape keeps the page.
  static void EscapeKeepsTheLastPage(const char* page, const std::function<bool()>& onPage) {
    SCOPED_TRACE(std::string(page) + ": Escape");
    PressKeys({"Escape"});
    EXPECT_TRUE(KeepsFor([&] { return Alive() && onPage(); }, 300)) << "Escape left the page " << page;
    ASSERT_TRUE(Alive()) << "Escape ended the program on the page " << page << ":\n" << lab_->Log();
    AnswerMessageBox();
  }

  // Enter and Escape while a scan or an apply run holds the wizard busy:
  // the program goes on, busy, and says nothing.
  static void KeysChangeNothingWhileBusy(const char* run) {
    SCOPED_TRACE(std::string("Enter and Escape during ") + run);
    ASSERT_TRUE(Until(Busy, 5000)) << "the wizard did not get busy for " << run;
    PressKeys({"Return", "Escape"});
    EXPECT_TRUE(KeepsFor([] { return !x_->WindowTitled(kMessageBoxTitle); }, 200))
        << "a key during " << run << " brought up a message";
    ASSERT_TRUE(Alive()) << "a key ended the program during " << run << ":\n" << lab_->Log();
    AnswerMessageBox(50);
    EXPECT_TRUE(Busy()) << "a key ended " << run;
  }
  // A scan or an apply run that has ended leaves the keyboard on Next, as a
  // person expects: Escape keeps the page, Enter goes on to the next one.
  static void EnterGoesOnOnceTheRunEnds(const char* page, const std::function<bool()>& onPage,
                                        const std::function<bool()>& onNext, int ms) {
    SCOPED_TRACE(std::string("after the run of ") + page);
    ASSERT_TRUE(Until([] { return !Busy(); }, ms)) << "the run of " << page << " did not end";
    PressKeys({"Escape"});
    EXPECT_TRUE(KeepsFor([&] { return Alive() && onPage(); }, 300)) << "Escape left the page " << page;
    ASSERT_TRUE(Alive()) << "Escape ended the program after the run of " << page << ":\n" << lab_->Log();
    AnswerMessageBox();
    PressKeys({"Return"});
    ASSERT_TRUE(Until(onNext, 10000)) << "Enter after the run of " << page
                                      << " did not go on: the keyboard was not given back to Next";
  }
  // While busy, a close or a window that would wait for an answer is
  // refused: `attempt` rings the bell (the X server tells the test), no
  // window opens, and the program goes on. What was heard when the bell
  // rang goes into `pending`, for the run's timing (RunGoesOnInTime).
  struct Refusal {
    std::string what;
    std::chrono::steady_clock::time_point rang;
    int heard;
    int gap = -1;
  };
  static void Refused(const std::string& what, const std::function<void()>& attempt, std::vector<Refusal>* pending) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(Busy()) << "the wizard is not busy for " << what << ": the test came too late";
    const int bells = x_->Bells();
    attempt();
    ASSERT_TRUE(Until([&] { return x_->Bells() > bells; }, 3000)) << "no bell for " << what;
    pending->push_back(Refusal{what, std::chrono::steady_clock::now(), lab_->SimRequests()});
    EXPECT_FALSE(x_->WindowTitled(kMessageBoxTitle)) << what << " opened a message box";
    EXPECT_FALSE(x_->WindowTitled(kAboutTitle)) << what << " opened the About box";
    ASSERT_TRUE(Alive()) << what << " ended the program:\n" << lab_->Log();
  }
  // The program dispatches a refused attempt inside the run's pumped wait,
  // where a modal loop would hold the run: after each refusal the simulator
  // must hear the run's next request (or the run must end, after its last
  // one) no later than the run's own longest stretch without a request
  // (`quietMs`, real time) plus 2 s.
  static void RunGoesOnInTime(std::vector<Refusal>& refusals, int quietMs) {
    const int bound = quietMs + 2000;
    Until(
        [&] {
          const int heard = lab_->SimRequests();
          const bool ended = !Busy();
          bool all = true;
          for (Refusal& r : refusals) {
            if (r.gap < 0 && (heard > r.heard || ended)) r.gap = MsSince(r.rang);
            all = all && r.gap >= 0;
          }
          return all;
        },
        bound + 1000);
    for (const Refusal& r : refusals) {
      gaps_.push_back(r.what + ": " + (r.gap < 0 ? std::string("none") : std::to_string(r.gap) + " ms"));
      EXPECT_TRUE(r.gap >= 0 && r.gap <= bound)
          << "the run's next request came " << r.gap << " ms after " << r.what << " was refused (at most " << bound
          << " ms)\n" << lab_->SimLog();
    }
  }
  // The longest stretches of the apply runs without a request, in real
  // time: the first run's five end steps of 15 s (longer than the 50 s it
  // gives a device to restart), the second run's 20 s for the Master's apply
  // and its five progress steps of 25 s.
  static constexpr int kScan = 0;
  static constexpr int kFirstRunQuietMs = 5 * 15 * 1000 / e2e::kClockScale;
  static constexpr int kSecondRunQuietMs = (20 + 5 * 25) * 1000 / e2e::kClockScale;
  // A scan's length in real time: 100 ticks of 400 ms of the program's time.
  static constexpr int kScanMs = 100 * 400 / e2e::kClockScale;
  static void ReportRefusalGaps() {
    std::string all;
    for (const std::string& g : gaps_) all += g + "; ";
    ::testing::Test::RecordProperty("refusal_gaps", all);
    std::fprintf(stderr, "refusals, the time to the run's next request: %s\n", all.c_str());
  }

  // The ways a person tries to close the program or to open its About box
  // while it works, each refused. `ways` picks them.
  enum Way { kExit = 1, kCloseBox = 2, kAltF4 = 4, kSystemMenuByIcon = 8, kAltSpace = 16 };
  // The refusals are made one after the other, and then timed together,
  // so that they all fall inside the run. `quietMs` kScan: the run is a
  // scan, which asks the devices at its start only; it must end on time
  // instead (ScanEnds).
  static void RefusedWhileBusy(const char* run, int ways, int quietMs) {
    const std::string during = std::string(" during ") + run;
    std::vector<Refusal> refusals;
    if (ways & kExit) Refused("Exit" + during, [] { ClickBox(Layout().Main(IDCANCEL)); }, &refusals);
    if (ways & kCloseBox) Refused("the close box" + during, [] { x_->Click(Layout().main.CloseBox()); }, &refusals);
    if (ways & kAltF4) Refused("Alt+F4" + during, [] { PressKeys({"alt+F4"}); }, &refusals);
    // The system menu's entries are out of reach while it is refused: its
    // About letter, typed after it, opens nothing.
    if (ways & kSystemMenuByIcon)
      Refused("the system menu from the caption's icon" + during, [] {
        x_->Click(CaptionIcon());
        PressKeys({"a"});
      }, &refusals);
    // A window manager keeps Alt+Space for its own menu of the window.
    if ((ways & kAltSpace) && !x_->HasWindowManager())
      Refused("the system menu by Alt+Space" + during, [] { PressKeys({"alt+space", "a"}); }, &refusals);
    if (quietMs != kScan) RunGoesOnInTime(refusals, quietMs);
  }
  static Point CaptionIcon() {
    const Window main = Layout().main;
    return Point{main.client.x + 8, main.outer.y + main.Border() + GetSystemMetrics(SM_CYCAPTION) / 2};
  }

  // The About box from the system menu, opened by `open` (a click on the
  // caption's icon, Alt+Space) and its item's letter; Escape closes it.
  static void AboutFromTheSystemMenu(const std::function<void()>& open, const char* picture) {
    // The menu drops below the caption's icon.
    const Point icon = CaptionIcon();
    const Box menu{icon.x, icon.y + GetSystemMetrics(SM_CYCAPTION), 60, 40};
    const XDriver::Image before = x_->Grab(menu);
    open();
    EXPECT_TRUE(Until([&] { return !(x_->Grab(menu) == before); }, 3000)) << "the system menu did not show";
    if (picture) Shot("create", picture);
    PressKeys({"a"});
    const unsigned long about = x_->WaitForWindow(kAboutTitle, 3000);
    ASSERT_NE(about, 0u) << "the system menu did not open the About box";
    // Its face is the skin's, as the main dialog's: not the plain window colour.
    const Window w = Window::Of(*x_, about, IDD_ABOUTBOX);
    EXPECT_TRUE(IsDark(x_->Pixel(Point{w.client.x + w.outer.width - 2 * w.Border() - 4, w.client.y + 3})))
        << "the About box is not skinned";
    if (picture) Shot("create", "about");
    // Escape, with the pointer on the box: with no window manager the keys
    // go to the window under the pointer.
    x_->MoveTo(Point{w.client.x + 8, w.client.y + 8});
    x_->Settle(30);
    x_->Key("Escape");
    ASSERT_TRUE(x_->WaitWindowGone(kAboutTitle, 3000)) << "Escape did not close the About box";
    ASSERT_TRUE(Alive());
  }

  // Under a window manager, which keeps Alt+F4 for itself: Alt+F4 closes a
  // message box (the pass phrase's confirmation left empty, then Next), and
  // the program does not take Alt as still held, although its key-up went
  // elsewhere: letters typed into `edit` show there, and Enter answers the
  // next box with its default button.
  static void TheKeyboardLivesAfterAltF4OnAMessageBox(Box edit) {
    TypeInto(*x_, edit, "");
    Next();
    ASSERT_NE(x_->WaitForWindow(kMessageBoxTitle, 5000), 0u) << "no message for an unconfirmed pass phrase";
    x_->Key("alt+F4");
    ASSERT_TRUE(x_->WaitWindowGone(kMessageBoxTitle, 5000)) << "Alt+F4 did not close the message box";
    x_->Click(edit.Center());
    x_->Type("x");
    ASSERT_TRUE(Until([&] { return WrittenPixels(*x_, edit) > 0; }, 3000))
        << "after Alt+F4 on the box, letters typed into an edit did not reach it";
    Next();
    const unsigned long box = x_->WaitForWindow(kMessageBoxTitle, 5000);
    ASSERT_NE(box, 0u) << "no message for a pass phrase that does not match";
    const Window w = Window::Of(*x_, box, IDD_SKIN_MESSAGE_BOX);
    x_->MoveTo(Point{w.client.x + 8, w.client.y + 8});
    x_->Key("Return");
    ASSERT_TRUE(x_->WaitWindowGone(kMessageBoxTitle, 5000)) << "Enter did not answer the box after Alt+F4";
  }

  // A skinned message box, if one shows, answered with its default button.
  static bool AnswerMessageBox(int ms = 300) {
    const unsigned long box = x_->WaitForWindow(kMessageBoxTitle, ms);
    if (!box) return false;
    const Window w = Window::Of(*x_, box, IDD_SKIN_MESSAGE_BOX);
    ClickBox(w.Control(IDD_SKIN_MESSAGE_BOX, IDC_MSGBOX_SINGLE_OK));
    if (x_->WaitWindowGone(kMessageBoxTitle, 1000)) return true;
    ClickBox(w.Control(IDD_SKIN_MESSAGE_BOX, IDOK));
    return x_->WaitWindowGone(kMessageBoxTitle, 1000);
  }

  // The Exit button, which looks disabled while the wizard is busy, differs
  // from its idle picture (taken on the welcome panel).
  static XDriver::Image ExitButton() {
    x_->MoveTo(Point{5, 5});
    x_->Settle(100);
    return x_->Grab(Layout().Main(IDCANCEL));
  }
  static bool Busy() { return !exitIdle_.pixels.empty() && !(ExitButton() == exitIdle_); }

  // Minimised and restored, the program still takes input (the caller's next
  // steps prove it) and shows the same. With no window manager nothing could
  // bring an iconified window back: the minimise box leaves it as it is.
  static void MinimiseAndRestore() {
    const MainLayout layout = Layout();
    x_->Click(layout.main.MinimizeBox());
    if (!x_->HasWindowManager()) {
      EXPECT_TRUE(KeepsFor([&] { return x_->IsMapped(layout.main.id); }, 500))
          << "minimised with no window manager to restore it";
      ASSERT_TRUE(Alive());
      return;
    }
    EXPECT_TRUE(Until([&] { return !x_->IsMapped(layout.main.id); }, 3000)) << "the minimise box did nothing";
    x_->Restore(layout.main.id);
    ASSERT_TRUE(Until([&] { return x_->IsMapped(layout.main.id); }, 3000)) << "the window did not come back";
    ASSERT_TRUE(Alive());
  }

  // The apply log's first line: its number and text, clear of the scroll bar.
  static Box LogTopLine(Box log) { return Box{log.x + 3, log.y + 3, log.width - 30, 10}; }
  // The apply log shows, not the page before it, and the run has written its
  // top line: the line numbers' grey gutter runs down the log's left side,
  // and dark text stands right of it on the top line.
  static bool LogTopLineWritten(Box log) {
    const XDriver::Image gutter = x_->Grab(Box{log.x + 8, log.y + 4, 1, log.height - 24});
    if (gutter.pixels.empty() || !std::all_of(gutter.pixels.begin(), gutter.pixels.end(), IsMidGrey)) return false;
    const XDriver::Image line = x_->Grab(Box{log.x + 45, log.y + 3, log.width - 75, 10});
    return std::any_of(line.pixels.begin(), line.pixels.end(), IsDark);
  }
  // While a run writes the log, the log scrolls: the wheel over it, and
  // clicks on its scroll bar's track above the thumb (pages up), bring its
  // first line back to the top. Each new line scrolls the log down again,
  // so each way is tried a few times, each time watched for a little while
  // (on a loaded machine the program may take the input late).
  static void LogScrollsDuringTheRun(Box log, const XDriver::Image& firstLine) {
    const Box top = LogTopLine(log);
    ASSERT_FALSE(firstLine.pixels.empty());
    ASSERT_TRUE(Until([&] { return !(x_->Grab(top) == firstLine); }, 30000))
        << "the log did not fill past its height";
    ASSERT_TRUE(Busy()) << "the run ended before the log filled: the test came too late";
    const auto scrollsBack = [&](const std::function<void()>& scroll) {
      for (int tries = 0; tries < 5; ++tries) {
        scroll();
        if (WaitFor([&] { return x_->Grab(top) == firstLine; }, 400)) return true;
      }
      return false;
    };
    EXPECT_TRUE(scrollsBack([&] { x_->Wheel(log.Center(), 10); }))
        << "the wheel over the log did not bring the first line back";
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    const Point pageUp{log.x + log.width - kListBorder - bar / 2, log.y + kListBorder + bar + 4};
    EXPECT_TRUE(scrollsBack([&] {
      for (int i = 0; i < 4; ++i) x_->Click(pageUp);
    })) << "clicks on the log's scroll bar above its thumb did not bring the first line back";
  }

  // The scan page's status line says something once the scan ended.
  static bool ScanEnds(int page, int status) {
    return Until([&] { return LightPixels(*x_, Layout().Page(page, status)) > 30; }, 20000);
  }

  static Xvfb* xvfb_;
  static WindowManager* wm_;
  static XDriver* x_;
  static TempDir* dir_;
  static Lab* lab_;
  static bool managed_;
  static std::vector<std::string> gaps_;
  static std::map<std::string, int> shots_;
  static XDriver::Image exitIdle_;

 public:
  // The three flows, in the test's named steps.
  void CreateMakesAGroupOfThreeWithAWpa2Ssid();
  void ModifyRenamesRemovesAddsAndChangesTheSecurityToWep();
  void StatusListsTheMembersAndTheProgramEndsWithExit();
};

Xvfb* XFlows::xvfb_ = nullptr;
WindowManager* XFlows::wm_ = nullptr;
XDriver* XFlows::x_ = nullptr;
TempDir* XFlows::dir_ = nullptr;
Lab* XFlows::lab_ = nullptr;
bool XFlows::managed_ = false;
std::vector<std::string> XFlows::gaps_;
std::map<std::string, int> XFlows::shots_;
XDriver::Image XFlows::exitIdle_;

// Types into a field that should have the focus; when it has not, the
// failure is recorded and the field is clicked first, so the flow goes on.
void TypeIntoFocused(XDriver& x, Box field, const std::string& text, const char* what) {
  x.Type(text);
  if (WaitFor([&] { return WrittenPixels(x, field) > 0; }, 1000)) return;
  ADD_FAILURE() << what << " did not have the focus: the typing went elsewhere";
  x.Click(field.Center());
  x.Key("End");
  x.Type(text);
}
// Clicks into a field, empties it and types.
void TypeInto(XDriver& x, Box field, const std::string& text) {
  x.Click(Point{field.x + field.width - 6, field.y + field.height / 2});
  x.Key("End");
  for (int i = 0; i < 40; ++i) x.Key("BackSpace");
  x.Type(text);
}
// An address typed into an IP address control from its first field on.
void TypeAddress(XDriver& x, Box field, const std::string& address) {
  x.Click(Point{field.x + 8, field.y + field.height / 2});
  x.Type(address);
}

void XFlows::CreateMakesAGroupOfThreeWithAWpa2Ssid() {
  Shot("create", "welcome");
  exitIdle_ = ExitButton();
  // The About box from the system menu, by a click on the caption's icon
  // and by Alt+Space (which a window manager such as openbox keeps for its
  // own menu of the window).
  ASSERT_NO_FATAL_FAILURE(AboutFromTheSystemMenu([] { x_->Click(CaptionIcon()); }, "system-menu"));
  if (!x_->HasWindowManager()) {
    ASSERT_NO_FATAL_FAILURE(AboutFromTheSystemMenu([] { PressKeys({"alt+space"}); }, nullptr));
  }
  ClickBox(Layout().Main(IDC_MAIN_CREATE));

  // The group's name and password: the name edit has the focus when the
  // page shows, Tab goes on to the password, Shift+Tab back.
  MainLayout layout = Layout();
  const Box name = layout.Page(IDD_PAGE_GROUP_NAME, IDC_GROUPNAME_NAME);
  const Box password = layout.Page(IDD_PAGE_GROUP_NAME, IDC_GROUPNAME_PASSWORD);
  ASSERT_TRUE(Until([&] { return FieldShows(*x_, name); }, 3000)) << "the group name page did not show";
  TypeIntoFocused(*x_, name, e2e::kCreatedName, "the group name edit");
  x_->Key("Tab");
  TypeIntoFocused(*x_, password, e2e::kCreatedPassword, "the password edit (after Tab)");
  // Shift+Tab back to the name: letters typed there show, and go again. The
  // caret (blinking fast on the test's clock) may add a line of pixels to
  // either count; three letters are many more.
  const int written = WrittenPixels(*x_, name);
  const int caret = name.height;
  x_->Key("shift+Tab");
  x_->Key("End");
  x_->Type("WWW");
  EXPECT_GT(WrittenPixels(*x_, name), written + 2 * caret) << "Shift+Tab did not go back to the group name";
  for (int i = 0; i < 3; ++i) x_->Key("BackSpace");
  EXPECT_LE(WrittenPixels(*x_, name), written + caret);
  ASSERT_NO_FATAL_FAILURE(
      EnterAndEscapeKeepThePage("group name", [&] { return FieldShows(*x_, name) && WrittenPixels(*x_, name) > 0; }));
  Shot("create", "group-name");
  // Tab goes round: the name, the password, Back, Next, Cancel, the main
  // dialog's four buttons and into the page again, at the name: a letter
  // typed there shows, and goes again.
  const int named = WrittenPixels(*x_, name);
  PressKeys({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "End"});
  x_->Type("W");
  EXPECT_GT(WrittenPixels(*x_, name), named + caret) << "Tab from the main dialog's buttons did not reach the name";
  x_->Key("BackSpace");
  // Next by the keyboard alone: Tab from the name passes the password and
  // Back, and Space presses Next.
  PressKeys({"Tab", "Tab", "Tab", "space"});

  // The scan: Escape and Enter change nothing while it runs, the close box
  // is refused. (Its progress bar lies where the name was: the password is
  // looked at.)
  ASSERT_TRUE(Until([&] { return !FieldShows(*x_, password); }, 3000)) << "Tab and Space did not press Next";
  ASSERT_NO_FATAL_FAILURE(KeysChangeNothingWhileBusy("the create scan"));
  const auto scanRefused = std::chrono::steady_clock::now();
  ASSERT_NO_FATAL_FAILURE(RefusedWhileBusy("the create scan", kCloseBox | kExit, kScan));
  Shot("create", "scanning");
  ASSERT_TRUE(ScanEnds(IDD_PAGE_SCAN_NEW_AP, IDC_SCAN_NEW_STATUS)) << "the scan's result never showed";
  EXPECT_LE(MsSince(scanRefused), kScanMs + 2000) << "the scan did not end on time after the refusals";
  Shot("create", "scan-done");
  // Minimised and restored, it keeps its state and the keyboard: Enter on
  // Next, where the end of the scan put the focus, goes on.
  ASSERT_NO_FATAL_FAILURE(MinimiseAndRestore());

  // Three devices dragged into the group with the mouse. The list shows the
  // device found last at the top: the simulator answers in its scenario's
  // order, so the fourth device is at the top and the first at the bottom.
  layout = Layout();
  const Box unconfigured = layout.Page(IDD_PAGE_MEMBER, IDC_MEM_UNCONFIG_LIST);
  const Box members = layout.Page(IDD_PAGE_MEMBER, IDC_MEM_MEMBER_LIST);
  const Box status = layout.Page(IDD_PAGE_SCAN_NEW_AP, IDC_SCAN_NEW_STATUS);
  ASSERT_NO_FATAL_FAILURE(EnterGoesOnOnceTheRunEnds(
      "the create scan", [&] { return LightPixels(*x_, status) > 30 && !FieldShows(*x_, members); },
      [&] { return FieldShows(*x_, members); }, 5000));
  ASSERT_NO_FATAL_FAILURE(EnterAndEscapeKeepThePage("members", [&] { return FieldShows(*x_, members); }));
  // The wheel brings the bottom row (the first device) into view as the
  // third shown; once it is gone the list needs no scrolling and shows the
  // fourth, third and second devices, then the fourth and third.
  x_->Wheel(unconfigured.Center(), -3);
  const Point drop = Point{members.x + members.width / 2, members.y + members.height / 2};
  for (int shown : {2, 2, 1}) {
    x_->Drag(RowPoint(unconfigured, shown, 40), drop);
    ASSERT_TRUE(Alive()) << "the drag ended the program";
  }
  // Rows go back by their Delete image, not by a drag: one dragged from the
  // member list onto the unconfigured list stays where it is.
  // (The pointer leaves the lists first: no tooltip over their rows.)
  const auto rowShows = [&](Box list, int row) { return TextWidth(*x_, RowPoint(list, row, 0), 80) > 0; };
  const auto threeMembers = [&] {
    x_->MoveTo(Point{5, 5});
    return rowShows(members, 2) && !rowShows(unconfigured, 1);
  };
  ASSERT_TRUE(Until(threeMembers, 3000)) << "three members and one device left were expected";
  x_->Drag(RowPoint(members, 2, 80 + 95 + 50), unconfigured.Center());
  ASSERT_TRUE(Alive()) << "a drag from the member list ended the program";
  EXPECT_TRUE(KeepsFor(threeMembers, 300)) << "a drag from the member list moved a row";
  ASSERT_NO_FATAL_FAILURE(MinimiseAndRestore());

  // Roles from the role cells' lists: the Master, the Backup Master; the
  // third stays a Slave. A click on the cell shows its combo box, one on the
  // arrow drops the list below the cell, one item per line of the list font.
  for (int row : {0, 1}) {
    const Box cell{RowPoint(members, row, 0).x, RowPoint(members, row, 0).y - kListRow / 2, 80, kListRow};
    const Box drop{cell.x, cell.y + kListRow + 2, 80, 2 * kDropItem};
    ClickAndSeeChange(RowPoint(members, row, 20), cell, "the role cell");
    ClickAndSeeChange(RowPoint(members, row, kRoleArrow), drop, "the role cell's arrow");
    if (row == 0) Shot("create", "role-list");
    ClickAndSeeChange(Offset(RowPoint(members, row, 20), 0, kListRow / 2 + 2 + row * kDropItem + kDropItem / 2), drop,
                      "the role's item");
  }
  // The "Set IP" boxes of the automatic plan, and its three addresses.
  for (int row : {0, 1, 2}) x_->Click(RowPoint(members, row, 80 + 95 + 100 + 80 + 9 + kListRow / 2));
  TypeAddress(*x_, layout.Page(IDD_PAGE_MEMBER, IDC_MEM_IP_FROM), e2e::kPlanFrom);
  TypeAddress(*x_, layout.Page(IDD_PAGE_MEMBER, IDC_MEM_MASK), e2e::kPlanMask);
  TypeAddress(*x_, layout.Page(IDD_PAGE_MEMBER, IDC_MEM_GATEWAY), e2e::kPlanGateway);
  Shot("create", "members");

  // The first apply run; the close box and Exit are refused during it, the
  // log scrolls with the wheel and its scroll bar, and the devices end
  // complete.
  const Box log = layout.Page(IDD_PAGE_APPLY, IDC_APPLY_LOG);
  Next();
  ASSERT_TRUE(Until([&] { return FieldShows(*x_, log); }, 5000)) << "Next did not leave the member page";
  // The log's first line, where it stands while the log has room for all,
  // once the run has written it: on a loaded machine the member page may
  // still be on the screen when the log's place first looks light.
  x_->MoveTo(Point{5, 5});
  ASSERT_TRUE(Until([&] { return LogTopLineWritten(log); }, 10000)) << "the run wrote no first line";
  const XDriver::Image firstLine = x_->Grab(LogTopLine(log));
  Shot("create", "apply-running");
  ASSERT_NO_FATAL_FAILURE(KeysChangeNothingWhileBusy("the first apply run"));
  ASSERT_NO_FATAL_FAILURE(EnterAndEscapeKeepThePage("apply", [&] { return FieldShows(*x_, log); }));
  ASSERT_NO_FATAL_FAILURE(LogScrollsDuringTheRun(log, firstLine));
  ASSERT_NO_FATAL_FAILURE(RefusedWhileBusy("the first apply run", kExit | kCloseBox | kAltF4, kFirstRunQuietMs));
  Shot("create", "apply-refused");  // the log's line on the refusals, near its end
  const auto grouped = [&] {
    auto devices = lab_->Devices();
    for (const char* mac : {e2e::kMaster, e2e::kBackup, e2e::kSlave})
      if (devices(mac)["dot11ApTrevakName"] != e2e::kCreatedName) return false;
    return true;
  };
  ASSERT_TRUE(Until(grouped, 90000)) << "the first apply run did not make the group:\n" << lab_->Log();
  Shot("create", "apply");

  // The Master's wireless settings: a WPA2-Personal SSID.
  layout = Layout();
  const Box ssid = layout.Page(IDD_PAGE_WIRELESS, IDC_WL_SSID);
  // The apply page has a light field where the SSID is; its log is not there.
  const auto onWireless = [&] { return FieldShows(*x_, ssid) && !FieldShows(*x_, log); };
  ASSERT_NO_FATAL_FAILURE(
      EnterGoesOnOnceTheRunEnds("the first apply run", [&] { return FieldShows(*x_, log); }, onWireless, 60000));
  ASSERT_TRUE(Until([&] { return WrittenPixels(*x_, ssid) > 0; }, 10000)) << "the SSID was not read";
  ASSERT_NO_FATAL_FAILURE(EnterAndEscapeKeepThePage("wireless", onWireless));
  TypeInto(*x_, ssid, e2e::kSsid);
  // The focus outline goes with the focus: Tab from the SSID reaches "Auto
  // Channel Scan" (the channel list is off while it is ticked), which shows
  // the outline; the next Tab takes it on to the authentication box, which
  // shows it now, and leaves the check box as it looked before.
  const Box autoScan = layout.Page(IDD_PAGE_WIRELESS, IDC_WL_AUTO_CHANNEL);
  const Box authBox = layout.Page(IDD_PAGE_WIRELESS, IDC_WL_AUTH);
  const XDriver::Image autoPlain = x_->Grab(autoScan), authPlain = x_->Grab(authBox);
  x_->Key("Tab");
  EXPECT_TRUE(Until([&] { return !(x_->Grab(autoScan) == autoPlain); }, 3000))
      << "Auto Channel Scan shows no focus outline";
  x_->Key("Tab");
  EXPECT_TRUE(Until([&] { return !(x_->Grab(authBox) == authPlain); }, 3000))
      << "the authentication box shows no focus outline";
  EXPECT_TRUE(Until([&] { return x_->Grab(autoScan) == autoPlain; }, 3000)) << "the outline stayed on Auto Channel Scan";
  // The authentication and the WPA mode from their drop lists, with the
  // mouse: Open System, Shared Key, WPA-Personal; Auto, WPA2 Only, WPA Only.
  ChooseFromList(layout.Page(IDD_PAGE_WIRELESS, IDC_WL_AUTH), 2, "create", "auth-list");
  const Box area = layout.Page(IDD_PAGE_WIRELESS, IDC_WL_SECURITY_AREA);
  const Point wpa{area.x, area.y};
  ChooseFromList(At(wpa, ControlBox(IDD_WPA_PERSONAL, IDC_WPAP_MODE)), 1, "create", "wpa-mode-list");
  TypeInto(*x_, At(wpa, ControlBox(IDD_WPA_PERSONAL, IDC_WPAP_KEY)), e2e::kPassPhrase);
  const Box confirm = At(wpa, ControlBox(IDD_WPA_PERSONAL, IDC_WPAP_KEYCOM));
  if (x_->HasWindowManager()) {
    ASSERT_NO_FATAL_FAILURE(TheKeyboardLivesAfterAltF4OnAMessageBox(confirm));
  }
  TypeInto(*x_, confirm, e2e::kPassPhrase);
  Shot("create", "wireless");

  // The second apply run, refused a close; then the last page and Finish.
  Next();
  ASSERT_NO_FATAL_FAILURE(KeysChangeNothingWhileBusy("the second apply run"));
  ASSERT_NO_FATAL_FAILURE(RefusedWhileBusy("the second apply run", kSystemMenuByIcon | kAltSpace | kExit, kSecondRunQuietMs));
  ASSERT_TRUE(Until([&] { return lab_->Devices()(e2e::kMaster)["dot11Ssid"] == e2e::kSsid; }, 90000)) << lab_->Log();
  Shot("create", "apply-wireless");
  const Box done = layout.Page(IDD_PAGE_CREATE_DONE, IDC_DONE_TITLE);
  ASSERT_NO_FATAL_FAILURE(EnterGoesOnOnceTheRunEnds(
      "the second apply run", [&] { return FieldShows(*x_, log); },
      [&] { return LightPixels(*x_, done) > 30 && !FieldShows(*x_, log); }, 60000));
  ASSERT_NO_FATAL_FAILURE(EscapeKeepsTheLastPage("create done", [&] { return LightPixels(*x_, done) > 30; }));
  Shot("create", "done");
  // Enter presses Finish, which has the focus: the frame goes, the program stays.
  const Box finish = layout.Frame(IDC_WIZ_FINISH);
  ASSERT_GT(LightPixels(*x_, finish), 30) << "Finish does not show";
  PressKeys({"Return"});
  EXPECT_TRUE(Until([&] { return LightPixels(*x_, finish) == 0; }, 3000)) << "Enter did not press Finish";
  ASSERT_TRUE(Alive()) << "Finish ended the program";

  e2e::ExpectCreated(lab_->Devices());
}

void XFlows::ModifyRenamesRemovesAddsAndChangesTheSecurityToWep() {
  // The scan: Enter and Escape change nothing, the close box is refused.
  ClickBox(Layout().Main(IDC_MAIN_MODIFY));
  MainLayout layout = Layout();
  ASSERT_NO_FATAL_FAILURE(KeysChangeNothingWhileBusy("the modify scan"));
  const auto scanRefused = std::chrono::steady_clock::now();
  ASSERT_NO_FATAL_FAILURE(RefusedWhileBusy("the modify scan", kAltF4 | kSystemMenuByIcon, kScan));
  Shot("modify", "scanning");
  ASSERT_TRUE(ScanEnds(IDD_PAGE_MODIFY_SCAN, IDC_MODIFY_SCAN_STATUS)) << "the scan's result never showed";
  EXPECT_LE(MsSince(scanRefused), kScanMs + 2000) << "the scan did not end on time after the refusals";
  Shot("modify", "scan-done");

  // "Atrium" opened with a double click and its password, renamed, given
  // another password.
  const Box groups = layout.Page(IDD_PAGE_MODIFY_MEMBERS, IDC_MOD_GROUP_LIST);
  const Box status = layout.Page(IDD_PAGE_MODIFY_SCAN, IDC_MODIFY_SCAN_STATUS);
  ASSERT_NO_FATAL_FAILURE(EnterGoesOnOnceTheRunEnds(
      "the modify scan", [&] { return LightPixels(*x_, status) > 30 && !FieldShows(*x_, groups); },
      [&] { return FieldShows(*x_, groups); }, 5000));
  x_->DoubleClick(Point{groups.x + 20, groups.y + 2 + kListRow / 2});
  const unsigned long ask = x_->WaitForWindow(kGroupPasswordTitle, 5000);
  ASSERT_NE(ask, 0u) << "the group password was not asked";
  const Window dialog = Window::Of(*x_, ask, IDD_GROUP_PASSWORD);
  // The password field has the focus; the name stays as it is.
  TypeIntoFocused(*x_, dialog.Control(IDD_GROUP_PASSWORD, IDC_GRPPASS_PASSWORD), e2e::kCreatedPassword,
                  "the group password field");
  Shot("modify", "group-password");
  x_->MoveTo(dialog.client);
  x_->Key("Return");
  ASSERT_TRUE(x_->WaitWindowGone(kGroupPasswordTitle, 5000)) << "Enter did not close the password dialog";
  const Box members = layout.Page(IDD_PAGE_MODIFY_MEMBERS, IDC_MOD_MEMBER_LIST);
  const Box unconfigured = layout.Page(IDD_PAGE_MODIFY_MEMBERS, IDC_MOD_UNCONFIG_LIST);
  // The group's members read: its name shows in the name field.
  ASSERT_TRUE(Until([&] { return WrittenPixels(*x_, layout.Page(IDD_PAGE_MODIFY_MEMBERS, IDC_MOD_GROUP_NAME)) > 0; },
                    10000))
      << "the group did not open";
  TypeInto(*x_, layout.Page(IDD_PAGE_MODIFY_MEMBERS, IDC_MOD_GROUP_NAME), e2e::kModifiedName);
  TypeInto(*x_, layout.Page(IDD_PAGE_MODIFY_MEMBERS, IDC_MOD_GROUP_PASSWORD), e2e::kModifiedPassword);
  ASSERT_NO_FATAL_FAILURE(EnterAndEscapeKeepThePage("modify members", [&] { return FieldShows(*x_, members); }));

  // The Slave leaves through its Delete image, after the question. Its row
  // is the one whose role reads shortest ("Slave" beside "Master" and
  // "Backup Master"); the list shows two rows and most of the third. The
  // Delete column lies beyond the list's right edge: the scroll bar's thumb
  // dragged to the end shows it.
  std::vector<int> widths;
  for (int row : {0, 1, 2}) widths.push_back(TextWidth(*x_, RowPoint(members, row, 0), 80));
  const int shown = static_cast<int>(std::min_element(widths.begin(), widths.end()) - widths.begin());
  EXPECT_GT(widths[shown], 0) << "no role texts seen";
  const int scroll = GetSystemMetrics(SM_CXVSCROLL);
  const int clientWidth = members.width - 2 * kListBorder - scroll;
  const int barY = members.y + members.height - kListBorder - GetSystemMetrics(SM_CYHSCROLL) / 2;
  x_->Drag(Point{members.x + kListBorder + scroll + 6, barY}, Point{members.x + members.width, barY});
  const int deleteLeft = kMemberDeleteColumn - (kMemberListWidth - clientWidth);
  x_->Click(RowPoint(members, shown, deleteLeft + 6));
  ASSERT_TRUE(AnswerMessageBox(2000)) << "no question before the member left";
  // The fourth device, at the top of the unconfigured list, joins.
  x_->Drag(RowPoint(unconfigured, 0, 40), Point{members.x + members.width / 2, members.y + members.height / 2});
  Shot("modify", "members");

  Next();
  ASSERT_NO_FATAL_FAILURE(KeysChangeNothingWhileBusy("the modify apply run"));
  ASSERT_NO_FATAL_FAILURE(RefusedWhileBusy("the modify apply run", kCloseBox | kAltF4 | kSystemMenuByIcon, kFirstRunQuietMs));
  ASSERT_TRUE(Until(
      [&] {
        auto devices = lab_->Devices();
        return devices(e2e::kNewcomer)["dot11ApTrevakName"] == e2e::kModifiedName &&
               devices(e2e::kMaster)["dot11ApTrevakName"] == e2e::kModifiedName;
      },
      90000))
      << lab_->Log();
  Shot("modify", "apply");

  // WEP: open system, a 64-bit ASCII key.
  const Box ssid = layout.Page(IDD_PAGE_MODIFY_WIRELESS, IDC_WL_SSID);
  const Box log = layout.Page(IDD_PAGE_APPLY, IDC_APPLY_LOG);
  const auto onWireless = [&] { return FieldShows(*x_, ssid) && !FieldShows(*x_, log); };
  ASSERT_NO_FATAL_FAILURE(EnterGoesOnOnceTheRunEnds("the modify apply run", [&] { return FieldShows(*x_, log); },
                                                    onWireless, 60000));
  ASSERT_TRUE(Until([&] { return WrittenPixels(*x_, ssid) > 0; }, 10000)) << "the SSID was not read";
  ASSERT_NO_FATAL_FAILURE(EnterAndEscapeKeepThePage("modify wireless", onWireless));
  ChooseFromList(layout.Page(IDD_PAGE_MODIFY_WIRELESS, IDC_WL_AUTH), 0, "modify", "auth-list");  // Open System
  const Box area = layout.Page(IDD_PAGE_MODIFY_WIRELESS, IDC_WL_SECURITY_AREA);
  const Point wep{area.x, area.y};
  ClickBox(At(wep, ControlBox(IDD_WEP_KEY, IDC_WEP_ENABLE)));
  ChooseFromList(At(wep, ControlBox(IDD_WEP_KEY, IDC_WEP_TYPE)), 0, "modify", "key-type-list");  // ASCII
  ChooseFromList(At(wep, ControlBox(IDD_WEP_KEY, IDC_WEP_SIZE)), 0, "modify", "key-size-list");  // 64 bits
  TypeInto(*x_, At(wep, ControlBox(IDD_WEP_KEY, IDC_WEP_KEY)), e2e::kWepKey);
  TypeInto(*x_, At(wep, ControlBox(IDD_WEP_KEY, IDC_WEP_KEYCOM)), e2e::kWepKey);
  Shot("modify", "wireless");
  Next();
  ASSERT_NO_FATAL_FAILURE(KeysChangeNothingWhileBusy("the second modify apply run"));
  Shot("modify", "apply-wireless-running");
  ASSERT_NO_FATAL_FAILURE(RefusedWhileBusy("the second modify apply run", kAltSpace | kExit | kAltF4, kSecondRunQuietMs));
  ASSERT_TRUE(Until([&] { return lab_->Devices()(e2e::kMaster)["dot11WepKey.1"] == e2e::kWepKey; }, 90000))
      << lab_->Log();
  const Box done = layout.Page(IDD_PAGE_MODIFY_DONE, IDC_DONE_TITLE);
  const auto onDone = [&] { return LightPixels(*x_, done) > 30 && !FieldShows(*x_, ssid) && !FieldShows(*x_, log); };
  ASSERT_NO_FATAL_FAILURE(EnterGoesOnOnceTheRunEnds("the second modify apply run", [&] { return FieldShows(*x_, log); },
                                                    onDone, 60000));
  ASSERT_NO_FATAL_FAILURE(EscapeKeepsTheLastPage("modify done", onDone));
  Shot("modify", "done");
  ASSERT_NO_FATAL_FAILURE(Finish());

  e2e::ExpectModified(lab_->Devices());
}

void XFlows::StatusListsTheMembersAndTheProgramEndsWithExit() {
  ClickBox(Layout().Main(IDC_MAIN_STATUS));
  MainLayout layout = Layout();
  ASSERT_NO_FATAL_FAILURE(KeysChangeNothingWhileBusy("the status scan"));
  const auto scanRefused = std::chrono::steady_clock::now();
  ASSERT_NO_FATAL_FAILURE(RefusedWhileBusy("the status scan", kAltSpace | kCloseBox, kScan));
  Shot("status", "scanning");
  ASSERT_TRUE(ScanEnds(IDD_PAGE_STATUS_SCAN, IDC_STATUS_SCAN_STATUS)) << "the scan's result never showed";
  EXPECT_LE(MsSince(scanRefused), kScanMs + 2000) << "the scan did not end on time after the refusals";
  const Box list = layout.Page(IDD_PAGE_STATUS_LIST, IDC_STATUS_LIST);
  const Box status = layout.Page(IDD_PAGE_STATUS_SCAN, IDC_STATUS_SCAN_STATUS);
  ASSERT_NO_FATAL_FAILURE(EnterGoesOnOnceTheRunEnds(
      "the status scan", [&] { return LightPixels(*x_, status) > 30 && !FieldShows(*x_, list); },
      [&] { return FieldShows(*x_, list); }, 5000));
  ASSERT_NO_FATAL_FAILURE(EnterAndEscapeKeepThePage("status list", [&] { return FieldShows(*x_, list); }));
  // The header and three rows of text in the first column (above the
  // horizontal scroll bar), one per member; what they say the state file
  // shows below.
  EXPECT_EQ(TextLines(*x_, Box{list.x + 4, list.y + 2, 100, list.height - 4 - GetSystemMetrics(SM_CYHSCROLL)}), 4);
  Shot("status", "list");
  e2e::ExpectModifiedGroup(lab_->Devices());
  ASSERT_NO_FATAL_FAILURE(Finish());

  // Idle, the Exit button ends the program, with status 0.
  ClickBox(Layout().Main(IDCANCEL));
  EXPECT_EQ(lab_->WaitExit(15000), 0) << lab_->Log();
}

// The flows in turn, as a person uses the program: a group made, changed,
// its status read, and the program ended with Exit.
TEST_F(XFlows, CreateThenModifyThenStatusThenExit) {
  {
    SCOPED_TRACE("step: create");
    ASSERT_NO_FATAL_FAILURE(CreateMakesAGroupOfThreeWithAWpa2Ssid());
  }
  {
    SCOPED_TRACE("step: modify");
    ASSERT_NO_FATAL_FAILURE(ModifyRenamesRemovesAddsAndChangesTheSecurityToWep());
  }
  {
    SCOPED_TRACE("step: status and Exit");
    ASSERT_NO_FATAL_FAILURE(StatusListsTheMembersAndTheProgramEndsWithExit());
  }
  ReportRefusalGaps();
}

// ---------------------------------------------------------------- a start that fails

// As a person meets a start that cannot go on: a second copy of the program
// in the same network finds UDP 55000 taken by the first. It says why in the
// program's skinned, titled box, and once that is answered it ends with a
// status that is not 0. (The first copy goes with the test.)
TEST(XStart, ASecondCopySaysWhyInTheSkinnedBoxAndEnds) {
  Xvfb xvfb("1024x768x24");
  ASSERT_FALSE(xvfb.name().empty()) << "Xvfb did not start";
  WindowManager wm(WindowManagerName(), xvfb.name());
  XDriver x(xvfb.name());
  ASSERT_TRUE(x.Ready());
  if (!WindowManagerName().empty()) {
    ASSERT_TRUE(WaitFor([&] { return x.HasWindowManager(); }, 10000));
  }
  TempDir dir;
  const std::string go = dir.file("go"), status = dir.file("status");
  // The first copy in the background; the second once the test says so.
  const std::string script =
      "\"$1\" & while [ ! -e \"$2\" ]; do sleep 0.05; done; \"$1\"; echo $? > \"$3.tmp\"; mv \"$3.tmp\" \"$3\"; wait";
  const pid_t pid = SpawnOnDisplay({std::string(std::getenv("TRELLIAN_SOURCE_DIR")) + "/tools/netns-run", "/bin/bash",
                                    "-c", script, "start", BuiltProgram("Trellian"), go, status},
                                   xvfb.name(), dir, dir.file("log"), {"XDG_STATE_HOME=" + dir.file("state")});
  ASSERT_GT(pid, 0);
  struct Stop {
    pid_t pid;
    ~Stop() { StopChild(pid, true); }
  } stop{pid};
  const auto log = [&] {
    std::ifstream in(dir.file("log"));
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  ASSERT_NE(x.WaitForWindow(kMainTitle, 30000), 0u) << "the first copy did not start:\n" << log();
  std::ofstream(go).close();

  const unsigned long box = x.WaitForWindow(kMessageBoxTitle, 30000);
  ASSERT_NE(box, 0u) << "the second copy said nothing:\n" << log();
  // Once placed (a window manager may still move it after it shows) and
  // painted: the message written, under the skin's light caption, not the
  // plain dark one.
  Window w;
  const auto written = [&] { return WrittenPixels(x, w.Control(IDD_SKIN_MESSAGE_BOX, IDC_MSGBOX_TEXT)) > 50; };
  const auto skinned = [&] {
    return IsLight(x.Pixel(Point{w.outer.x + w.outer.width * 3 / 5, w.outer.y + w.Border() + 3}));
  };
  Box placed{};
  WaitFor(
      [&] {
        w = Window::Of(x, box, IDD_SKIN_MESSAGE_BOX);
        const bool still = w.outer.x == placed.x && w.outer.y == placed.y && w.outer.width == placed.width;
        placed = w.outer;
        return still && written() && skinned();
      },
      5000);
  EXPECT_TRUE(written()) << "the box says nothing";
  EXPECT_TRUE(skinned()) << "the box's caption is not the skin's";
  x.MoveTo(Point{5, 5});
  x.Settle(200);
  EXPECT_TRUE(x.SavePng(ShotFolder("start") + "/01-second-copy.png"));
  // Enter, with the pointer on the box: with no window manager the keys go
  // to the window under the pointer.
  x.MoveTo(Point{w.client.x + 8, w.client.y + 8});
  x.Settle(30);
  x.Key("Return");
  ASSERT_TRUE(WaitFor([&] { return fs::exists(status); }, 15000)) << "the second copy did not end:\n" << log();
  std::ifstream in(status);
  int code = -1;
  in >> code;
  EXPECT_EQ(code, 1) << log();
  EXPECT_NE(log().find("cannot start"), std::string::npos) << log();
}

}  // namespace

// The program's start-up, measured two ways.
//
// On an X server (BM_TrellianOnXvfb): the real program, bin/Trellian beside
// this benchmark (or the one given with --program=PATH), started as a person
// starts it, on a private Xvfb that the benchmark runs. The benchmark watches
// the server, not the program: the damage extension reports every drawing on
// the screen, and each reported area is read back and compared with what the
// screen held before, so only real pixel changes count. The figure is the
// time from the spawn to the last pixel change of the main dialog's first
// paint (aim: under 60 ms): the last change of the burst that follows the
// spawn, up to the first pause of a quarter second. The counters give the time
// to the window's map and to its first pixel change, the changes after that
// pause (a later repaint), and the program's resident set size once the
// screen has been still for half a second (aim: under 40 MB). Each run has the same private state folder, so from the
// second run on the boot counter is found, as on a user's machine.
//
// The baseline (BM_BareXlibWindowOnXvfb), measured the same way on the same
// server in the same run: xlib_window_baseline, built beside this benchmark,
// which maps one window of the main dialog's size and fills it at its first
// Expose. The aim for the program is at most 4 times the baseline. At the
// end one line gives the minimum and median of both and their ratio.
//
// Headless (BM_StartToFirstPaint, BM_IdleRssWithThreeDevices): this program
// again as a probe that runs the program's application object and main dialog
// in memory and stamps the monotonic clock at each step of the start-up
// (milliseconds from the spawn: exec, linking and static initialisers are
// counted); the dialog is painted when its paint messages and those of its
// controls are handled. For the memory figure the probe then scans with the
// main dialog's broadcast discovery task, as a scan page does, idles half a
// second after the third device answers and reads its own VmRSS.
//
// The main dialog binds UDP 55000 and broadcasts, so this runs only inside a
// private network (tools/netns-run); it starts three simulated devices
// (apsim, built beside it) itself. From a release tree without sanitizers:
//
//   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTRELLIAN_BENCH=ON -DTRELLIAN_TESTS=OFF
//   cmake --build build/release -j3 --target app_startup_bench Trellian
//   tools/netns-run build/release/bin/app_startup_bench [--program=PATH] [--benchmark_filter=Xvfb]
//
// The private Xvfb is the tests' (tests/support/Xvfb.h): the first free
// display number, or the first free one of TRELLIAN_XVFB_DISPLAYS=FIRST-LAST.
//
// Each figure is the median and minimum over its repetitions (15 for the X
// server, fresh processes each).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ApsimHarness.h"
#include "CDiscoveryTask.h"
#include "CMainDlg.h"
#include "CWizardApp.h"
#include "PageRegistry.h"
#include "TempDir.h"
#include "Xvfb.h"

// Xlib last: its macros (None, Status, True...) clash with the program's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

extern char** environ;

namespace {

// Three factory-fresh devices, as tools/aplab starts them.
const char kThreeDevices[] = R"(
[device]
mac = 000D88A00001
ip = 10.250.0.11
location = Lab rack 1
[device]
mac = 000D88A00002
ip = 10.250.0.12
location = Lab rack 2
[device]
mac = 000D88A00003
ip = 10.250.0.13
location = Lab rack 3
)";
const int kDevices = 3;
const UINT kIdleMs = 500;
// A probe that has not reported by then is stuck: the broadcast scan's first
// time-out is 5 s, so three devices are found well before.
const int kProbeTimeoutMs = 20000;

long long MonotonicNs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// ------------------------------------------------------------------ the probe

// The value of `key` (in kB) in a process's status file.
long StatusKb(const char* key, const std::string& process = "self") {
  std::ifstream status("/proc/" + process + "/status");
  std::string line;
  const size_t length = std::strlen(key);
  while (std::getline(status, line))
    if (line.compare(0, length, key) == 0 && line.size() > length && line[length] == ':')
      return std::atol(line.c_str() + length + 1);
  return -1;
}

// The program's application object, watching its own message loop: every
// message of the main dialog's modal loop passes PreTranslateMessage first.
class ProbeApp : public CWizardApp {
 public:
  ProbeApp(int reportFd, bool scan) : m_fd(reportFd), m_bScan(scan) {}

  void Stamp(const char* step) { dprintf(m_fd, "%s %lld\n", step, MonotonicNs()); }

  BOOL InitApplication() override {
    Stamp("init_application");
    return CWizardApp::InitApplication();
  }
  BOOL InitInstance() override {
    Stamp("init_instance");
    return CWizardApp::InitInstance();
  }

  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_PAINT && !m_bPainted && InMainDialog(msg->hwnd)) {
      if (!m_bPaintBegun) Stamp("first_paint_message");
      m_bPaintBegun = true;
      ::DispatchMessage(msg);
      MSG next;
      if (!::PeekMessage(&next, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) {
        m_bPainted = true;
        Stamp("painted");
        if (m_bScan)
          StartScan();
        else
          Finish();
      }
      return TRUE;
    }
    if (msg->message == WM_TIMER && msg->wParam == kIdleTimer && msg->hwnd == MainHwnd()) {
      ::KillTimer(msg->hwnd, kIdleTimer);
      dprintf(m_fd, "rss_kb %ld\nhwm_kb %ld\n", StatusKb("VmRSS"), StatusKb("VmHWM"));
      Finish();
      return TRUE;
    }
    return CWizardApp::PreTranslateMessage(msg);
  }

 private:
  static const UINT_PTR kIdleTimer = 0xBE7C;

  HWND MainHwnd() const { return m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr; }
  bool InMainDialog(HWND hwnd) const {
    HWND main = MainHwnd();
    return main && (hwnd == main || ::IsChild(main, hwnd));
  }

  // The broadcast scan a scan page starts, on the dialog's own task.
  void StartScan() {
    auto* dialog = static_cast<CMainDlg*>(m_pMainWnd);
    dialog->m_pDiscoveryB->ClearSeenMacs();
    dialog->m_pDiscoveryB->Run(&ProbeApp::OnDiscovery, this);
  }
  static int OnDiscovery(int status, CDeviceRecord* record, void* owner) {
    auto* self = static_cast<ProbeApp*>(owner);
    if (status == 0 && record) {
      self->m_macs.insert(std::string(record->m_strMac));
      if (static_cast<int>(self->m_macs.size()) == kDevices) {
        self->Stamp("found");
        ::SetTimer(self->MainHwnd(), kIdleTimer, kIdleMs, nullptr);
      }
    } else if (static_cast<int>(self->m_macs.size()) < kDevices) {
      dprintf(self->m_fd, "error the scan ended with %zu of %d devices\n", self->m_macs.size(), kDevices);
      self->Finish();
    }
    return 0;
  }

  void Finish() {
    dprintf(m_fd, "done 0\n");
    static_cast<CDialog*>(m_pMainWnd)->EndDialog(IDCANCEL);
  }

  int m_fd;
  bool m_bScan;
  bool m_bPaintBegun = false;
  bool m_bPainted = false;
  std::set<std::string> m_macs;
};

int RunProbe(const std::string& mode, int reportFd) {
  ProbeApp app(reportFd, mode == "idle");
  app.Stamp("main");
  RegisterWizardPages();
  return AfxWinMain(::GetModuleHandle(nullptr), nullptr, const_cast<LPTSTR>(""), SW_SHOWNORMAL);
}

// ------------------------------------------------------------------ the parent

struct ProbeResult {
  std::string error;
  std::map<std::string, double> ms;  // each step, in milliseconds from the spawn
  std::map<std::string, long> kb;
};

// Spawns the probe and collects its report; a probe that does not finish in
// time is killed.
ProbeResult SpawnProbe(const char* mode) {
  ProbeResult result;
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    result.error = "pipe failed";
    return result;
  }
  const std::string fd = "3";
  std::vector<std::string> args = {"/proc/self/exe", "--probe", mode, fd};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, report[1], 3);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const long long start = MonotonicNs();
  const int spawned = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(report[1]);
  if (spawned != 0) {
    close(report[0]);
    result.error = "cannot start the probe";
    return result;
  }

  std::string text;
  bool done = false;
  const long long deadline = start + kProbeTimeoutMs * 1000000LL;
  for (;;) {
    const long long left = (deadline - MonotonicNs()) / 1000000;
    pollfd p{report[0], POLLIN, 0};
    if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) break;
    char buffer[512];
    const ssize_t n = read(report[0], buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
    if (text.find("done ") != std::string::npos) done = true;
  }
  close(report[0]);
  if (!done) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);

  std::istringstream lines(text);
  std::string key;
  long long value = 0;
  while (lines >> key) {
    if (key == "error") {
      std::getline(lines, result.error);
      continue;
    }
    lines >> value;
    if (key.size() > 3 && key.compare(key.size() - 3, 3, "_kb") == 0)
      result.kb[key] = static_cast<long>(value);
    else if (key != "done")
      result.ms[key] = static_cast<double>(value - start) / 1e6;
  }
  if (result.error.empty() && !done) result.error = "the probe did not finish in time";
  // Only a crash counts: the program's exit status is the parameter of the
  // last message its close pumped, whatever that was.
  if (result.error.empty() && !WIFEXITED(status)) result.error = "the probe crashed";
  return result;
}

// Runs one probe per iteration; false (with the benchmark marked) on failure.
bool Probe(benchmark::State& state, const char* mode, ProbeResult* out) {
  *out = SpawnProbe(mode);
  if (out->error.empty()) return true;
  state.SkipWithError(out->error.c_str());
  return false;
}

void SetStepCounters(benchmark::State& state, const ProbeResult& r, std::initializer_list<const char*> steps) {
  for (const char* step : steps) state.counters[std::string(step) + "_ms"] = r.ms.at(step);
}

void BM_StartToFirstPaint(benchmark::State& state) {
  ProbeResult r;
  for (auto _ : state) {
    if (!Probe(state, "paint", &r)) return;
    state.SetIterationTime(r.ms.at("painted") / 1e3);
  }
  SetStepCounters(state, r, {"main", "init_application", "init_instance", "first_paint_message", "painted"});
}

void BM_IdleRssWithThreeDevices(benchmark::State& state) {
  ProbeResult r;
  for (auto _ : state) {
    if (!Probe(state, "idle", &r)) return;
    // The time is the one to the third device; the figure is the memory.
    state.SetIterationTime(r.ms.at("found") / 1e3);
  }
  state.counters["rss_MB"] = r.kb.at("rss_kb") / 1024.0;
  state.counters["peak_rss_MB"] = r.kb.at("hwm_kb") / 1024.0;
}

double Min(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

// A fresh process per repetition; the figures are the median and minimum over them.
void OneProcessPerRepetition(benchmark::internal::Benchmark* b) {
  b->UseManualTime()->Iterations(1)->ComputeStatistics("min", Min)->ReportAggregatesOnly(true);
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_StartToFirstPaint)->Apply(OneProcessPerRepetition)->Repetitions(15);
BENCHMARK(BM_IdleRssWithThreeDevices)->Apply(OneProcessPerRepetition)->Repetitions(5);

// The simulated devices, from the build tree this program sits in.
struct Lab {
  TempDir dir;
  std::unique_ptr<ApsimHarness> sim;

  bool Start() {
    const std::filesystem::path bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    setenv("TRELLIAN_BINARY_DIR", bin.parent_path().c_str(), 1);
    sim = std::make_unique<ApsimHarness>(dir, kThreeDevices);
    return sim->Ready();
  }
};

// ------------------------------------------------------- the real program on X

// The first paint ends at the first pause this long between changes; the
// program is idle once the screen stays still for kQuietMs.
const int kPaintGapMs = 250;
const int kQuietMs = 500;
// A program that has shown nothing by then has not started.
const int kStartTimeoutMs = 10000;

std::string g_program;   // the program to start; bin/Trellian beside this benchmark by default
std::string g_baseline;  // bin/xlib_window_baseline beside this benchmark
std::string g_dialogSize = "640x480";  // WIDTHxHEIGHT of the program's first window, from the warm-up run

Xvfb* g_xvfb = nullptr;

struct ScreenRun {
  std::string error;
  bool watchFailed = false;  // the benchmark's own X connection failed: the program was not started
  double mappedMs = 0, firstChangeMs = 0, lastChangeMs = 0;
  int laterChanges = 0;
  long rssKb = 0;
};

// The screen as the benchmark last read it, and the X connection that watches it.
class ScreenWatch {
 public:
  // Empty when the screen is watched; else why not.
  std::string Open(const std::string& display) {
    dpy_ = XOpenDisplay(display.c_str());
    if (!dpy_) return "cannot open " + display;
    int error = 0;
    if (!XDamageQueryExtension(dpy_, &damageEvent_, &error)) return "no damage extension on " + display;
    root_ = DefaultRootWindow(dpy_);
    width_ = DisplayWidth(dpy_, DefaultScreen(dpy_));
    height_ = DisplayHeight(dpy_, DefaultScreen(dpy_));
    XSelectInput(dpy_, root_, SubstructureNotifyMask);
    // Drawing into any window on the screen is damage to the root window.
    damage_ = XDamageCreate(dpy_, root_, XDamageReportRawRectangles);
    shown_.assign(static_cast<size_t>(width_) * height_, 0);
    Read(0, 0, width_, height_);
    XSync(dpy_, False);
    Drain(nullptr);
    return "";
  }
  ~ScreenWatch() {
    if (dpy_) {
      if (damage_) XDamageDestroy(dpy_, damage_);
      XCloseDisplay(dpy_);
    }
  }

  int fd() const { return ConnectionNumber(dpy_); }
  // Events Xlib has already read (a reply's round trip brings them along)
  // never show on the descriptor: they must be handled before a wait.
  bool Queued() const { return XEventsQueued(dpy_, QueuedAlready) > 0; }

  // Handles what the server has reported. Returns whether a pixel changed;
  // `mapped` is set when a window was mapped.
  bool Drain(bool* mapped) {
    int left = width_, top = height_, right = 0, bottom = 0;
    while (XPending(dpy_) > 0) {
      XEvent ev;
      XNextEvent(dpy_, &ev);
      if (ev.type == MapNotify && !firstMapped_) firstMapped_ = ev.xmap.window;
      if (ev.type == MapNotify && mapped) *mapped = true;
      if (ev.type != damageEvent_ + XDamageNotify) continue;
      const XRectangle& a = reinterpret_cast<XDamageNotifyEvent&>(ev).area;
      left = std::min<int>(left, a.x);
      top = std::min<int>(top, a.y);
      right = std::max<int>(right, a.x + a.width);
      bottom = std::max<int>(bottom, a.y + a.height);
    }
    left = std::max(left, 0), top = std::max(top, 0);
    right = std::min(right, width_), bottom = std::min(bottom, height_);
    const bool changed = left < right && top < bottom && Read(left, top, right - left, bottom - top);
    return changed;
  }

  // WIDTHxHEIGHT of the first window mapped since Open; empty when none was
  // or it is gone.
  std::string FirstMappedSize() const {
    XWindowAttributes a;
    if (!firstMapped_ || !XGetWindowAttributes(dpy_, firstMapped_, &a)) return "";
    return std::to_string(a.width) + "x" + std::to_string(a.height);
  }

 private:
  // Reads an area of the screen into `shown_`; true when any pixel differs.
  bool Read(int x, int y, int w, int h) {
    XImage* img = XGetImage(dpy_, root_, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
    if (!img) return false;
    bool changed = false;
    for (int row = 0; row < h; ++row) {
      uint32_t* out = shown_.data() + static_cast<size_t>(y + row) * width_ + x;
      for (int col = 0; col < w; ++col) {
        const uint32_t pixel = static_cast<uint32_t>(XGetPixel(img, col, row));
        if (out[col] != pixel) {
          out[col] = pixel;
          changed = true;
        }
      }
    }
    XDestroyImage(img);
    return changed;
  }

  ::Display* dpy_ = nullptr;
  ::Window root_ = 0;
  int damageEvent_ = 0;
  Damage damage_ = 0;
  ::Window firstMapped_ = 0;
  int width_ = 0, height_ = 0;
  std::vector<uint32_t> shown_;
};

// One start of `args` (the program and its arguments) on the benchmark's X
// server, watched until its screen is still; the program is then read for
// its memory and stopped. `mappedSize` receives the size of its first window.
ScreenRun RunOnScreen(const std::string& stateHome, std::vector<std::string> args,
                      std::string* mappedSize = nullptr) {
  ScreenRun run;
  ScreenWatch watch;
  run.error = watch.Open(g_xvfb->name());
  run.watchFailed = !run.error.empty();
  if (run.watchFailed) return run;
  // The environment a person's session gives it: the display, and no choice of a headless one.
  auto replaced = [](const std::string& entry) {
    for (const char* name : {"DISPLAY=", "TRELLIAN_DISPLAY=", "XDG_STATE_HOME="})
      if (entry.compare(0, std::strlen(name), name) == 0) return true;
    return false;
  };
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (!replaced(*e)) env.push_back(*e);
  env.push_back("DISPLAY=" + g_xvfb->name());
  env.push_back("XDG_STATE_HOME=" + stateHome);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const long long start = MonotonicNs();
  const int spawned = posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    run.error = "cannot start " + args[0];
    return run;
  }
  auto sinceStart = [start](long long ns) { return static_cast<double>(ns - start) / 1e6; };
  long long lastChange = 0;
  for (;;) {
    const long long now = MonotonicNs();
    const long long limit = lastChange ? lastChange + kQuietMs * 1000000LL : start + kStartTimeoutMs * 1000000LL;
    if (now >= limit) break;
    pollfd p{watch.fd(), POLLIN, 0};
    if (!watch.Queued()) poll(&p, 1, static_cast<int>((limit - now) / 1000000 + 1));
    const long long seen = MonotonicNs();
    bool mapped = false;
    const bool changed = watch.Drain(&mapped);
    if (mapped && !run.mappedMs) run.mappedMs = sinceStart(seen);
    if (!changed) continue;
    if (!lastChange) run.firstChangeMs = sinceStart(seen);
    // The first paint is the burst of changes after the map; whatever comes
    // after a pause is a later paint.
    if (run.laterChanges || (lastChange && seen - lastChange > kPaintGapMs * 1000000LL))
      ++run.laterChanges;
    else
      run.lastChangeMs = sinceStart(seen);
    lastChange = seen;
  }
  if (!lastChange) run.error = "the program showed nothing";
  if (mappedSize) *mappedSize = watch.FirstMappedSize();
  run.rssKb = StatusKb("VmRSS", std::to_string(pid));
  int status = 0;
  if (waitpid(pid, &status, WNOHANG) == pid) {
    if (run.error.empty()) run.error = "the program ended by itself";
  } else {
    kill(pid, SIGTERM);
    waitpid(pid, &status, 0);
  }
  return run;
}

// The last-change figures of every measured run, for the closing summary.
std::map<std::string, std::vector<double>> g_lastChanges;

// Runs `args` once per iteration on the X server; false (with the benchmark
// marked) on failure.
bool RunAndRecord(benchmark::State& state, const char* name, const std::vector<std::string>& args, ScreenRun* r) {
  static TempDir stateHome;
  // A connection the server refused once is tried again: a repetition
  // skipped among measured ones would spoil the statistics.
  for (int tries = 0; tries < 3; ++tries) {
    *r = RunOnScreen(stateHome.path(), args);
    if (!r->watchFailed) break;
    usleep(100000);
  }
  if (!r->error.empty()) {
    if (std::getenv("TRELLIAN_BENCH_EACH")) std::fprintf(stderr, "%s: %s\n", name, r->error.c_str());
    state.SkipWithError(r->error.c_str());
    return false;
  }
  state.SetIterationTime(r->lastChangeMs / 1e3);
  g_lastChanges[name].push_back(r->lastChangeMs);
  if (std::getenv("TRELLIAN_BENCH_EACH"))
    std::fprintf(stderr, "%s: mapped %.1f first %.1f last %.1f ms, %d later changes, %ld kB\n", name, r->mappedMs,
                 r->firstChangeMs, r->lastChangeMs, r->laterChanges, r->rssKb);
  return true;
}

void SetScreenCounters(benchmark::State& state, const ScreenRun& r) {
  state.counters["mapped_ms"] = r.mappedMs;
  state.counters["first_change_ms"] = r.firstChangeMs;
  state.counters["idle_rss_MB"] = r.rssKb / 1024.0;
  state.counters["later_changes"] = r.laterChanges;
}

void BM_BareXlibWindowOnXvfb(benchmark::State& state) {
  ScreenRun r;
  for (auto _ : state)
    if (!RunAndRecord(state, "baseline", {g_baseline, g_dialogSize}, &r)) return;
  SetScreenCounters(state, r);
}

void BM_TrellianOnXvfb(benchmark::State& state) {
  ScreenRun r;
  for (auto _ : state)
    if (!RunAndRecord(state, "program", {g_program}, &r)) return;
  SetScreenCounters(state, r);
}

BENCHMARK(BM_BareXlibWindowOnXvfb)->Apply(OneProcessPerRepetition)->Repetitions(15);
BENCHMARK(BM_TrellianOnXvfb)->Apply(OneProcessPerRepetition)->Repetitions(15);

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One line: each X figure's minimum and median, and the program's over the baseline's.
void PrintScreenSummary() {
  const std::vector<double>& program = g_lastChanges["program"];
  const std::vector<double>& baseline = g_lastChanges["baseline"];
  if (program.empty() || baseline.empty()) return;
  std::printf("to the last change of the first paint: program min %.1f median %.1f ms; baseline (%s) min %.1f median "
              "%.1f ms; program/baseline min %.2f median %.2f\n",
              Min(program), Median(program), g_dialogSize.c_str(), Min(baseline), Median(baseline),
              Min(program) / Min(baseline), Median(program) / Median(baseline));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--probe") == 0) return RunProbe(argv[2], std::atoi(argv[3]));

  const char* netns = std::getenv("TRELLIAN_NETNS");
  if (!netns || std::strcmp(netns, "inside") != 0) {
    std::fprintf(stderr,
                 "%s: the main dialog binds UDP 55000 and broadcasts: run it inside the private network,\n"
                 "  tools/netns-run %s\n",
                 argv[0], argv[0]);
    return 2;
  }
  const std::filesystem::path bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  g_program = (bin / "Trellian").string();
  g_baseline = (bin / "xlib_window_baseline").string();
  for (int i = 1; i < argc;) {
    if (std::strncmp(argv[i], "--program=", 10) != 0) {
      ++i;
      continue;
    }
    g_program = argv[i] + 10;
    for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
    --argc;
  }
  // The tests' private server: a number no other server holds (its lock
  // file is free), since the socket files are shared with servers outside
  // this network namespace; it goes with this process, even when it dies.
  Xvfb xvfb("1280x1024x24");
  if (xvfb.name().empty()) {
    std::fprintf(stderr, "%s: cannot start Xvfb\n", argv[0]);
    return 2;
  }
  g_xvfb = &xvfb;
  setenv("TRELLIAN_DISPLAY", "headless", 1);
  Lab lab;
  if (!lab.Start()) {
    std::fprintf(stderr, "%s: the simulated devices did not start: %s\n", argv[0], lab.sim->Errors().c_str());
    return 2;
  }
  // One start-up of each kind unmeasured, so that every measured one finds
  // the program's files in the page cache.
  const bool tell = std::getenv("TRELLIAN_BENCH_EACH") != nullptr;
  if (tell) std::fprintf(stderr, "warming up on %s\n", xvfb.name().c_str());
  SpawnProbe("paint");
  {
    TempDir warmState;
    std::string size;
    const ScreenRun warm = RunOnScreen(warmState.path(), {g_program}, &size);
    if (!size.empty()) g_dialogSize = size;
    if (tell) std::fprintf(stderr, "warm: %s, first window %s\n", warm.error.empty() ? "ok" : warm.error.c_str(),
                           g_dialogSize.c_str());
    RunOnScreen(warmState.path(), {g_baseline, g_dialogSize});
  }

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  PrintScreenSummary();
  benchmark::Shutdown();
  return 0;
}

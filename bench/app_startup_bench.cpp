// The program's start-up, on its own code in fresh processes: the time from
// the process start to the main dialog's first full paint (aim: under
// 200 ms), and the resident set size once the dialog is idle with three
// simulated access points found (aim: under 40 MB).
//
// Every run starts this program again as a probe: the program's application
// object and main dialog, headless, with the language file and skin beside it
// (<build>/bin). The probe stamps the monotonic clock at each step of the
// start-up and reports the stamps through a pipe; "process start" is the
// moment just before the parent spawns it, so the exec, the dynamic linking
// and the static initialisers are counted. The dialog is fully painted when
// its first paint message and those of its controls are handled and no
// window waits for paint. For the memory figure the probe then scans with the
// main dialog's broadcast discovery task, as a scan page does, idles half a
// second after the third device answers and reads its own VmRSS.
//
// The main dialog binds UDP 55000 and broadcasts, so it runs only inside a
// private network (tools/netns-run); it starts three simulated devices
// (apsim, built beside it) itself. From a release tree without sanitizers:
//
//   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTRELLIAN_BENCH=ON -DTRELLIAN_TESTS=OFF
//   cmake --build build/release -j3 --target app_startup_bench
//   tools/netns-run build/release/bin/app_startup_bench
//
// Each figure is the median and minimum over its repetitions; the counters
// split the start-up into its steps (milliseconds from the spawn).
#include <benchmark/benchmark.h>
#include <fcntl.h>
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
#include "TempDir.h"

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

// The value of `key` (in kB) in /proc/self/status.
long StatusKb(const char* key) {
  std::ifstream status("/proc/self/status");
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
  setenv("TRELLIAN_DISPLAY", "headless", 1);
  Lab lab;
  if (!lab.Start()) {
    std::fprintf(stderr, "%s: the simulated devices did not start: %s\n", argv[0], lab.sim->Errors().c_str());
    return 2;
  }
  // One start-up unmeasured, so that every measured one finds the program's
  // files in the page cache.
  SpawnProbe("paint");

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

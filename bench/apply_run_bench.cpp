// One create run of a full group (32 members) through both apply instances,
// against simulated access points on a clock sped up S times (the platform
// clock and the simulator alike). The engine's fixed waits (DelayPumpMessages)
// take their nominal length N divided by S; what the run spends besides them
// is its own work: with T the real time from the first instance's
// WM_PAGE_START to the second instance's last line and W the real time inside
// the waits, the figure is (T - W) / N, the engine's own time per unit of
// wait it promises the operator (aim: under 1 per cent). Also the peak
// resident set size of this process over the run (the simulator not
// counted). With --loss P the simulator loses P per cent of the datagrams
// it sends (what the program receives), so that the figure includes the
// requests sent again and the searches for devices whose answers were lost;
// the last line of each run says which devices, if any, failed, and how many
// is printed for both runs.
//
// The apply page binds the QUAV ports and broadcasts, so it runs only inside
// a private network (tools/netns-run). From a release tree without
// sanitizers:
//
//   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTRELLIAN_BENCH=ON -DTRELLIAN_TESTS=OFF
//   cmake --build build/release -j3 --target apply_run_bench
//   tools/netns-run build/release/bin/apply_run_bench [--scale S] [--loss P]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "ApsimHarness.h"
#include "CApplyPage.h"
#include "CDeviceRecord.h"
#include "CWizardApp.h"
#include "CWizardFrame.h"
#include "DelayPumpMessages.h"
#include "DeviceTask.h"
#include "PageRegistry.h"
#include "SnmpSession.h"
#include "TempDir.h"
#include "TestKit.h"
#include "WizardRes.h"

CWizardApp theApp;

namespace {

using RealClock = std::chrono::steady_clock;

const int kMembers = 32;

struct Waits {
  bool measuring = false;
  double nominalMs = 0;  // N
  double realMs = 0;     // W
  int count = 0;
} g_waits;

void CountWait(int n, double realMs) {
  if (!g_waits.measuring) return;
  g_waits.nominalMs += n * 10.0;
  g_waits.realMs += realMs;
  ++g_waits.count;
}

// The apply page with the two moments of T stamped.
class TimedApplyPage : public CApplyPage {
 public:
  RealClock::time_point started, ended;
  bool done = false;

  void SetBusy(BOOL busy) override {
    CApplyPage::SetBusy(busy);
    if (!busy && m_nSecondRun) {
      ended = RealClock::now();  // right after the last line
      done = true;
    } else if (!busy) {
      done = true;
    }
  }

 protected:
  LRESULT OnPageStartTimed(WPARAM wParam, LPARAM lParam) {
    if (!m_nSecondRun) {
      started = RealClock::now();
      g_waits.measuring = true;
    }
    return OnPageStart(wParam, lParam);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TimedApplyPage, CApplyPage)
  ON_MESSAGE(WM_PAGE_START, OnPageStartTimed)
END_MESSAGE_MAP()

struct Instance {
  CWnd host;
  TimedApplyPage page;

  explicit Instance(int secondRun) {
    host.CreateEx(0, nullptr, "apply", WS_POPUP, 0, 0, 640, 440, nullptr, nullptr);
    page.m_nSecondRun = secondRun;
    page.Create(IDD_PAGE_APPLY, &host);
    page.m_strGroupName = "Lobby";
    page.m_strGroupPassword = "grouppass";
  }
  ~Instance() {
    page.DestroyWindow();
    host.DestroyWindow();
  }
  bool Run() {
    page.OnEnterPage();
    return testkit::PumpUntil([this] { return page.done; }, 60u * 60u * 1000u);
  }
};

std::string Mac(int i) {
  char mac[13];
  std::snprintf(mac, sizeof mac, "000D88C001%02X", i);
  return mac;
}

}  // namespace

int main(int argc, char** argv) {
  int scale = 40;
  std::string loss = "0";
  bool usage = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc)
      scale = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--loss") == 0 && i + 1 < argc)
      loss = argv[++i];
    else
      usage = true;
  }
  const char* netns = std::getenv("TRELLIAN_NETNS");
  if (usage || !netns || std::strcmp(netns, "inside") != 0 || scale < 1) {
    std::fprintf(stderr, "usage: tools/netns-run %s [--scale S] [--loss P]\n", argv[0]);
    return 2;
  }
  setenv("TRELLIAN_DISPLAY", "headless", 1);
  const std::filesystem::path bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  setenv("TRELLIAN_BINARY_DIR", bin.parent_path().c_str(), 1);
  testkit::SetProgramPath((bin / "Trellian").string());
  theApp.SetupLanguage();
  RegisterWizardPages();
  testkit::SetClockScale(scale);

  TempDir dir;
  std::string scenario;
  for (int i = 0; i < kMembers; ++i)
    scenario += "[device]\nmac = " + Mac(i) + "\nip = 10.250.0." + std::to_string(101 + i) + "\n";
  ApsimHarness sim(dir, scenario, {"--time-scale", std::to_string(scale), "--loss-answers", loss});
  if (!sim.Ready()) {
    std::fprintf(stderr, "the simulated devices did not start: %s\n", sim.Errors().c_str());
    return 2;
  }
  SnmpSessionInit(dir.path().c_str(), "");
  SetDelayObserver(CountWait);

  bool ok = true;
  {
    auto first = std::make_unique<Instance>(0);
    auto second = std::make_unique<Instance>(1);
    for (int i = 0; i < kMembers; ++i) {
      auto* r = new CDeviceRecord;
      r->m_strMac = Mac(i).c_str();
      r->m_strIp.Format("10.250.0.%d", 101 + i);
      r->m_strRole = i ? "Slave" : "Master";
      r->m_nAutoIp = 1;
      r->m_strNewIp = "10.250.0.21";
      r->m_strNewNetmask = "255.255.255.0";
      r->m_strNewGateway = "10.250.0.1";
      r->m_strGroupName = "Lobby";
      r->m_strGroupPassword = "grouppass";
      first->page.m_groupList.AddTail(r);
    }
    ok = first->Run() && first->page.OnNextPage() == 4;
    if (ok) {
      CWizardFrame::CopyRecordList(second->page.m_groupList, first->page.m_groupList);
      second->page.SetSnmpTarget(first->page.m_strAgentIp, first->page.m_strReadCommunity,
                                 first->page.m_strWriteCommunity);
      ok = second->Run();
    }
    g_waits.measuring = false;
    auto lastLine = [](TimedApplyPage& page) {
      CString line;
      if (page.m_log.GetCount() > 0) page.m_log.GetLineText(page.m_log.GetCount() - 1, line);
      return line;
    };
    const CString firstLast = lastLine(first->page), last = lastLine(second->page);
    // Under loss a run may end naming the devices that failed; it still ends.
    const bool clean = last == theApp.Text("IDS_STR_DONE");
    ok = ok && (clean || last.Find("failed:") >= 0);
    const double t = std::chrono::duration<double, std::milli>(second->page.ended - first->page.started).count();
    std::printf("clock scale S                  %d\n", scale);
    std::printf("answers lost                   %s %%\n", loss.c_str());
    std::printf("waits                          %d\n", g_waits.count);
    std::printf("N (nominal wait)               %.0f ms\n", g_waits.nominalMs);
    std::printf("W (real time in waits)         %.0f ms\n", g_waits.realMs);
    std::printf("T (first start to last line)   %.0f ms\n", t);
    std::printf("(T - W) / N                    %.3f %%\n", 100.0 * (t - g_waits.realMs) / g_waits.nominalMs);
    rusage resources{};
    getrusage(RUSAGE_SELF, &resources);
    std::printf("peak resident set size        %.1f MB\n", resources.ru_maxrss / 1024.0);
    std::printf("run ended with its last line   %s\n", ok ? "yes" : "NO");
    std::printf("devices failed, first/second   %zu / %zu\n", first->page.FailedDevices().size(),
                second->page.FailedDevices().size());
    std::printf("first run's last line          %s\n", firstLast.GetString());
    std::printf("last line                      %s\n", last.GetString());
    second->page.m_groupList.RemoveAll();
    CWizardPage::FreeRecordList(&first->page.m_groupList);
  }
  testkit::PumpUntil([] { return CDeviceTask::LiveCount() == 0; }, 60000);
  SnmpSessionExit();
  return ok ? 0 : 1;
}

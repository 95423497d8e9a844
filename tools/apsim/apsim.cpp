// apsim: simulated RIZ-4410 access points speaking QUAV and SNMP v1/v2c.
//
//   apsim SCENARIO [--duration SECONDS] [--quiet] [--time-scale N] [--state FILE]
//         [--loss PERCENT | --loss-answers PERCENT [--seed N]]
//
// One process simulates every device of the scenario file; Scenario.h
// describes the file and its fault knobs. The devices answer QUAV
// (Simulator.h, with apsim's own codec in QuavCodec.h) and, once QUAV has
// switched it on, SNMP (SnmpAgent.h, over the MIB table in Mib.h).
//
// --time-scale N: durations of the scenario are device time, which passes N
// times faster (for a program whose clock runs N times faster).
// --loss PERCENT: every datagram apsim receives or sends (QUAV and SNMP, every
// device) is lost with this chance, drawn from a generator seeded with
// --seed N (default 1), so that a run can be repeated; each loss is logged.
// --loss-answers PERCENT: the same for the datagrams apsim sends only (what
// the program receives).
// --state FILE: after every change the devices are written to FILE (written
// aside, then renamed) as a scenario that starts them again as they are.
//
// Each event is printed on standard output as one line, for tests and people.

#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Scenario.h"
#include "Settings.h"
#include "Simulator.h"

using namespace apsim;

int main(int argc, char** argv) {
  const char* scenario = nullptr;
  double duration = 0;
  Settings& s = g_settings;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--duration") == 0 && i + 1 < argc) duration = std::atof(argv[++i]);
    else if (std::strcmp(argv[i], "--quiet") == 0) s.quiet = true;
    else if (std::strcmp(argv[i], "--time-scale") == 0 && i + 1 < argc) s.timeScale = std::max(0.001, std::atof(argv[++i]));
    else if (std::strcmp(argv[i], "--state") == 0 && i + 1 < argc) s.statePath = argv[++i];
    else if (std::strcmp(argv[i], "--loss") == 0 && i + 1 < argc) s.lossIn = s.lossOut = std::clamp(std::atof(argv[++i]), 0.0, 100.0);
    else if (std::strcmp(argv[i], "--loss-answers") == 0 && i + 1 < argc) s.lossOut = std::clamp(std::atof(argv[++i]), 0.0, 100.0);
    else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) s.lossRandom.seed(static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10)));
    else if (!scenario) scenario = argv[i];
    else scenario = nullptr, i = argc;
  }
  if (!scenario) {
    fprintf(stderr, "usage: apsim SCENARIO [--duration SECONDS] [--quiet] [--time-scale N] [--state FILE]"
                    " [--loss PERCENT | --loss-answers PERCENT [--seed N]]\n");
    return 2;
  }
  std::vector<Device> devices;
  if (!LoadScenario(scenario, devices)) return 1;
  signal(SIGTERM, [](int) { g_stop = 1; });
  signal(SIGINT, [](int) { g_stop = 1; });
  Simulator simulator(devices);
  if (!simulator.Open()) return 1;
  simulator.Run(duration);
  return 0;
}

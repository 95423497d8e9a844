// A create flow of three fresh devices (a Master and two Slaves at
// 10.250.0.31 to .33, planned at .21 to .23) through both apply runs, as the
// frame makes them, over a network that loses datagrams; and how it ended,
// read from the runs' last lines and the simulator's state.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "ApplySnmpKit.h"
#include "WizardFlows.h"

namespace lossyflow {

inline const char* const kMacs[] = {"000D88C00001", "000D88C00002", "000D88C00003"};
inline const char* const kPlanned[] = {"10.250.0.21", "10.250.0.22", "10.250.0.23"};
inline const char* const kModeSelect[] = {"1", "3", "3"};

// The devices the last line of a run names as failed.
inline std::vector<std::string> Named(const std::vector<std::string>& log) {
  const std::string kFailed = "access point(s) failed: ";
  std::vector<std::string> macs;
  if (log.empty()) return macs;
  const size_t at = log.back().find(kFailed);
  if (at == std::string::npos) return macs;
  for (const char* mac : kMacs)
    if (log.back().find(mac, at) != std::string::npos) macs.push_back(mac);
  return macs;
}

// What the first run leaves on a device: its planned address, the group's
// settings and its login. The second run then switches SNMP off.
inline bool JoinedByTheFirstRun(const std::map<std::string, std::string>& state, int i) {
  auto is = [&state](const char* key, const std::string& value) {
    auto it = state.find(key);
    return it != state.end() && it->second == value;
  };
  return is("ip", kPlanned[i]) && is("dot11APTrevakStatus", "1") && is("dot11APTrevakModeSelect", kModeSelect[i]) &&
         is("dot11ApTrevakName", "Lobby") && is("password", "grouppass");
}
inline bool Configured(const std::map<std::string, std::string>& state, int i) {
  auto snmp = state.find("snmp_status");
  return JoinedByTheFirstRun(state, i) && snmp != state.end() && snmp->second == "0";
}

inline bool Has(const std::vector<std::string>& names, const char* mac) {
  return std::find(names.begin(), names.end(), mac) != names.end();
}

// The lines of both runs that tell of a failure or a lost answer, each in
// full: enough to see why a device was named.
inline std::string FailureLines(const std::vector<std::string>& log1, const std::vector<std::string>& log2) {
  std::string out;
  for (const auto* log : {&log1, &log2})
    for (const std::string& line : *log)
      if (line.find("ailed") != std::string::npos || line.find("lost") != std::string::npos ||
          line.find("no answer") != std::string::npos || line.find("not found") != std::string::npos)
        out += line + "\n";
  return out;
}

struct FlowOutcome {
  std::vector<std::string> log1, log2;
  std::vector<std::string> named;  // by either run's last line
  std::vector<std::string> boxes;  // the message boxes the operator saw
  bool secondRan = false;          // Next led from the first run to the wireless page
  bool completed = false;          // ... and the second run to the completion page
  std::vector<bool> done;          // per device: as planned as far as the flow got
  int wrong = 0;                   // devices neither as planned nor named: silently wrong
  int healthyNamed = 0;            // devices as planned, yet named failed
};

class LossyNetwork : public ApplySnmp {
 protected:
  LossyNetwork() { clock_scale_ = 40; }

  // Starts the devices with apsim's `options` besides the time scale (its
  // own loss knobs), the Master with `masterMore`, and runs the flow.
  FlowOutcome RunCreateFlow(const std::vector<std::string>& options, const std::string& masterMore = "") {
    FlowOutcome out;
    std::string scenario;
    for (int i = 0; i < 3; ++i)
      scenario += "[device]\nmac = " + std::string(kMacs[i]) + "\nip = 10.250.0.3" + char('1' + i) + "\n" +
                  (i == 0 ? masterMore : "");
    std::vector<std::string> all = {"--time-scale", std::to_string(clock_scale_)};
    all.insert(all.end(), options.begin(), options.end());
    sim_.reset(new ApsimHarness(dir_, scenario, all));
    if (!sim_->Ready()) {
      ADD_FAILURE() << "the simulator did not start: " << sim_->Errors();
      return out;
    }
    OperatorAnswers answers("");
    ApplyHost first({{kMacs[0], "10.250.0.31", "Master"}, {kMacs[1], "10.250.0.32", "Slave"},
                     {kMacs[2], "10.250.0.33", "Slave"}});
    Run(first);
    out.log1 = first.Log();
    out.named = Named(out.log1);
    out.secondRan = first.page.OnNextPage() == int{kCreateWireless};
    if (out.secondRan) {
      ApplyHost second({}, 1);
      HandOn(first, second);
      Run(second);
      out.log2 = second.Log();
      out.completed = second.page.released == 1 && second.page.OnNextPage() == int{kCreateDone};
      for (const std::string& mac : Named(out.log2))
        if (!Has(out.named, mac.c_str())) out.named.push_back(mac);
    }
    out.boxes = answers.boxes;
    for (int i = 0; i < 3; ++i) {
      const auto state = sim_->State(kMacs[i]);
      const bool done = out.secondRan ? Configured(state, i) : JoinedByTheFirstRun(state, i);
      out.done.push_back(done);
      if (!done && !Has(out.named, kMacs[i])) ++out.wrong;
      if (done && Has(out.named, kMacs[i])) ++out.healthyNamed;
    }
    return out;
  }
};

}  // namespace lossyflow

// The session against net-snmp's snmpd on loopback, side by side with
// net-snmp's own library (libnetsnmp, in this process) talking to the same
// agent: a get-bulk walk of the agent's whole tree at max-repetitions 10, 50
// and 100 with every binding printed as "oid = value", sequential v2c gets,
// and SNMPv3 authPriv (MD5 + DES) gets. Each benchmark runs its rounds
// interleaved, ours and net-snmp's by turns (who goes first alternates), and
// reports client CPU and wall time, minimum and median, and the ratios of the
// medians (ours / net-snmp's). Without libnetsnmp only our side is measured.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "SnmpdHarness.h"
#include "Snmp.h"
#include "mp_v3.h"
#include "usm_v3.h"
#ifdef TRELLIAN_HAVE_NETSNMP
#include "netsnmp_peer.h"
#endif

namespace {

constexpr const char* kSysUpTime = "1.3.6.1.2.1.1.3.0";
constexpr int kWalkRounds = 7;
constexpr int kGetRounds = 9;
constexpr int kGetsPerRound = 300;

// Started on first use and stopped at exit.
SnmpdHarness* agent() { return SnmpdHarness::Shared(); }

bool agent_up(benchmark::State& state) {
  if (agent()) return true;
  state.SkipWithError("snmpd did not start");
  return false;
}

double process_cpu_ms() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Samples {
  std::vector<double> cpu, wall;  // milliseconds per round
  static double min(std::vector<double> v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }
  static double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
  }
};

// Runs `work` once and adds its CPU and wall time, divided by `per`.
bool measure(Samples& into, double per, const std::function<bool()>& work) {
  const double cpu0 = process_cpu_ms();
  const auto wall0 = std::chrono::steady_clock::now();
  const bool ok = work();
  const auto wall1 = std::chrono::steady_clock::now();
  const double cpu1 = process_cpu_ms();
  into.cpu.push_back((cpu1 - cpu0) / per);
  into.wall.push_back(std::chrono::duration<double, std::milli>(wall1 - wall0).count() / per);
  return ok;
}

// Counters and one printed line for a pair of sample sets; `scale` turns the
// milliseconds into the unit named.
void report(benchmark::State& state, const std::string& what, const Samples& ours, const Samples* theirs,
            double scale, const char* unit) {
  auto put = [&](const char* side, const Samples& s) {
    state.counters[std::string(side) + "_cpu_min_" + unit] = Samples::min(s.cpu) * scale;
    state.counters[std::string(side) + "_cpu_med_" + unit] = Samples::median(s.cpu) * scale;
    state.counters[std::string(side) + "_wall_min_" + unit] = Samples::min(s.wall) * scale;
    state.counters[std::string(side) + "_wall_med_" + unit] = Samples::median(s.wall) * scale;
  };
  put("ours", ours);
  std::printf("%s: ours CPU %.1f / %.1f %s (min / median), wall %.1f / %.1f", what.c_str(),
              Samples::min(ours.cpu) * scale, Samples::median(ours.cpu) * scale, unit,
              Samples::min(ours.wall) * scale, Samples::median(ours.wall) * scale);
  if (theirs) {
    put("netsnmp", *theirs);
    const double cpu_ratio = Samples::median(ours.cpu) / Samples::median(theirs->cpu);
    const double wall_ratio = Samples::median(ours.wall) / Samples::median(theirs->wall);
    state.counters["ratio_cpu"] = cpu_ratio;
    state.counters["ratio_wall"] = wall_ratio;
    std::printf("; net-snmp CPU %.1f / %.1f, wall %.1f / %.1f; ratio CPU %.2f, wall %.2f",
                Samples::min(theirs->cpu) * scale, Samples::median(theirs->cpu) * scale,
                Samples::min(theirs->wall) * scale, Samples::median(theirs->wall) * scale, cpu_ratio, wall_ratio);
  }
  std::printf("\n");
}

struct WalkResult {
  int status = 0;
  size_t bindings = 0, requests = 0, printed = 0;
};

// The walk loop a caller of our library writes: each request starts after the
// last binding the previous answer kept; every binding is printed.
WalkResult walk(Snmp& session, SnmpTarget& target, int max_repetitions) {
  WalkResult result;
  Oid next("1");
  char line[5200];
  for (;;) {
    Pdu pdu;
    pdu += Vb(next);
    result.status = session.get_bulk(pdu, target, 0, max_repetitions);
    ++result.requests;
    if (result.status != 0 || pdu.get_vb_count() == 0) return result;
    for (int i = 0; i < pdu.get_vb_count(); ++i) {
      const Vb& vb = pdu[i];
      if (vb.get_syntax() == sNMP_SYNTAX_ENDOFMIBVIEW) return result;
      if (!(vb.get_oid() > next)) {
        result.status = SNMP_CLASS_ERROR;
        return result;
      }
      next = vb.get_oid();
      result.printed += static_cast<size_t>(
          std::snprintf(line, sizeof line, "%s = %s\n", vb.get_printable_oid(), vb.get_printable_value()));
      ++result.bindings;
    }
  }
}

struct AgentSession {
  int status = 0;
  Snmp session{status, UdpAddress("127.0.0.1/0")};
};

CTarget community_target() {
  CTarget t(UdpAddress(("127.0.0.1/" + std::to_string(agent()->port())).c_str()), "public", "private");
  t.set_version(version2c);
  return t;
}

void BM_WalkVersusNetSnmp(benchmark::State& state) {
  if (!agent_up(state)) return;
  AgentSession s;
  CTarget target = community_target();
  const int repetitions = static_cast<int>(state.range(0));
#ifdef TRELLIAN_HAVE_NETSNMP
  std::unique_ptr<NetSnmpClient> peer = NetSnmpClient::Community(agent()->peer());
  if (!peer) {
    state.SkipWithError("net-snmp session did not open");
    return;
  }
#endif
  Samples ours, theirs;
  WalkResult mine;
  size_t their_bindings = 0, their_requests = 0;
  for (auto _ : state) {
    for (int round = 0; round < kWalkRounds; ++round) {
      auto run_ours = [&] {
        return measure(ours, 1, [&] {
          mine = walk(s.session, target, repetitions);
          return mine.status == 0;
        });
      };
#ifdef TRELLIAN_HAVE_NETSNMP
      auto run_theirs = [&] {
        return measure(theirs, 1, [&] {
          const WalkCount w = peer->Walk(repetitions);
          their_bindings = w.bindings;
          their_requests = w.requests;
          return w.status == 0;
        });
      };
      const bool ok = round % 2 ? run_theirs() && run_ours() : run_ours() && run_theirs();
#else
      const bool ok = run_ours();
#endif
      if (!ok) {
        state.SkipWithError("a walk failed");
        return;
      }
    }
  }
  state.counters["bindings"] = static_cast<double>(mine.bindings);
  state.counters["requests"] = static_cast<double>(mine.requests);
  const std::string what = "walk, max-repetitions " + std::to_string(repetitions) + " (" +
                           std::to_string(mine.bindings) + " bindings in " + std::to_string(mine.requests) +
                           " requests";
#ifdef TRELLIAN_HAVE_NETSNMP
  state.counters["netsnmp_bindings"] = static_cast<double>(their_bindings);
  state.counters["netsnmp_requests"] = static_cast<double>(their_requests);
  report(state, what + "; net-snmp " + std::to_string(their_bindings) + " in " + std::to_string(their_requests) + ")",
         ours, &theirs, 1, "ms");
#else
  report(state, what + ")", ours, nullptr, 1, "ms");
#endif
}
BENCHMARK(BM_WalkVersusNetSnmp)->Arg(10)->Arg(50)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);

// Rounds of sequential gets of sysUpTime.0, ours and net-snmp's by turns; the
// figures are per get, in microseconds.
void compare_gets(benchmark::State& state, const std::string& what, const std::function<bool()>& ours_get,
                  const std::function<bool()>& theirs_get) {
  Samples ours, theirs;
  auto batch = [](Samples& into, const std::function<bool()>& get) {
    return measure(into, kGetsPerRound, [&] {
      for (int i = 0; i < kGetsPerRound; ++i)
        if (!get()) return false;
      return true;
    });
  };
  for (auto _ : state) {
    // One of each first, unmeasured: discovery and the first answers.
    if (!ours_get() || (theirs_get && !theirs_get())) {
      state.SkipWithError("a get failed");
      return;
    }
    for (int round = 0; round < kGetRounds; ++round) {
      bool ok;
      if (!theirs_get)
        ok = batch(ours, ours_get);
      else if (round % 2)
        ok = batch(theirs, theirs_get) && batch(ours, ours_get);
      else
        ok = batch(ours, ours_get) && batch(theirs, theirs_get);
      if (!ok) {
        state.SkipWithError("a get failed");
        return;
      }
    }
  }
  report(state, what, ours, theirs_get ? &theirs : nullptr, 1000, "us");
}

void BM_GetVersusNetSnmp(benchmark::State& state) {
  if (!agent_up(state)) return;
  AgentSession s;
  CTarget target = community_target();
  auto ours = [&] {
    Pdu pdu;
    pdu += Vb(Oid(kSysUpTime));
    return s.session.get(pdu, target) == 0 && pdu.get_vb_count() == 1;
  };
  std::function<bool()> theirs;
#ifdef TRELLIAN_HAVE_NETSNMP
  std::unique_ptr<NetSnmpClient> peer = NetSnmpClient::Community(agent()->peer());
  if (!peer) {
    state.SkipWithError("net-snmp session did not open");
    return;
  }
  theirs = [&] { return peer->Get(kSysUpTime) == 0; };
#endif
  compare_gets(state, "v2c get", ours, theirs);
}
BENCHMARK(BM_GetVersusNetSnmp)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_V3AuthPrivGetVersusNetSnmp(benchmark::State& state) {
  if (!agent_up(state)) return;
  AgentSession s;
  if (mpInit(&s.session, OctetStr("TrellianBench"), 1) != SNMPv3_MP_OK ||
      usmAddUserName(OctetStr("privDES"), SNMP_AUTHPROTOCOL_HMACMD5, SNMP_PRIVPROTOCOL_DES,
                     OctetStr("authpass123"), OctetStr("privpass123")) != SNMPv3_USM_OK) {
    state.SkipWithError("SNMPv3 did not start");
    return;
  }
  UTarget target(UdpAddress(("127.0.0.1/" + std::to_string(agent()->port())).c_str()), "privDES",
                 SNMP_SECURITY_MODEL_USM);
  auto ours = [&] {
    Pdu pdu;
    pdu += Vb(Oid(kSysUpTime));
    pdu.set_security_level(SNMP_SECURITY_LEVEL_AUTH_PRIV);
    return s.session.get(pdu, target) == 0 && pdu.get_vb_count() == 1;
  };
  std::function<bool()> theirs;
#ifdef TRELLIAN_HAVE_NETSNMP
  std::unique_ptr<NetSnmpClient> peer =
      NetSnmpClient::AuthPriv(agent()->peer(), "privDES", "authpass123", "privpass123");
  if (!peer) {
    state.SkipWithError("net-snmp session did not open");
    mpFinish();
    return;
  }
  theirs = [&] { return peer->Get(kSysUpTime) == 0; };
#endif
  compare_gets(state, "v3 authPriv (MD5 + DES) get", ours, theirs);
  mpFinish();
}
BENCHMARK(BM_V3AuthPrivGetVersusNetSnmp)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

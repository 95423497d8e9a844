// The session against net-snmp's snmpd on loopback: a walk of the agent's
// whole tree with our get-bulk beside net-snmp's snmpbulkwalk of the same
// tree at the same max-repetitions (both times and their ratio), and
// synchronous gets per second.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "SnmpdHarness.h"
#include "SnmpWalk.h"
#include "Snmp.h"

namespace {

// Started on first use and stopped at exit.
SnmpdHarness* agent() { return SnmpdHarness::Shared(); }

CTarget agent_target() {
  CTarget t(UdpAddress(("127.0.0.1/" + std::to_string(agent()->port())).c_str()), "public", "private");
  t.set_version(version2c);
  return t;
}

bool agent_up(benchmark::State& state) {
  if (agent()) return true;
  state.SkipWithError("snmpd did not start");
  return false;
}

// A session on a free loopback port and a v2c target at the agent.
struct AgentSession {
  int status = 0;
  Snmp session{status, UdpAddress("127.0.0.1/0")};
  CTarget target = agent_target();
};

// Both programs walk the whole tree at the same max-repetitions (the
// benchmark's argument): 10 is snmpbulkwalk's default, 50 and 100 give
// answers of several kilobytes, and at 100 each answer is cut to the 50
// bindings a Pdu holds (the walk goes on after the last one kept).
void BM_BulkWalkVersusSnmpbulkwalk(benchmark::State& state) {
  if (!agent_up(state)) return;
  AgentSession s;
  const int repetitions = static_cast<int>(state.range(0));
  const std::string options = "-v2c -c public -On -Cr" + std::to_string(repetitions);
  double ours = 0, theirs = 0;
  size_t bindings = 0, lines = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    const SnmpWalkResult walk = SnmpBulkWalk(s.session, s.target, repetitions);
    const auto t1 = std::chrono::steady_clock::now();
    const std::string out = agent()->RunTool("snmpbulkwalk", options, ".1");
    const auto t2 = std::chrono::steady_clock::now();
    if (walk.status != 0) {
      state.SkipWithError("our walk failed");
      return;
    }
    ours += std::chrono::duration<double, std::milli>(t1 - t0).count();
    theirs += std::chrono::duration<double, std::milli>(t2 - t1).count();
    bindings = walk.oids.size();
    lines = OidsOfNetSnmpWalk(out).size();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["bindings"] = static_cast<double>(bindings);
  state.counters["netsnmp_bindings"] = static_cast<double>(lines);
  state.counters["ours_ms"] = ours / n;
  state.counters["snmpbulkwalk_ms"] = theirs / n;
  state.counters["ratio_ours_to_netsnmp"] = ours / theirs;
  std::printf("max-repetitions %d: ours %zu bindings in %.1f ms, snmpbulkwalk %zu in %.1f ms, ratio %.2f\n",
              repetitions, bindings, ours / n, lines, theirs / n, ours / theirs);
}
BENCHMARK(BM_BulkWalkVersusSnmpbulkwalk)->Arg(10)->Arg(50)->Arg(100)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_SynchronousGet(benchmark::State& state) {
  if (!agent_up(state)) return;
  AgentSession s;
  for (auto _ : state) {
    Pdu pdu;
    pdu += Vb(Oid("1.3.6.1.2.1.1.3.0"));
    if (s.session.get(pdu, s.target) != 0) {
      state.SkipWithError("get failed");
      return;
    }
  }
  state.counters["gets_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SynchronousGet)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

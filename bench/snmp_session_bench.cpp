// The session against net-snmp's snmpd on loopback: a walk of the agent's
// whole tree with our get-bulk beside net-snmp's snmpbulkwalk of the same
// tree (both times and their ratio), and synchronous gets per second.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "SnmpdHarness.h"
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

constexpr int kRepetitions = 10;  // snmpbulkwalk's default

// Walks from .1 to the end of the agent's view; the number of bindings.
int bulk_walk(Snmp& session, CTarget& target) {
  Oid next("1");
  int count = 0;
  for (;;) {
    Pdu pdu;
    pdu += Vb(next);
    if (session.get_bulk(pdu, target, 0, kRepetitions) != 0) return -1;
    bool end = pdu.get_vb_count() == 0;
    for (int i = 0; i < pdu.get_vb_count() && !end; ++i) {
      if (pdu[i].get_syntax() == sNMP_SYNTAX_ENDOFMIBVIEW) {
        end = true;
        break;
      }
      next = pdu[i].get_oid();
      ++count;
    }
    if (end) return count;
  }
}

void BM_BulkWalkVersusSnmpbulkwalk(benchmark::State& state) {
  if (!agent_up(state)) return;
  AgentSession s;
  double ours = 0, theirs = 0;
  int bindings = 0, lines = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    bindings = bulk_walk(s.session, s.target);
    const auto t1 = std::chrono::steady_clock::now();
    const std::string out = agent()->RunTool("snmpbulkwalk", "-v2c -c public -On -Cr10", ".1");
    const auto t2 = std::chrono::steady_clock::now();
    ours += std::chrono::duration<double, std::milli>(t1 - t0).count();
    theirs += std::chrono::duration<double, std::milli>(t2 - t1).count();
    lines = 0;
    for (char c : out) lines += c == '\n';
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["bindings"] = bindings;
  state.counters["netsnmp_lines"] = lines;
  state.counters["ours_ms"] = ours / n;
  state.counters["snmpbulkwalk_ms"] = theirs / n;
  state.counters["ratio_ours_to_netsnmp"] = ours / theirs;
  std::printf("walk of %d bindings: ours %.1f ms, snmpbulkwalk %.1f ms (%d lines), ratio %.2f\n", bindings,
              ours / n, theirs / n, lines, ours / theirs);
}
BENCHMARK(BM_BulkWalkVersusSnmpbulkwalk)->Iterations(5)->Unit(benchmark::kMillisecond);

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

// Encoding and decoding of a version 2c GetResponse with 1, 10 and 50
// bindings, in nanoseconds of CPU per message.
//
// Decoding is measured three ways on the same bytes: ours into a new Pdu and
// community each time (what a received answer costs: the session decodes into
// a Pdu of the caller's that holds only the request), ours into one Pdu used
// again and again, and net-snmp's own library (libnetsnmp, in this process,
// when it is installed): a new record, its parse of the whole message, the
// record freed, as its session does with each datagram. The aim is a
// 50-binding decode under 4 us, at or below net-snmp's.
//
// Every benchmark runs as 9 repetitions (unless --benchmark_repetitions says
// otherwise), and the repetitions of all benchmarks are run in a random
// interleaved order, so that a busy moment of the machine falls on every side
// alike. Each benchmark reports the minimum and median over its repetitions,
// and the run ends with a table of the decodes: ours / net-snmp / ratio of
// the medians. From a release tree without sanitizers:
//
//   build/release/bin/snmp_codec_bench --benchmark_repetitions=9
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "Integer.h"
#include "Oid.h"
#include "SnmpMessage.h"
#ifdef TRELLIAN_HAVE_NETSNMP
#include "netsnmp_peer.h"
#endif

namespace {

const int kBindings[] = {1, 10, 50};

// Bindings alternate between an INTEGER and a short text, as a device's
// settings table answers.
Pdu get_response(int bindings) {
  Pdu pdu;
  for (int i = 0; i < bindings; ++i) {
    Vb vb{Oid(("1.3.6.1.4.1.99.2.1." + std::to_string(i + 1) + ".0").c_str())};
    if (i % 2)
      vb.set_value(OctetStr("access point 4410"));
    else
      vb.set_value(SnmpInt32(100000 + i));
    pdu += vb;
  }
  pdu.set_type(sNMP_PDU_RESPONSE);
  set_request_id(&pdu, 1234);
  return pdu;
}

// The received message, as the session holds it once the datagram is read.
bool received(benchmark::State& state, SnmpMessage& msg) {
  SnmpMessage encoded;
  if (encoded.load(get_response(static_cast<int>(state.range(0))), OctetStr("public"), version2c) ||
      msg.load(encoded.data(), encoded.len())) {
    state.SkipWithError("encoding failed");
    return false;
  }
  state.counters["bytes"] = static_cast<double>(msg.len());
  return true;
}

void BM_EncodeGetResponse(benchmark::State& state) {
  const Pdu pdu = get_response(static_cast<int>(state.range(0)));
  const OctetStr community("public");
  SnmpMessage msg;
  for (auto _ : state) {
    int status = msg.load(pdu, community, version2c);
    benchmark::DoNotOptimize(status);
    if (status) state.SkipWithError("encoding failed");
  }
  state.counters["bytes"] = static_cast<double>(msg.len());
}

// Ours, into a new Pdu and community each time, as receive_snmp_response's
// caller gets its answer.
void BM_Decode_OursFresh(benchmark::State& state) {
  SnmpMessage msg;
  if (!received(state, msg)) return;
  const int expected = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Pdu pdu;
    OctetStr community;
    snmp_version version;
    const int status = msg.unload(pdu, community, version);
    benchmark::DoNotOptimize(status);
    if (status || pdu.get_vb_count() != expected) state.SkipWithError("decoding failed");
  }
}

// Ours, into one Pdu whose room is kept from the last decode.
void BM_Decode_OursReused(benchmark::State& state) {
  SnmpMessage msg;
  if (!received(state, msg)) return;
  const int expected = static_cast<int>(state.range(0));
  Pdu pdu;
  OctetStr community;
  snmp_version version;
  for (auto _ : state) {
    const int status = msg.unload(pdu, community, version);
    benchmark::DoNotOptimize(status);
    if (status || pdu.get_vb_count() != expected) state.SkipWithError("decoding failed");
  }
}

#ifdef TRELLIAN_HAVE_NETSNMP
void BM_Decode_NetSnmp(benchmark::State& state) {
  SnmpMessage msg;
  if (!received(state, msg)) return;
  std::unique_ptr<NetSnmpDecoder> decoder = NetSnmpDecoder::Open();
  if (!decoder) {
    state.SkipWithError("net-snmp session did not open");
    return;
  }
  const int expected = static_cast<int>(state.range(0));
  for (auto _ : state) {
    const int bindings = decoder->Decode(msg.data(), msg.len());
    benchmark::DoNotOptimize(bindings);
    if (bindings != expected) state.SkipWithError("net-snmp's decoding failed");
  }
}
#endif

double min_of(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

double median_of(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void register_benchmarks() {
  auto each = [](benchmark::internal::Benchmark* b) {
    for (int n : kBindings) b->Arg(n);
    b->ComputeStatistics("min", min_of);
  };
  each(benchmark::RegisterBenchmark("BM_EncodeGetResponse", BM_EncodeGetResponse));
  each(benchmark::RegisterBenchmark("BM_Decode/ours_fresh", BM_Decode_OursFresh));
  each(benchmark::RegisterBenchmark("BM_Decode/ours_reused", BM_Decode_OursReused));
#ifdef TRELLIAN_HAVE_NETSNMP
  each(benchmark::RegisterBenchmark("BM_Decode/netsnmp", BM_Decode_NetSnmp));
#endif
}

// The console's lines as usual, and the CPU time per message of every
// repetition kept by benchmark name, for the closing table.
class TableReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal: a saved run reads as plain text.
  TableReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        cpu_[run.run_name.function_name + "/" + run.run_name.args].push_back(run.GetAdjustedCPUTime());
    ConsoleReporter::ReportRuns(runs);
  }

  void Table() const {
    std::printf("\nBER decode of a v2c GetResponse, ns of CPU per message, min / median over %zu repetitions\n",
                cpu_.empty() ? size_t{0} : cpu_.begin()->second.size());
    std::printf("%-9s %-19s %-19s %-19s %s\n", "bindings", "ours (new Pdu)", "ours (reused Pdu)", "net-snmp",
                "ratio new / reused");
    for (int n : kBindings) {
      const std::string arg = "/" + std::to_string(n);
      auto cell = [&](const char* side) -> std::string {
        auto it = cpu_.find(std::string("BM_Decode/") + side + arg);
        if (it == cpu_.end()) return "-";
        char text[64];
        std::snprintf(text, sizeof text, "%.0f / %.0f", min_of(it->second), median_of(it->second));
        return text;
      };
      auto median = [&](const char* side) {
        auto it = cpu_.find(std::string("BM_Decode/") + side + arg);
        return it == cpu_.end() ? 0.0 : median_of(it->second);
      };
      std::string ratio = "-";
      if (median("netsnmp") > 0) {
        char text[64];
        std::snprintf(text, sizeof text, "%.2f / %.2f", median("ours_fresh") / median("netsnmp"),
                      median("ours_reused") / median("netsnmp"));
        ratio = text;
      }
      std::printf("%-9d %-19s %-19s %-19s %s\n", n, cell("ours_fresh").c_str(), cell("ours_reused").c_str(),
                  cell("netsnmp").c_str(), ratio.c_str());
    }
  }

 private:
  std::map<std::string, std::vector<double>> cpu_;
};

// True when some argument starts with `flag`.
bool given(int argc, char** argv, const char* flag) {
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  static char repetitions[] = "--benchmark_repetitions=9";
  static char interleaving[] = "--benchmark_enable_random_interleaving=true";
  if (!given(argc, argv, "--benchmark_repetitions")) args.push_back(repetitions);
  if (!given(argc, argv, "--benchmark_enable_random_interleaving")) args.push_back(interleaving);
  int count = static_cast<int>(args.size());
  register_benchmarks();
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.Table();
  benchmark::Shutdown();
  return 0;
}

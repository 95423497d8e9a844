// Encoding and decoding of a version 2c GetResponse with 1, 10 and 50
// bindings, in nanoseconds per message.
#include <benchmark/benchmark.h>

#include <string>

#include "Integer.h"
#include "Oid.h"
#include "SnmpMessage.h"

namespace {

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

void BM_DecodeGetResponse(benchmark::State& state) {
  SnmpMessage encoded;
  if (encoded.load(get_response(static_cast<int>(state.range(0))), OctetStr("public"), version2c)) {
    state.SkipWithError("encoding failed");
    return;
  }
  SnmpMessage msg;
  msg.load(encoded.data(), encoded.len());
  Pdu pdu;
  OctetStr community;
  snmp_version version;
  for (auto _ : state) {
    int status = msg.unload(pdu, community, version);
    benchmark::DoNotOptimize(status);
    if (status) state.SkipWithError("decoding failed");
  }
}

BENCHMARK(BM_EncodeGetResponse)->Arg(1)->Arg(10)->Arg(50);
BENCHMARK(BM_DecodeGetResponse)->Arg(1)->Arg(10)->Arg(50);

}  // namespace

BENCHMARK_MAIN();

// The simulated device's SNMP decoder: any bytes are parsed or refused, and a
// response built from what was parsed reads back as the same bindings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "AgentMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto request = apsim::ParseSnmp(data, size);
  if (!request) return 0;
  apsim::Bytes response = apsim::EncodeResponse(*request, 2, 1, request->binds);
  auto back = apsim::ParseSnmp(response.data(), response.size());
  if (!back || back->request_id != request->request_id || back->community != request->community ||
      back->binds.size() != request->binds.size() || back->error_status != 2 || back->error_index != 1)
    abort();
  for (size_t i = 0; i < back->binds.size(); ++i)
    if (back->binds[i].tag != request->binds[i].tag || back->binds[i].value != request->binds[i].value) abort();
  return 0;
}

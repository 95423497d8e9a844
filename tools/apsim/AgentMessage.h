// SNMP v1/v2c messages as the simulated device's agent reads and writes
// them: its own BER code, sharing nothing with the SNMP library, so that a
// fault common to both shows in the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Bytes.h"

namespace apsim {

using Oid = std::vector<uint32_t>;

enum Tag : uint8_t {
  kInteger = 0x02, kOctets = 0x04, kNull = 0x05, kOidTag = 0x06, kSequence = 0x30, kIpAddress = 0x40,
  kNoSuchObject = 0x80, kEndOfMibView = 0x82,
  kGetPdu = 0xA0, kGetNextPdu = 0xA1, kResponsePdu = 0xA2, kSetPdu = 0xA3, kGetBulkPdu = 0xA5,
};
enum SnmpError { kNoError = 0, kTooBig = 1, kNoSuchName = 2, kBadValue = 3, kWrongType = 7, kWrongValue = 10,
                 kNotWritable = 17 };

struct VarBind {
  Oid oid;
  uint8_t tag = kNull;
  Bytes value;
};

struct SnmpMessage {
  int version = 0;  // 0 v1, 1 v2c
  std::string community;
  uint8_t pdu = 0;
  int32_t request_id = 0;
  int32_t error_status = 0, error_index = 0;  // non-repeaters and max-repetitions in a GetBulk
  std::vector<VarBind> binds;
};

// Parses a v1 or v2c request; nullopt for anything else (the agent drops it).
std::optional<SnmpMessage> ParseSnmp(const uint8_t* data, size_t length);
// The response to `request` with the given status, index and bindings.
Bytes EncodeResponse(const SnmpMessage& request, int status, int index, const std::vector<VarBind>& binds);
// The content octets of an INTEGER; nullopt unless 1 to 4 of them.
std::optional<int32_t> DecodeInteger(const Bytes& content);
Bytes IntegerContent(int64_t v);

}  // namespace apsim

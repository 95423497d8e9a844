// The byte strings both of apsim's codecs (QUAV and the agent's BER) read and
// write.
#pragma once

#include <cstdint>
#include <vector>

namespace apsim {

using Bytes = std::vector<uint8_t>;

// `v` as `bytes` big-endian bytes.
inline void PutBE(Bytes& out, uint64_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace apsim

// A received QUAV datagram: the header checks, then the items decoded into
// lists of every value type, plainly and in listen mode.
#include <cstddef>
#include <cstdint>

#include "QUAVVarlist.h"
#include "WizardTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QUAVHeader header;
  QUAVReadHeader(data, int(size), header);
  const BYTE* items = size > QUAV_HEADER_SIZE ? data + QUAV_HEADER_SIZE : data;
  int length = int(size > QUAV_HEADER_SIZE ? size - QUAV_HEADER_SIZE : size);

  QUAVResponseVarList response(kListenResponseTable);
  QUAVVarlist list;
  list.Append(0, "00", "Discovery", 0, 1, nullptr, &response);
  // Every value type under a selector that a fuzzer can reach: id 1, selector = the type.
  char selectors[18][3];
  for (int type = 1; type <= 17; ++type) {
    selectors[type][0] = "0123456789ABCDEF"[type >> 4];
    selectors[type][1] = "0123456789ABCDEF"[type & 15];
    selectors[type][2] = 0;
    list.Append(1, selectors[type], selectors[type], BYTE(type), 1, nullptr, nullptr);
  }
  for (int listen = 0; listen < 2; ++listen) {
    list.m_nListen = listen;
    list.GetValuesFromBuff(items, length);
    CString value;
    for (int type = 1; type <= 17; ++type) list.GetValueFromBuffer(1, selectors[type], BYTE(type), value, items, length);
  }
  return 0;
}

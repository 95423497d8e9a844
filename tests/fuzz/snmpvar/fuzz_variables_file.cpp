// Any bytes as a variables file: a list, or a CVHException, never a crash.
#include <cstddef>
#include <cstdint>

#include "CVHException.h"
#include "SnmpVarList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SnmpVarList list;
  try {
    list.LoadFromMemory(data, size, "fuzz.var");
  } catch (CVHException* e) {
    delete e;
  }
  SnmpVarList copy(list);
  copy.SetInstance("0");
  return 0;
}

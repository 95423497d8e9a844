// Date texts come from files and from the wire: parsing must reject, never crash.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "afx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  COleDateTime parsed;
  if (parsed.ParseDateTime(text.c_str())) {
    COleDateTime again;
    // What parses must print, and the printed form must parse back the same.
    if (!again.ParseDateTime(parsed.Format("%Y/%m/%d %H:%M:%S")) || again != parsed) __builtin_trap();
  }
  // Any eight bytes are a possible date number.
  if (size >= sizeof(double)) {
    double dt;
    std::memcpy(&dt, data, sizeof dt);
    COleDateTime number(dt);
    number.Format("%Y/%m/%d %H:%M:%S %p");
    number.GetDayOfWeek();
  }
  return 0;
}

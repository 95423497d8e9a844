// Any text as an arithmetic or logical expression, and as the two date forms.
// Expressions come from lines of at most 1,024 bytes, which bounds their nesting.
#include <cstddef>
#include <cstdint>
#include <string>

#include "DateAndTime.h"
#include "VhString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1024) return 0;
  CString text(std::string(reinterpret_cast<const char*>(data), size).c_str());
  VhEvaluateArithmetic(text);
  VhEvaluateLogical(text);
  ParseDateTime(text);
  DateAndTime value(text);
  value.Format();
  return 0;
}

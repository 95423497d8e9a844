// Any language text as a format, with arguments of both kinds: the result is
// the text with some conversions filled, never a read or write outside it.
// The same bytes also go through the checks that read what a user typed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "DesHelpers.h"
#include "FormatLangText.h"
#include "InputChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  // The first byte picks the arguments' kinds; formats are texts, so they end at a NUL.
  unsigned kinds = size ? data[0] : 0;
  CString format(bytes.c_str() + (size ? 1 : 0));
  CString out = FormatLangText(format, {(kinds & 1) ? LangArg("text") : LangArg(-2147483647 - 1),
                                        (kinds & 2) ? LangArg("") : LangArg(42), LangArg(format)});
  // Nothing is made out of nothing: each conversion grows the text by a bounded amount.
  if (out.GetLength() > format.GetLength() + 20 + 2 * format.GetLength() + 32) __builtin_trap();

  IsValidIpText(format);
  IsValidHostIp(format, format.Mid(format.GetLength() / 2));
  NetworkAddress(format, "255.255.255.0");
  ParseRadixNumber(format, 0);
  CharsToHexText(format);
  std::vector<BYTE> decoded(static_cast<size_t>(format.GetLength()) / 2 + 1);
  int n = 0;
  HexToBytes(format, &n, decoded.data(), decoded.size());
  return 0;
}

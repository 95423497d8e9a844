// Text another program offers on the X clipboard is whatever bytes it sends:
// turned into the clipboard's text it must stay within bounds, hold no NUL,
// end every line in CR LF, and read back the same when taken again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Clipboard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool utf8 = data[0] & 1;
  const std::string text = PlatformClipboardTextFromSelection(data + 1, size - 1, utf8);
  if (text.size() > 2 * (size - 1)) __builtin_trap();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\0') __builtin_trap();
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) __builtin_trap();
  }
  // Taken again as a plain string, the text is the same, but for the code
  // page's letters at 0x80 to 0x9F, which Latin-1 has as controls.
  std::string expected = text;
  for (char& c : expected)
    if (static_cast<unsigned char>(c) >= 0x80 && static_cast<unsigned char>(c) < 0xA0) c = '?';
  if (PlatformClipboardTextFromSelection(text.data(), text.size(), false) != expected) __builtin_trap();
  return 0;
}

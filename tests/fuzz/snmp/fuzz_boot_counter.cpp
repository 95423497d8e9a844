// The boot-counter file lies in a folder of the user's and is read at every
// start: whatever bytes it holds, reading must give a clear result, and a
// counter saved into it must read back as saved, with every other engine's
// line kept.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bootcounter.h"

namespace {

// One file for the whole run, in a private temporary folder.
const std::string& Path() {
  static const std::string path = [] {
    char folder[] = "/tmp/fuzz_boot_counter.XXXXXX";
    if (!mkdtemp(folder)) std::abort();
    return std::string(folder) + "/VhSNMP_BootCounter";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte chooses the engine id's length (the last lengths are too
  // long for the file), the id's bytes follow, the rest is the file.
  const size_t idLength = size ? data[0] % 40 : 0;
  if (size < 1 + idLength) return 0;
  const OctetStr id(data + 1, idLength);
  const std::string text(reinterpret_cast<const char*>(data + 1 + idLength), size - 1 - idLength);

  uint32_t boots = 1;
  const int parsed = parseBootCounter(text, id, boots);
  if (parsed != 0 && parsed != -1 && parsed != -3) __builtin_trap();
  if (parsed != 0 && boots != 0) __builtin_trap();
  if ((parsed == -3) != (idLength > 32)) __builtin_trap();

  FILE* file = std::fopen(Path().c_str(), "wb");
  if (!file) std::abort();
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  uint32_t read = 7;
  const int got = getBootCounter(Path().c_str(), id, read);
  // The file holds the same bytes: the same answer, unless it is too large to be a counter file.
  if (got != -2 && (got != parsed || read != boots)) __builtin_trap();

  if (idLength <= 32 && got != -2) {
    const uint32_t next = boots + 1;
    if (saveBootCounter(Path().c_str(), id, next) != 0) __builtin_trap();
    uint32_t again = 0;
    if (getBootCounter(Path().c_str(), id, again) != 0 || again != next) __builtin_trap();
    // Another engine's counter, if the old file had one, is still there.
    const OctetStr other("VhSNMP_Application");
    uint32_t before = 0, after = 0;
    if (!(other == id) && parseBootCounter(text, other, before) == 0) {
      if (getBootCounter(Path().c_str(), other, after) != 0 || after != before) __builtin_trap();
    }
  }
  return 0;
}

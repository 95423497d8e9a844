// Profile files come from disk and may hold anything: parsing, looking up and writing back
// must never fail, and what is written back must read the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ProfileFile file = ProfileFile::Parse(bytes);
  auto sections = file.SectionNames();
  for (const std::string& section : sections) {
    for (const std::string& key : file.KeyNames(section)) {
      if (!file.Find(section, key)) __builtin_trap();
    }
  }
  file.Find("LangString", "IDS_UI_NEXT");

  ProfileFile again = ProfileFile::Parse(file.Serialize());
  if (again.SectionNames() != sections) __builtin_trap();
  for (const std::string& section : sections) {
    for (const std::string& key : file.KeyNames(section)) {
      if (*again.Find(section, key) != *file.Find(section, key)) __builtin_trap();
    }
  }

  if (!sections.empty()) {
    file.Set(sections[0], "Fuzzed", "value");
    const std::string* set = file.Find(sections[0], "Fuzzed");
    if (!set || *set != "value") __builtin_trap();
    file.DeleteSection(sections[0]);
  }
  return 0;
}

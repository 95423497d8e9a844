// Profile files come from disk and may hold anything: parsing, looking up and writing back
// must never fail, and what is written back must read the same.
#include <cctype>
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

  // The readers' index gives the same answers as the file itself, also for
  // names spelled otherwise or padded with blanks.
  ProfileIndex index(file);
  if (index.SectionNames() != sections) __builtin_trap();
  for (const std::string& section : sections) {
    if (index.KeyNames(section) != file.KeyNames(section)) __builtin_trap();
    std::string padded = " " + section + "\t";
    for (char& c : padded) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const std::string& key : file.KeyNames(section)) {
      const std::string* a = file.Find(padded, key);
      const std::string* b = index.Find(padded, key);
      if (!a || !b || *a != *b) __builtin_trap();
    }
  }
  // Names taken from the bytes themselves, found or not, agree too.
  for (size_t at = 0; at + 2 < bytes.size() && at < 64; at += 3) {
    const std::string_view s = bytes.substr(at, 2), k = bytes.substr(at + 1, 2);
    const std::string* a = file.Find(s, k);
    const std::string* b = index.Find(s, k);
    if ((a == nullptr) != (b == nullptr) || (a && *a != *b)) __builtin_trap();
  }

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

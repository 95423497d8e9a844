// Inside the platform: one profile ("INI") file in memory, as the profile functions read and
// change it. Lines that are not touched are written back exactly as they were read.
//
// Reading rules: lines end in LF or CRLF; a UTF-8 byte-order mark is skipped; blanks, tabs (and
// stray carriage returns) around section names, keys and values are dropped; a line starting with ";" is a comment;
// "[name" without "]" is a section too; a key line without "=" has an empty value; lines before
// the first section belong to none. Names compare without case (ASCII). Where a section or key
// appears twice, the first key found in file order wins.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class ProfileIndex;

class ProfileFile {
 public:
  // Lines longer than `longest_line` bytes are read only up to there (readers that never write
  // the file back bound the work and memory one line can cost).
  static ProfileFile Parse(std::string_view bytes, size_t longest_line = std::string_view::npos);

  // The value as stored (trimmed, quotes kept), or null.
  const std::string* Find(std::string_view section, std::string_view key) const;
  // Distinct names in file order, spelled as first seen.
  std::vector<std::string> SectionNames() const;
  std::vector<std::string> KeyNames(std::string_view section) const;

  void Set(std::string_view section, std::string_view key, std::string_view value);
  void DeleteKey(std::string_view section, std::string_view key);
  void DeleteSection(std::string_view section);
  // The section's body becomes exactly these lines.
  void ReplaceSection(std::string_view section, const std::vector<std::string>& lines);

  std::string Serialize() const;

 private:
  friend class ProfileIndex;
  enum class Kind { kOther, kSection, kKey };
  struct Line {
    Kind kind = Kind::kOther;
    std::string text;   // as read, without the line end
    std::string name;   // section or key, trimmed
    std::string value;  // key lines: trimmed value
  };
  static Line Classify(std::string text);
  // Index of the line after the section's last line.
  size_t SectionEnd(size_t header) const;
  size_t FindSection(std::string_view section) const;  // npos when absent

  std::vector<Line> lines_;
  std::string line_end_ = "\r\n";
};

// The answers of Find, SectionNames and KeyNames of one file, each found at once rather than by
// a walk through every line: what a reader keeps of a file it looks up many times.
class ProfileIndex {
 public:
  explicit ProfileIndex(const ProfileFile& file);

  const std::string* Find(std::string_view section, std::string_view key) const;
  const std::vector<std::string>& SectionNames() const { return sections_; }
  const std::vector<std::string>& KeyNames(std::string_view section) const;

 private:
  // Section and key folded to lower case, with a line break between them: no stored name holds
  // one, so two different pairs never give the same text.
  static std::string Fold(std::string_view section, std::string_view key);

  std::unordered_map<std::string, std::string> values_;
  std::vector<std::string> sections_;
  std::unordered_map<std::string, std::vector<std::string>> keys_;  // by folded section name
};

// Blanks, tabs and stray carriage returns off both ends.
std::string_view ProfileTrim(std::string_view text);
bool ProfileSameName(std::string_view a, std::string_view b);

#include "ProfileFile.h"

#include <cctype>

std::string_view ProfileTrim(std::string_view text) {
  size_t begin = 0, end = text.size();
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool ProfileSameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

ProfileFile::Line ProfileFile::Classify(std::string text) {
  Line line;
  line.text = std::move(text);
  std::string_view body = ProfileTrim(line.text);
  if (body.empty() || body[0] == ';') return line;
  if (body[0] == '[') {
    size_t close = body.find(']');
    line.kind = Kind::kSection;
    line.name = std::string(ProfileTrim(body.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
    return line;
  }
  size_t equals = body.find('=');
  std::string_view key = ProfileTrim(body.substr(0, equals));
  if (key.empty()) return line;
  line.kind = Kind::kKey;
  line.name = std::string(key);
  if (equals != std::string_view::npos) line.value = std::string(ProfileTrim(body.substr(equals + 1)));
  return line;
}

ProfileFile ProfileFile::Parse(std::string_view bytes, size_t longest_line) {
  ProfileFile file;
  while (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  bool first_end = true;
  while (!bytes.empty()) {
    size_t newline = bytes.find('\n');
    std::string_view text = bytes.substr(0, newline);
    bytes.remove_prefix(newline == std::string_view::npos ? bytes.size() : newline + 1);
    bool crlf = !text.empty() && text.back() == '\r';
    if (crlf) text.remove_suffix(1);
    if (newline != std::string_view::npos && first_end) {
      file.line_end_ = crlf ? "\r\n" : "\n";
      first_end = false;
    }
    file.lines_.push_back(Classify(std::string(text.substr(0, longest_line))));
  }
  return file;
}

size_t ProfileFile::FindSection(std::string_view section) const {
  section = ProfileTrim(section);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::kSection && ProfileSameName(lines_[i].name, section)) return i;
  }
  return std::string::npos;
}

size_t ProfileFile::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::kSection) ++i;
  return i;
}

const std::string* ProfileFile::Find(std::string_view section, std::string_view key) const {
  section = ProfileTrim(section);
  key = ProfileTrim(key);
  bool inside = false;
  for (const Line& line : lines_) {
    if (line.kind == Kind::kSection) {
      inside = ProfileSameName(line.name, section);
    } else if (inside && line.kind == Kind::kKey && ProfileSameName(line.name, key)) {
      return &line.value;
    }
  }
  return nullptr;
}

std::vector<std::string> ProfileFile::SectionNames() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (line.kind != Kind::kSection) continue;
    bool seen = false;
    for (const std::string& name : names) seen = seen || ProfileSameName(name, line.name);
    if (!seen) names.push_back(line.name);
  }
  return names;
}

std::vector<std::string> ProfileFile::KeyNames(std::string_view section) const {
  section = ProfileTrim(section);
  std::vector<std::string> names;
  bool inside = false;
  for (const Line& line : lines_) {
    if (line.kind == Kind::kSection) {
      inside = ProfileSameName(line.name, section);
    } else if (inside && line.kind == Kind::kKey) {
      bool seen = false;
      for (const std::string& name : names) seen = seen || ProfileSameName(name, line.name);
      if (!seen) names.push_back(line.name);
    }
  }
  return names;
}

void ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  section = ProfileTrim(section);
  key = ProfileTrim(key);
  value = ProfileTrim(value);
  bool inside = false;
  for (Line& line : lines_) {
    if (line.kind == Kind::kSection) {
      inside = ProfileSameName(line.name, section);
    } else if (inside && line.kind == Kind::kKey && ProfileSameName(line.name, key)) {
      line = Classify(line.name + "=" + std::string(value));
      return;
    }
  }
  Line added = Classify(std::string(key) + "=" + std::string(value));
  size_t header = FindSection(section);
  if (header == std::string::npos) {
    lines_.push_back(Classify("[" + std::string(section) + "]"));
    lines_.push_back(std::move(added));
    return;
  }
  // After the section's last entry, before the blank lines that separate it from the next.
  size_t at = SectionEnd(header);
  while (at > header + 1 && ProfileTrim(lines_[at - 1].text).empty()) --at;
  lines_.insert(lines_.begin() + static_cast<long>(at), std::move(added));
}

void ProfileFile::DeleteKey(std::string_view section, std::string_view key) {
  section = ProfileTrim(section);
  key = ProfileTrim(key);
  bool inside = false;
  std::vector<Line> kept;
  for (Line& line : lines_) {
    if (line.kind == Kind::kSection) inside = ProfileSameName(line.name, section);
    if (inside && line.kind == Kind::kKey && ProfileSameName(line.name, key)) continue;
    kept.push_back(std::move(line));
  }
  lines_ = std::move(kept);
}

void ProfileFile::DeleteSection(std::string_view section) {
  section = ProfileTrim(section);
  bool inside = false;
  std::vector<Line> kept;
  for (Line& line : lines_) {
    if (line.kind == Kind::kSection) inside = ProfileSameName(line.name, section);
    if (!inside) kept.push_back(std::move(line));
  }
  lines_ = std::move(kept);
}

void ProfileFile::ReplaceSection(std::string_view section, const std::vector<std::string>& body) {
  section = ProfileTrim(section);
  size_t header = FindSection(section);
  std::string header_text = header == std::string::npos ? "[" + std::string(section) + "]" : lines_[header].text;
  size_t at = header == std::string::npos ? lines_.size() : header;
  DeleteSection(section);
  std::vector<Line> added;
  added.push_back(Classify(header_text));
  for (const std::string& text : body) added.push_back(Classify(text));
  if (at > lines_.size()) at = lines_.size();
  lines_.insert(lines_.begin() + static_cast<long>(at), added.begin(), added.end());
}

std::string ProfileFile::Serialize() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.text;
    out += line_end_;
  }
  return out;
}

std::string ProfileIndex::Fold(std::string_view section, std::string_view key) {
  std::string folded;
  folded.reserve(section.size() + 1 + key.size());
  for (char c : section) folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  folded += '\n';
  for (char c : key) folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

ProfileIndex::ProfileIndex(const ProfileFile& file) {
  // One walk in file order: the first section spelling, the first key spelling and the first
  // value of a key win, as in ProfileFile's own lookups. Keys above the first section stand in
  // none and are never found.
  std::unordered_set<std::string> seen_keys;
  const std::string* section = nullptr;
  std::vector<std::string>* keys = nullptr;
  for (const ProfileFile::Line& line : file.lines_) {
    if (line.kind == ProfileFile::Kind::kSection) {
      section = &line.name;
      const std::string folded = Fold(line.name, "");
      auto found = keys_.find(folded);
      if (found == keys_.end()) {
        sections_.push_back(line.name);
        found = keys_.emplace(folded, std::vector<std::string>()).first;
      }
      keys = &found->second;
    } else if (line.kind == ProfileFile::Kind::kKey && section) {
      std::string folded = Fold(*section, line.name);
      if (seen_keys.insert(folded).second) {
        keys->push_back(line.name);
        values_.emplace(std::move(folded), line.value);
      }
    }
  }
}

const std::string* ProfileIndex::Find(std::string_view section, std::string_view key) const {
  auto found = values_.find(Fold(ProfileTrim(section), ProfileTrim(key)));
  return found == values_.end() ? nullptr : &found->second;
}

const std::vector<std::string>& ProfileIndex::KeyNames(std::string_view section) const {
  static const std::vector<std::string> none;
  auto found = keys_.find(Fold(ProfileTrim(section), ""));
  return found == keys_.end() ? none : found->second;
}

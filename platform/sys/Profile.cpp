#include "Profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "Files.h"
#include "LastError.h"
#include "ProfileFile.h"

namespace {

// Profiles are small; anything larger is not one and reads as missing.
constexpr off_t kLargestProfile = 16 * 1024 * 1024;

// Serialises read-change-write cycles of this process.
std::mutex& WriteLock() {
  static std::mutex lock;
  return lock;
}

enum class Load { kRead, kMissing, kUnreadable };

Load ReadProfile(LPCSTR path, ProfileFile& out) {
  if (!path || !path[0]) return Load::kUnreadable;
  int fd = open(PlatformNativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? Load::kMissing : Load::kUnreadable;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestProfile) {
    close(fd);
    return Load::kUnreadable;
  }
  std::string bytes(static_cast<size_t>(info.st_size), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t got = read(fd, &bytes[done], bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  close(fd);
  bytes.resize(done);
  out = ProfileFile::Parse(bytes);
  return Load::kRead;
}

// Windows hands back a value without one pair of matching quotes round it.
std::string Unquoted(const std::string& value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

DWORD CopyText(const std::string& text, LPSTR buffer, DWORD size) {
  size_t n = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

DWORD CopyList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
  std::string list;
  for (const std::string& name : names) {
    list += name;
    list += '\0';
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  if (list.size() + 1 <= size) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    if (list.empty()) buffer[1] = '\0';
    return static_cast<DWORD>(list.size());
  }
  std::memcpy(buffer, list.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

bool HasLineBreak(LPCSTR text) { return text && std::strpbrk(text, "\r\n") != nullptr; }

bool Writable(LPCSTR section, LPCSTR key, LPCSTR value) {
  if (!section || ProfileTrim(section).empty() || std::strchr(section, ']')) return false;
  if (key && (ProfileTrim(key).empty() || std::strchr(key, '='))) return false;
  return !HasLineBreak(section) && !HasLineBreak(key) && !HasLineBreak(value);
}

template <class Change>
BOOL ChangeProfile(LPCSTR path, Change change) {
  if (!path || !path[0]) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> guard(WriteLock());
  ProfileFile file = ProfileFile::Parse("");
  // A file that exists but cannot be read is left alone rather than replaced.
  if (ReadProfile(path, file) == Load::kUnreadable) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  change(file);
  std::string bytes = file.Serialize();
  return PlatformReplaceFile(path, bytes.data(), bytes.size());
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR default_text, LPSTR buffer, DWORD size,
                               LPCSTR path) {
  if (!buffer || size == 0) return 0;
  ProfileFile file = ProfileFile::Parse("");
  ReadProfile(path, file);
  if (!section) return CopyList(file.SectionNames(), buffer, size);
  if (!key) return CopyList(file.KeyNames(section), buffer, size);
  if (const std::string* value = file.Find(section, key)) {
    SetLastError(ERROR_SUCCESS);
    return CopyText(Unquoted(*value), buffer, size);
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  std::string fallback = default_text ? default_text : "";
  while (!fallback.empty() && (fallback.back() == ' ' || fallback.back() == '\t')) fallback.pop_back();
  return CopyText(fallback, buffer, size);
}

DWORD GetPrivateProfileSectionNamesA(LPSTR buffer, DWORD size, LPCSTR path) {
  return GetPrivateProfileStringA(nullptr, nullptr, nullptr, buffer, size, path);
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT default_value, LPCSTR path) {
  if (!section || !key) return static_cast<UINT>(default_value);
  char text[64];
  if (GetPrivateProfileStringA(section, key, "", text, sizeof text, path) == 0) {
    return static_cast<UINT>(default_value);
  }
  const char* p = text;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  long long number = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    number = number * 10 + (*p - '0');
    if (number > static_cast<long long>(INT_MAX) + 1) number = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) number = -number;
  if (number > INT_MAX) number = INT_MAX;
  return static_cast<UINT>(static_cast<INT>(number));
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR path) {
  if (!Writable(section, key, value)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return ChangeProfile(path, [&](ProfileFile& file) {
    if (!key) {
      file.DeleteSection(section);
    } else if (!value) {
      file.DeleteKey(section, key);
    } else {
      file.Set(section, key, value);
    }
  });
}

BOOL WritePrivateProfileSectionA(LPCSTR section, LPCSTR lines, LPCSTR path) {
  if (!Writable(section, nullptr, nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<std::string> body;
  for (const char* p = lines; p && *p; p += std::strlen(p) + 1) {
    if (HasLineBreak(p)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    body.emplace_back(p);
  }
  return ChangeProfile(path, [&](ProfileFile& file) {
    if (lines) {
      file.ReplaceSection(section, body);
    } else {
      file.DeleteSection(section);
    }
  });
}

BOOL WritePrivateProfileStructA(LPCSTR section, LPCSTR key, LPVOID data, UINT size, LPCSTR path) {
  if (!key || !data) return WritePrivateProfileStringA(section, key, nullptr, path);
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  unsigned sum = 0;
  for (UINT i = 0; i < size; ++i) {
    unsigned byte = static_cast<const unsigned char*>(data)[i];
    sum += byte;
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  text += digits[(sum >> 4) & 15];
  text += digits[sum & 15];
  return WritePrivateProfileStringA(section, key, text.c_str(), path);
}

BOOL GetPrivateProfileStructA(LPCSTR section, LPCSTR key, LPVOID data, UINT size, LPCSTR path) {
  if (!section || !key || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<char> text(2 * static_cast<size_t>(size) + 4);
  DWORD length = GetPrivateProfileStringA(section, key, "", text.data(), static_cast<DWORD>(text.size()), path);
  if (length != 2 * static_cast<size_t>(size) + 2) {
    SetLastError(ERROR_BAD_LENGTH);
    return FALSE;
  }
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::vector<unsigned char> bytes(size + 1);
  for (size_t i = 0; i <= size; ++i) {
    int high = nibble(text[2 * i]), low = nibble(text[2 * i + 1]);
    if (high < 0 || low < 0) {
      SetLastError(ERROR_INVALID_DATA);
      return FALSE;
    }
    bytes[i] = static_cast<unsigned char>(high << 4 | low);
  }
  unsigned sum = 0;
  for (UINT i = 0; i < size; ++i) sum += bytes[i];
  if ((sum & 0xFF) != bytes[size]) {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  std::memcpy(data, bytes.data(), size);
  return TRUE;
}

#include "Profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string_view>
#include <string>
#include <vector>

#include "Files.h"
#include "LastError.h"
#include "ProfileFile.h"

namespace {

// Profiles are small; anything larger is not one and reads as missing.
constexpr size_t kLargestProfile = 16 * 1024 * 1024;

// Serialises read-change-write cycles of this process.
std::mutex& WriteLock() {
  static std::mutex lock;
  return lock;
}

enum class Load { kRead, kMissing, kUnreadable };

Load ReadBytes(const std::string& native, std::string& bytes, struct stat& info) {
  const int error = PlatformReadFile(native.c_str(), kLargestProfile, bytes, &info);
  if (!error) return Load::kRead;
  return error == ENOENT || error == ENOTDIR ? Load::kMissing : Load::kUnreadable;
}

Load ReadProfile(LPCSTR path, ProfileFile& out) {
  if (!path || !path[0]) return Load::kUnreadable;
  std::string bytes;
  struct stat info;
  Load load = ReadBytes(PlatformNativePath(path), bytes, info);
  if (load == Load::kRead) out = ProfileFile::Parse(bytes);
  return load;
}

// ---------------------------------------------------------------- the readers' cache
//
// A program looks the same file up again and again (every text of its windows comes from one
// language file), so readers keep each file's parsed form and parse it again only when the file
// changed. A change shows in the file's identity, size or times. Times have a granularity (a
// clock tick, on some file systems a second or two), so a file whose time lies that close to the
// moment it was read might change again without its time showing it: such a file is read
// again at the next lookup, and parsed again only if its bytes differ.

// Lines beyond this length are not read by lookups (writes keep them whole).
constexpr size_t kLongestLookedUpLine = 64 * 1024;
// Files whose times lie this close to the moment they were read are read again.
std::atomic<long long> g_timeGranularityNs{2'000'000'000LL};
constexpr size_t kCachedFiles = 16;

long long Ns(const timespec& t) { return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec; }

struct Identity {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  long long mtime = 0, ctime = 0;

  explicit Identity(const struct stat& info)
      : dev(info.st_dev), ino(info.st_ino), size(info.st_size), mtime(Ns(info.st_mtim)), ctime(Ns(info.st_ctim)) {}
  bool operator==(const Identity& o) const {
    return dev == o.dev && ino == o.ino && size == o.size && mtime == o.mtime && ctime == o.ctime;
  }
};

struct CachedProfile {
  Identity identity;
  size_t hash;
  bool recent;  // its time lies within the granularity of the moment it was read
  std::shared_ptr<const ProfileIndex> index;
};

struct ProfileCache {
  std::mutex lock;
  std::list<std::pair<std::string, std::shared_ptr<const CachedProfile>>> files;  // most recently used first
};

// Lives past static destructors: a thread may still read a profile while the process ends.
ProfileCache& Cache() {
  static auto* cache = new ProfileCache;
  return *cache;
}

const ProfileIndex& EmptyIndex() {
  static const ProfileIndex* empty = new ProfileIndex(ProfileFile::Parse(""));
  return *empty;
}

// The change time counts too: contents written and the old modification time put back show only there.
bool Recent(const struct stat& info, long long readAt) {
  return readAt - std::max(Ns(info.st_mtim), Ns(info.st_ctim)) < g_timeGranularityNs.load();
}

// The file's parsed form, read again if it changed; null for a missing or unreadable file.
std::shared_ptr<const CachedProfile> LookUp(LPCSTR path) {
  if (!path || !path[0]) return nullptr;
  const std::string native = PlatformNativePath(path);
  ProfileCache& cache = Cache();
  std::lock_guard<std::mutex> guard(cache.lock);
  auto entry = cache.files.begin();
  while (entry != cache.files.end() && entry->first != native) ++entry;
  struct stat now;
  if (stat(native.c_str(), &now) != 0) {
    if (entry != cache.files.end()) cache.files.erase(entry);
    return nullptr;
  }
  if (entry != cache.files.end()) {
    cache.files.splice(cache.files.begin(), cache.files, entry);
    if (!entry->second->recent && entry->second->identity == Identity(now)) return entry->second;
  }
  timespec clock;
  clock_gettime(CLOCK_REALTIME, &clock);
  const long long readAt = Ns(clock);
  std::string bytes;
  struct stat info;
  if (ReadBytes(native, bytes, info) != Load::kRead) {
    if (entry != cache.files.end()) cache.files.erase(entry);
    return nullptr;
  }
  const size_t hash = std::hash<std::string_view>()(bytes);
  std::shared_ptr<const ProfileIndex> index;
  // Read again only because its time was recent: the same bytes keep the parsed form.
  if (entry != cache.files.end() && entry->second->hash == hash && entry->second->identity.size == info.st_size)
    index = entry->second->index;
  else
    index = std::make_shared<const ProfileIndex>(ProfileFile::Parse(bytes, kLongestLookedUpLine));
  auto fresh = std::make_shared<const CachedProfile>(CachedProfile{Identity(info), hash, Recent(info, readAt), index});
  if (entry != cache.files.end()) {
    entry->second = fresh;
  } else {
    cache.files.emplace_front(native, fresh);
    if (cache.files.size() > kCachedFiles) cache.files.pop_back();
  }
  return fresh;
}

// After a write of ours the next lookup reads the new contents, however close in time.
void Forget(LPCSTR path) {
  const std::string native = PlatformNativePath(path);
  ProfileCache& cache = Cache();
  std::lock_guard<std::mutex> guard(cache.lock);
  cache.files.remove_if([&](const auto& entry) { return entry.first == native; });
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
  BOOL written = PlatformReplaceFile(path, bytes.data(), bytes.size());
  Forget(path);
  return written;
}

}  // namespace

void PlatformSetProfileTimeGranularity(long long ns) { g_timeGranularityNs = ns; }

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR default_text, LPSTR buffer, DWORD size,
                               LPCSTR path) {
  if (!buffer || size == 0) return 0;
  // Held for the whole lookup: a change read by another thread meanwhile replaces the cache's
  // entry, not this one.
  std::shared_ptr<const CachedProfile> cached = LookUp(path);
  const ProfileIndex& file = cached ? *cached->index : EmptyIndex();
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

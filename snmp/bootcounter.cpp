#include "bootcounter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr size_t kMaxEngineIdLength = 32;

// The encoded id and the space after it: the space keeps an id from matching a longer id it is a prefix of.
std::string lineKey(const OctetStr& engineId, size_t length) { return encodeEngineId(engineId.data(), length) + ' '; }

bool startsWith(const std::string& line, const std::string& key) { return line.compare(0, key.size(), key) == 0; }

// The counter after the first space. It was written with "%i", so a value above 2^31-1 comes back negative and
// is taken as the same 32 bits; a tampered number is clamped rather than overflowing.
uint32_t parseCounter(const std::string& line) {
  size_t space = line.find(' ');
  if (space == std::string::npos) return 0;
  errno = 0;
  long long value = std::strtoll(line.c_str() + space, nullptr, 10);
  if (value < INT32_MIN) value = INT32_MIN;
  if (value > static_cast<long long>(UINT32_MAX)) value = UINT32_MAX;
  return static_cast<uint32_t>(value);
}

void splitLines(const std::string& text, std::vector<std::string>& lines) {
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
}

// The file holds a few short lines; anything much larger is not a counter file of ours.
constexpr off_t kLargestFile = 64 * 1024;

// Reads the whole file without following a link in its place and without blocking on a FIFO or
// device someone put there: only a regular file of sensible size is read. ENOENT tells a missing
// file from one that is there and refused.
bool readFile(const char* fileName, std::string& text) {
  int fd = ::open(fileName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestFile) {
    ::close(fd);
    errno = EINVAL;
    return false;
  }
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      errno = error;
      return false;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<size_t>(n));
    // A file that grows while it is read is cut where the limit lies.
    if (text.size() > static_cast<size_t>(kLargestFile)) break;
  }
  ::close(fd);
  return true;
}

// A fresh temporary file that nobody else can have planted: O_EXCL refuses an existing name and
// O_NOFOLLOW a symbolic link. A leftover from an earlier crash is ours and is replaced once.
int createPrivateFile(const std::string& name) {
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::open(name.c_str(), flags, 0600);
  if (fd < 0 && errno == EEXIST && ::unlink(name.c_str()) == 0) fd = ::open(name.c_str(), flags, 0600);
  return fd;
}

bool writeAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string encodeEngineId(const unsigned char* bytes, size_t length) {
  std::string text;
  text.reserve(2 * length);
  for (size_t i = 0; i < length; ++i) {
    text += static_cast<char>(0x40 + (bytes[i] >> 4));
    text += static_cast<char>(0x40 + (bytes[i] & 0x0F));
  }
  return text;
}

OctetStr decodeEngineId(const std::string& text) {
  std::vector<unsigned char> bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 2)
    bytes.push_back(static_cast<unsigned char>(((text[i] & 0x0F) << 4) | (text[i + 1] & 0x0F)));
  return OctetStr(bytes.data(), bytes.size());
}

int parseBootCounter(const std::string& text, const OctetStr& engineId, uint32_t& boots) {
  boots = 0;
  if (engineId.len() > kMaxEngineIdLength) return -3;
  std::vector<std::string> lines;
  splitLines(text, lines);
  const std::string key = lineKey(engineId, engineId.len());
  for (const std::string& line : lines) {
    if (!line.empty() && line[0] == '#') continue;
    if (!startsWith(line, key)) continue;
    boots = parseCounter(line);
    return 0;
  }
  return -1;
}

int getBootCounter(const char* fileName, const OctetStr& engineId, uint32_t& boots) {
  boots = 0;
  std::string text;
  if (!fileName || !readFile(fileName, text)) return -2;
  return parseBootCounter(text, engineId, boots);
}

int saveBootCounter(const char* fileName, const OctetStr& engineId, uint32_t boots) {
  if (!fileName) return -2;
  const std::string file = fileName;
  const std::string tmp = file + ".tmp";
  const size_t idLength = engineId.len() > kMaxEngineIdLength ? kMaxEngineIdLength : engineId.len();

  std::string old;
  if (!readFile(fileName, old)) {
    int fd = ::open(fileName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    // A file that exists but cannot be read is not replaced by one that holds only this counter.
    if (fd < 0) return errno == EEXIST ? -2 : -5;
    ::close(fd);
  }
  std::vector<std::string> lines;
  splitLines(old, lines);

  const std::string key = lineKey(engineId, idLength);
  char counter[16];
  std::snprintf(counter, sizeof counter, "%" PRIi32, static_cast<int32_t>(boots));
  const std::string newLine = key + counter;

  std::string text;
  bool replaced = false;
  for (const std::string& line : lines) {
    if (!startsWith(line, key)) {
      text += line;
    } else if (!replaced) {
      text += newLine;
      replaced = true;
    } else {
      continue;  // a second line for the same engine would shadow nothing; drop it
    }
    text += '\n';
  }
  if (!replaced) text += newLine + '\n';

  int fd = createPrivateFile(tmp);
  if (fd < 0) return -2;
  // The file is replaced only by a complete, flushed copy, so a crash leaves either the old counters or the new.
  bool written = writeAll(fd, text) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (!written) {
    ::unlink(tmp.c_str());
    return -2;
  }
  if (std::rename(tmp.c_str(), fileName) != 0) {
    ::unlink(tmp.c_str());
    return -6;
  }
  return 0;
}

#include "Files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

#include "HandleTable.h"
#include "LastError.h"
#include "Module.h"

namespace {

class FileObject : public KernelObject {
 public:
  explicit FileObject(int fd) : fd(fd) {}
  ~FileObject() override { close(fd); }
  const int fd;
};

// Copies text into a caller's buffer the way GetModuleFileName does.
DWORD CopyPath(const std::string& path, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() + 1 > size) {
    std::memcpy(buffer, path.data(), size - 1);
    buffer[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(path.size());
}

std::string& ProgramPathOverride() {
  static std::string path;
  return path;
}

std::string ProgramPath() {
  if (!ProgramPathOverride().empty()) return PlatformNativePath(ProgramPathOverride().c_str());
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

}  // namespace

std::string PlatformNativePath(const char* path) {
  std::string native = path ? path : "";
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

void PlatformSetProgramPath(const char* path) { ProgramPathOverride() = path ? path : ""; }

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  std::string path = module ? PlatformModulePath(module) : ProgramPath();
  if (path.empty()) {
    SetLastError(module ? ERROR_MOD_NOT_FOUND : ERROR_FILE_NOT_FOUND);
    return 0;
  }
  return CopyPath(path, buffer, size);
}

DWORD GetTempPathA(DWORD size, LPSTR buffer) {
  std::string folder;
  for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
    const char* value = std::getenv(variable);
    if (value && value[0]) {
      folder = value;
      break;
    }
  }
  if (folder.empty()) folder = "/tmp";
  if (folder.back() != '/') folder += '/';
  if (!buffer || folder.size() + 1 > size) return static_cast<DWORD>(folder.size() + 1);
  std::memcpy(buffer, folder.c_str(), folder.size() + 1);
  return static_cast<DWORD>(folder.size());
}

int PlatformReadFile(const char* path, size_t limit, std::string& bytes, struct stat* info) {
  bytes.clear();
  if (!path || !path[0]) return ENOENT;
  int fd = open(PlatformNativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat own;
  if (!info) info = &own;
  int error = 0;
  if (fstat(fd, info) != 0) {
    error = errno;
  } else if (!S_ISREG(info->st_mode)) {
    error = EINVAL;
  } else if (static_cast<unsigned long long>(info->st_size) > limit) {
    error = EFBIG;
  } else {
    bytes.resize(static_cast<size_t>(info->st_size));
    size_t done = 0;
    // A file that shrinks while it is read ends where it ended; one that grows is read as it was.
    while (done < bytes.size()) {
      ssize_t got = read(fd, &bytes[done], bytes.size() - done);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) error = errno;
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    }
    bytes.resize(done);
  }
  close(fd);
  if (error) bytes.clear();
  return error;
}

BOOL PlatformIsPrivateFolder(const char* path) {
  struct stat info;
  if (!path || !path[0]) {
    errno = ENOENT;
    return FALSE;
  }
  std::string native = PlatformNativePath(path);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  if (lstat(native.c_str(), &info) != 0) return FALSE;
  if (!S_ISDIR(info.st_mode)) {
    errno = ENOTDIR;
    return FALSE;
  }
  if (info.st_uid != geteuid() || (info.st_mode & (S_IWGRP | S_IWOTH))) {
    errno = EPERM;
    return FALSE;
  }
  return TRUE;
}

BOOL PlatformStateFolder(const char* program, std::string& folder) {
  folder.clear();
  std::string base;
  const char* state = std::getenv("XDG_STATE_HOME");
  // A relative value is not meant to be used: it would depend on where the program was started.
  if (state && state[0] == '/') {
    base = state;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
      const passwd* entry = getpwuid(geteuid());
      home = entry && entry->pw_dir && entry->pw_dir[0] == '/' ? entry->pw_dir : nullptr;
    }
    if (!home) {
      errno = ENOENT;
      return FALSE;
    }
    base = std::string(home) + "/.local/state";
  }
  if (base.back() != '/') base += '/';
  folder = base + (program ? program : "") + "/";
  // Each missing step is made private; folders that exist keep their modes.
  for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
    const std::string step = folder.substr(0, slash);
    if (mkdir(step.c_str(), 0700) != 0 && errno != EEXIST) return FALSE;
  }
  return PlatformIsPrivateFolder(folder.c_str());
}

BOOL GetComputerNameA(LPSTR buffer, LPDWORD size) {
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  char host[HOST_NAME_MAX + 1] = {};
  if (gethostname(host, sizeof host - 1) != 0) host[0] = '\0';
  std::string name;
  for (const char* p = host; *p && *p != '.' && name.size() < MAX_COMPUTERNAME_LENGTH; ++p) {
    name += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
  }
  if (!buffer || name.size() + 1 > *size) {
    *size = static_cast<DWORD>(name.size() + 1);
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return FALSE;
  }
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(name.size());
  return TRUE;
}

LANGID GetSystemDefaultLangID() { return 0x0409; }

LANGID GetUserDefaultLangID() { return 0x0409; }

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD, HANDLE) {
  if (!path || !path[0]) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  int flags = O_CLOEXEC;
  bool reading = access & GENERIC_READ, writing = access & (GENERIC_WRITE | FILE_WRITE_DATA);
  bool appending = (access & FILE_APPEND_DATA) && !writing;
  writing = writing || appending;
  flags |= (reading && writing) ? O_RDWR : writing ? O_WRONLY : O_RDONLY;
  if (appending) flags |= O_APPEND;
  switch (disposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING: flags |= O_TRUNC; break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
  }
  std::string native = PlatformNativePath(path);
  struct stat info;
  bool existed = stat(native.c_str(), &info) == 0;
  int fd = open(native.c_str(), flags, 0644);
  if (fd < 0) {
    SetLastError(PlatformErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle = PlatformHandleAdd(std::make_shared<FileObject>(fd));
  bool tells_existing = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
  SetLastError(tells_existing && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD to_read, LPDWORD read_count, LPVOID) {
  auto object = PlatformHandleGetAs<FileObject>(file);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (read_count) *read_count = 0;
  ssize_t got;
  do got = read(object->fd, buffer, to_read);
  while (got < 0 && errno == EINTR);
  if (got < 0) {
    SetLastError(PlatformErrorFromErrno(errno));
    return FALSE;
  }
  if (read_count) *read_count = static_cast<DWORD>(got);
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD to_write, LPDWORD written, LPVOID) {
  auto object = PlatformHandleGetAs<FileObject>(file);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (written) *written = 0;
  const char* data = static_cast<const char*>(buffer);
  DWORD done = 0;
  while (done < to_write) {
    ssize_t put = write(object->fd, data + done, to_write - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      SetLastError(PlatformErrorFromErrno(put < 0 ? errno : ENOSPC));
      if (written) *written = done;
      return FALSE;
    }
    done += static_cast<DWORD>(put);
  }
  if (written) *written = done;
  return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distance_high, DWORD method) {
  auto object = PlatformHandleGetAs<FileObject>(file);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_SET_FILE_POINTER;
  }
  int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
  if (whence < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  // Without a high part the distance is a signed 32-bit value.
  off_t offset = distance_high ? static_cast<off_t>((static_cast<uint64_t>(static_cast<uint32_t>(*distance_high)) << 32) |
                                                    static_cast<uint32_t>(distance))
                               : static_cast<off_t>(distance);
  off_t position = lseek(object->fd, offset, whence);
  if (position < 0) {
    SetLastError(errno == EINVAL ? ERROR_NEGATIVE_SEEK : PlatformErrorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  if (distance_high) *distance_high = static_cast<LONG>(static_cast<uint64_t>(position) >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(position);
}

BOOL DeleteFileA(LPCSTR path) {
  if (unlink(PlatformNativePath(path).c_str()) != 0) {
    SetLastError(PlatformErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

BOOL PlatformReplaceFile(const char* path, const void* data, size_t size) {
  std::string target = PlatformNativePath(path);
  if (target.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  struct stat old;
  bool keep_mode = lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  std::random_device random;
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temporary = target + ".tmp" + std::to_string(random() % 1000000u);
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    SetLastError(PlatformErrorFromErrno(errno));
    return FALSE;
  }
  const char* bytes = static_cast<const char*>(data);
  size_t done = 0;
  int error = 0;
  while (done < size) {
    ssize_t put = write(fd, bytes + done, size - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      error = put < 0 ? errno : ENOSPC;
      break;
    }
    done += static_cast<size_t>(put);
  }
  if (!error && keep_mode && fchmod(fd, old.st_mode & 07777) != 0) error = errno;
  if (!error && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && !error) error = errno;
  if (!error && rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error) {
    unlink(temporary.c_str());
    SetLastError(PlatformErrorFromErrno(error));
    return FALSE;
  }
  return TRUE;
}

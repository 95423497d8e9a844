#include <poll.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "Clock.h"
#include "LastError.h"
#include "SocketSys.h"
#include "Winsock.h"

namespace {

struct StartState {
  std::mutex lock;
  int count = 0;
};

StartState& Start() {
  static StartState state;
  return state;
}

bool Started() {
  StartState& s = Start();
  std::lock_guard<std::mutex> guard(s.lock);
  return s.count > 0;
}

std::atomic<PlatformSocketHook> recv_hook{nullptr};
std::atomic<PlatformSocketHook> close_hook{nullptr};

int Fail(int error) {
  WSASetLastError(error);
  return SOCKET_ERROR;
}

int FailErrno() { return Fail(netsys::WinsockErrorFromErrno(errno)); }

// Descriptors that socket() handed out and closesocket() has not closed yet,
// one bit each. Every call on a socket asks whether its descriptor is one;
// for these the answer needs no system call. Any other descriptor (one made
// elsewhere, or beyond the table) is asked of the system each time.
class OwnSockets {
 public:
  static constexpr int kCount = 65536;
  bool Has(int fd) const {
    return fd >= 0 && fd < kCount && (bits_[fd / 64].load(std::memory_order_acquire) >> (fd % 64)) & 1u;
  }
  void Add(int fd) {
    if (fd >= 0 && fd < kCount) bits_[fd / 64].fetch_or(uint64_t{1} << (fd % 64), std::memory_order_acq_rel);
  }
  void Remove(int fd) {
    if (fd >= 0 && fd < kCount) bits_[fd / 64].fetch_and(~(uint64_t{1} << (fd % 64)), std::memory_order_acq_rel);
  }

 private:
  std::atomic<uint64_t> bits_[kCount / 64] = {};
};

OwnSockets& Own() {
  static OwnSockets table;
  return table;
}

// The descriptor behind a socket, or -1 with WSAENOTSOCK set.
int Descriptor(SOCKET s) {
  if (s == INVALID_SOCKET || s > static_cast<SOCKET>(INT_MAX)) {
    WSASetLastError(WSAENOTSOCK);
    return -1;
  }
  const int fd = static_cast<int>(s);
  if (Own().Has(fd)) return fd;
  if (!netsys::IsSocket(fd)) {
    WSASetLastError(WSAENOTSOCK);
    return -1;
  }
  return fd;
}

// An IPv4 address as Winsock callers hand it in: a sockaddr_in of full size.
bool ReadAddress(const sockaddr* name, int namelen, sockaddr_in& out) {
  if (!name || namelen < static_cast<int>(sizeof(sockaddr_in))) {
    WSASetLastError(WSAEFAULT);
    return false;
  }
  std::memcpy(&out, name, sizeof out);
  if (out.sin_family != AF_INET) {
    WSASetLastError(WSAEAFNOSUPPORT);
    return false;
  }
  std::memset(out.sin_zero, 0, sizeof out.sin_zero);
  return true;
}

struct HostTable {
  std::mutex lock;
  bool in_use = false;
  std::vector<std::pair<std::string, uint32_t>> entries;
};

HostTable& Hosts() {
  static HostTable table;
  return table;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// Windows takes four decimal numbers between three dots as an address and never asks a
// resolver about a text that has only digits and dots.
bool OnlyDigitsAndDots(const std::string& text) {
  for (char c : text) {
    if (c != '.' && !std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

bool FullDottedQuad(const std::string& text, uint32_t& address) {
  if (!OnlyDigitsAndDots(text)) return false;
  int dots = 0;
  size_t piece = 0;
  for (char c : text) {
    if (c == '.') {
      if (piece == 0) return false;
      ++dots;
      piece = 0;
    } else if (++piece > 3) {
      return false;
    }
  }
  if (dots != 3 || piece == 0) return false;
  address = netsys::InetAddr(text.c_str());
  return address != INADDR_NONE || text == "255.255.255.255";
}

struct HostResult {
  std::string name;
  std::vector<uint32_t> addresses;
  std::vector<char*> address_list;
  char* no_aliases[1] = {nullptr};
  hostent entry = {};
};

hostent* HostEntry(const std::string& name, const std::vector<uint32_t>& addresses) {
  static thread_local HostResult result;
  result.name = name;
  result.addresses = addresses;
  result.address_list.clear();
  for (uint32_t& a : result.addresses) result.address_list.push_back(reinterpret_cast<char*>(&a));
  result.address_list.push_back(nullptr);
  result.entry.h_name = &result.name[0];
  result.entry.h_aliases = result.no_aliases;
  result.entry.h_addrtype = AF_INET;
  result.entry.h_length = 4;
  result.entry.h_addr_list = result.address_list.data();
  return &result.entry;
}

hostent* FailLookup(int error) {
  WSASetLastError(error);
  return nullptr;
}

void AfterReceive(SOCKET s) {
  if (PlatformSocketHook hook = recv_hook.load()) hook(s);
}

}  // namespace

int WSAStartup(WORD version_requested, LPWSADATA data) {
  if (!data) return WSAEFAULT;
  BYTE major = LOBYTE(version_requested);
  BYTE minor = HIBYTE(version_requested);
  if (major < 1) return WSAVERNOTSUPPORTED;
  WORD version = (major > 2 || (major == 2 && minor > 2)) ? MAKEWORD(2, 2) : version_requested;
  std::memset(data, 0, sizeof *data);
  data->wVersion = version;
  data->wHighVersion = MAKEWORD(2, 2);
  std::snprintf(data->szDescription, sizeof data->szDescription, "WinSock 2.0");
  std::snprintf(data->szSystemStatus, sizeof data->szSystemStatus, "Running");
  data->iMaxSockets = 32767;
  data->iMaxUdpDg = 65467;
  StartState& s = Start();
  std::lock_guard<std::mutex> guard(s.lock);
  ++s.count;
  return 0;
}

int WSACleanup() {
  StartState& s = Start();
  std::lock_guard<std::mutex> guard(s.lock);
  if (s.count == 0) return Fail(WSANOTINITIALISED);
  --s.count;
  return 0;
}

int WSAGetLastError() { return static_cast<int>(GetLastError()); }

void WSASetLastError(int error) { SetLastError(static_cast<DWORD>(error)); }

SOCKET socket(int af, int type, int protocol) {
  if (!Started()) {
    WSASetLastError(WSANOTINITIALISED);
    return INVALID_SOCKET;
  }
  int fd = netsys::Socket(af, type, protocol);
  if (fd < 0) {
    FailErrno();
    return INVALID_SOCKET;
  }
  Own().Add(fd);
  return static_cast<SOCKET>(fd);
}

int closesocket(SOCKET s) {
  int fd = Descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (PlatformSocketHook hook = close_hook.load()) hook(s);
  // Out of the table before the descriptor is free: another thread's socket()
  // may get the same number at once.
  Own().Remove(fd);
  if (netsys::Close(fd) != 0 && errno != EINTR) return FailErrno();
  return 0;
}

int bind(SOCKET s, const struct sockaddr* name, int namelen) {
  int fd = Descriptor(s);
  sockaddr_in address;
  if (fd < 0 || !ReadAddress(name, namelen, address)) return SOCKET_ERROR;
  return netsys::Bind(fd, &address, sizeof address) == 0 ? 0 : FailErrno();
}

int connect(SOCKET s, const struct sockaddr* name, int namelen) {
  int fd = Descriptor(s);
  sockaddr_in address;
  if (fd < 0 || !ReadAddress(name, namelen, address)) return SOCKET_ERROR;
  return netsys::Connect(fd, &address, sizeof address) == 0 ? 0 : FailErrno();
}

int getsockname(SOCKET s, struct sockaddr* name, int* namelen) {
  int fd = Descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (!name || !namelen || *namelen < static_cast<int>(sizeof(sockaddr_in))) return Fail(WSAEFAULT);
  sockaddr_in address = {};
  size_t length = sizeof address;
  if (netsys::GetSockName(fd, &address, &length) != 0) return FailErrno();
  // An unbound socket has no name on Windows.
  if (address.sin_port == 0 && netsys::SocketType(fd) == SOCK_DGRAM) return Fail(WSAEINVAL);
  std::memcpy(name, &address, sizeof address);
  *namelen = sizeof address;
  return 0;
}

int send(SOCKET s, const char* buf, int len, int flags) { return sendto(s, buf, len, flags, nullptr, 0); }

int sendto(SOCKET s, const char* buf, int len, int flags, const struct sockaddr* to, int tolen) {
  int fd = Descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (len < 0 || (!buf && len > 0)) return Fail(WSAEFAULT);
  long sent;
  if (to) {
    sockaddr_in address;
    if (!ReadAddress(to, tolen, address)) return SOCKET_ERROR;
    sent = netsys::SendTo(fd, buf, static_cast<size_t>(len), flags, &address, sizeof address);
  } else {
    sent = netsys::Send(fd, buf, static_cast<size_t>(len), flags);
  }
  return sent < 0 ? FailErrno() : static_cast<int>(sent);
}

int recv(SOCKET s, char* buf, int len, int flags) { return recvfrom(s, buf, len, flags, nullptr, nullptr); }

int recvfrom(SOCKET s, char* buf, int len, int flags, struct sockaddr* from, int* fromlen) {
  int fd = Descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (len < 0 || (!buf && len > 0)) return Fail(WSAEFAULT);
  if (from && (!fromlen || *fromlen < static_cast<int>(sizeof(sockaddr_in)))) return Fail(WSAEFAULT);
  sockaddr_in sender = {};
  size_t sender_length = sizeof sender;
  bool truncated = false;
  long received = netsys::RecvFrom(fd, buf, static_cast<size_t>(len), flags, &sender, &sender_length, &truncated);
  int saved_errno = errno;
  AfterReceive(s);
  if (received < 0) return Fail(netsys::WinsockErrorFromErrno(saved_errno));
  if (from) {
    std::memcpy(from, &sender, sizeof sender);
    *fromlen = sizeof sender;
  }
  if (truncated) return Fail(WSAEMSGSIZE);
  return static_cast<int>(received);
}

int select(int, WinsockFdSet* readfds, WinsockFdSet* writefds, WinsockFdSet* exceptfds,
           const struct timeval* timeout) {
  WinsockFdSet* sets[3] = {readfds, writefds, exceptfds};
  const short wanted[3] = {POLLIN, POLLOUT, POLLPRI};
  std::vector<pollfd> polled;
  for (int k = 0; k < 3; ++k) {
    if (!sets[k]) continue;
    if (sets[k]->fd_count > FD_SETSIZE) return Fail(WSAEINVAL);
    for (u_int i = 0; i < sets[k]->fd_count; ++i) {
      int fd = Descriptor(sets[k]->fd_array[i]);
      if (fd < 0) return SOCKET_ERROR;
      bool merged = false;
      for (pollfd& p : polled) {
        if (p.fd == fd) {
          p.events |= wanted[k];
          merged = true;
        }
      }
      if (!merged) polled.push_back(pollfd{fd, wanted[k], 0});
    }
  }
  // Winsock refuses a select with no socket at all.
  if (polled.empty()) return Fail(WSAEINVAL);

  timespec wait = {};
  timespec* limit = nullptr;
  if (timeout) {
    if (timeout->tv_sec < 0 || timeout->tv_usec < 0) return Fail(WSAEINVAL);
    double micro = static_cast<double>(timeout->tv_sec) * 1e6 + static_cast<double>(timeout->tv_usec);
    double real_ns = micro * 1000.0 / PlatformClockScale();
    wait.tv_sec = static_cast<time_t>(real_ns / 1e9);
    wait.tv_nsec = static_cast<long>(real_ns - static_cast<double>(wait.tv_sec) * 1e9);
    limit = &wait;
  }
  int ready;
  do ready = ppoll(polled.data(), polled.size(), limit, nullptr);
  while (ready < 0 && errno == EINTR);
  if (ready < 0) return FailErrno();

  int count = 0;
  for (int k = 0; k < 3; ++k) {
    if (!sets[k]) continue;
    WinsockFdSet result = {};
    for (u_int i = 0; i < sets[k]->fd_count; ++i) {
      SOCKET s = sets[k]->fd_array[i];
      for (const pollfd& p : polled) {
        if (p.fd != static_cast<int>(s)) continue;
        if (p.revents & POLLNVAL) return Fail(WSAENOTSOCK);
        short hit = p.revents & wanted[k];
        // A reader must learn of a closed or failed socket through recv's error.
        if (k == 0) hit |= p.revents & (POLLHUP | POLLERR);
        if (hit) result.fd_array[result.fd_count++] = s;
      }
    }
    count += static_cast<int>(result.fd_count);
    *sets[k] = result;
  }
  return count;
}

int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen) {
  int fd = Descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (!optval || optlen < 0) return Fail(WSAEFAULT);
  int error = netsys::SetOption(fd, level, optname, optval, static_cast<size_t>(optlen));
  return error ? Fail(error) : 0;
}

int getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen) {
  int fd = Descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (!optval || !optlen || *optlen < 0) return Fail(WSAEFAULT);
  size_t length = static_cast<size_t>(*optlen);
  int error = netsys::GetOption(fd, level, optname, optval, &length);
  if (error) return Fail(error);
  *optlen = static_cast<int>(length);
  return 0;
}

int ioctlsocket(SOCKET s, long cmd, u_long* argp) {
  int fd = Descriptor(s);
  if (fd < 0) return SOCKET_ERROR;
  if (!argp) return Fail(WSAEFAULT);
  int error;
  if (cmd == FIONBIO) {
    error = netsys::SetNonBlocking(fd, *argp != 0);
  } else if (cmd == FIONREAD) {
    unsigned long count = 0;
    error = netsys::BytesReadable(fd, &count);
    if (!error) *argp = count;
  } else {
    error = WSAEINVAL;
  }
  return error ? Fail(error) : 0;
}

unsigned long inet_addr(const char* cp) { return cp ? netsys::InetAddr(cp) : INADDR_NONE; }

char* inet_ntoa(struct in_addr in) {
  static thread_local char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", in.S_un.S_un_b.s_b1, in.S_un.S_un_b.s_b2, in.S_un.S_un_b.s_b3,
                in.S_un.S_un_b.s_b4);
  return text;
}

struct hostent* gethostbyname(const char* name) {
  if (!Started()) return FailLookup(WSANOTINITIALISED);
  std::string text;
  if (name) {
    text = name;
  } else if (int error = netsys::HostName(text)) {
    return FailLookup(error);
  }
  uint32_t address;
  if (FullDottedQuad(text, address)) return HostEntry(text, {address});
  if (text.empty() || OnlyDigitsAndDots(text)) return FailLookup(WSAHOST_NOT_FOUND);
  {
    HostTable& table = Hosts();
    std::lock_guard<std::mutex> guard(table.lock);
    if (table.in_use) {
      std::vector<uint32_t> found;
      for (auto& entry : table.entries) {
        if (SameNameIgnoringCase(entry.first, text)) found.push_back(entry.second);
      }
      if (found.empty()) return FailLookup(WSAHOST_NOT_FOUND);
      return HostEntry(text, found);
    }
  }
  std::vector<uint32_t> addresses;
  std::string canonical;
  if (int error = netsys::ResolveName(text.c_str(), addresses, canonical)) return FailLookup(error);
  return HostEntry(canonical, addresses);
}

struct hostent* gethostbyaddr(const char* addr, int len, int type) {
  if (!Started()) return FailLookup(WSANOTINITIALISED);
  if (!addr) return FailLookup(WSAEFAULT);
  if (type != AF_INET) return FailLookup(WSAEAFNOSUPPORT);
  if (len != 4) return FailLookup(WSAEFAULT);
  uint32_t address;
  std::memcpy(&address, addr, sizeof address);
  {
    HostTable& table = Hosts();
    std::lock_guard<std::mutex> guard(table.lock);
    if (table.in_use) {
      for (auto& entry : table.entries) {
        if (entry.second == address) return HostEntry(entry.first, {address});
      }
      return FailLookup(WSAHOST_NOT_FOUND);
    }
  }
  std::string name;
  if (int error = netsys::ResolveAddress(address, name)) return FailLookup(error);
  return HostEntry(name, {address});
}

int gethostname(char* name, int namelen) {
  if (!Started()) return Fail(WSANOTINITIALISED);
  if (!name || namelen <= 0) return Fail(WSAEFAULT);
  std::string host;
  if (int error = netsys::HostName(host)) return Fail(error);
  if (host.size() + 1 > static_cast<size_t>(namelen)) return Fail(WSAEFAULT);
  std::memcpy(name, host.c_str(), host.size() + 1);
  return 0;
}

int PlatformSocketFd(SOCKET s) {
  return (s == INVALID_SOCKET || s > static_cast<SOCKET>(INT_MAX)) ? -1 : static_cast<int>(s);
}

void PlatformSetSocketRecvHook(PlatformSocketHook hook) { recv_hook.store(hook); }

void PlatformSetSocketCloseHook(PlatformSocketHook hook) { close_hook.store(hook); }

void PlatformHostTableAdd(const char* name, const char* ipv4) {
  if (!name || !ipv4) return;
  uint32_t address;
  if (!FullDottedQuad(ipv4, address)) return;
  HostTable& table = Hosts();
  std::lock_guard<std::mutex> guard(table.lock);
  table.entries.emplace_back(name, address);
  table.in_use = true;
}

void PlatformHostTableClear() {
  HostTable& table = Hosts();
  std::lock_guard<std::mutex> guard(table.lock);
  table.entries.clear();
  table.in_use = false;
}

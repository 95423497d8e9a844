#include "SocketSys.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>

#include "Clock.h"

namespace netsys {

namespace {

// The Winsock option numbers the program uses (see Winsock.h).
constexpr int kWinsockSolSocket = 0xffff;
constexpr int kWsaEfault = 10014;
constexpr int kWsaEnoprotoopt = 10042;

int MapFlags(int flags) {
  int out = 0;
  if (flags & 0x1) out |= MSG_OOB;
  if (flags & 0x2) out |= MSG_PEEK;
  if (flags & 0x4) out |= MSG_DONTROUTE;
  return out;
}

int SocketOptionName(int name) {
  switch (name) {
    case 0x0001: return SO_DEBUG;
    case 0x0004: return SO_REUSEADDR;
    case 0x0008: return SO_KEEPALIVE;
    case 0x0010: return SO_DONTROUTE;
    case 0x0020: return SO_BROADCAST;
    case 0x0100: return SO_OOBINLINE;
    case 0x1001: return SO_SNDBUF;
    case 0x1002: return SO_RCVBUF;
    case 0x1005: return SO_SNDTIMEO;
    case 0x1006: return SO_RCVTIMEO;
    case 0x1007: return SO_ERROR;
    case 0x1008: return SO_TYPE;
    default: return -1;
  }
}

int ErrnoToWinsock() { return WinsockErrorFromErrno(errno); }

}  // namespace

bool IsSocket(int fd) {
  struct stat info;
  return fd >= 0 && fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
}

int SocketType(int fd) {
  int type = 0;
  socklen_t length = sizeof type;
  if (getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0) return -1;
  return type;
}

int Socket(int af, int type, int protocol) {
  if (af != AF_INET) {
    errno = EAFNOSUPPORT;
    return -1;
  }
  return ::socket(AF_INET, type | SOCK_CLOEXEC, protocol);
}

int Close(int fd) { return ::close(fd); }

int Bind(int fd, const void* address, size_t length) {
  return ::bind(fd, static_cast<const sockaddr*>(address), static_cast<socklen_t>(length));
}

int Connect(int fd, const void* address, size_t length) {
  return ::connect(fd, static_cast<const sockaddr*>(address), static_cast<socklen_t>(length));
}

int GetSockName(int fd, void* address, size_t* length) {
  socklen_t size = static_cast<socklen_t>(*length);
  int result = ::getsockname(fd, static_cast<sockaddr*>(address), &size);
  *length = size;
  return result;
}

long Send(int fd, const void* data, size_t length, int flags) {
  long sent;
  do sent = ::send(fd, data, length, MapFlags(flags) | MSG_NOSIGNAL);
  while (sent < 0 && errno == EINTR);
  return sent;
}

long SendTo(int fd, const void* data, size_t length, int flags, const void* to, size_t to_length) {
  long sent;
  do sent = ::sendto(fd, data, length, MapFlags(flags) | MSG_NOSIGNAL, static_cast<const sockaddr*>(to),
                     static_cast<socklen_t>(to_length));
  while (sent < 0 && errno == EINTR);
  return sent;
}

long RecvFrom(int fd, void* data, size_t length, int flags, void* from, size_t* from_length, bool* truncated) {
  iovec part = {data, length};
  msghdr message = {};
  sockaddr_storage sender = {};
  message.msg_name = &sender;
  message.msg_namelen = sizeof sender;
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  long received;
  do received = ::recvmsg(fd, &message, MapFlags(flags));
  while (received < 0 && errno == EINTR);
  if (received < 0) return -1;
  *truncated = (message.msg_flags & MSG_TRUNC) != 0 && SocketType(fd) == SOCK_DGRAM;
  if (from && from_length) {
    size_t copy = std::min<size_t>(*from_length, message.msg_namelen);
    std::memcpy(from, &sender, copy);
    *from_length = copy;
  }
  return received;
}

int SetOption(int fd, int level, int name, const void* value, size_t length) {
  if (!value) return kWsaEfault;
  if (level != kWinsockSolSocket) return kWsaEnoprotoopt;
  int option = SocketOptionName(name);
  if (option < 0 || option == SO_ERROR || option == SO_TYPE) return kWsaEnoprotoopt;
  int result;
  if (option == SO_RCVTIMEO || option == SO_SNDTIMEO) {
    // Winsock takes a DWORD of milliseconds; they run on the platform clock.
    if (length < sizeof(uint32_t)) return kWsaEfault;
    uint32_t ms;
    std::memcpy(&ms, value, sizeof ms);
    unsigned long long real = ms ? PlatformClockToRealMs(ms) : 0;
    timeval tv = {static_cast<time_t>(real / 1000), static_cast<suseconds_t>(real % 1000 * 1000)};
    result = ::setsockopt(fd, SOL_SOCKET, option, &tv, sizeof tv);
  } else {
    // Winsock's boolean and size options are ints; a shorter value reads as its first byte.
    if (length < 1) return kWsaEfault;
    int number = 0;
    if (length >= sizeof(int)) {
      std::memcpy(&number, value, sizeof number);
    } else {
      number = *static_cast<const unsigned char*>(value);
    }
    result = ::setsockopt(fd, SOL_SOCKET, option, &number, sizeof number);
  }
  return result == 0 ? 0 : ErrnoToWinsock();
}

int GetOption(int fd, int level, int name, void* value, size_t* length) {
  if (!value || !length) return kWsaEfault;
  if (level != kWinsockSolSocket) return kWsaEnoprotoopt;
  int option = SocketOptionName(name);
  if (option < 0) return kWsaEnoprotoopt;
  if (*length < sizeof(int)) return kWsaEfault;
  int number = 0;
  if (option == SO_RCVTIMEO || option == SO_SNDTIMEO) {
    timeval tv = {};
    socklen_t size = sizeof tv;
    if (::getsockopt(fd, SOL_SOCKET, option, &tv, &size) != 0) return ErrnoToWinsock();
    number = static_cast<int>(tv.tv_sec * 1000 + tv.tv_usec / 1000);
  } else {
    socklen_t size = sizeof number;
    if (::getsockopt(fd, SOL_SOCKET, option, &number, &size) != 0) return ErrnoToWinsock();
    if (option == SO_BROADCAST || option == SO_REUSEADDR || option == SO_KEEPALIVE) number = number ? 1 : 0;
  }
  std::memcpy(value, &number, sizeof number);
  *length = sizeof number;
  return 0;
}

int SetNonBlocking(int fd, bool on) {
  int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return ErrnoToWinsock();
  flags = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  return fcntl(fd, F_SETFL, flags) == 0 ? 0 : ErrnoToWinsock();
}

int BytesReadable(int fd, unsigned long* count) {
  int bytes = 0;
  if (ioctl(fd, FIONREAD, &bytes) != 0) return ErrnoToWinsock();
  *count = static_cast<unsigned long>(bytes);
  return 0;
}

uint32_t InetAddr(const char* text) { return ::inet_addr(text); }

int ResolveName(const char* name, std::vector<uint32_t>& addresses, std::string& canonical) {
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  hints.ai_flags = AI_CANONNAME;
  addrinfo* found = nullptr;
  int error = getaddrinfo(name, nullptr, &hints, &found);
  switch (error) {
    case 0: break;
    case EAI_NONAME: return 11001;
    case EAI_AGAIN: return 11002;
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
    case EAI_ADDRFAMILY: return 11004;
    default: return 11003;
  }
  canonical = found->ai_canonname ? found->ai_canonname : name;
  for (addrinfo* a = found; a; a = a->ai_next) {
    if (a->ai_family != AF_INET || a->ai_addrlen < sizeof(sockaddr_in)) continue;
    uint32_t address = reinterpret_cast<sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
    bool seen = false;
    for (uint32_t known : addresses) seen = seen || known == address;
    if (!seen) addresses.push_back(address);
  }
  freeaddrinfo(found);
  return addresses.empty() ? 11004 : 0;
}

int ResolveAddress(uint32_t address, std::string& name) {
  sockaddr_in in = {};
  in.sin_family = AF_INET;
  in.sin_addr.s_addr = address;
  char host[NI_MAXHOST];
  int error = getnameinfo(reinterpret_cast<sockaddr*>(&in), sizeof in, host, sizeof host, nullptr, 0, NI_NAMEREQD);
  switch (error) {
    case 0: name = host; return 0;
    case EAI_NONAME: return 11001;
    case EAI_AGAIN: return 11002;
    default: return 11003;
  }
}

int HostName(std::string& name) {
  char buffer[HOST_NAME_MAX + 1] = {};
  if (::gethostname(buffer, sizeof buffer - 1) != 0) return ErrnoToWinsock();
  name = buffer;
  return 0;
}

int WinsockErrorFromErrno(int error) {
  switch (error) {
    case EINTR: return 10004;
    case EACCES:
    case EPERM: return 10013;
    case EFAULT: return 10014;
    case EINVAL: return 10022;
    case EMFILE:
    case ENFILE: return 10024;
    case EAGAIN:
    case EINPROGRESS: return 10035;  // Winsock reports a pending connect as "would block"
    case EALREADY: return 10037;
    case EBADF:
    case ENOTSOCK: return 10038;
    case EDESTADDRREQ: return 10039;
    case EMSGSIZE: return 10040;
    case EPROTOTYPE: return 10041;
    case ENOPROTOOPT: return 10042;
    case EPROTONOSUPPORT: return 10043;
    case ESOCKTNOSUPPORT: return 10044;
    case EOPNOTSUPP: return 10045;
    case EPFNOSUPPORT: return 10046;
    case EAFNOSUPPORT: return 10047;
    case EADDRINUSE: return 10048;
    case EADDRNOTAVAIL: return 10049;
    case ENETDOWN: return 10050;
    case ENETUNREACH: return 10051;
    case ENETRESET: return 10052;
    case ECONNABORTED: return 10053;
    case ECONNRESET:
    case EPIPE: return 10054;
    case ENOBUFS:
    case ENOMEM: return 10055;
    case EISCONN: return 10056;
    case ENOTCONN: return 10057;
    case ESHUTDOWN: return 10058;
    case ETIMEDOUT: return 10060;
    case ECONNREFUSED: return 10061;
    case ELOOP: return 10062;
    case ENAMETOOLONG: return 10063;
    case EHOSTDOWN: return 10064;
    case EHOSTUNREACH: return 10065;
    default: return 10107;
  }
}

}  // namespace netsys

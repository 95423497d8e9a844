// Windows Sockets 1.1 over BSD sockets.
//
// The program includes this header where it would include winsock.h. It declares the Winsock
// types itself (in_addr, sockaddr, sockaddr_in, hostent and the Winsock fd_set), so a file that
// includes it must not also include the BSD socket headers (<sys/socket.h>, <netinet/in.h>,
// <arpa/inet.h>, <netdb.h>): their declarations of the same names differ.
//
// fd_set: the C library's <sys/select.h> arrives with almost every standard header, so the
// Winsock set is the type WinsockFdSet and `fd_set` is a macro naming it. Like Winsock's, it is
// an array of up to FD_SETSIZE (64) sockets with a count, not a bit set; select() ignores its
// first argument. Include this header after any system header that itself uses fd_set.
//
// SOCKET values are the system's descriptors, so code that keeps a socket in an int works.
// Errors are the Winsock codes (WSAGetLastError) mapped from errno. Time-outs of select() run
// on the platform clock.
#pragma once

#include <sys/time.h>  // struct timeval, and glibc's own fd_set before ours is named
#include <sys/types.h>

#include "Types.h"

#ifndef __u_char_defined
typedef unsigned char u_char;
typedef unsigned short u_short;
typedef unsigned int u_int;
typedef unsigned long u_long;
#endif

typedef UINT_PTR SOCKET;
#define INVALID_SOCKET ((SOCKET)(~0))
#define SOCKET_ERROR (-1)

// Addresses (layouts as on the wire and in the system's own structures).
struct in_addr {
  union {
    struct {
      u_char s_b1, s_b2, s_b3, s_b4;
    } S_un_b;
    struct {
      u_short s_w1, s_w2;
    } S_un_w;
    ULONG S_addr;
  } S_un;
};
#define s_addr S_un.S_addr
typedef in_addr IN_ADDR;

struct sockaddr {
  u_short sa_family;
  char sa_data[14];
};
typedef sockaddr SOCKADDR;
typedef sockaddr* LPSOCKADDR;

struct sockaddr_in {
  short sin_family;
  u_short sin_port;
  struct in_addr sin_addr;
  char sin_zero[8];
};
typedef sockaddr_in SOCKADDR_IN;

// One copy per thread, valid until the thread's next look-up.
struct hostent {
  char* h_name;
  char** h_aliases;
  short h_addrtype;
  short h_length;
  char** h_addr_list;
};
#define h_addr h_addr_list[0]
typedef hostent HOSTENT;
typedef hostent* LPHOSTENT;

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128
struct WSADATA {
  WORD wVersion;
  WORD wHighVersion;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
};
typedef WSADATA* LPWSADATA;

// The Winsock select set.
#undef FD_SETSIZE
#define FD_SETSIZE 64
struct WinsockFdSet {
  u_int fd_count;
  SOCKET fd_array[FD_SETSIZE];
};
#define fd_set WinsockFdSet

inline int WinsockFdIsSet(SOCKET s, const WinsockFdSet* set) {
  for (u_int i = 0; i < set->fd_count && i < FD_SETSIZE; ++i) {
    if (set->fd_array[i] == s) return 1;
  }
  return 0;
}
inline void WinsockFdSetAdd(SOCKET s, WinsockFdSet* set) {
  if (WinsockFdIsSet(s, set)) return;
  if (set->fd_count < FD_SETSIZE) set->fd_array[set->fd_count++] = s;
}
inline void WinsockFdClear(SOCKET s, WinsockFdSet* set) {
  for (u_int i = 0; i < set->fd_count && i < FD_SETSIZE; ++i) {
    if (set->fd_array[i] == s) {
      for (u_int j = i + 1; j < set->fd_count && j < FD_SETSIZE; ++j) set->fd_array[j - 1] = set->fd_array[j];
      --set->fd_count;
      return;
    }
  }
}
#undef FD_SET
#undef FD_ISSET
#undef FD_CLR
#undef FD_ZERO
#define FD_SET(s, set) WinsockFdSetAdd((SOCKET)(s), (set))
#define FD_ISSET(s, set) WinsockFdIsSet((SOCKET)(s), (set))
#define FD_CLR(s, set) WinsockFdClear((SOCKET)(s), (set))
#define FD_ZERO(set) ((set)->fd_count = 0)

// Constants (Winsock values; the implementation translates them).
#define AF_UNSPEC 0
#define AF_INET 2
#define PF_INET AF_INET
#define SOCK_STREAM 1
#define SOCK_DGRAM 2
#define SOCK_RAW 3
#define IPPROTO_IP 0
#define IPPROTO_TCP 6
#define IPPROTO_UDP 17

#define INADDR_ANY ((ULONG)0x00000000)
#define INADDR_LOOPBACK 0x7f000001
#define INADDR_BROADCAST ((ULONG)0xffffffff)
#define INADDR_NONE 0xffffffff

#define SOL_SOCKET 0xffff
#define SO_DEBUG 0x0001
#define SO_REUSEADDR 0x0004
#define SO_KEEPALIVE 0x0008
#define SO_DONTROUTE 0x0010
#define SO_BROADCAST 0x0020
#define SO_LINGER 0x0080
#define SO_OOBINLINE 0x0100
#define SO_SNDBUF 0x1001
#define SO_RCVBUF 0x1002
#define SO_SNDTIMEO 0x1005
#define SO_RCVTIMEO 0x1006
#define SO_ERROR 0x1007
#define SO_TYPE 0x1008

#define MSG_OOB 0x1
#define MSG_PEEK 0x2
#define MSG_DONTROUTE 0x4

#define FIONREAD 0x4004667FL
#define FIONBIO 0x8004667EL

// Notices of WSAAsyncSelect.
#define FD_READ 0x01
#define FD_WRITE 0x02
#define FD_OOB 0x04
#define FD_ACCEPT 0x08
#define FD_CONNECT 0x10
#define FD_CLOSE 0x20
#define WSAMAKESELECTREPLY(event, error) ((LONG)(DWORD)MAKELONG(event, error))
#define WSAGETSELECTEVENT(lParam) LOWORD(lParam)
#define WSAGETSELECTERROR(lParam) HIWORD(lParam)

// Error codes.
#define WSABASEERR 10000
#define WSAEINTR 10004
#define WSAEBADF 10009
#define WSAEACCES 10013
#define WSAEFAULT 10014
#define WSAEINVAL 10022
#define WSAEMFILE 10024
#define WSAEWOULDBLOCK 10035
#define WSAEINPROGRESS 10036
#define WSAEALREADY 10037
#define WSAENOTSOCK 10038
#define WSAEDESTADDRREQ 10039
#define WSAEMSGSIZE 10040
#define WSAEPROTOTYPE 10041
#define WSAENOPROTOOPT 10042
#define WSAEPROTONOSUPPORT 10043
#define WSAESOCKTNOSUPPORT 10044
#define WSAEOPNOTSUPP 10045
#define WSAEPFNOSUPPORT 10046
#define WSAEAFNOSUPPORT 10047
#define WSAEADDRINUSE 10048
#define WSAEADDRNOTAVAIL 10049
#define WSAENETDOWN 10050
#define WSAENETUNREACH 10051
#define WSAENETRESET 10052
#define WSAECONNABORTED 10053
#define WSAECONNRESET 10054
#define WSAENOBUFS 10055
#define WSAEISCONN 10056
#define WSAENOTCONN 10057
#define WSAESHUTDOWN 10058
#define WSAETIMEDOUT 10060
#define WSAECONNREFUSED 10061
#define WSAELOOP 10062
#define WSAENAMETOOLONG 10063
#define WSAEHOSTDOWN 10064
#define WSAEHOSTUNREACH 10065
#define WSASYSNOTREADY 10091
#define WSAVERNOTSUPPORTED 10092
#define WSANOTINITIALISED 10093
#define WSASYSCALLFAILURE 10107
#define WSAHOST_NOT_FOUND 11001
#define WSATRY_AGAIN 11002
#define WSANO_RECOVERY 11003
#define WSANO_DATA 11004

// Start-up is counted: every successful WSAStartup needs one WSACleanup. Creating sockets and
// looking up names need Windows Sockets started (else WSANOTINITIALISED).
PLATFORM_API int WSAStartup(WORD version_requested, LPWSADATA data);
PLATFORM_API int WSACleanup();
PLATFORM_API int WSAGetLastError();
PLATFORM_API void WSASetLastError(int error);

PLATFORM_API SOCKET socket(int af, int type, int protocol);
PLATFORM_API int closesocket(SOCKET s);
PLATFORM_API int bind(SOCKET s, const struct sockaddr* name, int namelen);
PLATFORM_API int connect(SOCKET s, const struct sockaddr* name, int namelen);
PLATFORM_API int getsockname(SOCKET s, struct sockaddr* name, int* namelen);
PLATFORM_API int send(SOCKET s, const char* buf, int len, int flags);
PLATFORM_API int sendto(SOCKET s, const char* buf, int len, int flags, const struct sockaddr* to, int tolen);
// A datagram longer than the buffer fills it and fails with WSAEMSGSIZE; the rest is lost.
PLATFORM_API int recv(SOCKET s, char* buf, int len, int flags);
PLATFORM_API int recvfrom(SOCKET s, char* buf, int len, int flags, struct sockaddr* from, int* fromlen);
PLATFORM_API int select(int nfds, WinsockFdSet* readfds, WinsockFdSet* writefds, WinsockFdSet* exceptfds,
                        const struct timeval* timeout);
PLATFORM_API int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen);
PLATFORM_API int getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen);
PLATFORM_API int ioctlsocket(SOCKET s, long cmd, u_long* argp);

PLATFORM_API unsigned long inet_addr(const char* cp);
// Text in a buffer of the calling thread, valid until its next call.
PLATFORM_API char* inet_ntoa(struct in_addr in);

// Name resolution follows Windows: a full dotted quad is its own address; any other text made
// only of digits and dots ("10.1.2") is not a host name and is not found (WSAHOST_NOT_FOUND).
PLATFORM_API struct hostent* gethostbyname(const char* name);
PLATFORM_API struct hostent* gethostbyaddr(const char* addr, int len, int type);
PLATFORM_API int gethostname(char* name, int namelen);

inline u_short htons(u_short v) { return __builtin_bswap16(v); }
inline u_short ntohs(u_short v) { return __builtin_bswap16(v); }
inline u_long htonl(u_long v) { return __builtin_bswap32(static_cast<uint32_t>(v)); }
inline u_long ntohl(u_long v) { return __builtin_bswap32(static_cast<uint32_t>(v)); }

// Defined by the window manager (platform/ui): read notices arrive as window messages.
PLATFORM_API int WSAAsyncSelect(SOCKET s, HWND window, u_int message, long events);

// For the window manager's one wait, which polls the sockets registered with WSAAsyncSelect:
// - PlatformSocketFd gives the system descriptor of a socket (-1 for INVALID_SOCKET);
// - the receive hook runs after every recv and recvfrom call, on the calling thread, so that the
//   read notice of an async-selected socket is re-armed (the hook decides whether it is one);
// - the close hook runs in closesocket before the descriptor is closed, so that the socket is
//   dropped from the wait before its number can be reused.
// Hooks are process-wide; null removes one.
typedef void (*PlatformSocketHook)(SOCKET s);
PLATFORM_API int PlatformSocketFd(SOCKET s);
PLATFORM_API void PlatformSetSocketRecvHook(PlatformSocketHook hook);
PLATFORM_API void PlatformSetSocketCloseHook(PlatformSocketHook hook);

// Test seams: while the host table holds entries, gethostbyname and gethostbyaddr answer from it
// alone (names compared without case) and no resolver is asked.
PLATFORM_API void PlatformHostTableAdd(const char* name, const char* ipv4);
PLATFORM_API void PlatformHostTableClear();

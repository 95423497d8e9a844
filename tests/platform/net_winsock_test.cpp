#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "SocketSys.h"
#include "Winsock.h"

namespace {

class Winsock : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
    EXPECT_EQ(data.wVersion, MAKEWORD(1, 1));
  }
  void TearDown() override {
    for (SOCKET s : sockets_) closesocket(s);
    PlatformHostTableClear();
    WSACleanup();
  }

  // A UDP socket bound to 127.0.0.1 on a port of the system's choice.
  SOCKET Udp(sockaddr_in* bound = nullptr) {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    EXPECT_NE(s, INVALID_SOCKET);
    sockaddr_in address = Loopback(0);
    EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    int length = sizeof address;
    EXPECT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&address), &length), 0);
    if (bound) *bound = address;
    sockets_.push_back(s);
    return s;
  }

  static sockaddr_in Loopback(u_short port) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    return address;
  }

  static int SendText(SOCKET from, const sockaddr_in& to, const std::string& text) {
    return sendto(from, text.data(), static_cast<int>(text.size()), 0, reinterpret_cast<const sockaddr*>(&to),
                  sizeof to);
  }

  static bool Readable(SOCKET s, long usec = 2000000) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval limit = {usec / 1000000, usec % 1000000};
    return select(0, &set, nullptr, nullptr, &limit) == 1 && FD_ISSET(s, &set);
  }

  std::vector<SOCKET> sockets_;
};

TEST_F(Winsock, LoopbackDatagramRoundTrip) {
  sockaddr_in a_address, b_address;
  SOCKET a = Udp(&a_address);
  SOCKET b = Udp(&b_address);
  EXPECT_NE(b_address.sin_port, 0);

  ASSERT_EQ(SendText(a, b_address, "ping"), 4);
  ASSERT_TRUE(Readable(b));
  u_long pending = 0;
  EXPECT_EQ(ioctlsocket(b, FIONREAD, &pending), 0);
  EXPECT_EQ(pending, 4u);

  char buffer[64];
  sockaddr_in sender = {};
  int sender_length = sizeof sender;
  int got = recvfrom(b, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&sender), &sender_length);
  ASSERT_EQ(got, 4);
  EXPECT_EQ(std::string(buffer, 4), "ping");
  EXPECT_EQ(sender_length, static_cast<int>(sizeof(sockaddr_in)));
  EXPECT_EQ(sender.sin_port, a_address.sin_port);
  EXPECT_STREQ(inet_ntoa(sender.sin_addr), "127.0.0.1");

  ASSERT_EQ(SendText(b, sender, "pong"), 4);
  ASSERT_TRUE(Readable(a));
  EXPECT_EQ(recv(a, buffer, sizeof buffer, 0), 4);
  EXPECT_EQ(std::string(buffer, 4), "pong");
}

TEST_F(Winsock, ErrorsCarryWinsockCodes) {
  sockaddr_in taken;
  Udp(&taken);
  SOCKET second = socket(AF_INET, SOCK_DGRAM, 0);
  sockets_.push_back(second);
  EXPECT_EQ(bind(second, reinterpret_cast<sockaddr*>(&taken), sizeof taken), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), 10048);

  sockaddr_in short_address = Loopback(0);
  EXPECT_EQ(bind(second, reinterpret_cast<sockaddr*>(&short_address), 8), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEFAULT);

  EXPECT_EQ(socket(23 /* AF_INET6 */, SOCK_DGRAM, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSAEAFNOSUPPORT);

  u_long on = 1;
  SOCKET quiet = Udp();
  ASSERT_EQ(ioctlsocket(quiet, FIONBIO, &on), 0);
  char byte;
  EXPECT_EQ(recv(quiet, &byte, 1, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);

  EXPECT_EQ(closesocket(INVALID_SOCKET), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  EXPECT_EQ(ioctlsocket(quiet, 0x1234, &on), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
}

// Only sockets are sockets, however the layer learns it: a pipe and a closed
// socket are refused by every call with WSAENOTSOCK, and a socket that the
// system made without socket() works like any other.
TEST_F(Winsock, DescriptorsThatAreNoSocketsAreRefused) {
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  SOCKET closed = socket(AF_INET, SOCK_DGRAM, 0);
  ASSERT_NE(closed, INVALID_SOCKET);
  ASSERT_EQ(closesocket(closed), 0);
  sockaddr_in to = Loopback(9);
  for (SOCKET not_socket : {static_cast<SOCKET>(pipe_ends[0]), static_cast<SOCKET>(pipe_ends[1]), closed}) {
    char byte = 0;
    EXPECT_EQ(send(not_socket, &byte, 1, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    EXPECT_EQ(sendto(not_socket, &byte, 1, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    EXPECT_EQ(recv(not_socket, &byte, 1, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    fd_set set;
    FD_ZERO(&set);
    FD_SET(not_socket, &set);
    timeval zero = {0, 0};
    EXPECT_EQ(select(0, &set, nullptr, nullptr, &zero), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  }
  EXPECT_EQ(closesocket(closed), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  close(pipe_ends[0]);
  close(pipe_ends[1]);

  const int made_elsewhere = netsys::Socket(AF_INET, SOCK_DGRAM, 0);
  ASSERT_GE(made_elsewhere, 0);
  const SOCKET s = static_cast<SOCKET>(made_elsewhere);
  u_long on = 1;
  EXPECT_EQ(ioctlsocket(s, FIONBIO, &on), 0);
  char byte;
  EXPECT_EQ(recv(s, &byte, 1, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
  EXPECT_EQ(closesocket(s), 0);
}

TEST_F(Winsock, OversizedDatagramFailsWithMsgSizeAndLosesOnlyItself) {
  sockaddr_in to;
  SOCKET receiver = Udp(&to);
  SOCKET sender = Udp();
  ASSERT_EQ(SendText(sender, to, "0123456789"), 10);
  ASSERT_EQ(SendText(sender, to, "ok"), 2);
  ASSERT_TRUE(Readable(receiver));
  char small[4];
  EXPECT_EQ(recv(receiver, small, sizeof small, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEMSGSIZE);
  EXPECT_EQ(std::string(small, 4), "0123");
  ASSERT_TRUE(Readable(receiver));
  EXPECT_EQ(recv(receiver, small, sizeof small, 0), 2);
  EXPECT_EQ(std::string(small, 2), "ok");
}

TEST_F(Winsock, SocketOptionsUseWinsockNumbers) {
  SOCKET s = Udp();
  BOOL on = TRUE;
  ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on), 0);
  int value = 0, length = sizeof value;
  ASSERT_EQ(getsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<char*>(&value), &length), 0);
  EXPECT_EQ(value, 1);
  ASSERT_EQ(getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&value), &length), 0);
  EXPECT_EQ(value, SOCK_DGRAM);
  int size = 65536;
  EXPECT_EQ(setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size), 0);
  EXPECT_EQ(setsockopt(s, SOL_SOCKET, 0x7777, reinterpret_cast<const char*>(&on), sizeof on), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOPROTOOPT);
  EXPECT_EQ(setsockopt(s, IPPROTO_TCP, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on), SOCKET_ERROR);
}

TEST_F(Winsock, FdSetIsAnArrayOfSockets) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(5, &set);
  FD_SET(9, &set);
  FD_SET(5, &set);
  EXPECT_EQ(set.fd_count, 2u) << "a socket is held once";
  FD_CLR(5, &set);
  ASSERT_EQ(set.fd_count, 1u);
  EXPECT_EQ(set.fd_array[0], 9u);
  EXPECT_FALSE(FD_ISSET(5, &set));
  for (SOCKET s = 100; s < 200; ++s) FD_SET(s, &set);
  EXPECT_EQ(set.fd_count, static_cast<u_int>(FD_SETSIZE)) << "a full set takes no more";
  EXPECT_EQ(FD_SETSIZE, 64);
}

TEST_F(Winsock, SelectKeepsOnlyReadySocketsAndRefusesEmptySets) {
  sockaddr_in busy_address;
  SOCKET busy = Udp(&busy_address);
  SOCKET idle = Udp();
  ASSERT_EQ(SendText(idle, busy_address, "x"), 1);
  fd_set read;
  FD_ZERO(&read);
  FD_SET(idle, &read);
  FD_SET(busy, &read);
  timeval limit = {2, 0};
  EXPECT_EQ(select(0, &read, nullptr, nullptr, &limit), 1);
  ASSERT_EQ(read.fd_count, 1u);
  EXPECT_EQ(read.fd_array[0], busy);

  fd_set empty;
  FD_ZERO(&empty);
  timeval zero = {0, 0};
  EXPECT_EQ(select(0, &empty, nullptr, nullptr, &zero), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEINVAL);

  FD_ZERO(&read);
  FD_SET(idle, &read);
  EXPECT_EQ(select(0, &read, nullptr, nullptr, &zero), 0);
  EXPECT_EQ(read.fd_count, 0u);
}

TEST_F(Winsock, NameResolutionFollowsWindowsRules) {
  PlatformHostTableAdd("ap-master.lab", "10.9.8.7");
  PlatformHostTableAdd("10.1.2", "10.1.2.99");  // even a table entry cannot make digits a name

  struct Case {
    const char* name;
    const char* address;  // null: not found
  };
  const Case cases[] = {
      {"10.1.2.3", "10.1.2.3"},        // a dotted quad is its own address
      {"AP-Master.LAB", "10.9.8.7"},   // names compare without case
      {"10.1.2", nullptr},             // digits and dots only: never a host name
      {"10.1.2.3.4", nullptr},
      {"1234", nullptr},
      {"", nullptr},
      {"unknown.lab", nullptr},        // the table is all there is
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    hostent* entry = gethostbyname(c.name);
    if (!c.address) {
      EXPECT_EQ(entry, nullptr);
      EXPECT_EQ(WSAGetLastError(), WSAHOST_NOT_FOUND);
      continue;
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->h_addrtype, AF_INET);
    EXPECT_EQ(entry->h_length, 4);
    in_addr first;
    std::memcpy(&first, entry->h_addr, 4);
    EXPECT_STREQ(inet_ntoa(first), c.address);
    EXPECT_EQ(entry->h_addr_list[1], nullptr);
  }

  in_addr master;
  master.s_addr = inet_addr("10.9.8.7");
  hostent* named = gethostbyaddr(reinterpret_cast<const char*>(&master), 4, AF_INET);
  ASSERT_NE(named, nullptr);
  EXPECT_STREQ(named->h_name, "ap-master.lab");
  in_addr stranger;
  stranger.s_addr = inet_addr("10.9.8.8");
  EXPECT_EQ(gethostbyaddr(reinterpret_cast<const char*>(&stranger), 4, AF_INET), nullptr);
  EXPECT_EQ(WSAGetLastError(), WSAHOST_NOT_FOUND);
}

TEST(WinsockStartup, IsCountedAndRequired) {
  EXPECT_EQ(socket(AF_INET, SOCK_DGRAM, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
  EXPECT_EQ(gethostbyname("10.1.2.3"), nullptr);
  EXPECT_EQ(WSAStartup(MAKEWORD(1, 1), nullptr), WSAEFAULT);

  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  EXPECT_EQ(WSACleanup(), 0);
  SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
  EXPECT_NE(s, INVALID_SOCKET) << "one start still stands";
  closesocket(s);
  EXPECT_EQ(WSACleanup(), 0);
  EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
}

TEST(WinsockErrors, SystemErrorsMapToWinsockCodes) {
  const std::pair<int, int> cases[] = {
      {EINTR, 10004},         {EACCES, 10013},        {EAGAIN, 10035},      {EINPROGRESS, 10035},
      {EAFNOSUPPORT, 10047},  {EADDRINUSE, 10048},    {EADDRNOTAVAIL, 10049}, {ENETUNREACH, 10051},
      {ECONNRESET, 10054},    {ENOBUFS, 10055},       {EMSGSIZE, 10040},    {ENOTSOCK, 10038},
      {ECONNREFUSED, 10061},  {EHOSTUNREACH, 10065},  {EIO, 10107},
  };
  for (auto [error, code] : cases) EXPECT_EQ(netsys::WinsockErrorFromErrno(error), code) << "errno " << error;
}

TEST(WinsockAddresses, TextAndByteOrder) {
  struct Case {
    const char* text;
    unsigned long address;  // network order as stored
  };
  const Case cases[] = {
      {"192.168.0.50", 0x3200A8C0ul},
      {"255.255.255.255", INADDR_NONE},
      {"not an address", INADDR_NONE},
      {"", INADDR_NONE},
  };
  for (const Case& c : cases) EXPECT_EQ(inet_addr(c.text), c.address) << c.text;
  EXPECT_EQ(inet_addr(nullptr), INADDR_NONE);
  EXPECT_EQ(htons(0x1234), 0x3412);
  EXPECT_EQ(ntohl(htonl(0x01020304ul)), 0x01020304ul);
  EXPECT_EQ(htonl(0x01020304ul), 0x04030201ul);
}

namespace {
std::vector<SOCKET> hooked;
void RememberSocket(SOCKET s) { hooked.push_back(s); }
}  // namespace

TEST_F(Winsock, HooksSeeReceivesAndClosesForTheWindowManager) {
  sockaddr_in to;
  SOCKET receiver = Udp(&to);
  EXPECT_EQ(PlatformSocketFd(receiver), static_cast<int>(receiver));
  EXPECT_EQ(PlatformSocketFd(INVALID_SOCKET), -1);
  hooked.clear();
  PlatformSetSocketRecvHook(RememberSocket);
  ASSERT_EQ(SendText(Udp(), to, "n"), 1);
  ASSERT_TRUE(Readable(receiver));
  char byte;
  EXPECT_EQ(recv(receiver, &byte, 1, 0), 1);
  PlatformSetSocketRecvHook(nullptr);
  EXPECT_EQ(hooked, std::vector<SOCKET>{receiver});

  hooked.clear();
  PlatformSetSocketCloseHook(RememberSocket);
  SOCKET doomed = socket(AF_INET, SOCK_DGRAM, 0);
  EXPECT_EQ(closesocket(doomed), 0);
  PlatformSetSocketCloseHook(nullptr);
  EXPECT_EQ(hooked, std::vector<SOCKET>{doomed});
}

}  // namespace

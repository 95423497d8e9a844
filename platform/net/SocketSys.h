// Inside the platform: the calls of Winsock.cpp that need the system's socket headers, which
// cannot share a file with the Winsock declarations. Plain types only; failures return -1 with
// errno set unless said otherwise. Option levels, names and ioctl commands are the Winsock ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace netsys {

int WinsockErrorFromErrno(int error);

bool IsSocket(int fd);
int SocketType(int fd);  // SOCK_STREAM/SOCK_DGRAM, or -1
int Socket(int af, int type, int protocol);
int Close(int fd);
int Bind(int fd, const void* address, size_t length);
int Connect(int fd, const void* address, size_t length);
int GetSockName(int fd, void* address, size_t* length);
long Send(int fd, const void* data, size_t length, int flags);
long SendTo(int fd, const void* data, size_t length, int flags, const void* to, size_t to_length);
// Sets *truncated when a datagram did not fit.
long RecvFrom(int fd, void* data, size_t length, int flags, void* from, size_t* from_length, bool* truncated);

// Both return 0 or a Winsock error code.
int SetOption(int fd, int level, int name, const void* value, size_t length);
int GetOption(int fd, int level, int name, void* value, size_t* length);
int SetNonBlocking(int fd, bool on);
int BytesReadable(int fd, unsigned long* count);

uint32_t InetAddr(const char* text);  // network order; 0xffffffff when not an address
// Both return 0 or a Winsock resolver error (11001-11004).
int ResolveName(const char* name, std::vector<uint32_t>& addresses, std::string& canonical);
int ResolveAddress(uint32_t address, std::string& name);
int HostName(std::string& name);

}  // namespace netsys

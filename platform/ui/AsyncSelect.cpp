// WSAAsyncSelect: socket notices as window messages, made by the owning
// thread's one wait. A read notice is posted once when data is waiting and
// again only after the program has received (the receive re-arms it).

#include <algorithm>

#include "WindowManager.h"
// After every system header (it names its own fd_set).
#include "Winsock.h"

namespace {

struct AsyncSocket {
  SOCKET socket;
  int fd;
  HWND hwnd;
  UINT message;
  long events;
  bool readArmed;
};

std::vector<AsyncSocket>& Sockets() {
  static auto* v = new std::vector<AsyncSocket>;
  return *v;
}

void Drop(SOCKET s) {
  auto& v = Sockets();
  v.erase(std::remove_if(v.begin(), v.end(), [s](const AsyncSocket& a) { return a.socket == s; }), v.end());
}

void OnReceive(SOCKET s) {
  std::shared_ptr<wm::ThreadQueue> q;
  {
    wm::Guard g(wm::Lock());
    for (AsyncSocket& a : Sockets()) {
      if (a.socket != s || !(a.events & FD_READ) || a.readArmed) continue;
      a.readArmed = true;
      if (wm::Window* w = wm::Find(a.hwnd)) q = w->queue;
    }
  }
  if (q) q->Wake();
}

void OnClose(SOCKET s) {
  wm::Guard g(wm::Lock());
  Drop(s);
}

}  // namespace

namespace wm {

void CollectSocketFds(ThreadQueue* queue, std::vector<int>* fds) {
  for (const AsyncSocket& a : Sockets()) {
    Window* w = Find(a.hwnd);
    if (a.readArmed && w && w->queue.get() == queue) fds->push_back(a.fd);
  }
}

void SocketsReady(const std::vector<int>& readyFds) {
  std::vector<AsyncSocket> notices;
  {
    Guard g(Lock());
    for (AsyncSocket& a : Sockets()) {
      if (!a.readArmed || std::find(readyFds.begin(), readyFds.end(), a.fd) == readyFds.end()) continue;
      a.readArmed = false;
      notices.push_back(a);
    }
  }
  for (const AsyncSocket& a : notices)
    PostMessageA(a.hwnd, a.message, static_cast<WPARAM>(a.socket), WSAMAKESELECTREPLY(FD_READ, 0));
}

void DropSocketsOf(HWND hwnd) {
  auto& v = Sockets();
  v.erase(std::remove_if(v.begin(), v.end(), [hwnd](const AsyncSocket& a) { return a.hwnd == hwnd; }), v.end());
}

}  // namespace wm

int WSAAsyncSelect(SOCKET s, HWND window, u_int message, long events) {
  int fd = PlatformSocketFd(s);
  if (fd < 0) {
    WSASetLastError(WSAENOTSOCK);
    return SOCKET_ERROR;
  }
  static bool hooked = false;
  std::shared_ptr<wm::ThreadQueue> q;
  {
    wm::Guard g(wm::Lock());
    if (!hooked) {
      PlatformSetSocketRecvHook(OnReceive);
      PlatformSetSocketCloseHook(OnClose);
      hooked = true;
    }
    Drop(s);
    if (events != 0) {
      wm::Window* w = wm::Find(window);
      if (!w) {
        WSASetLastError(WSAEINVAL);
        return SOCKET_ERROR;
      }
      q = w->queue;
      Sockets().push_back(AsyncSocket{s, fd, window, message, events, (events & FD_READ) != 0});
    }
  }
  // As on Windows, the socket stays non-blocking even when notices are switched off.
  u_long on = 1;
  ioctlsocket(s, FIONBIO, &on);
  if (events & FD_WRITE) PostMessageA(window, message, static_cast<WPARAM>(s), WSAMAKESELECTREPLY(FD_WRITE, 0));
  if (q) q->Wake();
  return 0;
}

// Inside the window manager: the records behind HWND, the per-thread queues
// and the one lock. Not for the program; the test kit and the display
// backends reach the window manager through UiPlatform.h.
#pragma once

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Surface.h"
#include "UiPlatform.h"
#include "WinUser.h"

namespace wm {

// Every record below is guarded by this one lock. Window procedures are always
// called with it released, so a procedure may do anything, including destroy
// the window it was called for.
std::recursive_mutex& Lock();
typedef std::lock_guard<std::recursive_mutex> Guard;

struct WindowClass {
  std::string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int clsExtra = 0;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON iconSmall = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::string menuName;
  std::vector<uint8_t> extra;
};

struct ThreadQueue;

// A rectangle list: the update region of a window, in client coordinates.
struct UpdateRegion {
  std::vector<RECT> rects;
  bool Empty() const { return rects.empty(); }
  void Add(const RECT& rc);
  void Subtract(const RECT& rc);
  void Clear() { rects.clear(); }
  RECT Bounds() const;
};

struct Window {
  HWND hwnd = nullptr;
  WindowClass* cls = nullptr;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  Window* parent = nullptr;  // the desktop for top-level windows
  Window* owner = nullptr;
  HWND creationParent = nullptr;
  std::vector<Window*> children;  // z-order, topmost first
  RECT rect{};                    // in the parent's client coordinates
  RECT client{};                  // in window coordinates
  RECT restoreRect{};             // before minimise or maximise
  std::string text;
  HFONT font = nullptr;
  UINT_PTR id = 0;  // control id, or the menu of a top-level window
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  HICON iconBig = nullptr;
  HICON iconSmall = nullptr;
  std::vector<uint8_t> extra;
  std::vector<std::pair<std::string, HANDLE>> props;
  std::shared_ptr<ThreadQueue> queue;
  DWORD threadId = 0;
  bool destroying = false;       // marked for destruction (its own DestroyWindow or an ancestor's)
  bool destroyCalled = false;    // its own DestroyWindow has begun
  bool destroyMessageSent = false;
  bool sizeSent = false;
  bool ncActive = false;  // caption drawn as active (the last WM_NCACTIVATE)

  // Paint state.
  UpdateRegion update;
  bool erase = false;
  bool ncPaint = false;
  bool internalPaint = false;

  std::unique_ptr<PlatformSurface> surface;  // top-level windows only
  std::map<std::string, std::unique_ptr<PlatformWindowPart>> parts;  // see PlatformWindowPartOf
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT period;
  ULONGLONG due;
  TIMERPROC proc;
  uint64_t order;
};

struct SentMessage {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
  bool done = false;
  std::shared_ptr<ThreadQueue> sender;  // null for notify messages nobody waits for
};

struct ThreadQueue {
  DWORD threadId = 0;
  int wakeFd = -1;
  bool dead = false;
  std::deque<MSG> posted;
  std::deque<std::shared_ptr<SentMessage>> sent;
  std::vector<std::shared_ptr<SentMessage>> inProgress;  // sends being handled, innermost last
  std::vector<Timer> timers;
  bool quit = false;
  int quitCode = 0;
  DWORD lastTime = 0;
  POINT lastPos{};
  // What the thread has not looked at yet: `arrivals` counts posted
  // messages, quit and invalidations; a look at the queue (PeekMessage,
  // GetMessage) sets `seen` to it and `checkedAt` to the time, so a timer due
  // by then is no longer news. MsgWaitForMultipleObjects and WaitMessage wake
  // for news only, as those calls do: a loop that leaves some messages in the
  // queue still sleeps.
  uint64_t arrivals = 0;
  uint64_t seen = 0;
  ULONGLONG checkedAt = 0;

  ThreadQueue();
  ~ThreadQueue();
  void Wake();
  void Drain();
};

// The calling thread's queue, made on first use.
std::shared_ptr<ThreadQueue> CurrentQueue();

Window* Find(HWND hwnd);  // caller holds the lock; null for stale handles
Window* Desktop();
// Puts a top-level window in the desktop's z-order (HWND_TOPMOST and
// HWND_NOTOPMOST set and clear WS_EX_TOPMOST); caller holds the lock.
void StackTopLevel(Window* w, HWND insertAfter);
// Whether the input routed last was a key rather than the mouse.
bool LastInputWasKey();
bool IsTopLevel(const Window* w);
Window* TopLevelOf(Window* w);
bool ReallyVisible(const Window* w);
POINT ClientOriginOnScreen(const Window* w);
POINT WindowOriginOnScreen(const Window* w);
POINT WindowOriginOnSurface(const Window* w);  // relative to its top-level's surface
RECT ScreenRectOf(const Window* w);

// Calls the window's procedure without the lock; the spy (if any) sees it first.
LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Sent messages addressed to `queue`'s thread, handled now; true when there were any.
bool HandleSentMessages(const std::shared_ptr<ThreadQueue>& queue);
// Waits until something new arrives for the calling thread (a sent or posted
// message, input from the display, a socket notice, an invalidation, a timer
// falling due) or `deadline` (platform ms, ~0ull for none) passes. Every wait
// of the thread, however filtered, sleeps here.
void WaitForInput(const std::shared_ptr<ThreadQueue>& queue, ULONGLONG deadline);
// Takes in, without waiting, what the display and the sockets hold for the
// calling thread, and routes injected input: the look every PeekMessage takes,
// for messages in min..max (0, 0: any).
void GatherInput(const std::shared_ptr<ThreadQueue>& queue, UINT min = 0, UINT max = 0);
// Whether something arrived that the thread has not looked at (caller holds the lock).
bool HasNewsLocked(ThreadQueue* queue, ULONGLONG now);

// Paint bookkeeping (Paint.cpp).
void InvalidateLocked(Window* w, const RECT* rc, bool erase, bool children);
void ForgetWindowPaint(Window* w);
Window* NextWindowToPaint(ThreadQueue* queue, HWND filter);

// Timers and sockets of a window that goes away.
void DropTimersOf(HWND hwnd);
void DropSocketsOf(HWND hwnd);
void DropPostedFor(HWND hwnd);
void InputForgetWindow(HWND hwnd);
// The visible, enabled top-level window that `owner` owns (directly or
// through others), topmost first: the modal window that keeps it disabled.
HWND EnabledOwnedWindow(HWND owner);

// Non-client geometry (NonClient.cpp).
RECT DefaultClientRect(DWORD style, DWORD exStyle, const RECT& windowRect);
LRESULT DefNonClient(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);

// Injected input waits in one queue and is routed by the thread it is for
// when that thread looks for messages in min..max (see Input.cpp).
void RouteRawInput(ThreadQueue* queue, UINT min, UINT max);
// New input is news to every thread, and wakes its wait.
void AnnounceInput();

// Records each mouse button state for GetKeyState and MK_ flags.
WPARAM MouseKeyFlags();

// Socket descriptors the calling thread's wait polls, and what to do when one is ready.
void CollectSocketFds(ThreadQueue* queue, std::vector<int>* fds);
void SocketsReady(const std::vector<int>& readyFds);

}  // namespace wm

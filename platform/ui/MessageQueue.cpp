// Per-thread message queues: posted and sent messages (also across threads),
// quit, paint and timer messages made on demand, and the one wait.

#include <poll.h>
#include <strings.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <unordered_map>

#include "Clock.h"
#include "Display.h"
#include "UiPlatform.h"
#include "WindowManager.h"

namespace wm {

ThreadQueue::ThreadQueue() { wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC); }
ThreadQueue::~ThreadQueue() {
  if (wakeFd >= 0) close(wakeFd);
}
void ThreadQueue::Wake() {
  uint64_t one = 1;
  if (wakeFd >= 0) {
    ssize_t n = write(wakeFd, &one, sizeof one);
    (void)n;
  }
}
void ThreadQueue::Drain() {
  uint64_t value;
  if (wakeFd >= 0) {
    ssize_t n = read(wakeFd, &value, sizeof value);
    (void)n;
  }
}

namespace {

std::unordered_map<DWORD, std::weak_ptr<ThreadQueue>>& QueuesByThread() {
  static auto* m = new std::unordered_map<DWORD, std::weak_ptr<ThreadQueue>>;
  return *m;
}

// When a thread ends, senders waiting on it are let go with a result of 0.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (!queue) return;
    Guard g(Lock());
    queue->dead = true;
    for (auto& m : queue->sent) {
      m->done = true;
      if (m->sender) m->sender->Wake();
    }
    queue->sent.clear();
    queue->timers.clear();
    QueuesByThread().erase(queue->threadId);
  }
};
thread_local QueueHolder tlsQueue;

uint64_t nextTimerOrder = 1;
UINT_PTR nextThreadTimerId = 0x7000;

bool HwndMatches(HWND filter, HWND hwnd) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return hwnd == nullptr;
  if (hwnd == filter) return true;
  Window* f = Find(filter);
  for (Window* w = Find(hwnd); w && (w->style & WS_CHILD); w = w->parent) {
    if (w->parent == f) return true;
  }
  return false;
}

bool RangeMatches(UINT min, UINT max, UINT msg) { return (min == 0 && max == 0) || (msg >= min && msg <= max); }

MSG MakeMsg(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MSG m{hwnd, msg, wParam, lParam, GetTickCount(), {}};
  GetCursorPos(&m.pt);
  return m;
}

Timer* DueTimer(ThreadQueue* q, HWND filter, UINT min, UINT max, ULONGLONG now) {
  if (!RangeMatches(min, max, WM_TIMER)) return nullptr;
  Timer* best = nullptr;
  for (Timer& t : q->timers) {
    if (t.due > now || !HwndMatches(filter, t.hwnd)) continue;
    if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
  }
  return best;
}

// Descriptors the calling thread reads: its sockets and the display
// connection (events the display library already holds are taken in first,
// since the descriptor would not show them), and with `waitMs` > 0 the wake
// descriptor, polled for up to `waitMs` real ms.
void ReadSources(ThreadQueue* q, int waitMs) {
  std::vector<int> sockets;
  {
    Guard g(Lock());
    CollectSocketFds(q, &sockets);
  }
  PlatformDisplayBackend* display = PlatformDisplay();
  display->TakeQueuedEvents();
  int displayFd = display->WaitDescriptor();
  if (waitMs <= 0 && sockets.empty() && displayFd < 0) return;
  std::vector<pollfd> fds;
  for (int fd : sockets) fds.push_back(pollfd{fd, POLLIN, 0});
  if (displayFd >= 0) fds.push_back(pollfd{displayFd, POLLIN, 0});
  if (waitMs > 0) fds.push_back(pollfd{q->wakeFd, POLLIN, 0});
  if (poll(fds.data(), fds.size(), std::max(waitMs, 0)) <= 0) return;
  if (waitMs > 0 && fds.back().revents) q->Drain();
  std::vector<int> ready;
  for (size_t i = 0; i < sockets.size(); ++i) {
    if (fds[i].revents) ready.push_back(fds[i].fd);
  }
  // Sockets post their notices as the system would have on arrival; the
  // display turns its events into input.
  if (!ready.empty()) SocketsReady(ready);
  if (displayFd >= 0 && fds[sockets.size()].revents) display->DescriptorReady();
}

// One message for the calling thread, in the system's order: posted (and
// input), quit, paint, timers. Sent messages are handled before looking, and
// the display and sockets are read first: a thread whose timers are always due
// (a slow timer handler, a sped-up clock), or a loop that peeks for some
// messages only, never reaches a wait, yet still gets its input.
bool PeekOne(const std::shared_ptr<ThreadQueue>& q, MSG* out, HWND filter, UINT min, UINT max, UINT flags) {
  HandleSentMessages(q);
  GatherInput(q, min, max);
  Guard g(Lock());
  q->seen = q->arrivals;
  q->checkedAt = GetTickCount64();
  for (auto it = q->posted.begin(); it != q->posted.end(); ++it) {
    if (!HwndMatches(filter, it->hwnd) || !RangeMatches(min, max, it->message)) continue;
    *out = *it;
    if (flags & PM_REMOVE) {
      q->posted.erase(it);
      q->lastTime = out->time;
      q->lastPos = out->pt;
    }
    return true;
  }
  if (q->quit) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q->quitCode), 0, GetTickCount(), {}};
    if (flags & PM_REMOVE) q->quit = false;
    return true;
  }
  if (RangeMatches(min, max, WM_PAINT)) {
    if (Window* w = NextWindowToPaint(q.get(), filter)) {
      *out = MakeMsg(w->hwnd, WM_PAINT, 0, 0);
      return true;
    }
  }
  ULONGLONG now = GetTickCount64();
  if (Timer* t = DueTimer(q.get(), filter, min, max, now)) {
    *out = MakeMsg(t->hwnd, WM_TIMER, t->id, reinterpret_cast<LPARAM>(t->proc));
    if (flags & PM_REMOVE) {
      // Periods missed while the thread was busy fold into this one message.
      t->due = now + t->period;
      q->lastTime = out->time;
      q->lastPos = out->pt;
    }
    return true;
  }
  return false;
}

std::shared_ptr<ThreadQueue> QueueOfWindow(HWND hwnd) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  return w ? w->queue : nullptr;
}

}  // namespace

std::shared_ptr<ThreadQueue> CurrentQueue() {
  if (!tlsQueue.queue) {
    auto q = std::make_shared<ThreadQueue>();
    q->threadId = GetCurrentThreadId();
    Guard g(Lock());
    QueuesByThread()[q->threadId] = q;
    tlsQueue.queue = q;
  }
  return tlsQueue.queue;
}

bool HandleSentMessages(const std::shared_ptr<ThreadQueue>& q) {
  bool any = false;
  for (;;) {
    std::shared_ptr<SentMessage> m;
    {
      Guard g(Lock());
      if (q->sent.empty()) return any;
      any = true;
      m = q->sent.front();
      q->sent.pop_front();
      q->inProgress.push_back(m);
    }
    LRESULT r = CallProc(m->hwnd, m->msg, m->wParam, m->lParam);
    Guard g(Lock());
    q->inProgress.pop_back();
    if (!m->done) {
      m->result = r;
      m->done = true;
    }
    if (m->sender) m->sender->Wake();
  }
}

void GatherInput(const std::shared_ptr<ThreadQueue>& q, UINT min, UINT max) {
  ReadSources(q.get(), 0);
  RouteRawInput(q.get(), min, max);
}

bool HasNewsLocked(ThreadQueue* q, ULONGLONG now) {
  if (!q->sent.empty() || q->arrivals != q->seen) return true;
  for (const Timer& t : q->timers) {
    if (t.due > q->checkedAt && t.due <= now) return true;
  }
  return false;
}

void WaitForInput(const std::shared_ptr<ThreadQueue>& q, ULONGLONG deadline) {
  ULONGLONG limit = deadline;
  ULONGLONG now = GetTickCount64();
  {
    Guard g(Lock());
    if (HasNewsLocked(q.get(), now)) return;
    // Timers that were due when the thread last looked wake nobody again.
    for (const Timer& t : q->timers) {
      if (t.due > q->checkedAt) limit = std::min(limit, t.due);
    }
  }
  // Another thread may push the clock forward, so never sleep long in one go.
  int timeout = 50;
  if (limit != ~0ull) {
    if (limit <= now) return;
    timeout = static_cast<int>(std::clamp<ULONGLONG>(PlatformClockToRealMs(limit - now), 1, 50));
  }
  ReadSources(q.get(), timeout);
}

// Raw input is routed lazily, by filtered looks too, so its arrival counts
// as news: a loop that waits and then peeks for some messages only must get
// to its peek.
void AnnounceInput() {
  std::vector<std::shared_ptr<ThreadQueue>> all;
  {
    Guard g(Lock());
    for (auto& kv : QueuesByThread()) {
      if (auto q = kv.second.lock()) {
        ++q->arrivals;
        all.push_back(q);
      }
    }
  }
  for (auto& q : all) q->Wake();
}

void DropTimersOf(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || !w->queue) return;
  auto& v = w->queue->timers;
  v.erase(std::remove_if(v.begin(), v.end(), [hwnd](const Timer& t) { return t.hwnd == hwnd; }), v.end());
}

void DropPostedFor(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || !w->queue) return;
  auto& v = w->queue->posted;
  v.erase(std::remove_if(v.begin(), v.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }), v.end());
}

}  // namespace wm

using namespace wm;

// ---------------------------------------------------------------- retrieving

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
  if (!msg) return FALSE;
  return PeekOne(CurrentQueue(), msg, hwnd, filterMin, filterMax, remove) ? TRUE : FALSE;
}

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) return -1;
  auto q = CurrentQueue();
  for (;;) {
    if (PeekOne(q, msg, hwnd, filterMin, filterMax, PM_REMOVE)) return msg->message != WM_QUIT;
    WaitForInput(q, ~0ull);
  }
}

// Both return for news only: what the thread has looked at and left in its
// queue (a loop that takes some messages only) does not end them.
static bool NewsArrived(const std::shared_ptr<ThreadQueue>& q) {
  // Sent messages count: they were handled here, and the caller may be waiting for their effect.
  if (HandleSentMessages(q)) return true;
  GatherInput(q);
  Guard g(Lock());
  return HasNewsLocked(q.get(), GetTickCount64());
}

BOOL WaitMessage() {
  auto q = CurrentQueue();
  for (;;) {
    if (NewsArrived(q)) return TRUE;
    WaitForInput(q, ~0ull);
  }
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds, DWORD) {
  if (count != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  auto q = CurrentQueue();
  ULONGLONG deadline = milliseconds == INFINITE ? ~0ull : GetTickCount64() + milliseconds;
  for (;;) {
    if (NewsArrived(q)) return WAIT_OBJECT_0;
    if (GetTickCount64() >= deadline) return WAIT_TIMEOUT;
    WaitForInput(q, deadline);
  }
}

DWORD GetQueueStatus(UINT flags) {
  auto q = CurrentQueue();
  Guard g(Lock());
  DWORD status = 0;
  if (!q->posted.empty() || q->quit) status |= QS_POSTMESSAGE;
  if (!q->sent.empty()) status |= QS_SENDMESSAGE;
  if (NextWindowToPaint(q.get(), nullptr)) status |= QS_PAINT;
  if (DueTimer(q.get(), nullptr, 0, 0, GetTickCount64())) status |= QS_TIMER;
  status &= flags;
  return MAKELONG(status, status);
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a procedure that a live timer names is called: a posted WM_TIMER must
    // not be a way to jump to an arbitrary address.
    TIMERPROC proc = nullptr;
    {
      Guard g(Lock());
      auto q = msg->hwnd ? (Find(msg->hwnd) ? Find(msg->hwnd)->queue : nullptr) : CurrentQueue();
      if (q) {
        for (const Timer& t : q->timers) {
          if (t.hwnd == msg->hwnd && t.id == msg->wParam && reinterpret_cast<LPARAM>(t.proc) == msg->lParam)
            proc = t.proc;
        }
      }
    }
    if (proc) proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd || !IsWindow(msg->hwnd)) {
    if (msg->hwnd) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return CallProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

DWORD GetMessagePos() {
  auto q = CurrentQueue();
  Guard g(Lock());
  return static_cast<DWORD>(MAKELONG(static_cast<WORD>(q->lastPos.x), static_cast<WORD>(q->lastPos.y)));
}

LONG GetMessageTime() {
  auto q = CurrentQueue();
  Guard g(Lock());
  return static_cast<LONG>(q->lastTime);
}

// ---------------------------------------------------------------- posting

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return PostThreadMessageA(GetCurrentThreadId(), msg, wParam, lParam);
  MSG m = MakeMsg(hwnd, msg, wParam, lParam);
  std::shared_ptr<ThreadQueue> q;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w || w == Desktop()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    q = w->queue;
    if (!q || q->dead) return FALSE;
    q->posted.push_back(m);
    ++q->arrivals;
  }
  q->Wake();
  return TRUE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (threadId == GetCurrentThreadId()) CurrentQueue();
  MSG m = MakeMsg(nullptr, msg, wParam, lParam);
  std::shared_ptr<ThreadQueue> q;
  {
    Guard g(Lock());
    auto it = QueuesByThread().find(threadId);
    if (it != QueuesByThread().end()) q = it->second.lock();
    if (!q || q->dead) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    q->posted.push_back(m);
    ++q->arrivals;
  }
  q->Wake();
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  auto q = CurrentQueue();
  {
    Guard g(Lock());
    q->quit = true;
    q->quitCode = exitCode;
    ++q->arrivals;
  }
  q->Wake();
}

// ---------------------------------------------------------------- sending

static LRESULT SendAcross(const std::shared_ptr<ThreadQueue>& target, HWND hwnd, UINT msg, WPARAM wParam,
                          LPARAM lParam, ULONGLONG deadline, bool* timedOut) {
  auto me = CurrentQueue();
  auto m = std::make_shared<SentMessage>();
  m->hwnd = hwnd;
  m->msg = msg;
  m->wParam = wParam;
  m->lParam = lParam;
  m->sender = me;
  {
    Guard g(Lock());
    if (target->dead) return 0;
    target->sent.push_back(m);
  }
  target->Wake();
  // While it waits, this thread still carries out what others send to it, so
  // two threads sending to each other do not deadlock.
  for (;;) {
    HandleSentMessages(me);
    {
      Guard g(Lock());
      if (m->done) return m->result;
      if (target->dead) return 0;
      if (deadline != ~0ull && GetTickCount64() >= deadline) {
        auto& v = target->sent;
        v.erase(std::remove(v.begin(), v.end(), m), v.end());
        m->sender = nullptr;
        if (timedOut) *timedOut = true;
        return 0;
      }
    }
    pollfd p{me->wakeFd, POLLIN, 0};
    int timeout = 50;
    if (deadline != ~0ull) {
      ULONGLONG now = GetTickCount64();
      timeout = static_cast<int>(std::min<ULONGLONG>(PlatformClockToRealMs(deadline > now ? deadline - now : 0), 50));
    }
    if (poll(&p, 1, timeout) > 0) me->Drain();
  }
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) return 0;
  auto target = QueueOfWindow(hwnd);
  if (!target) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (target == CurrentQueue()) return CallProc(hwnd, msg, wParam, lParam);
  return SendAcross(target, hwnd, msg, wParam, lParam, ~0ull, nullptr);
}

LRESULT SendMessageTimeoutA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT, UINT timeout,
                            DWORD_PTR* result) {
  auto target = QueueOfWindow(hwnd);
  if (!target) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  LRESULT r;
  if (target == CurrentQueue()) {
    r = CallProc(hwnd, msg, wParam, lParam);
  } else {
    bool timedOut = false;
    r = SendAcross(target, hwnd, msg, wParam, lParam, GetTickCount64() + timeout, &timedOut);
    if (timedOut) {
      SetLastError(ERROR_TIMEOUT);
      return 0;
    }
  }
  if (result) *result = static_cast<DWORD_PTR>(r);
  return 1;
}

BOOL SendNotifyMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto target = QueueOfWindow(hwnd);
  if (!target) return FALSE;
  if (target == CurrentQueue()) {
    CallProc(hwnd, msg, wParam, lParam);
    return TRUE;
  }
  auto m = std::make_shared<SentMessage>();
  m->hwnd = hwnd;
  m->msg = msg;
  m->wParam = wParam;
  m->lParam = lParam;
  {
    Guard g(Lock());
    if (target->dead) return FALSE;
    target->sent.push_back(m);
  }
  target->Wake();
  return TRUE;
}

BOOL InSendMessage() {
  auto q = CurrentQueue();
  Guard g(Lock());
  for (auto& m : q->inProgress) {
    if (m->sender) return TRUE;
  }
  return FALSE;
}

BOOL ReplyMessage(LRESULT result) {
  auto q = CurrentQueue();
  Guard g(Lock());
  if (q->inProgress.empty()) return FALSE;
  auto& m = q->inProgress.back();
  if (m->done) return FALSE;
  m->result = result;
  m->done = true;
  if (m->sender) m->sender->Wake();
  return TRUE;
}

UINT RegisterWindowMessageA(LPCSTR name) {
  static auto* names = new std::vector<std::string>;
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Guard g(Lock());
  for (size_t i = 0; i < names->size(); ++i) {
    if (strcasecmp((*names)[i].c_str(), name) == 0) return static_cast<UINT>(0xC000 + i);
  }
  if (names->size() >= 0x3FFF) return 0;
  names->push_back(name);
  return static_cast<UINT>(0xC000 + names->size() - 1);
}

// ---------------------------------------------------------------- timers

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  std::shared_ptr<ThreadQueue> q;
  {
    Guard g(Lock());
    if (hwnd) {
      Window* w = Find(hwnd);
      if (!w || w == Desktop()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
      }
      q = w->queue;
      // A window timer asked for with id 0 runs as id 1, the id handed back, so
      // that KillTimer with the returned id stops it.
      if (id == 0) id = 1;
    } else {
      q = CurrentQueue();
      bool known = false;
      for (const Timer& t : q->timers) known = known || (!t.hwnd && t.id == id);
      if (!known) id = nextThreadTimerId++;
    }
    ULONGLONG due = GetTickCount64() + elapse;
    auto it = std::find_if(q->timers.begin(), q->timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it != q->timers.end()) {
      it->period = elapse;
      it->due = due;
      it->proc = proc;
    } else {
      q->timers.push_back(Timer{hwnd, id, elapse, due, proc, nextTimerOrder++});
    }
  }
  q->Wake();
  return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  Guard g(Lock());
  std::shared_ptr<ThreadQueue> q;
  if (hwnd) {
    Window* w = Find(hwnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    q = w->queue;
  } else {
    q = CurrentQueue();
  }
  auto& v = q->timers;
  auto it = std::find_if(v.begin(), v.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == v.end()) return FALSE;
  v.erase(it);
  // A WM_TIMER of this timer that a PeekMessage saw but did not remove dies with it;
  // timer messages are never queued, so nothing else is left to drop.
  return TRUE;
}
